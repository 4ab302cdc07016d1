#include "manage/MWModuleViewController.h"
#include "manage/MWNavigationController.h"
#include "manage/RecordingControllers.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

using ControllerPtr = MWNavigationController::ControllerPtr;

// A 500 x 300 window whose right 400 x 300 is the navigation controller's container.
class Navigation : public testing::Test {
protected:
    Navigation() {
        window.resize(500, 300);
        container = new QWidget(&window);
        container->setGeometry(100, 0, 400, 300);
        navigation.setWindow(&window);
        navigation.setView(container);
    }

    std::shared_ptr<RecordingPage> page(const QString& name) {
        auto made = std::make_shared<RecordingPage>(name, log);
        made->setViewSize(QSize(50, 50));
        return made;
    }
    static bool isIn(const ControllerPtr& controller, const QWidget* container) {
        return controller->view()->parentWidget() == container &&
               controller->view()->isVisibleTo(container);
    }
    std::vector<ControllerPtr> stack(std::initializer_list<ControllerPtr> controllers) {
        return controllers;
    }

    ManualScheduler scheduler;
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
    QWidget window;
    QWidget* container;
    MWNavigationController navigation;
};

TEST_F(Navigation, PushingOntoAnEmptyStackShowsTheViewWithoutATransition) {
    auto root = page("root");
    navigation.pushViewController(root, true);
    EXPECT_TRUE(navigation.viewControllers().empty()) << "the push waits for the main queue";
    EXPECT_FALSE(navigation.currentViewController());

    scheduler.advance(0);
    EXPECT_EQ(navigation.viewControllers(), stack({root}));
    EXPECT_EQ(navigation.currentViewController(), root);
    EXPECT_FALSE(navigation.isTransitioning());
    EXPECT_TRUE(isIn(root, container));
    EXPECT_EQ(root->view()->geometry(), QRect(0, 0, 400, 300)) << "it fills the container";
    EXPECT_EQ(root->navigationController(), &navigation);
    EXPECT_EQ(root->parentWindow(), &window);
    EXPECT_EQ(joined(*log), joined(QStringList({"root willAppear", "root didAppear"})));

    window.show();
    container->resize(420, 280);
    EXPECT_EQ(root->view()->size(), QSize(420, 280)) << "it follows the container";
}

TEST_F(Navigation, PushSlidesInFromTheRightAndPopFromTheLeftOverTheTransition) {
    struct Case {
        const char* what;
        bool isPop;
        int side; // where the new view comes from: +1 right, -1 left
    };
    for (const Case& c : {Case{"push", false, +1}, Case{"pop", true, -1}}) {
        SCOPED_TRACE(c.what);
        log->clear();
        auto a = page("A");
        auto b = page("B");
        navigation.setIsVisible(true);
        ControllerPtr incoming, outgoing;
        if (c.isPop) {
            navigation.setViewControllers({a, b}, false);
            EXPECT_EQ(navigation.popViewControllerAnimated(true), a);
            incoming = a;
            outgoing = b;
        } else {
            navigation.setViewControllers({a}, false);
            navigation.pushViewController(b, true);
            incoming = b;
            outgoing = a;
        }
        incoming->setMw_isVisible(false);
        log->clear();

        scheduler.advance(0);
        ASSERT_TRUE(navigation.isTransitioning());
        EXPECT_EQ(navigation.currentViewController(), incoming);
        EXPECT_TRUE(isIn(incoming, container) && isIn(outgoing, container));
        EXPECT_EQ(incoming->view()->x(), c.side * 400);
        EXPECT_EQ(outgoing->view()->x(), 0);

        scheduler.advance(0.05); // a third of the way, at a linear pace
        EXPECT_EQ(incoming->view()->x(), c.side * 267);
        EXPECT_EQ(outgoing->view()->x(), -c.side * 133);
        const QString in = c.isPop ? "A" : "B";
        const QString out = c.isPop ? "B" : "A";
        EXPECT_EQ(joined(*log), joined(QStringList({out + " willDisappear", in + " willAppear"})));
        EXPECT_FALSE(incoming->mw_isVisible());

        scheduler.advance(0.0999);
        EXPECT_TRUE(navigation.isTransitioning()) << "still sliding just before 0.15 s";

        scheduler.advance(0.0001);
        EXPECT_FALSE(navigation.isTransitioning());
        EXPECT_FALSE(isIn(outgoing, container));
        EXPECT_TRUE(isIn(incoming, container));
        EXPECT_EQ(incoming->view()->pos(), QPoint(0, 0));
        EXPECT_TRUE(incoming->mw_isVisible()) << "it takes the navigation's visibility at the end";
        EXPECT_EQ(joined(log->mid(2)),
                  joined(QStringList({out + " didDisappear", in + " didAppear"})));
    }
}

