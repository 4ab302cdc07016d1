#include "bar/QVBookmarksWindowController.h"

#include "app/MWCore.h"
#include "app/WIUserDefaults.h"
#include "bar/QVFileListCache.h"
#include "bar/QVWindow.h"
#include "library/QVColorFile.h"
#include "library/QVGroupManager.h"
#include "library/QVHelpers.h"
#include "platform/Alert.h"
#include "platform/Appearance.h"
#include "platform/Application.h"
#include "platform/ApplicationWindows.h"
#include "platform/Applications.h"
#include "platform/FileViewer.h"
#include "platform/NotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/Scheduler.h"
#include "platform/SecurityScope.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/Workspace.h"
#include "toolkit/MWNoScrollView.h"
#include "toolkit/MWTableCellView.h"
#include "toolkit/MWView.h"
#include "toolkit/MWWindowHelpers.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {
constexpr int groupRowHeight = 26;
constexpr int shortcutRowHeight = 24;
constexpr int imageSize = 16;
constexpr int groupTextLeft = 26;
constexpr int shortcutTextLeft = 30;
const QString groupCellIdentifier = QStringLiteral("GroupCell");
const QString folderCellIdentifier = QStringLiteral("FolderCell");
const QString columnIdentifier = QStringLiteral("MainColumn");

// The bar's artwork is drawn at twice its size in points.
QPixmap barImage(const QString& name) {
    QPixmap image(QStringLiteral(":/images/") + name + QStringLiteral(".png"));
    image.setDevicePixelRatio(2);
    return image;
}

// Draws each row from the cell the controller configures for it, and shows the
// cell's tool tip only over its text, where the user reads the name.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(QVBookmarksWindowController* controller, QVOutlineView* outline)
        : QStyledItemDelegate(outline), controller_(controller), outline_(outline) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool group = outline_->outlineModel()->itemForIndex(index).isGroup();
        return QSize(option.rect.width(), group ? groupRowHeight : shortcutRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        MWTableCellView* cell = cellFor(index);
        if (!cell)
            return;
        cell->setBackgroundStyle(option.state.testFlag(QStyle::State_Selected)
                                     ? MWTableCellView::Dark
                                     : MWTableCellView::Light);
        cell->render(painter, option.rect.topLeft(), QRegion(), QWidget::DrawChildren);
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        MWTableCellView* cell = cellFor(index);
        const QPoint inCell = event->pos() - option.rect.topLeft();
        if (cell && cell->textField()->geometry().contains(inCell) &&
            !cell->textField()->toolTip().isEmpty())
            QToolTip::showText(event->globalPos(), cell->textField()->toolTip(), view);
        else
            QToolTip::hideText();
        return true;
    }

private:
    MWTableCellView* cellFor(const QModelIndex& index) const {
        const QVOutlineItem item = outline_->outlineModel()->itemForIndex(index);
        return item.isNull()
                   ? nullptr
                   : controller_->outlineViewViewForItem(item, outline_->rowForIndex(index));
    }

    QVBookmarksWindowController* controller_;
    QVOutlineView* outline_;
};

QString toolTipForFile(const QVFilePtr& file) {
    if (file->hasError())
        return file->errorMessage().isEmpty()
                   ? QStringLiteral("This file has been deleted or moved.")
                   : file->errorMessage();
    if (file->isAlias())
        return QStringLiteral(
            "Click to allow Quiverlane access to the location the alias points to.");
    if (file->isWebLoc() && !file->webLocation().isEmpty())
        return file->webLocation();
    if (auto snippet = std::dynamic_pointer_cast<QVTextSnippetFile>(file))
        return snippet->snippet();
    if (auto swatch = std::dynamic_pointer_cast<QVColorFile>(file))
        return swatch->tooltip();
    return file->path();
}

// The pasteboard types of the drag, as MIME types. The desktop's own stand for
// the system's types; ours carry the types only we read back.
namespace DragType {
const QString webURLsWithTitles = QStringLiteral("application/x-quiverlane-web-urls-with-titles");
const QString urls = QStringLiteral("application/x-quiverlane-urls");
const QString string = QStringLiteral("text/plain");
const QString utf8PlainText = QStringLiteral("text/plain;charset=utf-8");
const QString publicURL = QStringLiteral("application/x-quiverlane-public-url");
const QString publicURLName = QStringLiteral("application/x-quiverlane-public-url-name");
const QString mozillaURL = QStringLiteral("text/x-moz-url");
const QString fileNames = QStringLiteral("text/uri-list");
} // namespace DragType

// Property lists hold arrays of values, not string lists.
QVariantList arrayOf(const QStringList& strings) {
    return QVariantList(strings.begin(), strings.end());
}

QByteArray propertyList(const QVariant& value) {
    PropertyList::Node node = PropertyList::fromValue(value);
    return PropertyList::toXml(node.get());
}

// Lets the open panel show only the way down to one location and that location.
class OnlyLocationFilter : public QSortFilterProxyModel {
public:
    OnlyLocationFilter(QString path, QObject* parent)
        : QSortFilterProxyModel(parent), path_(std::move(path)) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files)
            return false;
        const QString path = files->filePath(files->index(row, 0, parent));
        const QString folder = path.endsWith(u'/') ? path : path + u'/';
        return path == path_ || path_.startsWith(folder);
    }

private:
    QString path_;
};

bool opensPopup(const QVFile& file) {
    return (file.isDirectory() && !file.url().isEmpty()) ||
           dynamic_cast<const QVColorFile*>(&file) != nullptr;
}
} // namespace

const QString QVBookmarksWindowController::noApplicationTitle = QStringLiteral("<None>");
const QString QVBookmarksWindowController::aliasPanelMessage =
    QStringLiteral("Click okay to allow Quiverlane to access this file");
const QUrl QVBookmarksWindowController::supportPage(
    QStringLiteral("https://marrowick.com/quiverlane/support"));
const QUrl QVBookmarksWindowController::moreAppsPage(
    QStringLiteral("https://marrowick.com/quiverlane/apps"));
