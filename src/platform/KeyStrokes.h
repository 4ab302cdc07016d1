#pragma once

#include <Qt>
#include <QtGlobal>

// Key strokes sent to whatever window has the keyboard focus, as if typed: the
// X11 XTEST extension.
namespace KeyStrokes {

// Whether key strokes can be sent: an X11 session whose server has XTEST. A
// Wayland session has no such thing.
bool available();

// Types the key of `key` (a letter, digit or other Latin-1 key) with `modifiers` held.
// Modifier keys the user is holding at that moment are let go for the stroke and
// pressed again after it, so that a held Shift does not turn Ctrl+V into
// Ctrl+Shift+V. Answers whether the stroke was sent.
bool type(Qt::Key key, Qt::KeyboardModifiers modifiers);

} // namespace KeyStrokes
