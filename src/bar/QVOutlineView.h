#pragma once

#include "library/MWTimer.h"
#include "library/QVGroup.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QEvent>
#include <QPointer>
#include <QTreeView>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// One row's object: a group, or one of a group's shortcuts (then `file` is set).
struct QVOutlineItem {
    QVGroupPtr group;
    QVFilePtr file;

    bool isGroup() const { return group && !file; }
    bool isFile() const { return file != nullptr; }
    bool isNull() const { return !group && !file; }
    bool operator==(const QVOutlineItem&) const = default;
};

// The outline's data: the groups shown and their shortcuts, the store's own
// objects. Each group's list is taken when the groups are set, so a change made
// to the store is shown only by the reload its notification brings.
class QVOutlineModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;

    void setGroups(const std::vector<QVGroupPtr>& groups);
    std::vector<QVGroupPtr> groups() const;

    QVOutlineItem itemForIndex(const QModelIndex& index) const;
    QModelIndex indexForItem(const QVOutlineItem& item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Entry {
        QVGroupPtr group;
        std::vector<QVFilePtr> files;
    };
    std::vector<Entry> entries_;
};

// What a row draws behind its cell.
class QVRowView {
public:
    static QColor accentBlue(double alpha);
    static QColor lightSelectionGrey();

    virtual ~QVRowView() = default;

    bool isGroupRowStyle() const { return false; }
    bool isEmphasized() const { return true; }
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    // Dark (1) on a selected emphasized row: the cell's text turns white there.
    int interiorBackgroundStyle() const { return selected_ && isEmphasized() ? 1 : 0; }

    virtual std::optional<QColor> backgroundFill() const { return std::nullopt; }
    virtual std::optional<QColor> selectionFill(bool darkMode) const = 0;

    void setNeedsDisplay(std::function<void()> redraw) { redraw_ = std::move(redraw); }

protected:
    void needsDisplay() const {
        if (redraw_)
            redraw_();
    }
    bool selected_ = false;

private:
    std::function<void()> redraw_;
};

// A group's row: draws nothing, as groups are never selected.
class QVTableRowView : public QVRowView {
public:
    std::optional<QColor> selectionFill(bool darkMode) const override;
};

// A shortcut's row: lit while the pointer is over it, lit more while its popup is open.
class QVHoverRowView : public QVRowView {
public:
    bool isHovered() const { return isHovered_; }
    void setIsHovered(bool hovered);
    bool isHighlighted() const { return isHighlighted_; }
    void setIsHighlighted(bool highlighted);
    void setSelected(bool selected) override;

    std::optional<QColor> backgroundFill() const override;
    std::optional<QColor> selectionFill(bool darkMode) const override;

private:
    bool isHovered_ = false;
    bool isHighlighted_ = false;
};

class QVOutlineView;
class QMenu;
class QMimeData;

class QVOutlineViewHoverDelegate {
public:
    virtual ~QVOutlineViewHoverDelegate() = default;
    virtual void outlineViewDidHoverItem(QVOutlineView* outlineView, const QVOutlineItem& item) = 0;
};

// The bar's two-level list. Rows are numbered top to bottom over what is shown,
// as the bar's arithmetic counts them; the list never scrolls itself (the scroll
// view around it does), so it is always as tall as its rows.
class QVOutlineView : public QTreeView {
    Q_OBJECT
public:
    static constexpr double hoverSeconds = 0.3;
    // Rows leave the bar to be linked to or copied, never moved out of it.
    static constexpr Qt::DropActions dragOperationMask = Qt::LinkAction | Qt::CopyAction;

    // The input event the list is handling, as a selection change sees it.
    struct CurrentEvent {
        QEvent::Type type = QEvent::None;
        Qt::KeyboardModifiers modifiers;
        int key = 0; // for key events
    };

    explicit QVOutlineView(QWidget* parent = nullptr);
    ~QVOutlineView() override;

    QVOutlineModel* outlineModel() const { return model_; }

    // Held weakly: the delegate is the QObject `owner`.
    void setHoverDelegate(QObject* owner, QVOutlineViewHoverDelegate* delegate);
    int hoveredRow() const { return hoveredRow_; }
    void setHoveredRow(int row) { hoveredRow_ = row; }
    // The row a click or context click is acting on, -1 outside of one.
    int clickedRow() const { return clickedRow_; }
    void setDarkMode(std::function<bool()> isDarkMode) { isDarkMode_ = std::move(isDarkMode); }
    const CurrentEvent& currentEvent() const { return currentEvent_; }

    // The menu of a shortcut's row; group rows and empty space have none.
    void setRowMenu(QMenu* menu) { rowMenu_ = menu; }
    // The menu for a context click at `point` (list coordinates), which becomes the
    // clicked row until `menuDidClose`; null where there is no menu.
    QMenu* menuForEvent(QPoint point);
    void menuDidClose() { clickedRow_ = -1; }

    // What a drag of `items` carries; null refuses the drag.
    using DragSource = std::function<QMimeData*(const std::vector<QVOutlineItem>& items)>;
    void setDragSource(DragSource source) { dragSource_ = std::move(source); }
    std::vector<QVOutlineItem> draggedItems() const;

    int numberOfRows() const;
    QModelIndex indexAtRow(int row) const;
    QVOutlineItem itemAtRow(int row) const;
    int rowForItem(const QVOutlineItem& item) const;
    int rowForIndex(const QModelIndex& index) const;
    // In the list's own coordinates; empty for a row that does not exist.
    QRect rectOfRow(int row) const;
    int rowAtPoint(QPoint point) const;
    std::vector<int> selectedRows() const;
    void selectRow(int row);
    // The bottom edge of the last row; 0 without rows.
    int bottomOfLastRow() const;
    void sizeToFitRows();

    // Made on first use for a row by the factory (the controller), dropped on every reload.
    using RowViewFactory = std::function<std::unique_ptr<QVRowView>(const QVOutlineItem&)>;
    void setRowViewFactory(RowViewFactory factory) { rowViewFactory_ = std::move(factory); }
    QVRowView* rowViewAtRow(int row, bool makeIfNecessary);
    // Redraws every row with fresh cells and row views.
    void reloadRows();

    // The hover check the rest timer runs: where the pointer is now.
    void hoverTimerDidFire();
    virtual QPoint pointerLocation() const;

Q_SIGNALS:
    // The row was clicked (-1: the click was on no row).
    void action(int row);
    void doubleAction(int row);
    void selectionDidChange();

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void trackPointer(QPoint point);
    // Runs `handle` with `event` as the current event.
    template <typename Handle> void handling(const CurrentEvent& event, Handle handle);
    QVRowView* rowViewForIndex(const QModelIndex& index) const;

    QVOutlineModel* model_;
    QPointer<QObject> hoverDelegateOwner_;
    QVOutlineViewHoverDelegate* hoverDelegate_ = nullptr;
    int hoveredRow_ = -1;
    int clickedRow_ = -1;
    int trackedRow_ = -1;
    std::shared_ptr<MWTimer> hoverTimer_;
    std::function<bool()> isDarkMode_;
    RowViewFactory rowViewFactory_;
    CurrentEvent currentEvent_;
    QPointer<QMenu> rowMenu_;
    DragSource dragSource_;
    // Keyed by the row's object, which outlives the row on screen.
    mutable std::map<const void*, std::unique_ptr<QVRowView>> rowViews_;
};