const QUrl QVBookmarksWindowController::feedbackPage(
    QStringLiteral("https://marrowick.com/quiverlane/feedback"));

QString QVBookmarksWindowController::longestName(const std::vector<QVGroupPtr>& groups) {
    QString longest;
    auto consider = [&longest](const QString& name) {
        if (name.size() > longest.size())
            longest = name;
    };
    for (const QVGroupPtr& group : groups) {
        consider(group->name());
        for (const QVFilePtr& file : group->files())
            consider(file->name());
    }
    return longest;
}

int QVBookmarksWindowController::widthForNameWidth(double nameWidth) {
    return std::min(int(std::ceil(nameWidth)) + widthPadding, maximumWidth);
}

int QVBookmarksWindowController::heightLimit(int visibleScreenHeight) {
    // The factor is the single-precision 0.9: an 800-point screen gives 719.
    const int limit = int(std::floor(double(visibleScreenHeight) * double(0.9f)));
    return limit == 0 ? fallbackHeightLimit : limit;
}

QFont QVBookmarksWindowController::nameFont() {
    QFont font = QApplication::font();
    font.setPixelSize(13);
    return font;
}

QVBookmarksWindowController::QVBookmarksWindowController() : isDarkMode_(&QVHelpers::isDarkMode) {}

QVBookmarksWindowController::~QVBookmarksWindowController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    for (const std::shared_ptr<MWTimer>& timer : {scrollTimer_, clickTimer_}) {
        if (timer)
            timer->invalidate();
    }
    closePopups();
    delete upArrowWindow_;
    delete downArrowWindow_;
}

QWidget* QVBookmarksWindowController::loadWindow() {
    QWidget* bar = STDockableWindowController::loadWindow();
    contentView_ = bar->findChild<MWView*>(QStringLiteral("contentView"));
    auto* layout = new QVBoxLayout(contentView_);
    layout->setContentsMargins(0, 0, 0, 0);
    scrollView_ = new MWNoScrollView(contentView_);
    scrollView_->setObjectName(QStringLiteral("scrollView"));
    scrollView_->setFrameShape(QFrame::NoFrame);
    scrollView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollView_->setWidgetResizable(true);
    // The rows decide the bar's height, not the scroll area's idea of its smallest size.
    scrollView_->setMinimumSize(1, 1);
    scrollView_->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    scrollView_->viewport()->setAutoFillBackground(false);
    layout->addWidget(scrollView_);
    outlineView_ = new QVOutlineView;
    outlineView_->setObjectName(QStringLiteral("outlineView"));
    scrollView_->setWidget(outlineView_);
    settingsButton_ = new QToolButton(outlineView_->viewport());
    settingsButton_->setObjectName(QStringLiteral("settingsButton"));
    settingsButton_->setAutoRaise(true);
    settingsButton_->setFixedSize(settingsButtonWidth, groupRowHeight);
    settingsButton_->setIconSize(QSize(imageSize, imageSize));
    settingsButton_->setCursor(Qt::PointingHandCursor);
    upArrowWindow_ = makeArrowWindow(QStringLiteral("icon-arrow-up"));
    downArrowWindow_ = makeArrowWindow(QStringLiteral("icon-arrow-down"));

    groupCell_ = std::make_unique<MWColorWellTableCellView>(groupCellIdentifier);
    groupCell_->imageView()->setGeometry(5, (groupRowHeight - imageSize) / 2, imageSize, imageSize);
    groupCell_->imageView()->setPixmap(barImage(QStringLiteral("icon-pinned")));
    groupCell_->colorWell()->setGeometry(7, (groupRowHeight - 12) / 2, 12, 12);
    groupCell_->expandoImageView()->resize(imageSize, imageSize);
    QFont groupFont = nameFont();
    groupFont.setPixelSize(12);
    groupFont.setBold(true);
    groupCell_->textField()->setFont(groupFont);
    groupCell_->textField()->move(groupTextLeft, 0);
    shortcutCell_ = std::make_unique<MWTableCellView>(columnIdentifier);
    shortcutCell_->imageView()->setGeometry(8, (shortcutRowHeight - imageSize) / 2, imageSize,
                                            imageSize);
    shortcutCell_->textField()->setFont(nameFont());
    shortcutCell_->textField()->move(shortcutTextLeft, 0);
    return bar;
}

QWidget* QVBookmarksWindowController::makeArrowWindow(const QString& imageName) {
    // Drawn over the bar's edge; the pointer's moves go through to the bar below.
    auto* arrow =
        new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                                 Qt::WindowDoesNotAcceptFocus);
    arrow->setObjectName(imageName);
    arrow->setAttribute(Qt::WA_TranslucentBackground);
    arrow->setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(arrow);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* content = new MWView(arrow);
    content->setObjectName(QStringLiteral("contentView"));
    layout->addWidget(content);
    auto* inner = new QVBoxLayout(content);
    inner->setContentsMargins(0, 0, 0, 0);
    auto* image = new QLabel(content);
    image->setPixmap(barImage(imageName));
    image->setAlignment(Qt::AlignCenter);
    inner->addWidget(image);
    arrow->resize(minimumWidth, arrowHeight);
    arrow->setWindowOpacity(0);
    return arrow;
}

