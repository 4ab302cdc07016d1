#include "bar/QVOutlineView.h"

#include "platform/VirtualKeyCodes.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

// Children carry their group's row plus one; groups carry 0.
void QVOutlineModel::setGroups(const std::vector<QVGroupPtr>& groups) {
    beginResetModel();
    entries_.clear();
    for (const QVGroupPtr& group : groups)
        entries_.push_back({group, group->files()});
    endResetModel();
}

std::vector<QVGroupPtr> QVOutlineModel::groups() const {
    std::vector<QVGroupPtr> result;
    for (const Entry& entry : entries_)
        result.push_back(entry.group);
    return result;
}

QVOutlineItem QVOutlineModel::itemForIndex(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    const quintptr id = index.internalId();
    if (id == 0)
        return index.row() < int(entries_.size()) ? QVOutlineItem{entries_[index.row()].group, {}}
                                                  : QVOutlineItem{};
    const Entry& entry = entries_.at(id - 1);
    if (index.row() >= int(entry.files.size()))
        return {};
    return {entry.group, entry.files[index.row()]};
}

QModelIndex QVOutlineModel::indexForItem(const QVOutlineItem& item) const {
    for (size_t g = 0; g < entries_.size(); ++g) {
        const Entry& entry = entries_[g];
        if (entry.group != item.group)
            continue;
        if (item.isGroup())
            return createIndex(int(g), 0, quintptr(0));
        for (size_t f = 0; f < entry.files.size(); ++f) {
            if (entry.files[f] == item.file)
                return createIndex(int(f), 0, quintptr(g + 1));
        }
    }
    return {};
}

QModelIndex QVOutlineModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(entries_.size()) ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || parent.row() >= int(entries_.size()))
        return {};
    if (row >= int(entries_[parent.row()].files.size()))
        return {};
    return createIndex(row, 0, quintptr(parent.row() + 1));
}

QModelIndex QVOutlineModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int QVOutlineModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(entries_.size());
    if (parent.internalId() != 0 || parent.row() >= int(entries_.size()))
        return 0;
    return int(entries_[parent.row()].files.size());
}

int QVOutlineModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool QVOutlineModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant QVOutlineModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    const QVOutlineItem item = itemForIndex(index);
    if (item.isFile())
        return item.file->name();
    if (item.isGroup())
        return item.group->name();
    return {};
}

Qt::ItemFlags QVOutlineModel::flags(const QModelIndex& index) const {
    const QVOutlineItem item = itemForIndex(index);
    if (item.isFile())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
               Qt::ItemNeverHasChildren;
    return item.isGroup() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QColor QVRowView::accentBlue(double alpha) {
    return QColor::fromRgbF(0.2199f, 0.4789f, 0.9542f, float(alpha));
}

QColor QVRowView::lightSelectionGrey() {
    return QColor::fromRgbF(0.9255f, 0.9412f, 0.9451f, 1.0f);
}

void QVRowView::setSelected(bool selected) {
    if (selected_ == selected)
        return;
    selected_ = selected;
    needsDisplay();
}

std::optional<QColor> QVTableRowView::selectionFill(bool) const {
    return accentBlue(1.0);
}

void QVHoverRowView::setIsHovered(bool hovered) {
    if (hovered == isHovered_ || selected_)
        return;
    isHovered_ = hovered;
    needsDisplay();
}

void QVHoverRowView::setIsHighlighted(bool highlighted) {
    if (selected_)
        return;
    isHighlighted_ = highlighted;
    needsDisplay();
}

void QVHoverRowView::setSelected(bool selected) {
    if (selected != selected_)
        isHovered_ = false;
    QVRowView::setSelected(selected);
}

std::optional<QColor> QVHoverRowView::backgroundFill() const {
    if (isHighlighted_)
        return accentBlue(0.4);
    if (isHovered_)
        return accentBlue(0.2);
    return std::nullopt;
}

std::optional<QColor> QVHoverRowView::selectionFill(bool darkMode) const {
    if (!selected_)
        return std::nullopt;
    if (interiorBackgroundStyle() == 1)
        return accentBlue(1.0);
    return darkMode ? QColor::fromRgbF(0, 0, 0, 0.3f) : lightSelectionGrey();
}

QVOutlineView::QVOutlineView(QWidget* parent)
    : QTreeView(parent), model_(new QVOutlineModel(this)) {
    setModel(model_);
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QStringLiteral("QTreeView { background: transparent; border: none; }"));
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        rowViews_.clear();
        trackedRow_ = -1;
    });
    connect(this, &QTreeView::expanded, this, &QVOutlineView::sizeToFitRows);
    connect(this, &QTreeView::collapsed, this, &QVOutlineView::sizeToFitRows);
}

