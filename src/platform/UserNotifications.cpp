#include "platform/UserNotifications.h"

#include "platform/SystemLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

namespace UserNotifications {
namespace {

Fallback& fallback() {
    static Fallback current;
    return current;
}

void showWithoutService(const QString& title, const QString& informativeText) {
    if (fallback())
        fallback()(title, informativeText);
    else
        SystemLog::write(QStringLiteral("%@: %@"), {title, informativeText});
}

} // namespace

Fallback setFallback(Fallback replacement) {
    return std::exchange(fallback(), std::move(replacement));
}

void deliver(const QString& title, const QString& informativeText) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        showWithoutService(title, informativeText);
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The server's default timeout (-1), no actions, nothing replaced.
    notify << QStringLiteral("Quiverlane") << uint(0) << QString() << title << informativeText
           << QStringList() << QVariantMap() << int(-1);
    // Asked without waiting: a service that is slow to start must not stall the
    // bar. Without a service the bus answers at once with an error, and replies
    // come back in the order asked, so notifications keep their order either way.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(notify));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [title, informativeText](QDBusPendingCallWatcher* call) {
                         if (call->isError())
                             showWithoutService(title, informativeText);
                         call->deleteLater();
                     });
}

} // namespace UserNotifications
