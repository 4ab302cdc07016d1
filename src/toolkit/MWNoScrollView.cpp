#include "toolkit/MWNoScrollView.h"

#include <QEvent>
#include <QWheelEvent>

MWNoScrollView::MWNoScrollView(QWidget* parent) : QScrollArea(parent) {}

void MWNoScrollView::wheelEvent(QWheelEvent* event) {
    if (scrollingEnabled_)
        QScrollArea::wheelEvent(event);
    else
        event->ignore();
}

bool MWNoScrollView::viewportEvent(QEvent* event) {
    // Wheels, touch-pad swipes and gestures all arrive at the viewport.
    if (!scrollingEnabled_) {
        switch (event->type()) {
        case QEvent::Wheel:
        case QEvent::Gesture:
        case QEvent::NativeGesture:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            event->ignore();
            return false;
        default:
            break;
        }
    }
    return QScrollArea::viewportEvent(event);
}
