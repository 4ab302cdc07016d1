#include "platform/ApplicationWindows.h"
#include "platform/FrontmostWindow.h"
#include "support/TestSupport.h"
#include "support/X11Desktop.h"

#include <QGuiApplication>
#include <QWidget>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

class FocusReturn : public testing::Test {
protected:
    void SetUp() override {
        if (!onX11())
            GTEST_SKIP() << "needs the X server of the test command";
        ASSERT_TRUE(windowManager_.running()) << "no window manager could be started";
    }

    static bool becomesActive(FrontmostWindow::WindowId window) {
        const bool became =
            processEventsUntil([window] { return FrontmostWindow::active() == window; });
        if (!became)
            ADD_FAILURE() << "active is " << FrontmostWindow::active() << ", not " << window;
        return became;
    }

    // Another program's window comes to the front, as a click on it would bring it.
    static bool bringToFront(ForeignWindow& window) {
        return window.waitUntilManaged() && FrontmostWindow::activate(window.id()) &&
               becomesActive(window.id());
    }

    bool showOurs() {
        ours.resize(200, 100);
        ApplicationWindows::activate(&ours);
        return becomesActive(FrontmostWindow::WindowId(ours.winId()));
    }

    WindowManager windowManager_;
    QWidget ours;
};

TEST_F(FocusReturn, HidingOurWindowsGivesTheFocusBackToTheWindowBeforeOurs) {
    ForeignWindow other;
    ASSERT_TRUE(bringToFront(other));
    ASSERT_TRUE(showOurs());
    EXPECT_EQ(FrontmostWindow::remembered(), other.id());
    ASSERT_TRUE(processEventsUntil(
        [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }));

    ApplicationWindows::hideApplication();
    EXPECT_FALSE(ours.isVisible());
    EXPECT_TRUE(becomesActive(other.id()));
}

TEST_F(FocusReturn, AWindowThatTookTheFocusFromUsKeepsIt) {
    ForeignWindow before(QStringLiteral("Before"));
    ASSERT_TRUE(bringToFront(before));
    ASSERT_TRUE(showOurs());

    // The user clicks another program's window while ours is up.
    ForeignWindow clicked(QStringLiteral("Clicked"));
    ASSERT_TRUE(bringToFront(clicked));
    ASSERT_TRUE(processEventsUntil(
        [] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }));
    EXPECT_EQ(FrontmostWindow::remembered(), clicked.id());

    ApplicationWindows::hideApplication();
    processEventsFor(300);
    EXPECT_EQ(FrontmostWindow::active(), clicked.id());
}

} // namespace
