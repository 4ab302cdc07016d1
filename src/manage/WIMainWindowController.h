#pragma once

#include "manage/DATableRowView.h"
#include "manage/MWModuleViewController.h"
#include "toolkit/MWWindowController.h"

#include <QAbstractListModel>
#include <QIcon>
#include <QListView>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStyledItemDelegate>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class WIMainWindowController;

// The module list's rows, answered by the window's controller.
class WIModuleListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit WIModuleListModel(WIMainWindowController* controller, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void reload();

private:
    WIMainWindowController* controller_;
};

// Draws each list entry as its row view and its cell: the module's image and title.
class WIModuleListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int rowHeight = 32;

    explicit WIModuleListDelegate(WIMainWindowController* controller, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    DATableRowView* rowViewForRow(int row) const;
    void reload() { rowViews_.clear(); }

private:
    WIMainWindowController* controller_;
    mutable std::map<int, std::unique_ptr<DATableRowView>> rowViews_;
};

// What a list cell shows for a module.
struct WIModuleCell {
    QString identifier;
    QString text;
    QIcon image;
};

// The Manage window: a list of modules on the left, the chosen module's view on
// the right. Choosing a module swaps the views, fits the window to the module and
// retitles the window. Closing it never quits the program, which says so once per
// close until the person ticks the box not to be told again.
class WIMainWindowController : public MWWindowController {
    Q_OBJECT
public:
    enum ModuleRow {
        IntroModuleRow = 0,
        EditorModuleRow = 1,
        PreferencesModuleRow = 2,
        AboutModuleRow = 3
    };
    static const QString programName;
    static const QString suppressQuitAlertKey;
    static const QString moduleColumnIdentifier;
    // How far a sheet drops on a window whose title bar lies over its content.
    static constexpr int sheetOffsetWithoutTransparentTitleBar = 22;

    WIMainWindowController();
    ~WIMainWindowController() override;

    void mw_viewDidLoad() override;
    void configureWindow();
    void selectModuleAtRow(int row);
    void actuallyShowWindow();
    // The way into the window from elsewhere: builds it if needed, chooses the
    // module in `row` and brings the window to the front.
    void showModuleAtRow(int row);
    // Closes the window as its close control does, asking first.
    bool performClose();

    QWidget* contentView() const { return contentView_; }
    QWidget* moduleContentView() const { return moduleContentView_; }
    QListView* tableView() const { return tableView_; }
    std::vector<MWModuleViewControllerPtr> modules() const { return modules_; }
    void setModules(const std::vector<MWModuleViewControllerPtr>& modules);
    MWModuleViewControllerPtr currentModule() const { return currentModule_; }
    void setCurrentModule(const MWModuleViewControllerPtr& module);

    // The module list's data source and delegate.
    int numberOfRowsInTableView() const { return int(modules_.size()); }
    WIModuleCell tableViewViewForTableColumn(const QString& identifier, int row) const;
    std::unique_ptr<DATableRowView> tableViewRowViewForRow(int row) const;
    void tableViewSelectionDidChange();

    QSize windowSizeWithController(MWViewController* controller);
    bool resizeWindowIfNeededForViewController(MWViewController* controller, bool animated);

    // The window's delegate.
    QSize windowWillResize(QWidget* window, QSize proposedSize);
    QRect windowWillPositionSheet(QWidget* window, QWidget* sheet, QRect proposedRect) const;
    bool windowShouldClose(QWidget* window);

Q_SIGNALS:
    // The window is closing: it said yes to closing and goes now.
    void windowWillClose();

protected:
    // Subclasses without a layout of their own use this window's.
    QWidget* loadWindow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The size live resizing must keep, when the current module fixes one.
    std::optional<QSize> pinnedWindowSize();
    // Hands the live-resizing rule to the window manager as the window's size limits.
    void constrainLiveResizing();
    void layOutNow();
    int selectedRow() const;

    QPointer<QWidget> contentView_;
    QPointer<QWidget> moduleContentView_;
    QPointer<QListView> tableView_;
    WIModuleListModel* listModel_ = nullptr;
    WIModuleListDelegate* listDelegate_ = nullptr;
    std::vector<MWModuleViewControllerPtr> modules_;
    MWModuleViewControllerPtr currentModule_;
    bool movableByWindowBackground_ = false;
};