void QVBookmarksWindowController::mw_viewDidLoad() {
    STDockableWindowController::mw_viewDidLoad();
    QWidget* bar = window();
    bar->setAttribute(Qt::WA_TranslucentBackground);
    buildMenus();
    if (statusItem())
        statusItem()->setContextMenu(&settingsMenu_);
    connect(settingsButton_, &QToolButton::clicked, this,
            &QVBookmarksWindowController::showSettingsMenu);

    outlineView_->setDarkMode([this] { return isDarkMode(); });
    outlineView_->setRowViewFactory(
        [this](const QVOutlineItem& item) { return outlineViewRowViewForItem(item); });
    outlineView_->setItemDelegate(new CellDelegate(this, outlineView_));
    outlineView_->setHoverDelegate(this, this);
    appearanceDidChange();
    connect(outlineView_, &QVOutlineView::action, this, &QVBookmarksWindowController::didClick);
    connect(outlineView_, &QVOutlineView::doubleAction, this,
            &QVBookmarksWindowController::didDoubleClick);
    connect(outlineView_, &QVOutlineView::selectionDidChange, this,
            &QVBookmarksWindowController::outlineViewSelectionDidChange);
    outlineView_->setDragSource([](const std::vector<QVOutlineItem>& items) -> QMimeData* {
        auto data = std::make_unique<QMimeData>();
        return writeItemsToPasteboard(items, *data) ? data.release() : nullptr;
    });
    connect(outlineView_, &QTreeView::expanded, this,
            &QVBookmarksWindowController::outlineViewItemDidExpand);
    connect(outlineView_, &QTreeView::collapsed, this,
            &QVBookmarksWindowController::outlineViewItemDidCollapse);

    NotificationCenter& center = NotificationCenter::defaultCenter();
    for (const QString& name :
         {QVGroupManager::groupsDidChangeNotification, QVFile::didChangeNotification})
        center.addObserver(this, name, [this](const Notification&) { reloadData(); });
    center.addObserver(this, QStringLiteral("hideWindow"),
                       [this](const Notification&) { actuallyHideWindow(); });
    center.addObserver(this, QStringLiteral("hideFileMenus"),
                       [this](const Notification&) { hideFileMenus(); });
    connect(scrollView_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &QVBookmarksWindowController::scrollViewDidScroll);
    defaults().observeKey(QStringLiteral("showExtensions"), this,
                          [this] { outlineView_->reloadRows(); });
    reloadData();

    // The bar's own moves, wherever in it the pointer is; the list reports its own.
    bar->setMouseTracking(true);
    for (QObject* watched :
         {static_cast<QObject*>(bar), static_cast<QObject*>(outlineView_->viewport())})
        watched->installEventFilter(this);
    if (auto* qvWindow = qobject_cast<QVWindow*>(bar)) {
        connect(qvWindow, &QVWindow::windowDidMove, this, [this] {
            if (window()->isVisible())
                positionArrowWindows();
        });
    }
    connect(&Appearance::shared(), &Appearance::interfaceStyleChanged, this,
            &QVBookmarksWindowController::appearanceDidChange);
    // Every key of the application passes here before its window sees it.
    qApp->installEventFilter(this);
}

void QVBookmarksWindowController::setStatusItem(MTStatusItem* item) {
    STDockableWindowController::setStatusItem(item);
    if (item && mwViewIsLoaded())
        item->setContextMenu(&settingsMenu_);
}

void QVBookmarksWindowController::setDarkModeSource(std::function<bool()> isDarkMode) {
    isDarkMode_ = std::move(isDarkMode);
    if (mwViewIsLoaded())
        appearanceDidChange();
}

bool QVBookmarksWindowController::isDarkMode() const {
    return isDarkMode_ && isDarkMode_();
}

