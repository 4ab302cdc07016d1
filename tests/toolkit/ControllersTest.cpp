#include "toolkit/MWView.h"
#include "toolkit/MWViewController.h"
#include "toolkit/MWWindowController.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

class LayoutedController : public MWViewController {
    Q_OBJECT
public:
    int loads = 0;
    void mw_viewDidLoad() override {
        MWViewController::mw_viewDidLoad();
        ++loads;
    }
};

class InheritingController : public LayoutedController {
    Q_OBJECT
};

class BareController : public MWViewController {
    Q_OBJECT
public:
    int loads = 0;
    void mw_viewDidLoad() override { ++loads; }
};

class TestWindowController : public MWWindowController {
    Q_OBJECT
public:
    QStringList calls;
    void mw_viewDidLoad() override { calls << "load"; }
    void mw_sheetWillAppear() override { calls << "willAppear"; }
    void mw_sheetDidAppear() override { calls << "didAppear"; }
    void mw_sheetWillDisappear() override { calls << "willDisappear"; }
    void mw_sheetDidDisappear() override { calls << "didDisappear"; }
};

namespace {

TEST(ViewControllers, FindTheirLayoutUpTheClassChain) {
    EXPECT_EQ(MWViewController::nibName(LayoutedController::staticMetaObject),
              "LayoutedController");
    EXPECT_EQ(MWViewController::nibName(InheritingController::staticMetaObject),
              "LayoutedController");
    EXPECT_EQ(MWViewController::nibName(BareController::staticMetaObject), "");

    auto inheriting = MWViewController::controller<InheritingController>();
    EXPECT_EQ(inheriting->layoutName(), "LayoutedController");
    EXPECT_FALSE(inheriting->isViewLoaded()) << "the view loads on first use";
    ASSERT_TRUE(inheriting->outlet<QLabel>("titleLabel"));
    EXPECT_EQ(inheriting->outlet<QLabel>("titleLabel")->text(), "Groups");
    EXPECT_TRUE(inheriting->outlet<QPushButton>("okButton"));
    auto* root = qobject_cast<MWView*>(inheriting->view());
    ASSERT_TRUE(root) << "the layout's own view class is made as itself";
    EXPECT_EQ(root->roundedCorners(), -1);
    EXPECT_EQ(root->viewController(), inheriting.get());

    auto bare = MWViewController::controller<BareController>();
    EXPECT_TRUE(bare->layoutName().isEmpty());
    EXPECT_TRUE(bare->view());
    EXPECT_EQ(bare->loads, 1);
}

TEST(ViewControllers, ViewDidLoadRunsOnceHoweverOftenTheLayoutWakes) {
    auto controller = MWViewController::controller<LayoutedController>();
    controller->view();
    controller->awakeFromNib();
    controller->awakeFromNib();
    controller->view();
    EXPECT_EQ(controller->loads, 1);
    EXPECT_TRUE(controller->mw_viewHasLoaded());
}

TEST(ViewControllers, ParentWindowFallsBackToTheViewsWindow) {
    auto controller = MWViewController::controller<LayoutedController>();
    QWidget host;
    controller->view()->setParent(&host);
    EXPECT_EQ(controller->parentWindow(), &host);
    QWidget explicitHost;
    controller->setParentWindow(&explicitHost);
    EXPECT_EQ(controller->parentWindow(), &explicitHost);
    EXPECT_EQ(controller->viewMinSize(), QSize(0, 0));
    controller->view()->setParent(nullptr);
}

TEST(WindowControllers, LoadTheirWindowAndRunSheetsWithTheirHooks) {
    auto controller = MWWindowController::controller<TestWindowController>();
    EXPECT_TRUE(controller->calls.isEmpty());
    EXPECT_TRUE(controller->outlet<QLineEdit>("nameField"));
    EXPECT_EQ(controller->calls, QStringList({"load"}));
    controller->awakeFromNib();
    EXPECT_EQ(controller->calls, QStringList({"load"}));

    QWidget host;
    host.resize(400, 300);
    host.show();
    controller->beginSheetInWindow(&host);
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(controller->window()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(controller->window()->parentWidget(), &host);
    controller->closeSheet();
    EXPECT_FALSE(controller->window()->isVisible());
    EXPECT_EQ(controller->calls,
              QStringList({"load", "willAppear", "didAppear", "willDisappear", "didDisappear"}));
}

} // namespace

#include "ControllersTest.moc"
