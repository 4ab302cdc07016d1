#include "manage/DATableRowView.h"
#include "manage/RecordingControllers.h"
#include "manage/WIAboutModule.h"
#include "manage/WIEditorModule.h"
#include "manage/WIIntroModule.h"
#include "manage/WIMainWindowController.h"
#include "manage/WIPreferencesModule.h"
#include "support/TestSupport.h"
#include "toolkit/MWWindowHelpers.h"

#include <QCoreApplication>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QPropertyAnimation>
#include <gtest/gtest.h>

namespace {

class ManageWindow : public testing::Test {
protected:
    void SetUp() override {
        controller = MWWindowController::controller<WIMainWindowController>();
        window = controller->window();
        controller->actuallyShowWindow();
        settle();
    }

    // Lets the window's animated frame changes run to their end.
    void settle() {
        TestSupport::processEventsUntil([&] {
            for (auto* animation : window->findChildren<QPropertyAnimation*>()) {
                if (animation->state() == QAbstractAnimation::Running)
                    return false;
            }
            return true;
        });
        QCoreApplication::processEvents();
    }
    void select(int row) {
        controller->selectModuleAtRow(row);
        settle();
    }
    QSize areaSize() const { return controller->moduleContentView()->size(); }
    bool isResizable() const { return window->minimumSize() != window->maximumSize(); }
    QList<QWidget*> shownInArea() const {
        QList<QWidget*> shown;
        for (QWidget* child :
             controller->moduleContentView()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(controller->moduleContentView()))
                shown << child;
        }
        return shown;
    }
    // Puts recording modules in the list and shows the first.
    std::vector<std::shared_ptr<RecordingModule>>
    useRecordingModules(std::initializer_list<std::pair<const char*, bool>> modules) {
        std::vector<std::shared_ptr<RecordingModule>> made;
        std::vector<MWModuleViewControllerPtr> list;
        for (const auto& [name, resizable] : modules) {
            auto module =
                std::make_shared<RecordingModule>(QString::fromLatin1(name), log, resizable);
            module->setViewSize(QSize(300, 200));
            made.push_back(module);
            list.push_back(module);
        }
        controller->setModules(list);
        select(0);
        log->clear();
        return made;
    }

    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
    std::unique_ptr<WIMainWindowController> controller;
    QWidget* window = nullptr;
};

TEST_F(ManageWindow, ListsItsFourModulesAndOpensOnTheWelcome) {
    struct Row {
        const char* className;
        const char* title;
        bool resizable;
        QSize minSize;
    };
    const std::vector<Row> rows = {
        {"WIIntroModule", "Welcome", false, QSize(0, 0)},
        {"WIEditorModule", "Manage Shortcuts", true, QSize(811, 500)},
        {"WIPreferencesModule", "Preferences", false, QSize(0, 0)},
        {"WIAboutModule", "About", false, QSize(0, 0)},
    };
    const auto modules = controller->modules();
    ASSERT_EQ(modules.size(), rows.size());
    ASSERT_EQ(controller->tableView()->model()->rowCount(), int(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].title);
        EXPECT_STREQ(modules[i]->metaObject()->className(), rows[i].className);
        EXPECT_EQ(modules[i]->moduleTitle(), rows[i].title);
        EXPECT_EQ(modules[i]->moduleIsResizable(), rows[i].resizable);
        EXPECT_EQ(modules[i]->viewMinSize(), rows[i].minSize);
        EXPECT_EQ(controller->tableView()->model()->index(int(i), 0).data().toString(),
                  rows[i].title);
        EXPECT_EQ(modules[i]->layoutName(), rows[i].className) << "each has a layout of its own";
    }
    EXPECT_EQ(controller->currentModule(), modules[0]);
    EXPECT_EQ(window->windowTitle(), "Welcome");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(shownInArea(), QList<QWidget*>({modules[0]->view()}));
}

