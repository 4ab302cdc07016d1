#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// The row behind each entry of the Manage window's module list: nothing at all
// unless selected, then a solid blue that stays blue when the window loses focus.
class DATableRowView {
public:
    static QColor selectionColor();

    bool isSelected() const { return selected_; }
    void setSelected(bool selected) { selected_ = selected; }
    bool isEmphasized() const { return true; }
    // Dark (1) on a selected row: the cell's text turns white there.
    int interiorBackgroundStyle() const { return selected_ && isEmphasized() ? 1 : 0; }

    void draw(QPainter* painter, const QRect& rect) const;
    void drawSelection(QPainter* painter, const QRect& rect) const;

private:
    bool selected_ = false;
};
