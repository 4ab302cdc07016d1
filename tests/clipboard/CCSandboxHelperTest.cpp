#include "clipboard/CCSandboxHelper.h"
#include "app/WIUserDefaults.h"
#include "platform/Alert.h"
#include "platform/Paths.h"
#include "support/LibraryFixtures.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

QString scriptsFolder() {
    return Paths::dataFolder() + "/Quiverlane/Application Scripts";
}

class SandboxHelper : public testing::Test {
protected:
    void SetUp() override { QDir(scriptsFolder()).removeRecursively(); }
    void TearDown() override {
        Alert::setResponder({});
        QFile::remove(scriptsFolder());
        QDir(scriptsFolder()).removeRecursively();
    }

    SettingsFixture settings_;
    std::unique_ptr<WIUserDefaults> defaults_ = settings_.makeDefaults();
};

TEST_F(SandboxHelper, WritesTheOneLineScriptIntoTheApplicationScriptsFolderWhenMissing) {
    CCSandboxHelper helper(defaults_.get());
    const QString script = scriptsFolder() + "/Quiverlane Helper.scpt";
    EXPECT_EQ(helper.scriptURL().toLocalFile(), script);
    EXPECT_TRUE(QDir(scriptsFolder()).exists()) << "made for the helper program to write into";
    EXPECT_FALSE(helper.helperIsInstalled());

    helper.installAppleScriptIfNeeded();
    EXPECT_TRUE(helper.helperIsInstalled());
    EXPECT_EQ(
        readFile(script),
        QByteArray(R"(tell application "System Events" to keystroke "v" using command down)"));

    // A script the helper program left is not looked into, nor replaced.
    QFile other(script);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("the helper's own");
    other.close();
    helper.installAppleScriptIfNeeded();
    EXPECT_EQ(readFile(script), QByteArray("the helper's own"));

    // Deleted while running: missing until it is written again.
    QFile::remove(script);
    EXPECT_FALSE(helper.helperIsInstalled());
}

TEST_F(SandboxHelper, AScriptThatCannotBeWrittenIsLoggedAndCountsAsMissing) {
    // Where the folder should be there is a file, so nothing can be made inside.
    QDir().mkpath(Paths::dataFolder() + "/Quiverlane");
    QFile blocker(scriptsFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    LogCapture log;
    CCSandboxHelper helper(defaults_.get());
    helper.installAppleScriptIfNeeded();
    EXPECT_FALSE(helper.helperIsInstalled());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(
        log.lines().front().startsWith("[DEBUG] Could not make script file because of error: "))
        << log.lines().front().toStdString();
}

TEST_F(SandboxHelper, PastingCallsItsHandlerOnALaterTurnWithOrWithoutTheScript) {
    ManualScheduler scheduler;
    CCSandboxHelper helper(defaults_.get());
    for (bool installed : {false, true}) {
        if (installed)
            helper.installAppleScriptIfNeeded();
        int called = 0;
        helper.pasteDirectlyWithCompletionHandler([&] { ++called; });
        EXPECT_EQ(called, 0) << installed;
        scheduler.advance(0);
        EXPECT_EQ(called, 1) << installed;
    }
}

TEST_F(SandboxHelper, OnlyTheHelpersOwnURLTurnsDirectPasteOnAndConfirmsIt) {
    struct Case {
        const char* url;
        bool announces;
    };
    const Case cases[] = {
        {"quiverlane://helperwasinstalled", true},
        {"quiverlane://helperwasinstalled/?from=helper", true},
        {"quiverlane://HelperWasInstalled", false},
        {"quiverlane://helperwasinstalled.example", false},
        {"quiverlane://other", false},
        {"quiverlane:helperwasinstalled", false},
        {"helperwasinstalled", false},
        {"", false},
    };
    std::vector<AlertRequest> alerts;
    Alert::setResponder([&](const AlertRequest& request) {
        alerts.push_back(request);
        return 0;
    });
    CCSandboxHelper helper(defaults_.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        defaults_->setPasteDirectly(false);
        alerts.clear();
        helper.handleAppleEvent(c.url);
        EXPECT_EQ(defaults_->pasteDirectly(), c.announces);
        ASSERT_EQ(alerts.size(), c.announces ? 1u : 0u);
        if (c.announces) {
            EXPECT_EQ(alerts[0].messageText, "Paste Directly Enabled");
            EXPECT_EQ(alerts[0].informativeText,
                      "The Quiverlane Helper application was installed.");
            EXPECT_EQ(alerts[0].buttons, QStringList({"Okay"}));
        }
    }

    // Already on: confirmed again each time.
    alerts.clear();
    helper.handleAppleEvent("quiverlane://helperwasinstalled");
    helper.handleAppleEvent("quiverlane://helperwasinstalled");
    EXPECT_EQ(alerts.size(), 2u);
    EXPECT_TRUE(defaults_->pasteDirectly());
}

} // namespace
