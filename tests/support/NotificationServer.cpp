#include "support/NotificationServer.h"

#include "platform/UserNotifications.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <gtest/gtest.h>

namespace TestSupport {
namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString marker = QStringLiteral("end of the test's notifications");
} // namespace

NotificationServer::NotificationServer() {
    static int instances = 0;
    connectionName_ = QStringLiteral("test-notification-server-%1").arg(++instances);
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    running_ = bus.isConnected() && bus.registerService(serviceName) &&
               bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                  QDBusConnection::ExportAllSlots);
}

NotificationServer::~NotificationServer() {
    {
        QDBusConnection bus(connectionName_);
        bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        bus.unregisterService(serviceName);
    }
    QDBusConnection::disconnectFromBus(connectionName_);
}

uint NotificationServer::Notify(const QString& appName, uint, const QString&,
                                const QString& summary, const QString& body, const QStringList&,
                                const QVariantMap&, int expireTimeout) {
    shown_.push_back({appName, summary, body, expireTimeout});
    return uint(shown_.size());
}

std::vector<ShownNotification> NotificationServer::shownSoFar() {
    const size_t before = shown_.size();
    UserNotifications::deliver(marker, QString());
    const bool arrived = processEventsUntil([&] {
        for (size_t i = before; i < shown_.size(); ++i) {
            if (shown_[i].title == marker)
                return true;
        }
        return false;
    });
    if (!arrived)
        ADD_FAILURE() << "the notification service got nothing from the program";
    std::vector<ShownNotification> sent;
    for (const ShownNotification& notification : shown_) {
        if (notification.title != marker)
            sent.push_back(notification);
    }
    return sent;
}

} // namespace TestSupport