int QVBookmarksWindowController::visibleScreenHeight() const {
    QScreen* screen = nullptr;
    if (statusItem())
        screen = QGuiApplication::screenAt(statusItem()->frame().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() : 0;
}

int QVBookmarksWindowController::currentHeightLimit() const {
    return heightLimit(visibleScreenHeight());
}

void QVBookmarksWindowController::applyContentSize(QSize size) {
    QWidget* bar = window();
    const QPoint topLeft = bar->pos();
    mw_setContentSize(bar, size, false);
    // A floating bar stays where the user put it; only a docked one hangs from the icon.
    if (docked())
        bar->setGeometry(dockedWindowFrame());
    else
        bar->move(topLeft);
}

void QVBookmarksWindowController::setScrolling(bool enabled) {
    if (enabled) {
        addArrowsIfNeeded();
    } else {
        removeAllChildWindows();
    }
    scrollView_->setScrollingEnabled(enabled);
}

void QVBookmarksWindowController::reloadData() {
    hideFileWindow();
    QVFileListCache::sharedInstance().invalidateCache();
    const std::vector<QVGroupPtr> groups = QVGroupManager::sharedInstance().nonEmptyGroups();
    const QString longest = longestName(groups);
    if (groups.empty()) {
        // Nothing to show: the icon offers the settings menu instead.
        window()->hide();
        return;
    }
    const int width = widthForNameWidth(mw_stringWidthWithFont(longest, nameFont()));
    // The rows of before; the fitting at the end measures the new ones.
    int height = outlineView_->bottomOfLastRow() + heightPadding;
    const int limit = currentHeightLimit();
    const bool tooTall = height > limit;
    if (tooTall)
        height = limit;
    setScrolling(tooTall);
    applyContentSize(QSize(width, height));
    positionArrowWindows();

    data_ = groups;
    outlineView_->outlineModel()->setGroups(groups);
    for (const QVGroupPtr& group : groups) {
        const QModelIndex index = outlineView_->outlineModel()->indexForItem({group, {}});
        if (group->isExpanded())
            outlineView_->expand(index);
        else
            outlineView_->collapse(index);
    }
    scrollView_->verticalScrollBar()->setValue(0);
    autoAdjustHeight();
}

void QVBookmarksWindowController::autoAdjustHeight() {
    outlineView_->sizeToFitRows();
    const int limit = currentHeightLimit();
    const int height = std::min(outlineView_->bottomOfLastRow() + heightPadding, limit);
    const int width = std::max(window()->width(), int(minimumWidth));
    applyContentSize(QSize(width, height));
    setScrolling(height >= limit);
    positionArrowWindows();
    placeSettingsButton();
}

void QVBookmarksWindowController::placeSettingsButton() {
    const QRect first = outlineView_->rectOfRow(0);
    settingsButton_->setVisible(!first.isEmpty());
    settingsButton_->move(window()->width() - settingsButtonWidth, first.y());
}

void QVBookmarksWindowController::toggleGroup(const QVGroupPtr& group) {
    const QModelIndex index = outlineView_->outlineModel()->indexForItem({group, {}});
    if (!index.isValid())
        return;
    const bool expanded = outlineView_->isExpanded(index);
    group->setIsExpanded(!expanded);
    QVGroupManager::sharedInstance().saveSilently(true);
    if (expanded)
        outlineView_->collapse(index);
    else
        outlineView_->expand(index);
    outlineView_->reloadRows();
}

void QVBookmarksWindowController::outlineViewItemDidExpand() {
    didExpandOrCollapse();
}

void QVBookmarksWindowController::outlineViewItemDidCollapse() {
    didExpandOrCollapse();
}

void QVBookmarksWindowController::didExpandOrCollapse() {
    // The second click of a double click that opened a group must not act again.
    ignoreDoubleClick_ = true;
    autoAdjustHeight();
    if (clickTimer_)
        clickTimer_->invalidate();
    clickTimer_ = MWTimer::timerWithInterval(ignoreDoubleClickSeconds, false,
                                             [this](MWTimer&) { ignoreDoubleClick_ = false; });
}

void QVBookmarksWindowController::didClick(int row) {
    const QVOutlineItem item = outlineView_->itemAtRow(row);
    if (item.isGroup())
        toggleGroup(item.group);
}

void QVBookmarksWindowController::didDoubleClick(int row) {
    if (ignoreDoubleClick_)
        return;
    const QVOutlineItem item = outlineView_->itemAtRow(row);
    if (item.isGroup())
        toggleGroup(item.group);
    else
        openClickedOrSelectedFiles();
}

std::unique_ptr<QVRowView>
QVBookmarksWindowController::outlineViewRowViewForItem(const QVOutlineItem& item) const {
    if (item.isGroup())
        return std::make_unique<QVTableRowView>();
    return std::make_unique<QVHoverRowView>();
}

MWTableCellView* QVBookmarksWindowController::outlineViewViewForItem(const QVOutlineItem& item,
                                                                     int row) {
    const int width = outlineView_->viewport()->width();
    if (item.isGroup()) {
        const QVGroup& group = *item.group;
        MWColorWellTableCellView* cell = groupCell_.get();
        cell->resize(width, groupRowHeight);
        QLabel* text = cell->textField();
        text->setText(group.name());
        const bool pinned = group.isPinned();
        cell->imageView()->setVisible(pinned);
        cell->colorWell()->setVisible(!pinned);
        cell->colorWell()->setBackgroundColor(group.color() ? group.color()->toQColor()
                                                            : QColor(Qt::transparent));
        // The first row shares its line with the settings button.
        const int left = text->x();
        const int available =
            scrollView_->width() - left - (row == 0 ? settingsButton_->width() : 15);
        const int textWidth = std::max(
            0, std::min(available,
                        int(std::ceil(mw_stringWidthWithFont(group.name(), text->font())))));
        text->setGeometry(left, 0, textWidth, groupRowHeight);
        QLabel* expando = cell->expandoImageView();
        expando->move(textWidth + left - 2, (groupRowHeight - expando->height()) / 2);
        expando->setPixmap(barImage(group.isExpanded() ? QStringLiteral("icon-expanded")
                                                       : QStringLiteral("icon-collapsed")));
        expando->show();
        return cell;
    }
    const QVFilePtr& file = item.file;
    MWTableCellView* cell = shortcutCell_.get();
    cell->setIdentifier(opensPopup(*file) ? folderCellIdentifier : columnIdentifier);
    cell->resize(width, shortcutRowHeight);
    cell->textField()->setGeometry(shortcutTextLeft, 0, std::max(0, width - shortcutTextLeft - 8),
                                   shortcutRowHeight);
    cell->textField()->setText(file->title(defaults().showExtensions()));
    cell->textField()->setToolTip(toolTipForFile(file));
    cell->imageView()->setPixmap(file->image().pixmap(QSize(imageSize, imageSize)));
    return cell;
}

void QVBookmarksWindowController::addChildWindow(QWidget* child) {
    childWindows_.emplace_back(child);
}

void QVBookmarksWindowController::removeAllChildWindows() {
    for (const QPointer<QWidget>& child : childWindows_) {
        if (child)
            child->hide();
    }
    childWindows_.clear();
}

void QVBookmarksWindowController::setArrowAlpha(QWidget* arrow, double alpha) {
    arrow->setWindowOpacity(alpha);
    // Without a compositor the opacity is not drawn: a clear arrow is also not shown.
    const bool attached =
        std::find(childWindows_.begin(), childWindows_.end(), arrow) != childWindows_.end();
    const bool show = alpha > 0 && attached && window()->isVisible();
    if (show != arrow->isVisible())
        arrow->setVisible(show);
    if (show)
        arrow->raise();
}

void QVBookmarksWindowController::addArrowsIfNeeded() {
    const bool above = window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    for (QWidget* arrow : {upArrowWindow_, downArrowWindow_}) {
        if (std::find(childWindows_.begin(), childWindows_.end(), arrow) == childWindows_.end())
            addChildWindow(arrow);
        if (arrow->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != above)
            arrow->setWindowFlag(Qt::WindowStaysOnTopHint, above);
        setArrowAlpha(arrow, 0);
    }
    positionArrowWindows();
    QPointer<QVBookmarksWindowController> self(this);
    Scheduler::shared().schedule(0, false, [self] {
        if (self)
            self->showHideScrollArrows();
    });
}

void QVBookmarksWindowController::positionArrowWindows() {
    const QRect bar = window()->geometry();
    upArrowWindow_->setGeometry(bar.x(), bar.y(), bar.width(), upArrowWindow_->height());
    downArrowWindow_->setGeometry(bar.x(), bar.y() + bar.height() - downArrowWindow_->height(),
                                  bar.width(), downArrowWindow_->height());
}

int QVBookmarksWindowController::visibleTop() const {
    return scrollView_->verticalScrollBar()->value();
}

int QVBookmarksWindowController::contentsHeight() const {
    return outlineView_->height();
}

void QVBookmarksWindowController::showHideScrollArrows() {
    const bool visible = window()->isVisible();
    const int top = visibleTop();
    const int height = std::min(scrollView_->viewport()->height(), contentsHeight() - top);
    setArrowAlpha(upArrowWindow_, visible && top > scrollStep ? 1 : 0);
    setArrowAlpha(downArrowWindow_,
                  visible && top + height + scrollStep < contentsHeight() ? 1 : 0);
}

void QVBookmarksWindowController::stopAutoScrolling() {
    if (scrollTimer_)
        scrollTimer_->invalidate();
    scrollTimer_.reset();
}

void QVBookmarksWindowController::mouseMoved(QPoint globalPosition) {
    if (!scrollView_->scrollingEnabled())
        return;
    stopAutoScrolling();
    const QRect bar = window()->geometry();
    if (!bar.contains(globalPosition))
        return;
    const QRect up = upArrowWindow_->geometry();
    const QRect down = downArrowWindow_->geometry();
    if (upArrowWindow_->windowOpacity() != 0 && globalPosition.y() < up.y() + up.height())
        autoScrollUp(true);
    if (downArrowWindow_->windowOpacity() != 0 && globalPosition.y() >= down.y())
        autoScrollUp(false);
}

void QVBookmarksWindowController::autoScrollUp(bool up) {
    scrollStepUp(up);
    stopAutoScrolling();
    scrollTimer_ = MWTimer::timerWithInterval(scrollStepSeconds, true,
                                              [this, up](MWTimer&) { scrollStepUp(up); });
}

void QVBookmarksWindowController::scrollStepUp(bool up) {
    const int top = visibleTop();
    const int clipHeight = scrollView_->viewport()->height();
    const int target =
        up ? std::max(0, top - scrollStep)
           : std::min(contentsHeight() - clipHeight + heightPadding, top + scrollStep);
    // Our own steps are no reason to stop stepping.
    scrollingItself_ = true;
    scrollView_->verticalScrollBar()->setValue(target);
    scrollingItself_ = false;
    showHideScrollArrows();
}

void QVBookmarksWindowController::scrollViewDidScroll() {
    if (scrollingItself_)
        return;
    stopAutoScrolling();
    showHideScrollArrows();
}

std::unique_ptr<QVPopupWindowController>
QVBookmarksWindowController::makeFolderPopup(const QString& rootPath) {
    // The folder-browser popup is not built yet.
    (void)rootPath;
    return nullptr;
}

std::unique_ptr<QVPopupWindowController>
QVBookmarksWindowController::makeColorExportPopup(const std::shared_ptr<QVColorFile>& colorFile) {
    // The colour export popup is not built yet.
    (void)colorFile;
    return nullptr;
}

void QVBookmarksWindowController::outlineViewDidHoverItem(QVOutlineView*,
                                                          const QVOutlineItem& item) {
    if (fileListWindowController_ || colorExportWindowController_)
        resetFileWindow();
    if (windowIsClosing_ || !item.isFile())
        return;
    auto colorFile = std::dynamic_pointer_cast<QVColorFile>(item.file);
    const bool folder =
        item.file->isDirectory() && !item.file->hasError() && !item.file->url().isEmpty();
    if (!colorFile && !folder)
        return;
    if (preferencesWindowController())
        return;
    std::unique_ptr<QVPopupWindowController> popup =
        colorFile ? makeColorExportPopup(colorFile) : makeFolderPopup(item.file->path());
    if (!popup)
        return;
    popup->setParentWindow(window());
    popup->setParentWindowController(this);
    // Left of the bar, its bottom on the row's bottom.
    const int row = outlineView_->rowForItem(item);
    const QRect rect = outlineView_->rectOfRow(row);
    QWidget* popupWindow = popup->window();
    const QPoint anchor = outlineView_->mapToGlobal(
        QPoint(rect.x() - popupWindow->width(), rect.y() + rect.height()));
    popup->setWindowPosition(QVPopupWindowController::LeftOfAnchor);
    popup->setAnchorPoint(anchor);
    popupWindow->move(anchor.x(), anchor.y() - popupWindow->height());
    QVPopupWindowController* shown = popup.get();
    (colorFile ? colorExportWindowController_ : fileListWindowController_) = std::move(popup);
    shown->actuallyShowWindow(false);
    if (auto* rowView = dynamic_cast<QVHoverRowView*>(outlineView_->rowViewAtRow(row, true)))
        rowView->setIsHighlighted(true);
}

void QVBookmarksWindowController::closePopups() {
    if (fileListWindowController_) {
        fileListWindowController_->cancel();
        fileListWindowController_->actuallyHideWindow(false);
        fileListWindowController_.reset();
    }
    if (colorExportWindowController_) {
        colorExportWindowController_->window()->hide();
        colorExportWindowController_.reset();
    }
}

void QVBookmarksWindowController::resetFileWindow() {
    closePopups();
    const int hovered = outlineView_->hoveredRow();
    if (hovered != -1) {
        if (auto* rowView =
                dynamic_cast<QVHoverRowView*>(outlineView_->rowViewAtRow(hovered, false)))
            rowView->setIsHighlighted(false);
    }
    outlineView_->setHoveredRow(-1);
    outlineView_->reloadRows();
}

void QVBookmarksWindowController::hideFileWindow() {
    closePopups();
    QWidget* bar = window();
    if (bar->isVisible() && !preferencesWindowController())
        ApplicationWindows::activate(bar);
}

void QVBookmarksWindowController::appearanceDidChange() {
    const bool dark = isDarkMode();
    settingsButton_->setIcon(QIcon(
        barImage(dark ? QStringLiteral("icon-settings-dark") : QStringLiteral("icon-settings"))));
    const QColor background = dark ? QColor::fromRgbF(0.1f, 0.1f, 0.1f, 1.0f) : QColor(Qt::white);
    contentView_->setBackgroundColor(background);
    for (QWidget* arrow : {upArrowWindow_, downArrowWindow_}) {
        auto* content = arrow->findChild<MWView*>(QStringLiteral("contentView"));
        if (arrow == downArrowWindow_)
            content->setRoundedCorners(MWView::AllCorners);
        content->setBackgroundColor(background);
    }
    // The cells' own colours, which a selected row turns white for a while.
    const QColor text = dark ? QColor(236, 236, 240) : QColor(28, 28, 30);
    for (MWTableCellView* cell :
         {static_cast<MWTableCellView*>(groupCell_.get()), shortcutCell_.get()}) {
        cell->setBackgroundStyle(MWTableCellView::Light);
        MWTableCellView::setTextColor(cell->textField(), text);
        cell->awakeFromNib();
    }
    outlineView_->reloadRows();
}

std::vector<int> QVBookmarksWindowController::tableViewSelectedOrClickedIndexes() const {
    const std::vector<int> selected = outlineView_->selectedRows();
    const int clicked = outlineView_->clickedRow();
    if (clicked >= 0 && std::find(selected.begin(), selected.end(), clicked) == selected.end())
        return {clicked};
    return selected;
}

bool QVBookmarksWindowController::keyDown(qint64 keyCode) {
    if (keyCode != VirtualKeyCodes::rightArrow)
        return false;
    const std::vector<int> rows = tableViewSelectedOrClickedIndexes();
    if (rows.empty() || fileListWindowController_ || colorExportWindowController_)
        return false;
    outlineViewDidHoverItem(outlineView_, outlineView_->itemAtRow(rows.front()));
    return true;
}

bool QVBookmarksWindowController::eventFilter(QObject* watched, QEvent* event) {
    // A key reaches its window first, once; its widgets see it after that.
    if (event->type() == QEvent::KeyPress && qobject_cast<QWindow*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const qint64 code = VirtualKeyCodes::fromQt(key->key(), key->modifiers());
        if (code == VirtualKeyCodes::escape) {
            menuIconWasClicked();
            return true;
        }
        keyDown(code);
        return false;
    }
    if (event->type() == QEvent::MouseMove &&
        (watched == window() || watched == outlineView_->viewport()))
        mouseMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    return false;
}

void QVBookmarksWindowController::windowWillShow() {
    windowIsClosing_ = false;
    if (mwViewIsLoaded()) {
        autoAdjustHeight();
        showHideScrollArrows();
    }
}

void QVBookmarksWindowController::windowDidShow() {
    for (QVPopupWindowController* popup :
         {fileListWindowController_.get(), colorExportWindowController_.get()}) {
        if (popup)
            popup->actuallyShowWindow(false);
    }
}

void QVBookmarksWindowController::windowWillHideAnimated(bool) {
    windowIsClosing_ = true;
    resetFileWindow();
    stopAutoScrolling();
    setArrowAlpha(upArrowWindow_, 0);
    setArrowAlpha(downArrowWindow_, 0);
}

void QVBookmarksWindowController::windowDidHide() {
    outlineView_->clearSelection();
    resetFileWindow();
    QVFileListCache::sharedInstance().invalidateCache();
}

void QVBookmarksWindowController::repositionDockedWindow() {
    if (window()->isActiveWindow())
        STDockableWindowController::repositionDockedWindow();
}

bool QVBookmarksWindowController::canHide() const {
    if (QApplication::activeModalWidget())
        return false;
    MWCore& core = MWCore::sharedInstance();
    if (!core.canShowMainWindow()) {
        core.showWindow();
        return false;
    }
    if (fileListWindowController_ || colorExportWindowController_)
        return false;
    return STDockableWindowController::canHide();
}

void QVBookmarksWindowController::menuIconWasClicked() {
    MWCore& core = MWCore::sharedInstance();
    if (!core.canShowMainWindow()) {
        core.showWindow();
        ApplicationWindows::activate(QApplication::activeWindow());
        return;
    }
    if (QVGroupManager::sharedInstance().nonEmptyGroups().empty()) {
        if (statusItem())
            statusItem()->showMenu();
        return;
    }
    resetFileWindow();
    STDockableWindowController::menuIconWasClicked();
}

void QVBookmarksWindowController::buildMenus() {
    settingsMenu_.addAction(QStringLiteral("Manage Shortcuts..."), this,
                            &QVBookmarksWindowController::openEdit);
    settingsMenu_.addAction(QStringLiteral("Settings..."), this,
                            &QVBookmarksWindowController::openSettings);
    settingsMenu_.addSeparator();
    settingsMenu_.addAction(toggleDockedAction());
    settingsMenu_.addSeparator();
    joinMailingListItem_ =
        settingsMenu_.addAction(QString(), this, &QVBookmarksWindowController::openWelcomeWindow);
    joinMailingListItem_->setText(QStringLiteral("More Apps..."));
    rateAppItem_ = settingsMenu_.addAction(QString(), this, &QVBookmarksWindowController::rateApp);
    rateAppItem_->setText(QStringLiteral("Send Feedback"));
    settingsMenu_.addAction(QStringLiteral("Support"), this,
                            &QVBookmarksWindowController::openCustomerSupport);
    updateSepItem_ = settingsMenu_.addSeparator();
    updateItem_ = settingsMenu_.addAction(QStringLiteral("Check for Updates..."), this,
                                          &QVBookmarksWindowController::checkForUpdates);
    settingsMenu_.addSeparator();
    settingsMenu_.addAction(QStringLiteral("Quit Quiverlane"), this,
                            &QVBookmarksWindowController::quitApp);

    contextMenu_.addAction(QStringLiteral("Open"), this,
                           &QVBookmarksWindowController::openClickedOrSelectedFiles);
    openWithMenu_.setTitle(QStringLiteral("Open With"));
    contextMenu_.addMenu(&openWithMenu_)->setData(openWithItemTag);
    contextMenu_
        .addAction(QStringLiteral("Show in File Manager"), this,
                   &QVBookmarksWindowController::showInFinder)
        ->setData(showInFileManagerItemTag);
    connect(&contextMenu_, &QMenu::aboutToShow, this,
            &QVBookmarksWindowController::menuNeedsUpdate);
    outlineView_->setRowMenu(&contextMenu_);
}

bool QVBookmarksWindowController::opensOnSelection(const QVOutlineView::CurrentEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers;
    if (modifiers == Qt::ShiftModifier || modifiers == Qt::ControlModifier)
        return false;
    const bool keyEvent = event.type == QEvent::KeyPress || event.type == QEvent::KeyRelease;
    if (keyEvent) {
        const qint64 code = VirtualKeyCodes::fromQt(event.key, modifiers);
        if (code == VirtualKeyCodes::downArrow || code == VirtualKeyCodes::upArrow)
            return false;
    }
    return true;
}

void QVBookmarksWindowController::outlineViewSelectionDidChange() {
    // A selection emptied under a click (the bar hiding as the click opens) is
    // no new choice: the clicked row alone would open a second time.
    if (outlineView_->selectedRows().empty() || tableViewSelectedOrClickedIndexes().empty())
        return;
    if (opensOnSelection(outlineView_->currentEvent()))
        openClickedOrSelectedFiles();
}

void QVBookmarksWindowController::openClickedOrSelectedFiles() {
    openClickedOrSelectedFilesWithAction(defaults().clickAction());
}

void QVBookmarksWindowController::openClickedOrSelectedFilesWithAction(qint64 action) {
    if (ignoreDoubleClick_)
        return;
    const std::vector<int> rows = tableViewSelectedOrClickedIndexes();
    resetFileWindow();
    std::vector<QVTextSnippetFilePtr> snippets;
    QList<QUrl> locations;
    QVFilePtr alias;
    for (int row : rows) {
        const QVFilePtr file = outlineView_->itemAtRow(row).file;
        if (!file || file->url().isEmpty())
            continue;
        if (auto snippet = std::dynamic_pointer_cast<QVTextSnippetFile>(file)) {
            snippets.push_back(snippet);
            continue;
        }
        if (std::dynamic_pointer_cast<QVColorFile>(file) || file->hasError())
            continue;
        if (file->isAlias()) {
            // One panel at a time: what comes after the alias waits for another click.
            alias = file;
            break;
        }
        locations.append(file->url());
        if (action == openAction)
            openFile(file);
    }
    if (!snippets.empty())
        handleTextSnippets(snippets);
    if (alias) {
        resolveAliasWithFile(alias);
        return;
    }
    if (locations.isEmpty())
        return;
    if (action == revealAction)
        FileViewer::activateFileViewerSelectingURLs(locations);
    actuallyHideWindow(false);
}

void QVBookmarksWindowController::openFile(const QVFilePtr& file) {
    Applications& applications = Applications::shared();
    if (applications.isApplication(file->url())) {
        const qint64 pid = applications.launch(file->url());
        if (pid != 0)
            Scheduler::shared().schedule(activateDelaySeconds, false,
                                         [pid] { Applications::shared().activate(pid); });
        return;
    }
    QUrl location = file->url();
    if (file->isWebLoc()) {
        location = QUrl(file->webLocation(), QUrl::StrictMode);
        if (!location.isValid() || location.scheme().isEmpty())
            return;
        Workspace::openURL(location);
        return;
    }
    const QUrl application = applications.applicationToOpen(location);
    if (application.isEmpty() || applications.isFileManager(application)) {
        Workspace::openURL(location);
        return;
    }
    // Started once, with the document: most applications here would open a
    // second instance if they were started first and handed the file later.
    applications.launch(application, {QUrl::fromLocalFile(file->path())});
}

void QVBookmarksWindowController::resolveAliasWithFile(const QVFilePtr& file) {
    aliasDestinationURL_ = file->aliasDestinationURL();
    setCanHide(false);
    const std::optional<QUrl> chosen = runAliasPanel();
    setCanHide(true);
    if (!chosen)
        return;
    file->setUrl(*chosen);
    QVGroupManager::sharedInstance().save();
    outlineView_->reloadRows();
}

bool QVBookmarksWindowController::panelShouldEnableURL(const QUrl& url) const {
    return url.isLocalFile() && !aliasDestinationURL_.isEmpty() &&
           QFileInfo(url.toLocalFile()).absoluteFilePath() ==
               QFileInfo(aliasDestinationURL_.toLocalFile()).absoluteFilePath();
}

std::optional<QUrl> QVBookmarksWindowController::runAliasPanel() {
    const QFileInfo target(aliasDestinationURL_.toLocalFile());
    QFileDialog panel(nullptr, aliasPanelMessage, target.absolutePath());
    // Only our own dialog takes the filter that leaves the target alone to choose.
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(target.isDir() ? QFileDialog::Directory : QFileDialog::ExistingFile);
    panel.setLabelText(QFileDialog::Accept, QStringLiteral("Okay"));
    panel.setProxyModel(new OnlyLocationFilter(target.absoluteFilePath(), &panel));
    panel.selectUrl(aliasDestinationURL_);
    if (panel.exec() != QDialog::Accepted)
        return std::nullopt;
    const QList<QUrl> chosen = panel.selectedUrls();
    if (chosen.isEmpty() || !panelShouldEnableURL(chosen.front()))
        return std::nullopt;
    return chosen.front();
}

void QVBookmarksWindowController::menuNeedsUpdate() {
    openWithMenu_.clear();
    const std::vector<int> rows = tableViewSelectedOrClickedIndexes();
    if (rows.empty())
        return;
    const QVFilePtr file = outlineView_->itemAtRow(rows.front()).file;
    if (!file)
        return;
    const bool swatch = std::dynamic_pointer_cast<QVColorFile>(file) != nullptr;
    const bool snippet = std::dynamic_pointer_cast<QVTextSnippetFile>(file) != nullptr;
    for (QAction* item : contextMenu_.actions()) {
        if (item->data() == openWithItemTag)
            item->setVisible(!(file->isWebLoc() || snippet || swatch));
        else if (item->data() == showInFileManagerItemTag)
            item->setVisible(!swatch);
    }
    if (!swatch)
        openWithMenuForItem(file, &openWithMenu_);
}

void QVBookmarksWindowController::openWithMenuForItem(const QVFilePtr& file, QMenu* menu) {
    menu->clear();
    std::vector<QUrl> applications = Applications::shared().applicationsToOpen(file->url());
    if (applications.empty()) {
        menu->addAction(noApplicationTitle)->setEnabled(false);
        return;
    }
    auto sortKey = [](const QUrl& url) { return url.fileName().toLower(); };
    std::stable_sort(applications.begin(), applications.end(),
                     [&](const QUrl& a, const QUrl& b) { return sortKey(a) < sortKey(b); });
    for (const QUrl& application : applications) {
        QAction* item = menu->addAction(application.fileName());
        item->setToolTip(application.toLocalFile());
        const QIcon icon = Applications::shared().icon(application);
        if (!icon.isNull())
            item->setIcon(QIcon(icon.pixmap(QSize(imageSize, imageSize))));
        item->setData(QVariant::fromValue(QVOpenWithItem{application, file}));
        connect(item, &QAction::triggered, this, [this, item] { openWith(item); });
    }
    menu->setToolTipsVisible(true);
}

void QVBookmarksWindowController::openWith(const QAction* item) {
    const auto openWithItem = item->data().value<QVOpenWithItem>();
    const QVFilePtr file = openWithItem.file.lock();
    if (!file)
        return;
    SecurityScope::startAccessing(file->path());
    Applications::shared().launch(openWithItem.openWithURL, {QUrl::fromLocalFile(file->path())});
    SecurityScope::stopAccessing(file->path());
}

bool QVBookmarksWindowController::writeItemsToPasteboard(const std::vector<QVOutlineItem>& items,
                                                         QMimeData& pasteboard) {
    pasteboard.clear();
    QStringList urls;
    QStringList titles;
    QStringList paths;
    QStringList texts;
    for (const QVOutlineItem& item : items) {
        const QVFilePtr& file = item.file;
        if (!file)
            continue;
        if (file->isWebLoc() && !file->webLocData().isEmpty()) {
            const std::optional<QVariant> stored = PropertyList::parseValue(file->webLocData());
            // Without a location a bookmark has nothing to give as a URL: it goes as its file.
            if (stored && !file->webLocation().isEmpty()) {
                const QString name = stored->toMap().value(QStringLiteral("urlName")).toString();
                urls.append(file->webLocation());
                titles.append(name.isEmpty() ? file->nameWithoutExtension() : name);
            } else if (stored) {
                paths.append(file->path());
            }
        } else {
            paths.append(file->path());
        }
        if (auto snippet = std::dynamic_pointer_cast<QVTextSnippetFile>(file))
            texts.append(snippet->contents());
        if (auto swatch = std::dynamic_pointer_cast<QVColorFile>(file))
            texts.append(swatch->tooltip());
    }
    if (urls.isEmpty() && paths.isEmpty() && texts.isEmpty())
        return false;
    const QString carriageReturn(QChar(0x0D));
    // The system's string type is its UTF-8 plain text: one string under both names.
    auto setString = [&pasteboard, &carriageReturn](const QStringList& strings) {
        const QByteArray joined = strings.join(carriageReturn).toUtf8();
        pasteboard.setData(DragType::string, joined);
        pasteboard.setData(DragType::utf8PlainText, joined);
    };
    if (!urls.isEmpty()) {
        pasteboard.setData(DragType::webURLsWithTitles,
                           propertyList(QVariantList{arrayOf(urls), arrayOf(titles)}));
        pasteboard.setData(DragType::urls, propertyList(arrayOf(urls)));
        setString(urls);
        pasteboard.setData(DragType::publicURL, urls.front().toUtf8());
        pasteboard.setData(DragType::publicURLName, titles.front().toUtf8());
        // What browsers and file managers read a dropped link from.
        const QString mozilla = urls.front() + u'\n' + titles.front();
        pasteboard.setData(
            DragType::mozillaURL,
            QByteArray(reinterpret_cast<const char*>(mozilla.utf16()), mozilla.size() * 2));
    }
    if (!texts.isEmpty())
        setString(texts);
    if (!paths.isEmpty()) {
        QList<QUrl> files;
        for (const QString& path : paths)
            files.append(QUrl::fromLocalFile(path));
        pasteboard.setUrls(files);
        if (texts.isEmpty())
            setString(paths);
    }
    return true;
}

void QVBookmarksWindowController::showSettingsMenu() {
    settingsMenu_.popup(QCursor::pos());
}

void QVBookmarksWindowController::openEdit() {
    NotificationCenter::defaultCenter().post(QStringLiteral("Notification.openEdit"));
}

void QVBookmarksWindowController::openSettings() {
    NotificationCenter::defaultCenter().post(QStringLiteral("Notification.openPreferences"));
}

void QVBookmarksWindowController::openCustomerSupport() {
    Workspace::openURL(supportPage);
}

void QVBookmarksWindowController::openWelcomeWindow() {
    Workspace::openURL(moreAppsPage);
}

void QVBookmarksWindowController::holdOpenBriefly() {
    QPointer<QVBookmarksWindowController> self(this);
    Scheduler::shared().schedule(canHideRestoreSeconds, false, [self] {
        if (self)
            self->setCanHide(true);
    });
}

void QVBookmarksWindowController::rateApp() {
    setCanHide(false);
    Workspace::openURL(feedbackPage);
    holdOpenBriefly();
}

void QVBookmarksWindowController::checkForUpdates() {
    setCanHide(false);
    Alert::runModal({QStringLiteral("Updates come from your package manager"),
                     QStringLiteral("Quiverlane is updated along with the rest of the system "
                                    "by its package manager."),
                     {QStringLiteral("OK")}});
    holdOpenBriefly();
}

void QVBookmarksWindowController::quitApp() {
    if (Application* application = Application::shared())
        application->terminate();
}
