#pragma once

#include <Qt>
#include <QtGlobal>

// Modifier keys in the stored form of the program's key combinations and clicks:
// command, option, control and shift bits, which stand for Ctrl, Alt, Super and
// Shift on Linux.
namespace ModifierFlags {
constexpr quint64 command = 1ull << 20;
constexpr quint64 option = 1ull << 19;
constexpr quint64 control = 1ull << 18;
constexpr quint64 shift = 1ull << 17;
constexpr quint64 deviceIndependentMask = 0xFFFF0000ull;

inline quint64 fromQt(Qt::KeyboardModifiers modifiers) {
    quint64 flags = 0;
    if (modifiers & Qt::ControlModifier)
        flags |= command;
    if (modifiers & Qt::AltModifier)
        flags |= option;
    if (modifiers & Qt::MetaModifier)
        flags |= control;
    if (modifiers & Qt::ShiftModifier)
        flags |= shift;
    return flags;
}
} // namespace ModifierFlags
