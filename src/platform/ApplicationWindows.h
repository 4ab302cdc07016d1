#pragma once

class QWidget;

// The application as a whole on the desktop.
namespace ApplicationWindows {
// Hides every window of ours; if one of them had the focus, gives it back to the
// window of another program that was in front before ours.
void hideApplication();
// Brings `window` to the front with the keyboard focus.
void activate(QWidget* window);
} // namespace ApplicationWindows
