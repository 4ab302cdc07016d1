#include "app/WIUserDefaults.h"
#include "bar/QVWindow.h"
#include "bar/STDockableWindowController.h"
#include "platform/NotificationCenter.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"
#include "toolkit/SavedFrame.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(DockedFrame, HangsUnderTheIconAndKeepsInsideTheScreen) {
    const QRect screen(0, 0, 1280, 800);
    struct Case {
        const char* what;
        QRect icon;
        QSize bar;
        QRect expected;
    };
    const std::vector<Case> cases = {
        {"room to the right", QRect(600, 0, 24, 22), QSize(200, 300), QRect(600, 22, 200, 300)},
        {"too close to the right edge", QRect(1200, 0, 24, 22), QSize(200, 300),
         QRect(1024, 22, 200, 300)},
        {"exactly fits", QRect(1080, 0, 24, 22), QSize(200, 300), QRect(1080, 22, 200, 300)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            STDockableWindowController::dockedWindowFrame(QRect(QPoint(), c.bar), c.icon, screen),
            c.expected)
            << c.what;
    EXPECT_EQ(STDockableWindowController::dockedWindowFrame(QRect(0, 0, 200, 300),
                                                            QRect(1200, 0, 24, 22), QRect()),
              QRect(1200, 22, 200, 300))
        << "without a screen there is no right-edge correction";
}

TEST(SavedFrames, RoundTripAndRejectJunk) {
    const QString text = SavedFrame::format(QRect(10, 20, 300, 400), QRect(0, 0, 1280, 800));
    EXPECT_EQ(text, "10 20 300 400 0 0 1280 800");
    const auto parsed = SavedFrame::parse(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->frame, QRect(10, 20, 300, 400));
    EXPECT_EQ(parsed->screenArea, QRect(0, 0, 1280, 800));
    for (const char* junk :
         {"", "1 2 3", "a b c d e f g h", "1 2 0 4 5 6 7 8", "1 2 3 4 5 6 7 8 9"})
        EXPECT_FALSE(SavedFrame::parse(junk)) << junk;
    EXPECT_EQ(SavedFrame::placeOn(QRect(1200, 700, 200, 300), QRect(0, 0, 1280, 800)),
              QRect(1080, 500, 200, 300));
}

// A bar controller that records its hooks.
class RecordingBar : public STDockableWindowController {
    Q_OBJECT
public:
    QList<bool> hides;
    int shows = 0;
    void windowWillHideAnimated(bool animated) override { hides.append(animated); }
    void windowDidShow() override { ++shows; }
};

class BarStates : public testing::Test {
protected:
    void SetUp() override {
        bar = MWWindowController::controller<RecordingBar>();
        bar->window();
        clock.advance(10); // far from any earlier click
    }
    ManualScheduler clock;
    std::unique_ptr<RecordingBar> bar;
};

TEST_F(BarStates, ASecondClickWithinTwoTenthsIsNotAnimated) {
    bar->menuIconWasClicked();
    EXPECT_TRUE(bar->window()->isVisible());
    clock.advance(0.1);
    bar->menuIconWasClicked();
    ASSERT_EQ(bar->hides.size(), 1);
    EXPECT_FALSE(bar->hides[0]) << "the second click hides at once";
    EXPECT_FALSE(bar->window()->isVisible());
    clock.advance(1);
    bar->menuIconWasClicked();
    clock.advance(1);
    bar->menuIconWasClicked();
    ASSERT_EQ(bar->hides.size(), 2);
    EXPECT_TRUE(bar->hides[1]);
    EXPECT_TRUE(bar->window()->isVisible()) << "the fade takes its time";
    clock.advance(0.2);
    EXPECT_FALSE(bar->window()->isVisible());
}

TEST_F(BarStates, WithTheManageWindowOpenAClickNeverHides) {
    auto manage = MWWindowController::controller<MWWindowController>();
    manage->window()->show();
    bar->setPreferencesWindowController(manage.get());
    bar->menuIconWasClicked();
    clock.advance(1);
    bar->menuIconWasClicked();
    EXPECT_TRUE(bar->hides.isEmpty());
    EXPECT_TRUE(bar->window()->isVisible());
    EXPECT_EQ(bar->shows, 2);
}

