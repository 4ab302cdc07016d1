#pragma once

#include <QString>
#include <functional>

// Notifications the user sees on the desktop, shown at once.
namespace UserNotifications {

// Shows `title` with `informativeText` through the desktop's notification service
// (org.freedesktop.Notifications on the session bus), or through the fallback
// when there is no such service.
void deliver(const QString& title, const QString& informativeText);

using Fallback = std::function<void(const QString& title, const QString& informativeText)>;
// What shows a notification on a desktop without a notification service: the
// tray's balloon message. Without one the notification only goes to the log.
// Answers the previous fallback.
Fallback setFallback(Fallback fallback);

} // namespace UserNotifications
