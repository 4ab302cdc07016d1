#include "manage/DATableRowView.h"

#include <QPainter>

QColor DATableRowView::selectionColor() {
    return QColor::fromRgbF(0.2199f, 0.4789f, 0.9542f, 1.0f);
}

void DATableRowView::draw(QPainter* painter, const QRect& rect) const {
    if (selected_)
        drawSelection(painter, rect);
}

void DATableRowView::drawSelection(QPainter* painter, const QRect& rect) const {
    painter->fillRect(rect, selectionColor());
}
