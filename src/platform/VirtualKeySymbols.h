#pragma once

#include <QtGlobal>
#include <optional>

// The stored key combinations name keys by the virtual key codes of the layout
// they were first recorded with (space 49, Escape 53, the arrows 123 to 126...);
// X11 names them by key symbol.
namespace VirtualKeySymbols {
std::optional<quint32> keySymbolFor(qint64 virtualKeyCode);
std::optional<qint64> virtualKeyCodeFor(quint32 keySymbol);
} // namespace VirtualKeySymbols
