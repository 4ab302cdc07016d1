#pragma once

#include <QtGlobal>

// The window of another program that was in front before ours took the focus,
// so that hiding our windows (or pasting into it) can give it the focus back.
// On an X11 session it follows the window manager's _NET_ACTIVE_WINDOW; elsewhere
// (no X11, or no window manager maintaining it) there is nothing to remember.
namespace FrontmostWindow {
using WindowId = quint32;

// Starts following the active window; later calls do nothing.
void startTracking();
// The active window now, as the window manager says; 0 when unknown.
WindowId active();
// The last active window that was not ours; 0 when there was none.
WindowId remembered();
// Notes the active window now, unless it is ours.
void rememberActive();
// Asks the window manager to give `window` the focus; answers whether it was asked.
bool activate(WindowId window);
// Gives the focus back to the remembered window, if there is one.
bool activateRemembered();
} // namespace FrontmostWindow