TEST_F(ManageWindow, EachModuleGetsItsSizeAndTitleAndOnlyTheEditorLetsTheWindowResize) {
    const QSize introSize(560, 360), preferencesSize(480, 360), aboutSize(400, 300);
    struct Step {
        int row;
        const char* title;
        QSize area;
        bool resizable;
    };
    const std::vector<Step> steps = {
        {WIMainWindowController::EditorModuleRow, "Manage Shortcuts", QSize(811, 500), true},
        {WIMainWindowController::PreferencesModuleRow, "Preferences", preferencesSize, false},
        {WIMainWindowController::EditorModuleRow, "Manage Shortcuts", QSize(811, 500), true},
        {WIMainWindowController::AboutModuleRow, "About", aboutSize, false},
        {WIMainWindowController::IntroModuleRow, "Welcome", introSize, false},
    };
    EXPECT_EQ(areaSize(), introSize);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.title);
        select(step.row);
        const auto module = controller->modules()[size_t(step.row)];
        EXPECT_EQ(controller->currentModule(), module);
        EXPECT_EQ(window->windowTitle(), step.title);
        EXPECT_EQ(areaSize(), step.area);
        EXPECT_EQ(module->view()->size(), step.area) << "the module fills the area";
        EXPECT_EQ(isResizable(), step.resizable);
        int visible = 0;
        for (const auto& each : controller->modules())
            visible += each->moduleIsVisible();
        EXPECT_EQ(visible, 1);
        EXPECT_TRUE(module->moduleIsVisible());
        EXPECT_EQ(shownInArea(), QList<QWidget*>({module->view()}));
        EXPECT_EQ(module->parentWindow(), window);
    }
}

TEST_F(ManageWindow, TheUserResizesTheEditorFreelyAndComesBackToItsMinimumArea) {
    select(WIMainWindowController::EditorModuleRow);
    const QSize proposed(1200, 800);
    EXPECT_EQ(controller->windowWillResize(window, proposed), proposed);
    window->resize(proposed);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), proposed);
    EXPECT_EQ(controller->currentModule()->view()->size(), areaSize()) << "the module follows";

    select(WIMainWindowController::PreferencesModuleRow);
    const QSize pinned = window->size();
    EXPECT_EQ(controller->windowWillResize(window, proposed), pinned);
    window->resize(proposed);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), pinned) << "the preferences keep their own size";

    select(WIMainWindowController::EditorModuleRow);
    EXPECT_EQ(areaSize(), QSize(811, 500)) << "whatever size the editor had before";
}

TEST_F(ManageWindow, FullScreenNeitherResizesOnASwitchNorPinsTheSize) {
    select(WIMainWindowController::EditorModuleRow);
    window->showFullScreen();
    QCoreApplication::processEvents();
    ASSERT_TRUE(mw_isFullScreen(window));
    const QSize fullScreen = window->size();

    select(WIMainWindowController::AboutModuleRow);
    EXPECT_EQ(window->size(), fullScreen);
    EXPECT_EQ(controller->windowWillResize(window, QSize(640, 480)), QSize(640, 480));
    EXPECT_TRUE(isResizable());
    EXPECT_EQ(controller->currentModule()->view()->size(), areaSize());
}

TEST_F(ManageWindow, SwitchesInTheirOrderAndNotAtAllToTheModuleShown) {
    const auto modules = useRecordingModules({{"A", false}, {"B", true}});
    auto state = [&](RecordingModule* module) {
        return [this, module] {
            return QStringLiteral("visible=%1 inArea=%2 area=%3x%4")
                .arg(module->moduleIsVisible())
                .arg(shownInArea().contains(module->view()))
                .arg(module->view()->width())
                .arg(module->view()->height());
        };
    };
    modules[0]->detail = state(modules[0].get());
    modules[1]->detail = state(modules[1].get());
    const QSize area = areaSize();

    controller->selectModuleAtRow(1);
    EXPECT_EQ(joined(*log), joined(QStringList({
                                "A willDisappear visible=1 inArea=1 area=300x200",
                                "B willAppear visible=0 inArea=0 area=300x200",
                                "A didDisappear visible=1 inArea=0 area=300x200",
                                QStringLiteral("B didAppear visible=1 inArea=1 area=%1x%2")
                                    .arg(area.width())
                                    .arg(area.height()),
                            })));
    EXPECT_EQ(window->windowTitle(), "B");

    settle();
    log->clear();
    const QRect frame = window->geometry();
    controller->setCurrentModule(modules[1]);
    settle();
    EXPECT_TRUE(log->isEmpty()) << "no appearance calls";
    EXPECT_EQ(window->geometry(), frame) << "no resize";
}

