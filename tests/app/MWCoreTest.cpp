#include "app/MWCore.h"
#include "support/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(MWCore, LetsTheMainWindowsShowAndKeepsItsFirstConfiguration) {
    MWCore& core = MWCore::sharedInstance();
    EXPECT_TRUE(core.canShowMainWindow());
    MWCConfig config;
    config.setAppStoreID("quiverlane");
    config.setShowsRunAtLoginButton(true);
    config.setAppRunsAtLogin(true);
    config.setIsAppStore(false);
    core.applicationDidLaunchWithConfig(config);
    ASSERT_TRUE(core.config());
    EXPECT_TRUE(core.config()->appRunsAtLogin());
    EXPECT_TRUE(core.config()->showsRunAtLoginButton());

    TestSupport::LogCapture log;
    MWCConfig second;
    core.applicationDidLaunchWithConfig(second);
    EXPECT_TRUE(core.config()->appRunsAtLogin());
    EXPECT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(core.canShowMainWindow());
    EXPECT_FALSE(MWCHappinessManager::ratingWindowIsVisible());
}

TEST(MWCore, TheWelcomeNotificationsAreFourDistinctNames) {
    const QStringList names = MWCWelcomeNotifications::table();
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 4);
    EXPECT_EQ(names[0], MWCWelcomeNotifications::welcomeWindowDidOpen);
    EXPECT_EQ(names[1], MWCWelcomeNotifications::welcomeWindowDidClose);
    EXPECT_EQ(names[3], MWCWelcomeNotifications::runAtLoginDidChange);
}

} // namespace
