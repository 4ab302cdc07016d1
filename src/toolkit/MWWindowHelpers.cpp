#include "toolkit/MWWindowHelpers.h"

#include <QPropertyAnimation>
#include <QTextLayout>
#include <QWidget>
#include <cmath>

double mw_stringWidthWithFont(const QString& text, const QFont& font) {
    double widest = 0;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(1e7); // no wrapping: an unbounded container
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
    }
    return widest;
}

namespace {
QRect resizedKeepingTop(const QRect& frame, QSize size, double thickness) {
    const int dw = size.width() - frame.width();
    const int dh = int(std::lround(size.height() - (frame.height() - thickness)));
    // With y down the top edge stays where it is.
    return QRect(frame.x() - dw / 2, frame.y(), frame.width() + dw, frame.height() + dh);
}

void applyFrame(QWidget* window, const QRect& frame, bool animated) {
    if (!animated) {
        window->setGeometry(frame);
        window->update();
        return;
    }
    auto* animation = new QPropertyAnimation(window, "geometry", window);
    animation->setDuration(100);
    animation->setEndValue(frame);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
} // namespace

void mw_setContentSize(QWidget* window, QSize size, bool animated, double customBorderThickness) {
    applyFrame(window, resizedKeepingTop(window->geometry(), size, customBorderThickness),
               animated);
}

void mw_setContentSize(QWidget* window, QSize size, bool animated) {
    mw_setContentSize(window, size, animated, 0);
}

// Qt has one frame animation: the platform's own and the animation group are the same here.
void mw_originalSetContentSize(QWidget* window, QSize size, bool animated) {
    mw_setContentSize(window, size, animated, 0);
}

bool mw_isFullScreen(const QWidget* window) {
    return window->isFullScreen();
}

void mw_setResizable(QWidget* window, bool resizable) {
    if (resizable) {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        window->setFixedSize(window->size());
    }
}

namespace {
const char* const fullScreenProperty = "mw_fullScreenEnabled";

void setMaximizeHint(QWidget* window, bool on) {
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowMaximizeButtonHint, on);
    if (wasVisible)
        window->show(); // changing flags hides a window
}
} // namespace

void mw_enableFullScreen(QWidget* window) {
    window->setProperty(fullScreenProperty, true);
    setMaximizeHint(window, true);
}

void mw_disableFullScreen(QWidget* window) {
    window->setProperty(fullScreenProperty, false);
    if (window->isFullScreen())
        window->showNormal();
    setMaximizeHint(window, false);
}

bool mw_fullScreenEnabled(const QWidget* window) {
    return window->property(fullScreenProperty).toBool();
}
