#include "platform/NotificationCenter.h"
#include "support/TestSupport.h"

#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace TestSupport;

namespace {

TEST(NotificationCenter, ObserversGetTheirNameFromTheirSenderOnly) {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    QObject sender, other;
    int fromAny = 0, fromSender = 0;
    {
        QObject observer;
        center.addObserver(&observer, "Ping", [&](const Notification&) { ++fromAny; });
        center.addObserver(
            &observer, "Ping", [&](const Notification&) { ++fromSender; }, &sender);
        center.post("Ping", &sender);
        center.post("Ping", &other);
        center.post("Pong", &sender);
        EXPECT_EQ(fromAny, 2);
        EXPECT_EQ(fromSender, 1);
    }
    center.post("Ping", &sender); // the observer is gone: nothing is called
    EXPECT_EQ(fromAny, 2);
}

TEST(NotificationCenter, APostFromAnotherThreadIsDeliveredOnTheMainThread) {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    QObject observer;
    QThread* deliveredOn = nullptr;
    center.addObserver(&observer, "FromWorker",
                       [&](const Notification&) { deliveredOn = QThread::currentThread(); });
    std::thread worker([&] { center.post("FromWorker"); });
    worker.join();
    EXPECT_EQ(deliveredOn, nullptr) << "not synchronously on the worker";
    ASSERT_TRUE(processEventsUntil([&] { return deliveredOn != nullptr; }));
    EXPECT_EQ(deliveredOn, QThread::currentThread());
}

} // namespace
