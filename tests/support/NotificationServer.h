#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace TestSupport {

struct ShownNotification {
    QString appName;
    QString title;
    QString informativeText;
    int expireTimeout = 0;
};

// A desktop notification service on the session bus for the life of the object:
// org.freedesktop.Notifications on a bus connection of its own, so that calls to
// it travel through the bus as they do to a real one.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    NotificationServer();
    ~NotificationServer() override;

    // False without a session bus, or when the name is taken.
    bool running() const { return running_; }
    const std::vector<ShownNotification>& shown() const { return shown_; }

    // Every notification the program sent so far: a marker is sent after them and
    // waited for, and calls arrive in the order they were made.
    std::vector<ShownNotification> shownSoFar();

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);

private:
    QString connectionName_;
    bool running_ = false;
    std::vector<ShownNotification> shown_;
};

} // namespace TestSupport
