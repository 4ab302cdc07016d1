#include "manage/WIMainWindowController.h"

#include "app/WIUserDefaults.h"
#include "manage/MWSubviews.h"
#include "manage/WIAboutModule.h"
#include "manage/WIEditorModule.h"
#include "manage/WIIntroModule.h"
#include "manage/WIPreferencesModule.h"
#include "platform/Alert.h"
#include "toolkit/LayoutLoader.h"
#include "toolkit/MWWindowHelpers.h"

#include <QCloseEvent>
#include <QLayout>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

const QString WIMainWindowController::programName = QStringLiteral("Quiverlane");
const QString WIMainWindowController::suppressQuitAlertKey = QStringLiteral("SuppressQuitAlert");
const QString WIMainWindowController::moduleColumnIdentifier = QStringLiteral("ModuleCell");

WIModuleListModel::WIModuleListModel(WIMainWindowController* controller, QObject* parent)
    : QAbstractListModel(parent), controller_(controller) {}

int WIModuleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : controller_->numberOfRowsInTableView();
}

QVariant WIModuleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const WIModuleCell cell = controller_->tableViewViewForTableColumn(
        WIMainWindowController::moduleColumnIdentifier, index.row());
    if (role == Qt::DisplayRole)
        return cell.text;
    if (role == Qt::DecorationRole)
        return cell.image;
    return {};
}

void WIModuleListModel::reload() {
    beginResetModel();
    endResetModel();
}

WIModuleListDelegate::WIModuleListDelegate(WIMainWindowController* controller, QObject* parent)
    : QStyledItemDelegate(parent), controller_(controller) {}

DATableRowView* WIModuleListDelegate::rowViewForRow(int row) const {
    std::unique_ptr<DATableRowView>& rowView = rowViews_[row];
    if (!rowView)
        rowView = controller_->tableViewRowViewForRow(row);
    return rowView.get();
}

void WIModuleListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    DATableRowView* rowView = rowViewForRow(index.row());
    rowView->setSelected(option.state & QStyle::State_Selected);
    painter->save();
    rowView->draw(painter, option.rect);

    const int padding = 8;
    const int imageSide = 16;
    QRect textRect = option.rect.adjusted(padding, 0, -padding, 0);
    const QIcon image = index.data(Qt::DecorationRole).value<QIcon>();
    if (!image.isNull()) {
        const QRect imageRect(textRect.left(), option.rect.center().y() - imageSide / 2 + 1,
                              imageSide, imageSide);
        image.paint(painter, imageRect);
        textRect.setLeft(imageRect.right() + 1 + padding);
    }
    painter->setPen(rowView->interiorBackgroundStyle() == 1 ? QColor(Qt::white)
                                                            : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize WIModuleListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), rowHeight);
}

WIMainWindowController::WIMainWindowController() = default;

// The modules go before the window (members before the base), each deleting its
// view, the current one from inside the window; the list must not report its
// selection to a controller that is half gone meanwhile.
WIMainWindowController::~WIMainWindowController() {
    if (tableView_)
        tableView_->selectionModel()->disconnect(this);
}

QWidget* WIMainWindowController::loadWindow() {
    if (QWidget* loaded = LayoutLoader::load(QStringLiteral("WIMainWindowController")))
        return loaded;
    return MWWindowController::loadWindow();
}

void WIMainWindowController::mw_viewDidLoad() {
    MWWindowController::mw_viewDidLoad();
    QWidget* shown = window();
    contentView_ = shown;
    moduleContentView_ = shown->findChild<QWidget*>(QStringLiteral("moduleContentView"));
    tableView_ = shown->findChild<QListView*>(QStringLiteral("tableView"));

    modules_ = {MWViewController::controller<WIIntroModule>(),
                MWViewController::controller<WIEditorModule>(),
                MWViewController::controller<WIPreferencesModule>(),
                MWViewController::controller<WIAboutModule>()};
    configureWindow();

    if (tableView_) {
        listModel_ = new WIModuleListModel(this, tableView_);
        listDelegate_ = new WIModuleListDelegate(this, tableView_);
        tableView_->setModel(listModel_);
        tableView_->setItemDelegate(listDelegate_);
        tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
        tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { tableViewSelectionDidChange(); });
    }
    setModules(modules_);
    selectModuleAtRow(IntroModuleRow);
}

