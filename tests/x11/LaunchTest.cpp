#include "app/AppDelegate.h"
#include "app/WIUserDefaults.h"
#include "bar/QVBookmarksWindowController.h"
#include "bar/QVOutlineView.h"
#include "manage/WIMainWindowController.h"
#include "platform/ModifierFlags.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"
#include "support/X11Desktop.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

constexpr quint32 controlL = 0xffe3, shiftL = 0xffe1, space = ' ';
constexpr qint64 spaceCode = 49;

bool barLists(QVBookmarksWindowController& bar, const QString& path) {
    QVOutlineView* outline = bar.outlineView();
    for (int row = 0; outline && row < outline->numberOfRows(); ++row) {
        const QVOutlineItem item = outline->itemAtRow(row);
        if (item.isFile() && item.file->path() == path)
            return true;
    }
    return false;
}

// The program's launch in this process, on the real X server: the library comes
// from the settings, the hot key from the settings too.
class Launch : public testing::Test {
protected:
    void SetUp() override {
        if (!onX11())
            GTEST_SKIP() << "needs the X server of the test command";
        ASSERT_TRUE(windowManager.running());
    }

    WindowManager windowManager;
    WIUserDefaults& settings = WIUserDefaults::standardUserDefaults();
};

TEST_F(Launch, TheHotKeyShowsTheBarWithTheLibrarysShortcutsAndHidesItAgain) {
    Folder folder;
    const QString report = folder.write("Report.txt");
    settings.setGroups({groupNamed("Pinned", {shortcutTo(report)})});
    settings.setHotKeyCombo({ModifierFlags::command | ModifierFlags::shift, spaceCode});
    settings.setFirstLaunch(false);
    settings.setHideWindowOnStartup(true);

    AppDelegate delegate(settings);
    delegate.applicationWillFinishLaunching();
    ASSERT_TRUE(delegate.libraryLoaded());
    delegate.applicationDidFinishLaunching();
    ASSERT_GT(delegate.hotKeyID(), 0);
    QVBookmarksWindowController* bar = delegate.mainWindowController();
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->window()->isVisible()) << "hidden at launch as the setting says";
    // Launching the program again brings the bar.
    EXPECT_FALSE(delegate.applicationShouldHandleReopen(false));
    EXPECT_TRUE(bar->window()->isVisible());
    bar->actuallyHideWindow(false);

    TestKeyboard keyboard;
    keyboard.type({controlL, shiftL}, space);
    ASSERT_TRUE(processEventsUntil([&] { return bar->window()->isVisible(); }));
    EXPECT_TRUE(barLists(*bar, report));

    processEventsFor(400); // a later press, not a double press
    keyboard.type({controlL, shiftL}, space);
    EXPECT_TRUE(processEventsUntil([&] { return !bar->window()->isVisible(); }));

    // Another combination recorded in the settings replaces the first at once.
    const qint64 first = delegate.hotKeyID();
    settings.setHotKeyCombo({ModifierFlags::command | ModifierFlags::option, spaceCode});
    EXPECT_EQ(delegate.hotKeyID(), first + 1);
    processEventsFor(300);
    keyboard.type({controlL, shiftL}, space);
    processEventsFor(300);
    EXPECT_FALSE(bar->window()->isVisible()) << "the old combination is let go";
    settings.setHotKeyCombo({});
}

TEST_F(Launch, AFirstLaunchShowsTheManageWindowAndClosingItWithoutShortcutsHidesEverything) {
    settings.setGroups({});
    settings.setFirstLaunch(true);
    settings.setHideWindowOnStartup(false);
    settings.store().setBool(WIMainWindowController::suppressQuitAlertKey, true);

    AppDelegate delegate(settings);
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    WIMainWindowController* manage = delegate.preferencesWindowController();
    ASSERT_TRUE(manage);
    ASSERT_TRUE(processEventsUntil([&] { return manage->window()->isVisible(); }));
    EXPECT_FALSE(settings.firstLaunch());
    EXPECT_FALSE(delegate.mainWindowController()->window()->isVisible());

    EXPECT_TRUE(manage->performClose());
    EXPECT_TRUE(processEventsUntil([&] { return !delegate.preferencesWindowController(); }));
    EXPECT_FALSE(delegate.mainWindowController()->window()->isVisible())
        << "no shortcuts: no empty bar";
}

} // namespace
