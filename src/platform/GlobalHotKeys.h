#pragma once

#include <QtGlobal>
#include <functional>

// System-wide key combinations: key grabs on the X11 root window (with Caps Lock
// and Num Lock in any state), their presses and releases delivered on the main
// thread. Nothing is grabbed without X11.
namespace GlobalHotKeys {
// The modifier bits of a registration: Command, Shift, Option, Control, which are
// Ctrl, Shift, Alt and Super on Linux.
constexpr quint32 commandKey = 0x100;
constexpr quint32 shiftKey = 0x200;
constexpr quint32 optionKey = 0x800;
constexpr quint32 controlKey = 0x1000;

using Handler = std::function<void(quint32 identifier, bool pressed)>;
void setHandler(Handler handler);

// Grabs the key with the virtual code `keyCode` and `modifiers`, tagged
// `identifier`. False when there is no such key, no X11, or another client
// holds the combination already.
bool registerHotKey(qint64 keyCode, quint32 modifiers, quint32 identifier);
void unregisterHotKey(quint32 identifier);
} // namespace GlobalHotKeys
