#include "app/WIUserDefaults.h"
#include "manage/WIEditorModule.h"
#include "manage/WIMainWindowController.h"
#include "platform/Alert.h"
#include "platform/DefaultsStore.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class VetoingEditor : public WIEditorModule {
    Q_OBJECT
public:
    bool refuses = true;
    int asked = 0;
    bool windowShouldClose(QWidget*) override {
        ++asked;
        return !refuses;
    }
};

// The Manage window, open, with the person at the screen answering its alerts.
class ManageWindowClosing : public testing::Test {
protected:
    void SetUp() override {
        defaults().removeObject(WIMainWindowController::suppressQuitAlertKey);
        Alert::setAnswerResponder([this](const AlertRequest& request) {
            alerts.push_back(request);
            return AlertAnswer{0, tickSuppressionBox};
        });
        controller = MWWindowController::controller<WIMainWindowController>();
        controller->actuallyShowWindow();
    }
    void TearDown() override {
        Alert::setAnswerResponder({});
        defaults().removeObject(WIMainWindowController::suppressQuitAlertKey);
    }
    static DefaultsStore& defaults() { return WIUserDefaults::standardUserDefaults().store(); }
    // What another process would read from the settings file now.
    static bool suppressedOnDisk() {
        return DefaultsStore(defaults().filePath())
            .boolForKey(WIMainWindowController::suppressQuitAlertKey);
    }
    bool closeAndReopen() {
        const bool closed = controller->performClose();
        if (closed)
            controller->actuallyShowWindow();
        return closed;
    }

    std::vector<AlertRequest> alerts;
    bool tickSuppressionBox = false;
    std::unique_ptr<WIMainWindowController> controller;
};

TEST_F(ManageWindowClosing, SaysTheProgramRunsOnInTheBackground) {
    QSignalSpy willClose(controller.get(), &WIMainWindowController::windowWillClose);
    EXPECT_TRUE(controller->performClose());
    EXPECT_FALSE(controller->window()->isVisible());
    EXPECT_EQ(willClose.count(), 1);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].messageText, "Quiverlane will continue to run in the background");
    EXPECT_EQ(alerts[0].informativeText,
              "You can access the preferences by clicking on the icon located in the top "
              "menubar.");
    EXPECT_EQ(alerts[0].buttons, QStringList({"Okay"}));
    EXPECT_TRUE(alerts[0].showsSuppressionButton);
}

TEST_F(ManageWindowClosing, AsksOnEveryCloseUntilTheBoxIsTicked) {
    struct Case {
        const char* what;
        bool tick;
        size_t alertsAfterThreeCloses;
        bool suppressed;
    };
    for (const Case& c :
         {Case{"box left empty", false, 3, false}, Case{"box ticked", true, 1, true}}) {
        SCOPED_TRACE(c.what);
        defaults().removeObject(WIMainWindowController::suppressQuitAlertKey);
        alerts.clear();
        tickSuppressionBox = c.tick;
        for (int close = 0; close < 3; ++close)
            EXPECT_TRUE(closeAndReopen());
        EXPECT_EQ(alerts.size(), c.alertsAfterThreeCloses);
        EXPECT_EQ(suppressedOnDisk(), c.suppressed);
    }
}

TEST_F(ManageWindowClosing, TheEditorCanKeepTheWindowOpenWithoutAnAlert) {
    auto editor = std::make_shared<VetoingEditor>();
    auto modules = controller->modules();
    modules[WIMainWindowController::EditorModuleRow] = editor;
    controller->setModules(modules);
    QSignalSpy willClose(controller.get(), &WIMainWindowController::windowWillClose);

    EXPECT_FALSE(controller->performClose());
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(editor->asked, 1) << "asked even while another module is shown";
    EXPECT_TRUE(alerts.empty());
    EXPECT_EQ(willClose.count(), 0);

    editor->refuses = false;
    EXPECT_TRUE(controller->performClose());
    EXPECT_EQ(alerts.size(), 1u);
    EXPECT_EQ(willClose.count(), 1);
}

} // namespace

#include "ManageWindowClosingTest.moc"