QVOutlineView::~QVOutlineView() {
    if (hoverTimer_)
        hoverTimer_->invalidate();
}

void QVOutlineView::setHoverDelegate(QObject* owner, QVOutlineViewHoverDelegate* delegate) {
    hoverDelegateOwner_ = owner;
    hoverDelegate_ = delegate;
}

namespace {
std::vector<QModelIndex> shownIndexes(const QVOutlineView& view, const QAbstractItemModel& model) {
    std::vector<QModelIndex> shown;
    for (int g = 0; g < model.rowCount(); ++g) {
        const QModelIndex group = model.index(g, 0);
        shown.push_back(group);
        if (!view.isExpanded(group))
            continue;
        for (int f = 0; f < model.rowCount(group); ++f)
            shown.push_back(model.index(f, 0, group));
    }
    return shown;
}
} // namespace

int QVOutlineView::numberOfRows() const {
    return int(shownIndexes(*this, *model_).size());
}

QModelIndex QVOutlineView::indexAtRow(int row) const {
    const std::vector<QModelIndex> shown = shownIndexes(*this, *model_);
    return row >= 0 && row < int(shown.size()) ? shown[row] : QModelIndex();
}

QVOutlineItem QVOutlineView::itemAtRow(int row) const {
    return model_->itemForIndex(indexAtRow(row));
}

int QVOutlineView::rowForIndex(const QModelIndex& index) const {
    if (!index.isValid())
        return -1;
    const std::vector<QModelIndex> shown = shownIndexes(*this, *model_);
    const auto found = std::find(shown.begin(), shown.end(), index);
    return found == shown.end() ? -1 : int(found - shown.begin());
}

int QVOutlineView::rowForItem(const QVOutlineItem& item) const {
    return rowForIndex(model_->indexForItem(item));
}

QRect QVOutlineView::rectOfRow(int row) const {
    const QModelIndex index = indexAtRow(row);
    if (!index.isValid())
        return {};
    const QRect cell = visualRect(index);
    const QPoint origin = viewport()->geometry().topLeft();
    return QRect(origin.x(), origin.y() + cell.y(), viewport()->width(), cell.height());
}

int QVOutlineView::rowAtPoint(QPoint point) const {
    if (!rect().contains(point))
        return -1;
    return rowForIndex(indexAt(viewport()->mapFrom(this, point)));
}

