#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <vector>

struct Notification {
    QString name;
    QObject* object = nullptr;
    QVariantMap userInfo;
};

// The default notification centre: named notifications with an object. Observers
// subscribe to a name, optionally from one sender only, and are always called on
// the main thread; a post from another thread is delivered there later.
class NotificationCenter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // The observer is forgotten when `context` is destroyed or removed.
    // A null `sender` means notifications from any object.
    void addObserver(QObject* context, const QString& name, Handler handler,
                     QObject* sender = nullptr);
    void removeObserver(QObject* context);
    void removeObserver(QObject* context, const QString& name);

    void post(const QString& name, QObject* object = nullptr, const QVariantMap& userInfo = {});

private:
    struct Observer {
        QPointer<QObject> context;
        QObject* rawContext;
        QString name;
        QPointer<QObject> sender;
        bool anySender;
        Handler handler;
    };
    void deliver(const Notification& notification);

    std::vector<Observer> observers_;
};
