#include "bar/QVWindow.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWindow>

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

void QVWindow::mousePressEvent(QMouseEvent* event) {
    if (!movable_ || event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    event->accept();
    // The window manager moves it best (snapping, its own limits); without one we do.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void QVWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!dragOffset_)
        return QWidget::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - *dragOffset_);
}

void QVWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragOffset_)
        return QWidget::mouseReleaseEvent(event);
    dragOffset_.reset();
}

QVWindowView::QVWindowView(QWidget* parent) : MWView(parent) {
    setRoundedCorners(BottomRight | BottomLeft);
    setCornerRadius(10);
}
