#pragma once

#include <Qt>
#include <QtGlobal>
#include <optional>

// Key codes in the stored form of the program's key combinations and key
// handlers: the hardware-independent numbering of the original keyboard layout
// (space 49, Escape 53, Return 36, keypad Enter 76, arrows 123 to 126), kept so
// that stored hot keys and the bar's key handling mean the same keys everywhere.
namespace VirtualKeyCodes {
constexpr qint64 none = -1;
constexpr qint64 returnKey = 36;
constexpr qint64 tab = 48;
constexpr qint64 space = 49;
constexpr qint64 deleteKey = 51;
constexpr qint64 escape = 53;
constexpr qint64 keypadEnter = 76;
constexpr qint64 leftArrow = 123;
constexpr qint64 rightArrow = 124;
constexpr qint64 downArrow = 125;
constexpr qint64 upArrow = 126;

// The code of a Qt key; keypad digits and operators need the keypad modifier to
// be told from the main keys. `none` for keys without a code.
qint64 fromQt(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The Qt key of a code, and whether it is on the keypad.
struct QtKey {
    int key;
    bool keypad;
};
std::optional<QtKey> toQt(qint64 code);
} // namespace VirtualKeyCodes
