#include "bar/MTStatusItem.h"
#include "platform/ModifierFlags.h"
#include "platform/NotificationCenter.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace {

class FakeDelegate : public MTStatusItemDelegate {
public:
    bool answers = true, allowMenu = true, handlesClicks = true;
    int clicks = 0, menuQuestions = 0;
    bool answersMenuShouldShow() const override { return answers; }
    bool menuShouldShow() override {
        ++menuQuestions;
        return allowMenu;
    }
    bool handlesIconClicks() const override { return handlesClicks; }
    void menuIconWasClicked() override { ++clicks; }
};

TEST(MTStatusItem, ImageNamesFollowStateAndPanel) {
    struct Case {
        int state;
        const char* name;
    };
    const std::vector<Case> cases = {
        {0, "icon-statusitem-normal"},
        {MTStatusItem::Active, "icon-statusitem-active"},
        {MTStatusItem::DarkMenuBar, "icon-statusitem-normal-dark"},
        {MTStatusItem::DarkMenuBar | MTStatusItem::Active, "icon-statusitem-active"},
        {MTStatusItem::Blinking, "icon-statusitem-normal"},
        {MTStatusItem::Blinking | MTStatusItem::BlinkLit, "icon-statusitem-active"},
        {MTStatusItem::Blinking | MTStatusItem::BlinkLit | MTStatusItem::DarkMenuBar,
         "icon-statusitem-active-dark"},
        {MTStatusItem::BlinkLit, "icon-statusitem-normal"},
    };
    bool dark = false;
    MTStatusItem item([&] { return dark; });
    for (const Case& c : cases) {
        // Each draw asks the panel again, so the panel decides the dark bit.
        dark = c.state & MTStatusItem::DarkMenuBar;
        item.setIconState(c.state);
        EXPECT_EQ(item.iconImageName(), QString::fromLatin1(c.name)) << c.state;
        EXPECT_FALSE(item.iconImage().isNull()) << "every name in use has artwork: " << c.name;
    }
}

TEST(MTStatusItem, DarkPanelsAddDarkOnlyWhileTheBarIsHidden) {
    bool dark = false;
    MTStatusItem item([&] { return dark; });
    EXPECT_EQ(item.iconImageName(), "icon-statusitem-normal");
    dark = true;
    item.render(); // the next draw notices the change
    EXPECT_EQ(item.iconImageName(), "icon-statusitem-normal-dark");
    item.setActive(true);
    EXPECT_EQ(item.iconImageName(), "icon-statusitem-active");
}

TEST(MTStatusItem, TheSlotWidensForABadgeAndSaysSoOnce) {
    MTStatusItem item([] { return false; });
    EXPECT_EQ(item.length(), 24);
    const QRectF image = item.imageDrawingRect();
    EXPECT_EQ(image.center().x(), 12) << "centred without a badge";

    QObject observer;
    int posted = 0;
    NotificationCenter::defaultCenter().addObserver(
        &observer, MTStatusItem::lengthDidChangeNotification,
        [&](const Notification&) { ++posted; }, &item);
    item.setBadge("12");
    const QRectF badge = item.badgeDrawingRect();
    EXPECT_EQ(badge.left(), image.width() + 6);
    EXPECT_EQ(item.length(), std::round(badge.right() + 6));
    EXPECT_EQ(item.imageDrawingRect().left(), 3);
    EXPECT_EQ(posted, 1);
    item.setBadge("12");
    EXPECT_EQ(posted, 1) << "the same badge changes nothing";
    item.setBadge(QString());
    EXPECT_EQ(item.length(), 24);
    EXPECT_EQ(posted, 2);
}

TEST(MTStatusItem, ClicksGoToTheDelegateAndAControlClickOpensTheMenu) {
    MTStatusItem item([] { return false; });
    FakeDelegate delegate;
    item.setDelegate(&delegate);
    QMenu menu;
    menu.addAction("Preferences…");
    item.setContextMenu(&menu);

    item.mouseDown(0);
    EXPECT_EQ(delegate.clicks, 1);
    EXPECT_FALSE(item.active());

    item.mouseDown(ModifierFlags::control);
    EXPECT_EQ(delegate.clicks, 1);
    EXPECT_EQ(delegate.menuQuestions, 1);
    EXPECT_TRUE(item.active()) << "highlighted while the menu is open";
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    EXPECT_FALSE(item.active()) << "and not once it closes";

    item.mouseDown(ModifierFlags::control | ModifierFlags::shift);
    EXPECT_EQ(delegate.clicks, 2) << "only Control alone makes a menu click";
    menu.hide();

    delegate.allowMenu = false;
    item.rightMouseDown();
    EXPECT_FALSE(menu.isVisible());
    delegate.handlesClicks = false;
    delegate.allowMenu = true;
    item.mouseDown(0);
    EXPECT_TRUE(menu.isVisible()) << "a delegate that takes no clicks gets the menu";
    menu.hide();
}

TEST(MTStatusItem, BlinkingAlternatesEveryEightTenthsOfASecond) {
    ManualScheduler clock;
    MTStatusItem item([] { return false; });
    item.startBlinking();
    EXPECT_EQ(item.iconImageName(), "icon-statusitem-normal");
    clock.advance(0.8);
    EXPECT_EQ(item.iconImageName(), "icon-statusitem-active");
    clock.advance(0.8);
    EXPECT_EQ(item.iconImageName(), "icon-statusitem-normal");
    item.setActive(true);
    clock.advance(0.8);
    EXPECT_FALSE(item.iconState() & MTStatusItem::BlinkLit) << "an active icon does not blink";
    item.stopBlinking();
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_FALSE(item.iconState() & (MTStatusItem::Blinking | MTStatusItem::BlinkLit));
}

bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

TEST(MTStatusItem, WithoutTheIconOnlyTheBackgroundIsDrawn) {
    MTStatusItem item([] { return false; });
    item.setIconVisible(false);
    QImage image = item.render();
    EXPECT_FALSE(hasInk(image));
    item.setActive(true);
    image = item.render();
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 255) << "the highlighted background";
    item.setIconVisible(true);
    item.setActive(false);
    image = item.render();
    EXPECT_TRUE(hasInk(image)) << "the icon is drawn";
}

} // namespace
