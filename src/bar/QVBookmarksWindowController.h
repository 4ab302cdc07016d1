#pragma once

#include "bar/QVOutlineView.h"
#include "bar/QVPopupWindowController.h"
#include "bar/STDockableWindowController.h"
#include "clipboard/QVSnippetCopier.h"
#include "library/QVTextSnippetFile.h"

#include <QFont>
#include <QMenu>
#include <QPointer>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class MWNoScrollView;
class MWTableCellView;
class MWColorWellTableCellView;
class MWView;
class QMimeData;
class QToolButton;
class QVColorFile;

// The bar's contents: the groups and their shortcuts in a two-level list, the
// window fitted to them within the screen, arrows that scroll a list too tall
// for it, and a popup beside a folder or colour row the pointer rests on.
class QVBookmarksWindowController : public STDockableWindowController,
                                    public QVOutlineViewHoverDelegate {
    Q_OBJECT
public:
    static constexpr int widthPadding = 70;
    static constexpr int maximumWidth = 350;
    static constexpr int minimumWidth = 150;
    static constexpr int heightPadding = 10;
    static constexpr int fallbackHeightLimit = 500;
    static constexpr double ignoreDoubleClickSeconds = 0.2;
    static constexpr double scrollStepSeconds = 0.1;
    static constexpr int scrollStep = 20;
    static constexpr int arrowHeight = 20;
    static constexpr int settingsButtonWidth = 26;
    static constexpr double activateDelaySeconds = 0.2;
    static constexpr double canHideRestoreSeconds = 0.5;
    // The row menu's entries that not every kind of shortcut has.
    static constexpr int openWithItemTag = 1000;
    static constexpr int showInFileManagerItemTag = 1001;
    static const QString noApplicationTitle;
    static const QString aliasPanelMessage;
    static const QUrl supportPage;
    static const QUrl moreAppsPage;
    static const QUrl feedbackPage;

    // What "clickAction" chooses.
    enum ClickAction : qint64 { openAction = 0, revealAction = 1 };

    // Whether a selection change made during `event` opens the rows: Shift- and
    // Ctrl-clicks build a selection, and arrow keys move it, without opening.
    static bool opensOnSelection(const QVOutlineView::CurrentEvent& event);
    // Fills `pasteboard` with the dragged shortcuts; false when they carry nothing.
    static bool writeItemsToPasteboard(const std::vector<QVOutlineItem>& items,
                                       QMimeData& pasteboard);

    // The arithmetic of the bar's size, on its own.
    // The longest name of the groups and their shortcuts by character count; of
    // equally long names the first met (each group followed by its shortcuts).
    static QString longestName(const std::vector<QVGroupPtr>& groups);
    // The width for a longest name this wide, before the final 150-point floor.
    static int widthForNameWidth(double nameWidth);
    // 90 % of the screen's visible height in single precision, rounded down; 500
    // when the screen has no height.
    static int heightLimit(int visibleScreenHeight);
    // The font the longest name is measured in.
    static QFont nameFont();

    QVBookmarksWindowController();
    ~QVBookmarksWindowController() override;

    void mw_viewDidLoad() override;
    void setStatusItem(MTStatusItem* item) override;

    MWView* contentView() const { return contentView_; }
    MWNoScrollView* scrollView() const { return scrollView_; }
    QVOutlineView* outlineView() const { return outlineView_; }
    QToolButton* settingsButton() const { return settingsButton_; }
    QMenu* settingsMenu() { return &settingsMenu_; }
    QMenu* contextMenu() { return &contextMenu_; }
    QMenu* openWithMenu() { return &openWithMenu_; }
    QAction* joinMailingListItem() const { return joinMailingListItem_; }
    QAction* rateAppItem() const { return rateAppItem_; }
    QAction* updateItem() const { return updateItem_; }
    QAction* updateSepItem() const { return updateSepItem_; }
    QUrl aliasDestinationURL() const { return aliasDestinationURL_; }
    QWidget* upArrowWindow() const { return upArrowWindow_; }
    QWidget* downArrowWindow() const { return downArrowWindow_; }
    const std::vector<QPointer<QWidget>>& childWindows() const { return childWindows_; }
    std::vector<QVGroupPtr> data() const { return data_; }
    bool windowIsClosing() const { return windowIsClosing_; }
    bool ignoreDoubleClick() const { return ignoreDoubleClick_; }
    bool isAutoScrolling() const { return scrollTimer_ != nullptr; }
    QVPopupWindowController* fileListWindowController() const {
        return fileListWindowController_.get();
    }
    QVPopupWindowController* colorExportWindowController() const {
        return colorExportWindowController_.get();
    }
    // Where the user's light or dark style comes from (the desktop's, by default).
    void setDarkModeSource(std::function<bool()> isDarkMode);

    void reloadData();
    void autoAdjustHeight();
    void toggleGroup(const QVGroupPtr& group);
    void outlineViewItemDidExpand();
    void outlineViewItemDidCollapse();

    void addArrowsIfNeeded();
    void positionArrowWindows();
    void showHideScrollArrows();
    void removeAllChildWindows();
    // A pointer move over the bar, on screen.
    void mouseMoved(QPoint globalPosition);
    void autoScrollUp(bool up);
    void scrollViewDidScroll();

    void outlineViewDidHoverItem(QVOutlineView* outlineView, const QVOutlineItem& item) override;
    void hideFileWindow();
    void resetFileWindow();
    void hideFileMenus() { resetFileWindow(); }
    void appearanceDidChange();
    // A key that the application-wide monitor passes on; answers whether it acted.
    bool keyDown(qint64 keyCode);
    std::vector<int> tableViewSelectedOrClickedIndexes() const;

    // The row's view and cell, as the outline draws them.
    std::unique_ptr<QVRowView> outlineViewRowViewForItem(const QVOutlineItem& item) const;
    MWTableCellView* outlineViewViewForItem(const QVOutlineItem& item, int row);

    // Snippets the user chose to copy or paste.
    virtual void handleTextSnippets(const std::vector<QVTextSnippetFilePtr>& snippets) {
        snippetCopier_.handleTextSnippets(snippets);
    }

    void outlineViewSelectionDidChange();
    void openClickedOrSelectedFiles();
    void openClickedOrSelectedFilesWithAction(qint64 action);
    void showInFinder() { openClickedOrSelectedFilesWithAction(revealAction); }
    void resolveAliasWithFile(const QVFilePtr& file);
    // Only the alias's target may be chosen in its panel.
    bool panelShouldEnableURL(const QUrl& url) const;
    void menuNeedsUpdate();
    void openWithMenuForItem(const QVFilePtr& file, QMenu* menu);
    void openWith(const QAction* item);

    void showSettingsMenu();
    void openEdit();
    void openSettings();
    void openCustomerSupport();
    void openWelcomeWindow();
    void rateApp();
    void checkForUpdates();
    void quitApp();

    void windowWillShow() override;
    void windowDidShow() override;
    void windowWillHideAnimated(bool animated) override;
    void windowDidHide() override;
    void repositionDockedWindow() override;
    bool canHide() const override;
    void menuIconWasClicked() override;
    using STDockableWindowController::actuallyHideWindow;
    void actuallyHideWindow() { actuallyHideWindow(false); }

protected:
    QWidget* loadWindow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The two places that make the popups; null while there is no popup to make.
    virtual std::unique_ptr<QVPopupWindowController> makeFolderPopup(const QString& rootPath);
    virtual std::unique_ptr<QVPopupWindowController>
    makeColorExportPopup(const std::shared_ptr<QVColorFile>& colorFile);

    // The height of the visible area of the screen the icon is on.
    virtual int visibleScreenHeight() const;

    // Asks the user to confirm `aliasDestinationURL()` in an open panel; the
    // location chosen, nothing when cancelled.
    virtual std::optional<QUrl> runAliasPanel();

private:
    QWidget* makeArrowWindow(const QString& imageName);
    void addChildWindow(QWidget* child);
    void setArrowAlpha(QWidget* arrow, double alpha);
    void applyContentSize(QSize size);
    void setScrolling(bool enabled);
    void didExpandOrCollapse();
    void buildMenus();
    void openFile(const QVFilePtr& file);
    void holdOpenBriefly();
    void didClick(int row);
    void didDoubleClick(int row);
    void stopAutoScrolling();
    void scrollStepUp(bool up);
    void placeSettingsButton();
    void closePopups();
    bool isDarkMode() const;
    int visibleTop() const;
    int contentsHeight() const;
    int currentHeightLimit() const;

    MWView* contentView_ = nullptr;
    MWNoScrollView* scrollView_ = nullptr;
    QVOutlineView* outlineView_ = nullptr;
    QToolButton* settingsButton_ = nullptr;
    QMenu settingsMenu_;
    QMenu contextMenu_;
    QMenu openWithMenu_;
    QAction* joinMailingListItem_ = nullptr;
    QAction* rateAppItem_ = nullptr;
    QAction* updateItem_ = nullptr;
    QAction* updateSepItem_ = nullptr;
    QUrl aliasDestinationURL_;
    QVSnippetCopier snippetCopier_{[this] { actuallyHideWindow(false); }};
    QWidget* upArrowWindow_ = nullptr;
    QWidget* downArrowWindow_ = nullptr;
    std::vector<QPointer<QWidget>> childWindows_;
    std::vector<QVGroupPtr> data_;
    std::shared_ptr<MWTimer> scrollTimer_;
    std::shared_ptr<MWTimer> clickTimer_;
    std::unique_ptr<QVPopupWindowController> fileListWindowController_;
    std::unique_ptr<QVPopupWindowController> colorExportWindowController_;
    bool windowIsClosing_ = false;
    bool ignoreDoubleClick_ = false;
    bool scrollingItself_ = false;
    std::function<bool()> isDarkMode_;
    std::unique_ptr<MWColorWellTableCellView> groupCell_;
    std::unique_ptr<MWTableCellView> shortcutCell_;
};
