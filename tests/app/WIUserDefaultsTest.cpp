#include "app/WIUserDefaults.h"
#include "platform/LoginItem.h"
#include "platform/Paths.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

struct DefaultCase {
    const char* key;
    std::function<QVariant(const WIUserDefaults&)> read;
    QVariant expected;
};

TEST(WIUserDefaults, AFreshStoreReadsTheRegisteredDefaults) {
    SettingsFixture settings;
    auto defaults = settings.makeDefaults();
    const std::vector<DefaultCase> cases = {
        {"isDocked", [](auto& d) { return d.isDocked(); }, true},
        {"hideWindowOnStartup", [](auto& d) { return d.hideWindowOnStartup(); }, false},
        {"showIconInDock", [](auto& d) { return d.showIconInDock(); }, false},
        {"firstLaunch", [](auto& d) { return d.firstLaunch(); }, true},
        {"clickAction", [](auto& d) { return d.clickAction(); }, qint64(0)},
        {"showExtensions", [](auto& d) { return d.showExtensions(); }, false},
        {"pasteDirectly", [](auto& d) { return d.pasteDirectly(); }, true},
        {"undockedFrame", [](auto& d) { return d.undockedFrame(); }, QString()},
        {"isBackgroundApp", [](auto& d) { return d.isBackgroundApp(); }, false},
        {"shouldKeepAbove", [](auto& d) { return d.shouldKeepAbove(); }, false},
        {"suppressGroupDeletionAlert", [](auto& d) { return d.suppressGroupDeletionAlert(); },
         false},
        {"suppressFileDeletionAlert", [](auto& d) { return d.suppressFileDeletionAlert(); }, false},
        {"showCopiedNotification", [](auto& d) { return d.showCopiedNotification(); }, false},
        {"startAtLogin", [](auto& d) { return d.startAtLogin(); }, false},
    };
    for (const DefaultCase& c : cases)
        EXPECT_EQ(c.read(*defaults), c.expected) << c.key;
    EXPECT_TRUE(defaults->hotKeyCombo().isEmpty());
    EXPECT_TRUE(defaults->groups().empty());

    QStringList order;
    for (const auto& [key, value] : WIUserDefaults::setupDefaults())
        order << key;
    EXPECT_EQ(order,
              QStringList({"isDocked", "hideWindowOnStartup", "showIconInDock", "firstLaunch",
                           "clickAction", "showExtensions", "pasteDirectly"}));
}

TEST(WIUserDefaults, SettersWriteTheStoreAndTellTheKeysObservers) {
    SettingsFixture settings;
    auto defaults = settings.makeDefaults();
    QObject context;
    QStringList seen;
    defaults->observeKey("showExtensions", &context, [&] {
        seen << QString("showExtensions=%1").arg(defaults->showExtensions());
    });
    defaults->observeKey("isDocked", &context, [&] { seen << "isDocked"; });

    defaults->setShowExtensions(true);
    defaults->setClickAction(2);
    defaults->setUndockedFrame("10 20 300 400 0 0 1280 800");

    EXPECT_EQ(seen, QStringList({"showExtensions=1"}));
    auto reopened = settings.makeDefaults();
    EXPECT_TRUE(reopened->showExtensions());
    EXPECT_EQ(reopened->clickAction(), 2);
    EXPECT_EQ(reopened->undockedFrame(), "10 20 300 400 0 0 1280 800");

    reopened->setUndockedFrame(QString());
    EXPECT_FALSE(reopened->store().hasStoredValue("undockedFrame"));
}

// A change must be on disk before the setter returns: a child process changes
// settings and ends without running any destructor or flush of its own.
TEST(WIUserDefaults, ACommittedChangeSurvivesACrashRightAfter) {
    SettingsFixture settings;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto defaults = settings.makeDefaults();
        defaults->setClickAction(3);
        defaults->setIsDocked(false);
        defaults->setGroups({groupNamed("Work")});
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    auto defaults = settings.makeDefaults();
    EXPECT_EQ(defaults->clickAction(), 3);
    EXPECT_FALSE(defaults->isDocked());
    ASSERT_TRUE(defaults->loadGroupData());
    ASSERT_EQ(defaults->groups().size(), 1u);
    EXPECT_EQ(defaults->groups()[0]->name(), "Work");
}

TEST(WIUserDefaults, StartAtLoginCallsTheLoginItemOnlyOnAChange) {
    SettingsFixture settings;
    QList<std::pair<QString, bool>> calls;
    bool succeed = true;
    auto defaults = settings.makeDefaults([&](const QString& id, bool enabled) {
        calls.append({id, enabled});
        return succeed;
    });
    LogCapture log;

    defaults->setStartAtLogin(false);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(log.lines().isEmpty());

    defaults->setStartAtLogin(true);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0], std::make_pair(QString("com.marrowick.quiverlanehelper"), true));
    EXPECT_TRUE(settings.makeDefaults()->startAtLogin());

    succeed = false;
    defaults->setStartAtLogin(false);
    EXPECT_EQ(
        log.lines(),
        QStringList({"DEBUG: Could not remove com.marrowick.quiverlanehelper to the login items"}));
    EXPECT_FALSE(defaults->startAtLogin());
    EXPECT_FALSE(settings.makeDefaults()->startAtLogin());
}

TEST(WIUserDefaults, StartAtLoginWritesAndRemovesTheAutostartEntry) {
    SettingsFixture settings;
    auto defaults = settings.makeDefaults();
    const QString entry = LoginItem::entryPath(WIUserDefaults::loginHelperIdentifier);
    defaults->setStartAtLogin(true);
    ASSERT_TRUE(QFile::exists(entry));
    const QByteArray text = readFile(entry);
    EXPECT_TRUE(text.contains("Type=Application"));
    EXPECT_TRUE(text.contains("Exec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\""));
    defaults->setStartAtLogin(false);
    EXPECT_FALSE(QFile::exists(entry));
}

TEST(WIUserDefaults, ALoginItemThatCannotBeWrittenIsLogged) {
    SettingsFixture settings;
    auto defaults = settings.makeDefaults();
    // A plain file where the autostart folder belongs stops even root.
    QDir(Paths::autostartFolder()).removeRecursively();
    QDir().mkpath(Paths::configFolder());
    QFile blocker(Paths::autostartFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LogCapture log;
    defaults->setStartAtLogin(true);
    QFile::remove(Paths::autostartFolder());
    EXPECT_EQ(
        log.lines(),
        QStringList({"DEBUG: Could not add com.marrowick.quiverlanehelper to the login items"}));
    EXPECT_TRUE(defaults->startAtLogin());
}

TEST(WIUserDefaults, TheHotKeyIsStoredAsTwoIntegersAndReadBackAfterARestart) {
    SettingsFixture settings;
    auto defaults = settings.makeDefaults();
    QObject context;
    int told = 0;
    defaults->observeKey("hotKeyCombo", &context, [&] { ++told; });
    const KeyCombo combo{(1ull << 20) | (1ull << 17), 49};
    defaults->setHotKeyCombo(combo);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(defaults->store().integerForKey("hotKeyCode"), 49);
    EXPECT_EQ(quint64(defaults->store().integerForKey("hotKeyModifier")), combo.flags);
    EXPECT_EQ(settings.makeDefaults()->hotKeyCombo(), combo);
}

TEST(WIUserDefaults, NothingStoredUnderGroupsIsAFirstLaunch) {
    SettingsFixture settings;
    auto defaults = settings.makeDefaults();
    EXPECT_TRUE(defaults->loadGroupData());
    EXPECT_TRUE(defaults->groups().empty());
}

} // namespace
