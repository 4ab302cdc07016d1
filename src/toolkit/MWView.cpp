#include "toolkit/MWView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>

MWView::MWView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void MWView::awakeFromNib() {
    setRoundedCorners(AllCorners);
}

void MWView::setBackgroundColor(const QColor& color) {
    if (color == backgroundColor_)
        return;
    backgroundColor_ = color;
    update();
}

void MWView::setBackgroundImage(const QImage& image) {
    backgroundImage_ = image;
    update();
}

void MWView::setCornerRadius(double radius) {
    cornerRadius_ = radius;
    update();
}

void MWView::setRoundedCorners(int corners) {
    roundedCorners_ = corners;
    update();
}

void MWView::setShadow(const std::optional<MWShadow>& shadow) {
    shadow_ = shadow;
    update();
}

void MWView::setAlphaValue(double alpha) {
    alphaValue_ = alpha;
    update();
}

QPainterPath MWView::shape(const QRectF& bounds, int roundedCorners, double radius) {
    QPainterPath path;
    if (roundedCorners == AllCorners) {
        path.addRoundedRect(bounds, radius, radius);
        return path;
    }
    const double left = bounds.left(), right = bounds.right();
    const double top = bounds.top(), bottom = bounds.bottom();
    auto rounded = [&](int corner) { return (roundedCorners & corner) != 0; };
    // From the bottom-right corner anticlockwise as seen on screen: up the right
    // side, along the top, down the left side, along the bottom.
    path.moveTo(rounded(BottomRight) ? QPointF(right, bottom - radius) : QPointF(right, bottom));
    auto corner = [&](int bit, QPointF before, QPointF at, QPointF after) {
        if (rounded(bit)) {
            path.lineTo(before);
            path.cubicTo(at, at, after);
        } else {
            path.lineTo(at);
        }
    };
    corner(TopRight, {right, top + radius}, {right, top}, {right - radius, top});
    corner(TopLeft, {left + radius, top}, {left, top}, {left, top + radius});
    corner(BottomLeft, {left, bottom - radius}, {left, bottom}, {left + radius, bottom});
    corner(BottomRight, {right - radius, bottom}, {right, bottom}, {right, bottom - radius});
    path.closeSubpath();
    return path;
}

void MWView::drawInto(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF bounds = drawingBounds();
    // A stroke centred half a pixel in falls on whole pixels.
    if (hasBorder())
        bounds.adjust(0.5, 0.5, -0.5, -0.5);
    const QPainterPath outline = shape(bounds, roundedCorners_, cornerRadius_);
    if (shadow_)
        painter.fillPath(outline.translated(shadow_->offset), shadow_->color);
    if (backgroundColor_.isValid())
        painter.fillPath(outline, backgroundColor_);
    if (hasBorder()) {
        QPen pen(borderColor_);
        pen.setWidthF(borderWidth_);
        painter.strokePath(outline, pen);
    }
    if (!backgroundImage_.isNull()) {
        painter.save();
        painter.setOpacity(alphaValue_);
        painter.drawImage(bounds, backgroundImage_);
        painter.restore();
    }
}

void MWView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawInto(painter);
}

bool MWView::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        if (viewController_ && !event->isAccepted()) {
            event->accept();
            QCoreApplication::sendEvent(viewController_, event);
            return event->isAccepted() || handled;
        }
        break;
    default:
        break;
    }
    return handled;
}