TEST_F(ManageWindow, TheWindowTitleComesFromTheModuleUnlessItHasNone) {
    struct Case {
        const char* title;
        const char* windowTitle;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Groups", "", "Groups"},
        {"Groups", "Edit the groups", "Edit the groups"},
        {"", "", "Previous"},
        {"", "Only the window title", "Only the window title"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        auto modules = useRecordingModules({{"first", false}, {"second", false}});
        window->setWindowTitle("Previous");
        modules[1]->setModuleTitle(c.title);
        modules[1]->setModuleWindowTitle(c.windowTitle);
        select(1);
        EXPECT_EQ(window->windowTitle(), c.expected);
        EXPECT_EQ(controller->tableView()->model()->index(1, 0).data().toString(), c.title);
    }
}

TEST_F(ManageWindow, AModuleWithoutASizeLeavesTheWindowAlone) {
    const auto modules = useRecordingModules({{"sized", true}, {"unsized", true}});
    modules[1]->setViewSize(QSize(0, 0));
    const QRect frame = window->geometry();
    EXPECT_FALSE(controller->resizeWindowIfNeededForViewController(modules[1].get(), false));
    EXPECT_EQ(window->geometry(), frame);

    modules[1]->setViewMinSize(QSize(320, 240));
    EXPECT_EQ(controller->windowSizeWithController(modules[1].get()),
              QSize(320 + controller->moduleContentView()->x(), 240))
        << "the list keeps its width beside the area";
    EXPECT_TRUE(controller->resizeWindowIfNeededForViewController(modules[1].get(), false));
    EXPECT_EQ(areaSize(), QSize(320, 240));
}

TEST_F(ManageWindow, SheetsDropUnderATitleAreaDrawnInsideTheContent) {
    QWidget sheet;
    QWidget plainWindow;
    const QRect proposed(40, 30, 300, 200);
    EXPECT_EQ(controller->windowWillPositionSheet(window, &sheet, proposed), proposed)
        << "the window manager draws the Manage window's title bar outside its content";
    EXPECT_EQ(controller->windowWillPositionSheet(&plainWindow, &sheet, proposed),
              QRect(40, 8, 300, 200));
}

TEST(ManageWindowLoading, ChoosingAModuleBeforeTheWindowExistsDoesNothing) {
    auto controller = MWWindowController::controller<WIMainWindowController>();
    controller->selectModuleAtRow(WIMainWindowController::AboutModuleRow);
    EXPECT_FALSE(controller->isWindowLoaded());
    EXPECT_FALSE(controller->currentModule());

    controller->window();
    ASSERT_TRUE(controller->currentModule());
    EXPECT_EQ(controller->currentModule()->moduleTitle(), "Welcome");

    controller->showModuleAtRow(WIMainWindowController::AboutModuleRow);
    EXPECT_EQ(controller->currentModule()->moduleTitle(), "About");
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(controller->window()->windowTitle(), "About");
}

TEST(DATableRowView, DrawsOnlyTheSelectionInItsOwnBlue) {
    DATableRowView row;
    EXPECT_TRUE(row.isEmphasized());
    auto drawn = [&](bool selected) {
        QImage image(20, 10, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        row.setSelected(selected);
        QPainter painter(&image);
        row.draw(&painter, image.rect());
        return image.pixelColor(10, 5);
    };
    EXPECT_EQ(drawn(false).alpha(), 0);
    EXPECT_EQ(row.interiorBackgroundStyle(), 0);
    const QColor selected = drawn(true);
    EXPECT_EQ(selected.rgba(), qRgb(56, 122, 243));
    EXPECT_EQ(row.interiorBackgroundStyle(), 1) << "white text on the blue";
}

TEST_F(ManageWindow, TheListShowsTheSelectedModuleOnTheRowsBlue) {
    select(WIMainWindowController::PreferencesModuleRow);
    QListView* list = controller->tableView();
    const QImage image = list->viewport()->grab().toImage();
    auto colourOfRow = [&](int row) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        return image.pixel(rect.right() - 2, rect.center().y());
    };
    EXPECT_EQ(colourOfRow(WIMainWindowController::PreferencesModuleRow),
              DATableRowView::selectionColor().rgb());
    EXPECT_NE(colourOfRow(WIMainWindowController::EditorModuleRow),
              DATableRowView::selectionColor().rgb());
}

} // namespace
