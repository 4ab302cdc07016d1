#include "bar/QVWindow.h"

#include <QEvent>

QVWindow::QVWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
}

bool QVWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
        Q_EMIT windowDidMove();
        break;
    case QEvent::WindowActivate:
        Q_EMIT windowDidBecomeKey();
        break;
    case QEvent::WindowDeactivate:
        Q_EMIT windowDidResignKey();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

QVWindowView::QVWindowView(QWidget* parent) : MWView(parent) {
    setRoundedCorners(BottomRight | BottomLeft);
    setCornerRadius(10);
}
