#include "toolkit/MWNoScrollView.h"
#include "toolkit/MWWindowHelpers.h"
#include "toolkit/MWYosemiteWindow.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

int scrollAfterWheel(MWNoScrollView& view) {
    view.verticalScrollBar()->setValue(0);
    const QPointF inside(10, 10);
    QWheelEvent wheel(inside, view.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
    return view.verticalScrollBar()->value();
}

TEST(MWNoScrollView, TheUserScrollsOnlyWhileScrollingIsEnabled) {
    MWNoScrollView view;
    view.resize(100, 100);
    auto* content = new QWidget;
    content->resize(100, 1000);
    view.setWidget(content);
    view.show();
    EXPECT_GT(scrollAfterWheel(view), 0);
    view.setScrollingEnabled(false);
    EXPECT_EQ(scrollAfterWheel(view), 0);
    view.verticalScrollBar()->setValue(300);
    EXPECT_EQ(view.verticalScrollBar()->value(), 300) << "scrolling from code still works";
}

TEST(MWYosemiteWindow, ItsContentViewFillsTheWindowAndTheTitleShowsTwice) {
    MWYosemiteWindow window;
    window.resize(320, 200);
    window.show();
    EXPECT_EQ(window.contentView(), window.actualContentView());
    EXPECT_EQ(window.actualContentView()->geometry(), QRect(0, 0, 320, 200));
    window.resize(400, 250);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.actualContentView()->geometry(), QRect(0, 0, 400, 250)) << "it follows the window";
    window.setTitle("Manage");
    EXPECT_EQ(window.windowTitle(), "Manage");
    EXPECT_EQ(window.actualTitleLabel()->text(), "Manage");
    EXPECT_FALSE(window.contentBackgroundColor().isValid());
}

TEST(WindowHelpers, FullScreenCanBeAllowedAndTakenAway) {
    QWidget window;
    mw_enableFullScreen(&window);
    EXPECT_TRUE(mw_fullScreenEnabled(&window));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    window.showFullScreen();
    EXPECT_TRUE(mw_isFullScreen(&window));
    mw_disableFullScreen(&window);
    EXPECT_FALSE(mw_isFullScreen(&window));
    EXPECT_FALSE(mw_fullScreenEnabled(&window));

    window.resize(100, 80);
    mw_setResizable(&window, false);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    mw_setResizable(&window, true);
    EXPECT_NE(window.minimumSize(), window.maximumSize());
}

} // namespace