TEST_F(BarStates, LosingTheFocusHidesUnlessSomethingHoldsTheBar) {
    WIUserDefaults& settings = WIUserDefaults::standardUserDefaults();
    MTStatusItem item([] { return false; });
    bar->setStatusItem(&item);

    bar->actuallyShowWindow(false);
    bar->windowDidResignKey();
    EXPECT_FALSE(bar->window()->isVisible());
    EXPECT_FALSE(item.active());

    settings.setIsBackgroundApp(true);
    bar->actuallyShowWindow(false);
    bar->windowDidResignKey();
    EXPECT_TRUE(bar->window()->isVisible()) << "a background app keeps the bar";
    EXPECT_FALSE(item.active()) << "but not the highlight";
    settings.setIsBackgroundApp(false);

    auto manage = MWWindowController::controller<MWWindowController>();
    manage->window()->show();
    bar->setPreferencesWindowController(manage.get());
    settings.setShouldKeepAbove(true);
    bar->actuallyShowWindow(false);
    bar->windowDidResignKey();
    EXPECT_TRUE(bar->window()->isVisible());
    EXPECT_TRUE(item.active()) << "kept above with the Manage window open: nothing changes";
    settings.setShouldKeepAbove(false);
    bar->windowDidResignKey();
    EXPECT_TRUE(bar->window()->isVisible());
    EXPECT_FALSE(item.active());

    NotificationCenter::defaultCenter().post("Notification.disableWindowClosing");
    bar->setPreferencesWindowController(nullptr);
    bar->windowDidResignKey();
    EXPECT_TRUE(bar->window()->isVisible()) << "hiding is suspended";
    NotificationCenter::defaultCenter().post("Notification.enableWindowClosing");
    bar->windowDidResignKey();
    EXPECT_FALSE(bar->window()->isVisible());
    bar->setStatusItem(nullptr);
}

TEST_F(BarStates, OnlyAnUndockedBarRemembersWhereItWasMoved) {
    WIUserDefaults& settings = WIUserDefaults::standardUserDefaults();
    settings.setUndockedFrame(QString());
    bar->window()->move(40, 50);
    bar->windowDidMove();
    EXPECT_TRUE(settings.undockedFrame().isEmpty()) << "docked: the setting is left alone";

    bar->toggleDocked();
    EXPECT_FALSE(bar->docked());
    EXPECT_FALSE(settings.isDocked());
    bar->window()->move(70, 80);
    bar->windowDidMove();
    const auto saved = SavedFrame::parse(settings.undockedFrame());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->frame.topLeft(), QPoint(70, 80));
    bar->toggleDocked();
    EXPECT_TRUE(settings.isDocked());
}

TEST_F(BarStates, TheTrayMenuFloatsTheBarWhichThenDragsByItsBackground) {
    WIUserDefaults& settings = WIUserDefaults::standardUserDefaults();
    MTStatusItem item([] { return false; });
    bar->setStatusItem(&item);
    ASSERT_TRUE(item.contextMenu());
    ASSERT_TRUE(item.contextMenu()->actions().contains(bar->toggleDockedAction()));
    auto* window = qobject_cast<QVWindow*>(bar->window());
    ASSERT_TRUE(window);
    bar->actuallyShowWindow(false);
    EXPECT_FALSE(window->isMovableByWindowBackground());
    EXPECT_EQ(bar->toggleDockedAction()->text(), "Float the Bar");

    bar->toggleDockedAction()->trigger();
    EXPECT_FALSE(settings.isDocked());
    EXPECT_TRUE(window->isMovableByWindowBackground());
    EXPECT_EQ(bar->toggleDockedAction()->text(), "Dock the Bar Under the Icon");

    const QPoint start = window->pos();
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent drag(QEvent::MouseMove, QPointF(35, 25), window->mapToGlobal(QPointF(35, 25)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(window, &drag);
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(window->pos(), start + QPoint(30, 20));
    const auto saved = SavedFrame::parse(settings.undockedFrame());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->frame.topLeft(), start + QPoint(30, 20));

    bar->toggleDockedAction()->trigger();
    clock.advance(0.2);
    EXPECT_TRUE(settings.isDocked());
    EXPECT_FALSE(window->isMovableByWindowBackground()) << "a docked bar stays under the icon";
    bar->setStatusItem(nullptr);
}

} // namespace

#include "DockableWindowTest.moc"
