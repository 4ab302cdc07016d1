#pragma once

class QWidget;

// The application as a whole on the desktop.
namespace ApplicationWindows {
// Hides every window of ours (the focus goes back to the desktop's window manager).
void hideApplication();
// Brings `window` to the front with the keyboard focus.
void activate(QWidget* window);
} // namespace ApplicationWindows
