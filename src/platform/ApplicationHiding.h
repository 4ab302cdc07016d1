#pragma once

#include <QString>

// The application-did-hide notification: posted on the default notification
// centre, with the application as its object, each time the last visible window
// of ours is hidden by the program (the whole application hiding, as
// ApplicationWindows::hideApplication does). The tray icon, menus and tool tips
// do not count as windows here, and a window the user minimises does not hide the
// application.
namespace ApplicationHiding {

extern const QString didHideNotification;

// Starts watching our windows; later calls do nothing.
void startObserving();

} // namespace ApplicationHiding
