#include "toolkit/MWView.h"
#include "support/TestSupport.h"
#include "toolkit/MWWindowHelpers.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage rendered(const MWView& view) {
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    view.drawInto(painter);
    return image;
}

int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

TEST(MWView, RoundsOnlyTheCornersItsBitsName) {
    struct Case {
        int corners;
        bool topLeft, topRight, bottomRight, bottomLeft; // rounded?
    };
    const std::vector<Case> cases = {
        {12, false, false, true, true},  {3, true, true, false, false},
        {1, true, false, false, false},  {-1, true, true, true, true},
        {0, false, false, false, false},
    };
    for (const Case& c : cases) {
        MWView view;
        view.resize(40, 30);
        view.setBackgroundColor(Qt::red);
        view.setCornerRadius(10);
        view.setRoundedCorners(c.corners);
        const QImage image = rendered(view);
        EXPECT_EQ(alphaAt(image, 0, 0) == 0, c.topLeft) << c.corners;
        EXPECT_EQ(alphaAt(image, 39, 0) == 0, c.topRight) << c.corners;
        EXPECT_EQ(alphaAt(image, 39, 29) == 0, c.bottomRight) << c.corners;
        EXPECT_EQ(alphaAt(image, 0, 29) == 0, c.bottomLeft) << c.corners;
        EXPECT_EQ(alphaAt(image, 20, 15), 255) << c.corners;
        EXPECT_EQ(alphaAt(image, 20, 0), 255) << "edges are filled " << c.corners;
    }
}

TEST(MWView, ABorderOfWidthZeroDrawsNothingAndDoesNotInset) {
    MWView view;
    view.resize(20, 20);
    view.setBackgroundColor(QColor(0, 0, 255));
    view.setBorderColor(Qt::green);
    view.setBorderWidth(0);
    QImage image = rendered(view);
    EXPECT_EQ(image.pixel(0, 10), QColor(0, 0, 255).rgba());

    view.setBorderWidth(1);
    image = rendered(view);
    EXPECT_EQ(image.pixel(0, 10), QColor(Qt::green).rgba()) << "the stroke lies on whole pixels";
    EXPECT_EQ(image.pixel(10, 10), QColor(0, 0, 255).rgba());
}

TEST(MWView, FillKeepsItsAlphaAndTheImageTakesTheViewsAlpha) {
    MWView view;
    view.resize(10, 10);
    view.setBackgroundColor(QColor(255, 0, 0, 128));
    EXPECT_NEAR(alphaAt(rendered(view), 5, 5), 128, 1);

    QImage white(4, 4, QImage::Format_ARGB32);
    white.fill(Qt::white);
    view.setBackgroundColor(QColor());
    view.setBackgroundImage(white);
    view.setAlphaValue(0.5);
    EXPECT_NEAR(alphaAt(rendered(view), 5, 5), 128, 1);
}

// Stands in for a view controller: takes the key events it is given.
class KeyCatcher : public QObject {
public:
    QList<int> keys;
    bool take = true;
    bool event(QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::event(event);
        keys.append(static_cast<QKeyEvent*>(event)->key());
        event->setAccepted(take);
        return take;
    }
};

TEST(MWView, KeysTheViewLeavesGoToItsController) {
    QWidget parent;
    auto* view = new MWView(&parent);
    KeyCatcher controller;
    view->setViewController(&controller);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &escape);
    EXPECT_EQ(controller.keys, QList<int>({Qt::Key_Escape}));
    EXPECT_TRUE(escape.isAccepted());

    controller.take = false;
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &right);
    EXPECT_FALSE(right.isAccepted()) << "what the controller leaves goes on to the parent";
}

TEST(MWView, ViewsFromALayoutRoundEveryCorner) {
    MWView view;
    EXPECT_EQ(view.roundedCorners(), 0);
    view.awakeFromNib();
    EXPECT_EQ(view.roundedCorners(), -1);
}

TEST(WindowHelpers, ContentSizeKeepsTheTopEdgeAndTheCentre) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 200, 200, 100);
    mw_setContentSize(&window, QSize(300, 150), false);
    EXPECT_EQ(window.geometry(), QRect(50, 200, 300, 150));
    mw_setContentSize(&window, QSize(300, 150), false, 10);
    EXPECT_EQ(window.geometry(), QRect(50, 200, 300, 160)) << "the border thickness is not content";

    mw_setContentSize(&window, QSize(100, 50), true);
    ASSERT_TRUE(TestSupport::processEventsUntil(
        [&] { return window.geometry() == QRect(150, 200, 100, 50); }, 2000));
}

TEST(WindowHelpers, StringWidthIsTheWidestLaidOutLine) {
    const QFont font;
    const QFontMetricsF metrics(font);
    EXPECT_NEAR(mw_stringWidthWithFont("Shortcuts", font), metrics.horizontalAdvance("Shortcuts"),
                1.0);
    EXPECT_NEAR(mw_stringWidthWithFont("a\nmuch longer line", font),
                metrics.horizontalAdvance("much longer line"), 1.0);
    EXPECT_EQ(mw_stringWidthWithFont("", font), 0.0);
}

} // namespace