TEST_F(Navigation, SwitchesIssuedTogetherRunInOrderOnceTheCallerHasReturned) {
    auto root = page("root");
    auto a = page("A");
    auto b = page("B");
    navigation.setViewControllers({root}, false);
    log->clear();

    navigation.pushViewController(a, false);
    navigation.pushViewController(b, false);
    EXPECT_EQ(navigation.viewControllers(), stack({root}));
    EXPECT_TRUE(log->isEmpty());

    scheduler.advance(0);
    EXPECT_EQ(navigation.viewControllers(), stack({root, a, b}));
    EXPECT_EQ(navigation.currentViewController(), b);
    EXPECT_EQ(*log,
              QStringList({"root willDisappear", "A willAppear", "root didDisappear", "A didAppear",
                           "A willDisappear", "B willAppear", "A didDisappear", "B didAppear"}));

    // Animated, the second switch lands the first before it starts sliding.
    log->clear();
    navigation.popViewControllerAnimated(true);
    navigation.popViewControllerAnimated(true);
    scheduler.advance(0);
    EXPECT_EQ(navigation.viewControllers(), stack({root}));
    EXPECT_EQ(joined(*log),
              joined(QStringList({"B willDisappear", "A willAppear", "B didDisappear",
                                  "A didAppear", "A willDisappear", "root willAppear"})));
    EXPECT_TRUE(isIn(root, container));
    EXPECT_FALSE(isIn(b, container));
    scheduler.advance(MWNavigationController::transitionSeconds);
    EXPECT_EQ(log->last(), "root didAppear");
    EXPECT_FALSE(isIn(a, container));
}

TEST_F(Navigation, PopsChangeTheStackAtOnceAndSwitchLater) {
    auto root = page("root");
    auto a = page("A");
    auto b = page("B");
    navigation.setViewControllers({root, a, b}, false);

    EXPECT_EQ(navigation.popViewControllerAnimated(false), a);
    EXPECT_EQ(navigation.viewControllers(), stack({root, a}));
    EXPECT_EQ(navigation.currentViewController(), b);
    scheduler.advance(0);
    EXPECT_EQ(navigation.currentViewController(), a);

    EXPECT_EQ(navigation.popToRootViewControllerAnimated(false), root);
    EXPECT_EQ(navigation.viewControllers(), stack({root, a})) << "the root pop trims when it runs";
    scheduler.advance(0);
    EXPECT_EQ(navigation.viewControllers(), stack({root}));
    EXPECT_EQ(navigation.currentViewController(), root);

    EXPECT_EQ(navigation.popViewControllerAnimated(false), nullptr) << "the root stays";
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    EXPECT_EQ(navigation.viewControllers(), stack({root}));
}