void WIMainWindowController::configureWindow() {
    QWidget* shown = window();
    shown->setWindowTitle(programName);
    movableByWindowBackground_ = true;
    shown->installEventFilter(this);
    mw_disableFullScreen(shown);
}

void WIMainWindowController::setModules(const std::vector<MWModuleViewControllerPtr>& modules) {
    modules_ = modules;
    // Their layouts carry their list images.
    for (const auto& module : modules_)
        module->view();
    if (listDelegate_)
        listDelegate_->reload();
    if (listModel_)
        listModel_->reload();
}

void WIMainWindowController::selectModuleAtRow(int row) {
    if (!tableView_)
        return;
    const QModelIndex index = listModel_->index(row);
    tableView_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    tableView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void WIMainWindowController::actuallyShowWindow() {
    QWidget* shown = window();
    if (currentModule_)
        currentModule_->mw_viewWillAppear();
    shown->show();
    shown->raise();
    shown->activateWindow();
    if (currentModule_)
        currentModule_->mw_viewDidAppear();
}

void WIMainWindowController::showModuleAtRow(int row) {
    window();
    selectModuleAtRow(row);
    actuallyShowWindow();
}

bool WIMainWindowController::performClose() {
    return window()->close();
}

WIModuleCell WIMainWindowController::tableViewViewForTableColumn(const QString& identifier,
                                                                 int row) const {
    WIModuleCell cell{identifier, QString(), QIcon()};
    if (row < 0 || row >= numberOfRowsInTableView())
        return cell;
    const MWModuleViewController& module = *modules_[size_t(row)];
    cell.text = module.moduleTitle();
    cell.image = module.moduleImage();
    return cell;
}

std::unique_ptr<DATableRowView> WIMainWindowController::tableViewRowViewForRow(int) const {
    return std::make_unique<DATableRowView>();
}

int WIMainWindowController::selectedRow() const {
    if (!tableView_)
        return -1;
    const QModelIndexList rows = tableView_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void WIMainWindowController::tableViewSelectionDidChange() {
    const int row = selectedRow();
    if (row < 0 || row >= numberOfRowsInTableView())
        return;
    const MWModuleViewControllerPtr& module = modules_[size_t(row)];
    module->setParentWindow(window());
    setCurrentModule(module);
}

void WIMainWindowController::setCurrentModule(const MWModuleViewControllerPtr& next) {
    const MWModuleViewControllerPtr previous = currentModule_;
    if (next == previous)
        return;
    if (previous)
        previous->mw_viewWillDisappear();
    if (next)
        next->mw_viewWillAppear();
    if (previous) {
        mw_removeFromSuperview(previous->view());
        previous->mw_viewDidDisappear();
        previous->setModuleIsVisible(false);
    }
    if (next)
        next->setModuleIsVisible(true);
    currentModule_ = next;
    if (!next)
        return;

    QWidget* shown = window();
    next->setParentWindow(shown);
    QWidget* moduleView = next->view();
    mw_setAutoresizesWithContainer(moduleView, true);
    // Qt's resizability is a pair of size limits: they come off for the resize and
    // go back on, at the module's own size, when the module fixes the window's size.
    mw_setResizable(shown, true);
    if (!mw_isFullScreen(shown))
        resizeWindowIfNeededForViewController(next.get(), true);
    constrainLiveResizing();
    if (moduleContentView_) {
        layOutNow();
        moduleView->setGeometry(QRect(QPoint(0, 0), moduleContentView_->size()));
        mw_addSubview(moduleContentView_, moduleView);
    }
    next->mw_viewDidAppear();

    const QString title =
        next->moduleWindowTitle().isEmpty() ? next->moduleTitle() : next->moduleWindowTitle();
    if (!title.isEmpty())
        shown->setWindowTitle(title);
}

namespace {
QSize moduleSize(MWViewController* controller) {
    const QSize minimum = controller->viewMinSize();
    return minimum == QSize(0, 0) ? controller->view()->size() : minimum;
}
} // namespace

void WIMainWindowController::layOutNow() {
    // A hidden window lays itself out only when shown; the arithmetic below needs
    // the places its layout gives at the window's present size.
    if (QLayout* layout = contentView_ ? contentView_->layout() : nullptr) {
        layout->invalidate();
        layout->activate();
    }
}

QSize WIMainWindowController::windowSizeWithController(MWViewController* controller) {
    const QSize size = moduleSize(controller);
    layOutNow();
    const QRect area = mw_frameInWindow(moduleContentView_, contentView_);
    const int contentHeight = contentView_ ? contentView_->height() : 0;
    return QSize(size.width() + area.x(), size.height() + (contentHeight - area.height()));
}

bool WIMainWindowController::resizeWindowIfNeededForViewController(MWViewController* controller,
                                                                   bool animated) {
    // The area around the module has a size of its own, so a module without a size
    // is told apart before that is added.
    if (!isWindowLoaded() || moduleSize(controller) == QSize(0, 0))
        return false;
    mw_originalSetContentSize(window(), windowSizeWithController(controller), animated);
    return true;
}

std::optional<QSize> WIMainWindowController::pinnedWindowSize() {
    if (!isWindowLoaded() || mw_isFullScreen(window()) || !currentModule_ ||
        currentModule_->moduleIsResizable() || moduleSize(currentModule_.get()) == QSize(0, 0))
        return std::nullopt;
    return windowSizeWithController(currentModule_.get());
}

QSize WIMainWindowController::windowWillResize(QWidget*, QSize proposedSize) {
    return pinnedWindowSize().value_or(proposedSize);
}

void WIMainWindowController::constrainLiveResizing() {
    QWidget* shown = window();
    if (const std::optional<QSize> pinned = pinnedWindowSize()) {
        shown->setMinimumSize(*pinned);
        shown->setMaximumSize(*pinned);
    } else {
        mw_setResizable(shown, true);
    }
}

QRect WIMainWindowController::windowWillPositionSheet(QWidget* window, QWidget*,
                                                      QRect proposedRect) const {
    // A window that knows nothing of transparent title bars draws its own title
    // area inside its content, and the sheet goes in under it (y grows downwards).
    if (window->property("titlebarAppearsTransparent").isValid())
        return proposedRect;
    return proposedRect.translated(0, -sheetOffsetWithoutTransparentTitleBar);
}

bool WIMainWindowController::windowShouldClose(QWidget* window) {
    if (modules_.size() > size_t(EditorModuleRow)) {
        if (auto* editor = dynamic_cast<WIEditorModule*>(modules_[EditorModuleRow].get())) {
            if (!editor->windowShouldClose(window))
                return false;
        }
    }
    DefaultsStore& defaults = WIUserDefaults::standardUserDefaults().store();
    if (!defaults.boolForKey(suppressQuitAlertKey)) {
        AlertRequest request{
            QStringLiteral("%1 will continue to run in the background").arg(programName),
            QStringLiteral(
                "You can access the preferences by clicking on the icon located in the top "
                "menubar."),
            {QStringLiteral("Okay")}};
        request.showsSuppressionButton = true;
        const AlertAnswer answer = Alert::runModalWithAnswer(request);
        if (answer.button == 0 && answer.suppressionButtonOn) {
            defaults.setBool(suppressQuitAlertKey, true);
            defaults.synchronize();
        }
    }
    return true;
}

bool WIMainWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window())
        return false;
    switch (event->type()) {
    case QEvent::Close:
        if (!windowShouldClose(window())) {
            event->ignore();
            return true;
        }
        Q_EMIT windowWillClose();
        return false;
    case QEvent::MouseButtonPress: {
        // A press that no view inside took lands on the window's background.
        auto* press = static_cast<QMouseEvent*>(event);
        if (movableByWindowBackground_ && press->button() == Qt::LeftButton &&
            window()->windowHandle() && window()->windowHandle()->startSystemMove())
            return true;
        return false;
    }
    case QEvent::WindowStateChange:
        constrainLiveResizing();
        return false;
    default:
        return false;
    }
}