std::vector<int> QVOutlineView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        const int row = rowForIndex(index);
        if (row != -1)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void QVOutlineView::selectRow(int row) {
    selectionModel()->setCurrentIndex(indexAtRow(row), QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
}

int QVOutlineView::bottomOfLastRow() const {
    const int rows = numberOfRows();
    if (rows == 0)
        return 0;
    const QRect last = rectOfRow(rows - 1);
    return last.y() + last.height();
}

void QVOutlineView::sizeToFitRows() {
    setFixedHeight(bottomOfLastRow());
}

QVRowView* QVOutlineView::rowViewForIndex(const QModelIndex& index) const {
    const QVOutlineItem item = model_->itemForIndex(index);
    if (item.isNull())
        return nullptr;
    const void* key = item.isFile() ? static_cast<const void*>(item.file.get()) : item.group.get();
    auto found = rowViews_.find(key);
    if (found != rowViews_.end())
        return found->second.get();
    if (!rowViewFactory_)
        return nullptr;
    std::unique_ptr<QVRowView> made = rowViewFactory_(item);
    if (!made)
        return nullptr;
    made->setSelected(selectionModel()->isSelected(index));
    QPointer<QWidget> surface = viewport();
    made->setNeedsDisplay([surface] {
        if (surface)
            surface->update();
    });
    return rowViews_.emplace(key, std::move(made)).first->second.get();
}

QVRowView* QVOutlineView::rowViewAtRow(int row, bool makeIfNecessary) {
    const QModelIndex index = indexAtRow(row);
    if (!index.isValid())
        return nullptr;
    if (!makeIfNecessary) {
        const QVOutlineItem item = model_->itemForIndex(index);
        const void* key =
            item.isFile() ? static_cast<const void*>(item.file.get()) : item.group.get();
        auto found = rowViews_.find(key);
        return found == rowViews_.end() ? nullptr : found->second.get();
    }
    return rowViewForIndex(index);
}

void QVOutlineView::reloadRows() {
    rowViews_.clear();
    trackedRow_ = -1;
    viewport()->update();
}

void QVOutlineView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const QRect row(0, option.rect.y(), viewport()->width(), option.rect.height());
    if (QVRowView* rowView = rowViewForIndex(index)) {
        if (const std::optional<QColor> fill = rowView->backgroundFill())
            painter->fillRect(row, *fill);
        if (rowView->isSelected()) {
            if (const std::optional<QColor> fill =
                    rowView->selectionFill(isDarkMode_ ? isDarkMode_() : false))
                painter->fillRect(row, *fill);
        }
    }
    // The row views above are the whole background: the style draws none.
    QStyleOptionViewItem cell = option;
    cell.rect = row;
    cell.state.setFlag(QStyle::State_Selected, selectionModel()->isSelected(index));
    cell.state.setFlag(QStyle::State_MouseOver, false);
    itemDelegateForIndex(index)->paint(painter, cell, index);
}

QPoint QVOutlineView::pointerLocation() const {
    return QCursor::pos();
}

void QVOutlineView::hoverTimerDidFire() {
    const int row = rowAtPoint(mapFromGlobal(pointerLocation()));
    if (row != -1 && row != hoveredRow_ && hoverDelegateOwner_ && hoverDelegate_)
        hoverDelegate_->outlineViewDidHoverItem(this, itemAtRow(row));
    hoveredRow_ = row;
}

void QVOutlineView::trackPointer(QPoint point) {
    const int row = rowAtPoint(point);
    if (row == trackedRow_)
        return;
    if (auto* old = dynamic_cast<QVHoverRowView*>(rowViewAtRow(trackedRow_, false)))
        old->setIsHovered(false);
    if (auto* entered = dynamic_cast<QVHoverRowView*>(rowViewAtRow(row, true)))
        entered->setIsHovered(true);
    trackedRow_ = row;
}

void QVOutlineView::mouseMoveEvent(QMouseEvent* event) {
    trackPointer(viewport()->mapTo(this, event->position().toPoint()));
    if (hoverTimer_)
        hoverTimer_->invalidate();
    hoverTimer_ =
        MWTimer::timerWithInterval(hoverSeconds, false, [this](MWTimer&) { hoverTimerDidFire(); });
    QTreeView::mouseMoveEvent(event);
}

void QVOutlineView::leaveEvent(QEvent* event) {
    trackPointer(QPoint(-1, -1));
    QTreeView::leaveEvent(event);
}

template <typename Handle> void QVOutlineView::handling(const CurrentEvent& event, Handle handle) {
    const CurrentEvent outer = currentEvent_;
    currentEvent_ = event;
    handle();
    currentEvent_ = outer;
}