TEST_F(Navigation, PopToControllerTrimsAboveItOrOnlyLogsWhyNot) {
    auto root = page("root");
    auto a = page("A");
    auto b = page("B");
    auto stranger = page("stranger");
    navigation.setViewControllers({root, a, b}, false);
    log->clear();

    {
        TestSupport::LogCapture captured;
        navigation.popToController(b.get(), true);
        EXPECT_EQ(joined(captured.lines()),
                  joined(QStringList({"View controller is already the top item"})));
    }
    {
        TestSupport::LogCapture captured;
        navigation.popToController(stranger.get(), true);
        ASSERT_EQ(captured.lines().size(), 2);
        EXPECT_TRUE(captured.lines()[0].startsWith("Could not find in stack: <RecordingPage: 0x"))
            << captured.lines()[0].toStdString();
        EXPECT_EQ(captured.lines()[1].count("<RecordingPage: 0x"), 3)
            << captured.lines()[1].toStdString();
        EXPECT_TRUE(captured.lines()[1].startsWith("Stack: ("));
    }
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    EXPECT_EQ(navigation.viewControllers(), stack({root, a, b}));
    EXPECT_TRUE(log->isEmpty());

    navigation.popToController(root.get(), false);
    EXPECT_EQ(navigation.viewControllers(), stack({root}));
    scheduler.advance(0);
    EXPECT_EQ(navigation.currentViewController(), root);
}

TEST_F(Navigation, GrowsTheWindowOnlyWhenTheContainerIsNotLargerOrWhenForced) {
    struct Case {
        const char* what;
        QSize minSize;
        bool force;
        bool resizes;
        QSize content; // the window's size after
    };
    const std::vector<Case> cases = {
        {"no minimum", QSize(0, 0), true, false, QSize(500, 300)},
        {"container larger both ways", QSize(300, 200), false, false, QSize(500, 300)},
        {"forced", QSize(300, 200), true, true, QSize(400, 200)},
        {"width only equal", QSize(400, 250), false, true, QSize(500, 250)},
        {"taller than the container", QSize(350, 320), false, true, QSize(450, 320)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window.setMinimumSize(0, 0);
        window.setGeometry(50, 60, 500, 300);
        container->setGeometry(100, 0, 400, 300);
        auto controller = page("C");
        controller->setViewMinSize(c.minSize);
        controller->setForceResize(c.force);
        EXPECT_EQ(navigation.resizeWindowIfNeededForViewController(controller.get(), false),
                  c.resizes);
        EXPECT_EQ(window.size(), c.content);
        EXPECT_EQ(window.y(), 60) << "the top edge stays";
        if (c.resizes)
            EXPECT_EQ(window.minimumSize(), c.content);
    }
    MWNavigationController windowless;
    auto controller = page("C");
    controller->setViewMinSize(QSize(300, 200));
    EXPECT_FALSE(windowless.resizeWindowIfNeededForViewController(controller.get(), false));
}

TEST_F(Navigation, RestoresTheWindowsFirstMinimumSizeOnEverySwitch) {
    window.setMinimumSize(200, 100);
    auto root = page("root");
    auto big = page("big");
    big->setViewMinSize(QSize(450, 350));
    auto small = page("small");
    navigation.setViewControllers({root}, false);
    EXPECT_EQ(navigation.originalMinSize(), QSize(200, 100));

    navigation.pushViewController(big, false);
    scheduler.advance(0);
    EXPECT_EQ(window.size(), QSize(550, 350));
    EXPECT_EQ(window.minimumSize(), QSize(550, 350)) << "the big view's needs";

    navigation.pushViewController(small, false);
    scheduler.advance(0);
    EXPECT_EQ(navigation.originalMinSize(), QSize(200, 100)) << "recorded once";
    EXPECT_EQ(window.minimumSize(), QSize(200, 100));
}

TEST_F(Navigation, VisibilityReachesEveryStackedControllerThroughTheModule) {
    auto a = page("A");
    auto b = page("B");
    navigation.setViewControllers({a, b}, false);
    RecordingModule module("module", log);
    module.setModuleIsVisible(true);
    module.attachNavigationController(&navigation);
    EXPECT_TRUE(navigation.isVisible()) << "it learns the module's state when attached";
    EXPECT_TRUE(a->mw_isVisible() && b->mw_isVisible());
    module.setModuleIsVisible(false);
    EXPECT_FALSE(navigation.isVisible());
    EXPECT_FALSE(a->mw_isVisible() || b->mw_isVisible());
}

} // namespace
