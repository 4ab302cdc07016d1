#include "platform/SingleInstance.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

TEST(SingleInstance, ALaterLaunchHandsItsArgumentsToTheRunningOne) {
    SingleInstance running(QStringLiteral("handover-test"));
    ASSERT_FALSE(running.passToRunningInstance({})) << "the first launch runs";
    QSignalSpy launches(&running, &SingleInstance::launched);

    SingleInstance second(QStringLiteral("handover-test"));
    EXPECT_TRUE(second.passToRunningInstance({"quiverlane://helperwasinstalled"}));
    SingleInstance third(QStringLiteral("handover-test"));
    EXPECT_TRUE(third.passToRunningInstance({}));

    ASSERT_TRUE(processEventsUntil([&] { return launches.size() == 2; }));
    EXPECT_EQ(launches[0][0].toStringList(), QStringList{"quiverlane://helperwasinstalled"});
    EXPECT_EQ(launches[1][0].toStringList(), QStringList());
}

TEST(SingleInstance, WhatAProgramThatWentAwayLeftBehindDoesNotStopTheNextOne) {
    QString path;
    {
        SingleInstance gone(QStringLiteral("stale-test"));
        path = gone.socketPath();
    }
    QFile leftover(path);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    SingleInstance next(QStringLiteral("stale-test"));
    EXPECT_FALSE(next.passToRunningInstance({}));
    QSignalSpy launches(&next, &SingleInstance::launched);
    SingleInstance later(QStringLiteral("stale-test"));
    EXPECT_TRUE(later.passToRunningInstance({"x"}));
    EXPECT_TRUE(processEventsUntil([&] { return launches.size() == 1; }));
}

} // namespace
