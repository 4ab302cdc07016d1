#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter* center = new NotificationCenter;
    return *center;
}

void NotificationCenter::addObserver(QObject* context, const QString& name, Handler handler,
                                     QObject* sender) {
    observers_.push_back(
        Observer{context, context, name, sender, sender == nullptr, std::move(handler)});
}

void NotificationCenter::removeObserver(QObject* context) {
    std::erase_if(observers_, [&](const Observer& o) { return o.rawContext == context; });
}

void NotificationCenter::removeObserver(QObject* context, const QString& name) {
    std::erase_if(observers_,
                  [&](const Observer& o) { return o.rawContext == context && o.name == name; });
}

void NotificationCenter::post(const QString& name, QObject* object, const QVariantMap& userInfo) {
    Notification notification{name, object, userInfo};
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        QPointer<QObject> guard(object);
        const bool hadObject = object != nullptr;
        QMetaObject::invokeMethod(
            app,
            [this, notification, guard, hadObject] {
                // A sender destroyed in the meantime is not delivered as a dangling pointer.
                if (hadObject && !guard)
                    return;
                deliver(notification);
            },
            Qt::QueuedConnection);
        return;
    }
    deliver(notification);
}

void NotificationCenter::deliver(const Notification& notification) {
    // Handlers may add or remove observers: work on a snapshot of the matching ones.
    std::vector<std::pair<QPointer<QObject>, Handler>> matching;
    for (const Observer& o : observers_) {
        if (!o.context || o.name != notification.name)
            continue;
        if (!o.anySender && (!o.sender || o.sender.data() != notification.object))
            continue;
        matching.emplace_back(o.context, o.handler);
    }
    std::erase_if(observers_, [](const Observer& o) { return !o.context; });
    for (auto& [context, handler] : matching) {
        if (context)
            handler(notification);
    }
}