void QVOutlineView::mousePressEvent(QMouseEvent* event) {
    clickedRow_ = rowAtPoint(viewport()->mapTo(this, event->position().toPoint()));
    handling({event->type(), event->modifiers()}, [&] { QTreeView::mousePressEvent(event); });
}

void QVOutlineView::mouseReleaseEvent(QMouseEvent* event) {
    handling({event->type(), event->modifiers()}, [&] { QTreeView::mouseReleaseEvent(event); });
    if (event->button() == Qt::LeftButton && clickedRow_ != -2)
        Q_EMIT action(clickedRow_);
    clickedRow_ = -1;
}

void QVOutlineView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = rowAtPoint(viewport()->mapTo(this, event->position().toPoint()));
    clickedRow_ = row;
    Q_EMIT doubleAction(row);
    // The release that ends a double click is not a click of its own.
    clickedRow_ = -2;
    event->accept();
}

void QVOutlineView::keyPressEvent(QKeyEvent* event) {
    const qint64 code = VirtualKeyCodes::fromQt(event->key(), event->modifiers());
    if (code == VirtualKeyCodes::returnKey || code == VirtualKeyCodes::keypadEnter) {
        Q_EMIT doubleAction(-1);
        event->accept();
        return;
    }
    handling({event->type(), event->modifiers(), event->key()}, [&] {
        // Keys go on from the row under the pointer, where the user is looking.
        if (hoveredRow_ != -1 && itemAtRow(hoveredRow_).isFile())
            selectRow(hoveredRow_);
        hoveredRow_ = -1;
        QTreeView::keyPressEvent(event);
    });
}

void QVOutlineView::keyReleaseEvent(QKeyEvent* event) {
    handling({event->type(), event->modifiers(), event->key()},
             [&] { QTreeView::keyReleaseEvent(event); });
}

QMenu* QVOutlineView::menuForEvent(QPoint point) {
    const int row = rowAtPoint(point);
    if (row == -1 || itemAtRow(row).isGroup() || !rowMenu_)
        return nullptr;
    clickedRow_ = row;
    return rowMenu_;
}

void QVOutlineView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = menuForEvent(viewport()->mapTo(this, event->pos()));
    if (!menu)
        return;
    menu->exec(event->globalPos());
    menuDidClose();
}

std::vector<QVOutlineItem> QVOutlineView::draggedItems() const {
    std::vector<QVOutlineItem> items;
    for (int row : selectedRows())
        items.push_back(itemAtRow(row));
    return items;
}

void QVOutlineView::startDrag(Qt::DropActions) {
    QMimeData* data = dragSource_ ? dragSource_(draggedItems()) : nullptr;
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(dragOperationMask, Qt::CopyAction);
}

QModelIndex QVOutlineView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const bool down = cursorAction == MoveDown || cursorAction == MoveNext;
    const bool up = cursorAction == MoveUp || cursorAction == MovePrevious;
    if (!down && !up) {
        if (cursorAction == MoveLeft || cursorAction == MoveRight)
            return currentIndex();
        return QTreeView::moveCursor(cursorAction, modifiers);
    }
    // Only shortcuts are selectable: step over the group rows.
    const int rows = numberOfRows();
    int row = rowForIndex(currentIndex());
    if (row == -1)
        row = down ? -1 : rows;
    for (int next = down ? row + 1 : row - 1; next >= 0 && next < rows; next += down ? 1 : -1) {
        if (itemAtRow(next).isFile())
            return indexAtRow(next);
    }
    return currentIndex();
}

void QVOutlineView::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    for (const QModelIndex& index : deselected.indexes()) {
        if (QVRowView* rowView = rowViewAtRow(rowForIndex(index), false))
            rowView->setSelected(false);
    }
    for (const QModelIndex& index : selected.indexes()) {
        if (QVRowView* rowView = rowViewAtRow(rowForIndex(index), false))
            rowView->setSelected(true);
    }
    Q_EMIT selectionDidChange();
}
