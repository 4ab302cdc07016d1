#include "platform/UserNotifications.h"
#include "support/NotificationServer.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

struct Balloon {
    QString title;
    QString text;
};

class UserNotificationsTest : public testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs a session bus (the test command runs one)";
        previous_ =
            UserNotifications::setFallback([this](const QString& title, const QString& text) {
                balloons_.push_back({title, text});
            });
    }
    void TearDown() override { UserNotifications::setFallback(previous_); }

    std::vector<Balloon> balloons_;
    UserNotifications::Fallback previous_;
};

TEST_F(UserNotificationsTest, TheServiceShowsTitleAndTextAndTheBalloonStaysQuiet) {
    NotificationServer server;
    ASSERT_TRUE(server.running());
    UserNotifications::deliver("Copied Text Snippet!", "You can now paste the snippet.");
    UserNotifications::deliver("Second", "in order");
    const std::vector<ShownNotification> shown = server.shownSoFar();
    ASSERT_EQ(shown.size(), 2u);
    const ShownNotification& first = shown.front();
    EXPECT_EQ(first.title, "Copied Text Snippet!");
    EXPECT_EQ(shown.back().title, "Second");
    EXPECT_EQ(first.appName, "Quiverlane");
    EXPECT_EQ(first.informativeText, "You can now paste the snippet.");
    EXPECT_EQ(first.expireTimeout, -1);
    EXPECT_TRUE(balloons_.empty());
}

TEST_F(UserNotificationsTest, WithoutAServiceTheTrayBalloonShowsThemInOrder) {
    const QStringList activatable =
        QDBusConnection::sessionBus().interface()->activatableServiceNames();
    if (activatable.contains("org.freedesktop.Notifications"))
        GTEST_SKIP() << "this bus starts a notification service of its own";
    UserNotifications::deliver("Unable to paste directly", "Could not find the Quiverlane Helper");
    UserNotifications::deliver("Copied Text Snippet!", "You can now paste.");
    ASSERT_TRUE(processEventsUntil([&] { return balloons_.size() == 2; }));
    EXPECT_EQ(balloons_[0].title, "Unable to paste directly");
    EXPECT_EQ(balloons_[0].text, "Could not find the Quiverlane Helper");
    EXPECT_EQ(balloons_[1].title, "Copied Text Snippet!");
}

} // namespace
