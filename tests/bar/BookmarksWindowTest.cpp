#include "app/WIUserDefaults.h"
#include "bar/QVBookmarksWindowController.h"
#include "library/QVColorFile.h"
#include "library/QVGroupManager.h"
#include "library/QVTextSnippetFile.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "support/LibraryFixtures.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"
#include "toolkit/MWNoScrollView.h"
#include "toolkit/MWTableCellView.h"
#include "toolkit/MWView.h"
#include "toolkit/MWWindowHelpers.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

QVGroupManager& store() {
    return QVGroupManager::sharedInstance();
}

QVGroupPtr pinnedGroup(std::vector<QVFilePtr> files = {}) {
    QVGroupPtr group = groupNamed(QStringLiteral("Pinned"), std::move(files));
    group->setPinned(true);
    return group;
}

// What the popups the bar opened went through.
struct PopupLog {
    QStringList opened;
    int cancels = 0;
    int hides = 0;
    int shows = 0;
};

class FakePopup : public QVPopupWindowController {
public:
    std::shared_ptr<PopupLog> log;
    void cancel() override { ++log->cancels; }
    void actuallyShowWindow(bool) override {
        ++log->shows;
        window()->show();
    }
    void actuallyHideWindow(bool) override {
        ++log->hides;
        window()->hide();
    }

protected:
    QWidget* loadWindow() override {
        auto* popup = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        popup->resize(120, 80);
        return popup;
    }
};

// The bar on a screen of a chosen height, with stand-ins for the popups.
class TestBar : public QVBookmarksWindowController {
public:
    int screenHeight = 700;
    std::shared_ptr<PopupLog> popups = std::make_shared<PopupLog>();

protected:
    int visibleScreenHeight() const override { return screenHeight; }
    std::unique_ptr<QVPopupWindowController> makeFolderPopup(const QString& rootPath) override {
        return make(QStringLiteral("folder ") + rootPath);
    }
    std::unique_ptr<QVPopupWindowController>
    makeColorExportPopup(const std::shared_ptr<QVColorFile>& colorFile) override {
        return make(QStringLiteral("colour ") + colorFile->tooltip());
    }

private:
    std::unique_ptr<QVPopupWindowController> make(const QString& what) {
        popups->opened.append(what);
        auto popup = MWWindowController::controller<FakePopup>();
        popup->log = popups;
        return popup;
    }
};

class BarContents : public testing::Test {
protected:
    void SetUp() override {
        saved_ = store().groups();
        clock.advance(10); // far from any earlier icon click
    }
    void TearDown() override {
        bar.reset();
        store().updateGroups(saved_);
        store().saveSilently(true);
        WIUserDefaults::standardUserDefaults().setShowExtensions(false);
    }

    // The store holds `groups` (after an empty pinned group) and the bar is made over it.
    void makeBar(std::vector<QVGroupPtr> groups, int screenHeight = 700) {
        groups.insert(groups.begin(), pinnedGroup());
        store().updateGroups(groups);
        bar = std::make_unique<TestBar>();
        bar->screenHeight = screenHeight;
        bar->window();
    }
    void showBar() {
        bar->actuallyShowWindow(false);
        clock.advance(0);
    }
    QVFilePtr file(const QString& name) { return shortcutTo(folder.write(name)); }
    std::vector<QVFilePtr> files(int count) {
        std::vector<QVFilePtr> made;
        for (int i = 0; i < count; ++i)
            made.push_back(file(QStringLiteral("file %1").arg(i)));
        return made;
    }
    QVOutlineView& outline() { return *bar->outlineView(); }
    QRect barFrame() { return bar->window()->geometry(); }

    // The pointer comes to rest over the row and moves there once.
    void movePointerOverRow(int row) {
        const QRect rect = outline().rectOfRow(row);
        const QPoint local = rect.center();
        QCursor::setPos(outline().mapToGlobal(local));
        QWidget* viewport = outline().viewport();
        const QPointF inViewport = viewport->mapFrom(&outline(), local);
        QMouseEvent move(QEvent::MouseMove, inViewport, viewport->mapToGlobal(inViewport),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }

    ManualScheduler clock;
    Folder folder;
    std::unique_ptr<TestBar> bar;

private:
    std::vector<QVGroupPtr> saved_;
};

TEST(BarSizing, TheLongestNameIsCountedInCharactersAndTheFirstWins) {
    Folder folder;
    auto named = [&folder](const char* name) { return shortcutTo(folder.write(name)); };
    struct Case {
        const char* what;
        std::vector<QVGroupPtr> groups;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"no groups", {}, ""},
        {"a shortcut longer than its group", {groupNamed("Ab", {named("abc")})}, "abc"},
        {"the group met first of two as long", {groupNamed("Work", {named("abcd")})}, "Work"},
        {"a later group's shortcut before a later group",
         {groupNamed("A", {named("wxyz")}), groupNamed("Home", {named("qrst")})},
         "wxyz"},
        {"characters, not width", {groupNamed("WWW", {named("iiii")})}, "iiii"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QVBookmarksWindowController::longestName(c.groups), c.expected) << c.what;
}

TEST(BarSizing, WidthAndHeightLimits) {
    const std::vector<std::pair<double, int>> widths = {{0, 70},    {100, 170}, {100.2, 171},
                                                        {280, 350}, {281, 350}, {1000, 350}};
    for (const auto& [nameWidth, expected] : widths)
        EXPECT_EQ(QVBookmarksWindowController::widthForNameWidth(nameWidth), expected) << nameWidth;
    // The single-precision 0.9 is a hair below 0.9: whole tenths round down one more.
    const std::vector<std::pair<int, int>> limits = {
        {800, 719}, {1000, 899}, {600, 539}, {777, 699}, {10, 8}, {1, 500}, {0, 500}};
    for (const auto& [screen, expected] : limits)
        EXPECT_EQ(QVBookmarksWindowController::heightLimit(screen), expected) << screen;
}

TEST_F(BarContents, ShortNamesGiveTheNarrowestBarAndTheHeightFollowsTheRows) {
    QVGroupPtr group = groupNamed("A", {file("b"), file("c")});
    makeBar({group});
    showBar();
    EXPECT_EQ(barFrame().width(), 150);
    EXPECT_EQ(outline().numberOfRows(), 3);
    const int expanded = barFrame().height();
    EXPECT_EQ(expanded, outline().bottomOfLastRow() + 10);

    bar->toggleGroup(group);
    EXPECT_EQ(outline().numberOfRows(), 1);
    EXPECT_EQ(barFrame().height(), outline().rectOfRow(0).height() + 10);
    EXPECT_LT(barFrame().height(), expanded);
    EXPECT_EQ(barFrame().width(), 150) << "collapsing keeps the width";
    bar->toggleGroup(group);
    EXPECT_EQ(barFrame().height(), expanded);
}

TEST_F(BarContents, ALongNameCapsTheWidthAndTheWidthComesFromTheLongestName) {
    makeBar({groupNamed("G", {file(QString(80, u'x'))})});
    EXPECT_EQ(barFrame().width(), 350);
    makeBar({groupNamed("G", {file("abcdefghijklmnopqrstuvwxyzabcdefghij")})});
    const double measured = mw_stringWidthWithFont("abcdefghijklmnopqrstuvwxyzabcdefghij",
                                                   QVBookmarksWindowController::nameFont());
    EXPECT_EQ(barFrame().width(), std::max(150, int(std::ceil(measured)) + 70));
}

TEST_F(BarContents, ContentsTallerThanTheScreenLimitScrollWithArrows) {
    QVGroupPtr group = groupNamed("Many", files(30));
    makeBar({group}, 300);
    showBar();
    EXPECT_EQ(barFrame().height(), 269);
    EXPECT_TRUE(bar->scrollView()->scrollingEnabled());
    ASSERT_EQ(bar->childWindows().size(), 2u);
    EXPECT_EQ(bar->upArrowWindow()->windowOpacity(), 0) << "at the top there is nothing above";
    EXPECT_EQ(bar->downArrowWindow()->windowOpacity(), 1);
    EXPECT_EQ(bar->upArrowWindow()->geometry().top(), barFrame().top());
    EXPECT_EQ(bar->downArrowWindow()->geometry().bottom(), barFrame().bottom());
    EXPECT_EQ(bar->downArrowWindow()->width(), barFrame().width());

    bar->toggleGroup(group);
    EXPECT_FALSE(bar->scrollView()->scrollingEnabled());
    EXPECT_TRUE(bar->childWindows().empty());
    EXPECT_FALSE(bar->downArrowWindow()->isVisible());
}

TEST_F(BarContents, RestingOnAnArrowScrollsTwentyPointsEveryTenthOfASecond) {
    makeBar({groupNamed("Many", files(30))}, 300);
    showBar();
    QScrollBar* scroll = bar->scrollView()->verticalScrollBar();
    const QPoint overDownArrow = bar->downArrowWindow()->geometry().center();
    bar->mouseMoved(overDownArrow);
    EXPECT_EQ(scroll->value(), 20) << "the first step is at once";
    clock.advance(0.1);
    EXPECT_EQ(scroll->value(), 40);
    clock.advance(0.2);
    EXPECT_EQ(scroll->value(), 80);
    EXPECT_EQ(bar->upArrowWindow()->windowOpacity(), 1);

    bar->mouseMoved(barFrame().center());
    EXPECT_FALSE(bar->isAutoScrolling());
    clock.advance(0.5);
    EXPECT_EQ(scroll->value(), 80) << "leaving the arrow stops";

    bar->mouseMoved(bar->upArrowWindow()->geometry().center());
    clock.advance(0.3);
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(bar->upArrowWindow()->windowOpacity(), 0);

    // Scrolling any other way stops the arrows' stepping.
    bar->mouseMoved(overDownArrow);
    scroll->setValue(scroll->maximum());
    EXPECT_FALSE(bar->isAutoScrolling());
    EXPECT_EQ(bar->downArrowWindow()->windowOpacity(), 0) << "at the bottom nothing is below";
}

TEST_F(BarContents, AnEmptyLibraryShowsNoBarAndTheIconOffersTheSettingsMenu) {
    makeBar({});
    MTStatusItem item([] { return false; });
    bar->setStatusItem(&item);
    EXPECT_EQ(item.contextMenu(), bar->settingsMenu());
    QStringList titles;
    for (QAction* action : bar->settingsMenu()->actions())
        titles.append(action->text());
    EXPECT_TRUE(titles.contains("Float the Bar"));
    EXPECT_TRUE(titles.contains("Quit Quiverlane"));

    bar->menuIconWasClicked();
    EXPECT_FALSE(bar->window()->isVisible());

    // An empty group of the user's own is still something to show.
    store().addGroup(groupNamed("Empty"));
    store().save();
    bar->menuIconWasClicked();
    EXPECT_TRUE(bar->window()->isVisible());
    EXPECT_EQ(outline().numberOfRows(), 1);
    bar->settingsMenu()->hide();
    bar->setStatusItem(nullptr);
}

TEST_F(BarContents, ShortcutRowsTitlesToolTipsAndCells) {
    const QString note = folder.write("notes.txt");
    QVFilePtr plain = shortcutTo(note);
    QVFilePtr named = shortcutTo(folder.write("report.pdf"));
    named->setDisplayName("My Report");
    QVFilePtr gone = shortcutTo(folder.write("gone.txt"));
    QFile::remove(gone->path());
    gone->updateURL();
    QVFilePtr alias = shortcutTo(folder.link("alias", note));
    QVFilePtr web = shortcutTo(folder.write(
        "site.webloc", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                       "<key>URL</key><string>https://example.org/</string></dict></plist>"));
    auto snippet = std::make_shared<QVTextSnippetFile>();
    snippet->setUrl(QUrl::fromLocalFile(folder.write("snippet.txt", "\n  \nHello there\nmore")));
    auto swatch = std::make_shared<QVColorFile>();
    swatch->setColor(MWColor::rgb(1, 0, 0, 1));
    QVFilePtr directory = shortcutTo(folder.makeFolder("Projects.d"));
    ASSERT_TRUE(gone->hasError());
    ASSERT_TRUE(alias->isAlias());
    ASSERT_TRUE(web->isWebLoc());

    struct Case {
        const char* what;
        QVFilePtr file;
        QString title;
        QString titleWithExtensions;
        QString toolTip;
        QString identifier;
    };
    const std::vector<Case> cases = {
        {"plain", plain, "notes", "notes.txt", note, "MainColumn"},
        {"display name", named, "My Report", "My Report", named->path(), "MainColumn"},
        {"deleted", gone, "gone", "gone.txt", "This file has been deleted or moved.", "MainColumn"},
        {"alias", alias, "notes", "notes.txt",
         "Click to allow Quiverlane access to the location the alias points to.", "MainColumn"},
        {"web bookmark", web, "site", "site", "https://example.org/", "MainColumn"},
        {"snippet", snippet, "snippet", "snippet.txt", "Hello there", "MainColumn"},
        {"swatch", swatch, "", "", "#FF0000", "FolderCell"},
        {"folder", directory, "Projects.d", "Projects.d", directory->path(), "FolderCell"},
    };
    std::vector<QVFilePtr> all;
    for (const Case& c : cases)
        all.push_back(c.file);
    QVGroupPtr group = groupNamed("G", all);
    makeBar({group});
    WIUserDefaults& settings = WIUserDefaults::standardUserDefaults();
    for (bool extensions : {false, true}) {
        settings.setShowExtensions(extensions);
        for (const Case& c : cases) {
            MWTableCellView* cell = bar->outlineViewViewForItem({group, c.file}, 1);
            EXPECT_EQ(cell->textField()->text(), extensions ? c.titleWithExtensions : c.title)
                << c.what;
            EXPECT_EQ(cell->textField()->toolTip(), c.toolTip) << c.what;
            EXPECT_EQ(cell->identifier(), c.identifier) << c.what;
        }
    }
}

TEST_F(BarContents, GroupCellsNarrowTheirNameAndShowWhetherTheyAreOpen) {
    const QString longName(60, u'W');
    QVGroupPtr pinned = pinnedGroup({file("a")});
    QVGroupPtr second = groupNamed(longName);
    second->setIsExpanded(false);
    store().updateGroups({pinned, second});
    bar = std::make_unique<TestBar>();
    bar->window();
    showBar();

    auto* first =
        static_cast<MWColorWellTableCellView*>(bar->outlineViewViewForItem({pinned, {}}, 0));
    EXPECT_FALSE(first->imageView()->isHidden()) << "the pinned group shows its image";
    EXPECT_TRUE(first->colorWell()->isHidden());
    const QLabel* text = first->textField();
    EXPECT_EQ(text->width(), int(std::ceil(mw_stringWidthWithFont("Pinned", text->font()))));
    EXPECT_EQ(first->expandoImageView()->x(), text->width() + text->x() - 2);
    EXPECT_EQ(first->expandoImageView()->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              QImage(":/images/icon-expanded.png").convertToFormat(QImage::Format_ARGB32));

    const int scrollWidth = bar->scrollView()->width();
    auto* atTop =
        static_cast<MWColorWellTableCellView*>(bar->outlineViewViewForItem({second, {}}, 0));
    EXPECT_EQ(atTop->textField()->width(),
              scrollWidth - atTop->textField()->x() - bar->settingsButton()->width());
    auto* lower =
        static_cast<MWColorWellTableCellView*>(bar->outlineViewViewForItem({second, {}}, 2));
    EXPECT_EQ(lower->textField()->width(), scrollWidth - lower->textField()->x() - 15);
    EXPECT_TRUE(lower->imageView()->isHidden());
    EXPECT_FALSE(lower->colorWell()->isHidden());
    EXPECT_EQ(lower->expandoImageView()->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              QImage(":/images/icon-collapsed.png").convertToFormat(QImage::Format_ARGB32));
}

TEST_F(BarContents, TogglingAGroupSavesSilentlyAndIgnoresDoubleClicksForTwoTenths) {
    QVGroupPtr group = groupNamed("G", {file("a")});
    makeBar({group});
    clock.advance(1);
    int announced = 0;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(
        &observer, QVGroupManager::groupsDidChangeNotification,
        [&announced](const Notification&) { ++announced; });

    bar->toggleGroup(group);
    EXPECT_FALSE(group->isExpanded());
    EXPECT_EQ(announced, 0);
    const auto& saved = WIUserDefaults::standardUserDefaults().groups();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_FALSE(saved[1]->isExpanded()) << "the state is in the settings";
    EXPECT_TRUE(bar->ignoreDoubleClick());

    // The second click of a double click that collapsed the group.
    Q_EMIT outline().doubleAction(0);
    EXPECT_EQ(outline().numberOfRows(), 1) << "still collapsed";
    clock.advance(0.19);
    EXPECT_TRUE(bar->ignoreDoubleClick());
    clock.advance(0.02);
    EXPECT_FALSE(bar->ignoreDoubleClick());
    Q_EMIT outline().doubleAction(0);
    EXPECT_EQ(outline().numberOfRows(), 2);
    EXPECT_TRUE(bar->ignoreDoubleClick()) << "every expand starts it again";

    Q_EMIT outline().action(0);
    EXPECT_EQ(outline().numberOfRows(), 1) << "a click on a group toggles it";
}

TEST_F(BarContents, ReloadsOnLibraryChangesAndFollowsTheSettings) {
    QVGroupPtr group = groupNamed("G", {file("a")});
    makeBar({group});
    EXPECT_EQ(outline().numberOfRows(), 2);
    for (const QString& name :
         {QVGroupManager::groupsDidChangeNotification, QVFile::didChangeNotification}) {
        store().addGroup(groupNamed(name));
        const int before = outline().numberOfRows();
        NotificationCenter::defaultCenter().post(name);
        EXPECT_EQ(outline().numberOfRows(), before + 1) << qPrintable(name);
    }

    // A new title for every row: rows are made afresh.
    auto* row = dynamic_cast<QVHoverRowView*>(outline().rowViewAtRow(1, true));
    ASSERT_TRUE(row);
    row->setIsHighlighted(true);
    WIUserDefaults::standardUserDefaults().setShowExtensions(true);
    EXPECT_EQ(outline().rowViewAtRow(1, false), nullptr);

    showBar();
    NotificationCenter::defaultCenter().post("hideWindow");
    EXPECT_FALSE(bar->window()->isVisible());
}

TEST_F(BarContents, RestingOnAFolderOpensItsPopupBesideTheRow) {
    QVFilePtr projects = shortcutTo(folder.makeFolder("Projects"));
    auto swatch = std::make_shared<QVColorFile>();
    swatch->setColor(MWColor::rgb(0, 0, 1, 1));
    makeBar({groupNamed("G", {projects, file("plain.txt"), swatch})});
    showBar();

    movePointerOverRow(1);
    clock.advance(0.29);
    EXPECT_TRUE(bar->popups->opened.isEmpty()) << "the pointer must rest 0.3 s";
    clock.advance(0.02);
    ASSERT_EQ(bar->popups->opened, QStringList{"folder " + projects->path()});
    QVPopupWindowController* popup = bar->fileListWindowController();
    ASSERT_TRUE(popup);
    const QRect row = outline().rectOfRow(1);
    const QPoint anchor = outline().mapToGlobal(QPoint(row.x() - 120, row.y() + row.height()));
    EXPECT_EQ(popup->anchorPoint(), anchor);
    EXPECT_EQ(popup->windowPosition(), QVPopupWindowController::LeftOfAnchor);
    EXPECT_EQ(popup->window()->geometry().right() + 1, barFrame().left() + row.x());
    EXPECT_EQ(popup->window()->geometry().bottom() + 1, anchor.y());
    EXPECT_EQ(popup->parentWindowController(), bar.get());
    EXPECT_FALSE(bar->canHide()) << "an open popup holds the bar";
    auto* highlighted = dynamic_cast<QVHoverRowView*>(outline().rowViewAtRow(1, false));
    ASSERT_TRUE(highlighted);
    EXPECT_TRUE(highlighted->isHighlighted());
    EXPECT_EQ(outline().hoveredRow(), 1);

    movePointerOverRow(2);
    clock.advance(0.3);
    EXPECT_EQ(bar->popups->cancels, 1);
    EXPECT_EQ(bar->popups->hides, 1);
    EXPECT_FALSE(bar->fileListWindowController());
    EXPECT_EQ(bar->popups->opened.size(), 1) << "a plain file opens nothing";

    movePointerOverRow(3);
    clock.advance(0.3);
    EXPECT_EQ(bar->popups->opened.last(), "colour #0000FF");
    EXPECT_TRUE(bar->colorExportWindowController());
    NotificationCenter::defaultCenter().post("hideFileMenus");
    EXPECT_FALSE(bar->colorExportWindowController());
    EXPECT_EQ(outline().hoveredRow(), -1);

    // Nothing opens while the Manage window exists, over a group, or once hiding began.
    auto manage = MWWindowController::controller<MWWindowController>();
    bar->setPreferencesWindowController(manage.get());
    movePointerOverRow(1);
    clock.advance(0.3);
    bar->setPreferencesWindowController(nullptr);
    movePointerOverRow(0);
    clock.advance(0.3);
    bar->windowWillHideAnimated(false);
    bar->outlineViewDidHoverItem(&outline(), outline().itemAtRow(1));
    EXPECT_EQ(bar->popups->opened.size(), 2);
}

TEST_F(BarContents, KeysEscapeToggleRightArrowOpensReturnActs) {
    QVFilePtr projects = shortcutTo(folder.makeFolder("Projects"));
    makeBar({groupNamed("G", {projects, file("plain.txt")})});
    showBar();
    QWindow* window = bar->window()->windowHandle();
    ASSERT_TRUE(window);

    outline().selectRow(2);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_TRUE(bar->popups->opened.isEmpty()) << "a plain file has no popup";
    outline().selectRow(1);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(bar->popups->opened.size(), 1);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(bar->popups->opened.size(), 1) << "not while a popup is open";
    bar->resetFileWindow();

    QSignalSpy acted(&outline(), &QVOutlineView::doubleAction);
    struct KeyCase {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int acts;
    };
    for (const KeyCase& c : std::vector<KeyCase>{{Qt::Key_Return, Qt::NoModifier, 1},
                                                 {Qt::Key_Enter, Qt::KeypadModifier, 1},
                                                 {Qt::Key_Space, Qt::NoModifier, 0}}) {
        acted.clear();
        QTest::keyClick(&outline(), c.key, c.modifiers);
        EXPECT_EQ(acted.size(), c.acts) << c.key;
    }

    // Keys carry on from the row under the pointer.
    outline().selectRow(1);
    outline().setHoveredRow(2);
    QTest::keyClick(&outline(), Qt::Key_Up);
    EXPECT_EQ(outline().selectedRows(), std::vector<int>{1});
    EXPECT_EQ(outline().hoveredRow(), -1);

    QTest::keyClick(window, Qt::Key_Escape);
    clock.advance(0.3);
    EXPECT_FALSE(bar->window()->isVisible()) << "Escape acts as a click on the icon";
    clock.advance(1);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(bar->window()->isVisible());
}

TEST_F(BarContents, TheAppearanceRestylesAtOnce) {
    bool dark = false;
    makeBar({groupNamed("G", {file("a")})});
    bar->setDarkModeSource([&dark] { return dark; });
    EXPECT_EQ(bar->contentView()->backgroundColor(), QColor(Qt::white));
    dark = true;
    Q_EMIT Appearance::shared().interfaceStyleChanged();
    const QColor darkGrey = QColor::fromRgbF(0.1f, 0.1f, 0.1f);
    EXPECT_EQ(bar->contentView()->backgroundColor(), darkGrey);
    for (QWidget* arrow : {bar->upArrowWindow(), bar->downArrowWindow()})
        EXPECT_EQ(arrow->findChild<MWView*>("contentView")->backgroundColor(), darkGrey);
    EXPECT_EQ(bar->downArrowWindow()->findChild<MWView*>("contentView")->roundedCorners(),
              MWView::AllCorners);
    QPixmap darkSettings(":/images/icon-settings-dark.png");
    darkSettings.setDevicePixelRatio(2);
    EXPECT_EQ(bar->settingsButton()->icon().pixmap(16).toImage(),
              QIcon(darkSettings).pixmap(16).toImage());
}

TEST(BarRows, HoverHighlightAndSelectionFills) {
    const QColor blue = QColor::fromRgbF(0.2199f, 0.4789f, 0.9542f);
    auto withAlpha = [](QColor color, double alpha) {
        color.setAlphaF(float(alpha));
        return color;
    };
    struct Case {
        const char* what;
        bool hover, highlight, select;
        std::optional<QColor> background;
    };
    const std::vector<Case> cases = {
        {"idle", false, false, false, std::nullopt},
        {"hovered", true, false, false, withAlpha(blue, 0.2)},
        {"highlighted", false, true, false, withAlpha(blue, 0.4)},
        {"both", true, true, false, withAlpha(blue, 0.4)},
        {"selected clears the hover", true, false, true, std::nullopt},
    };
    for (const Case& c : cases) {
        QVHoverRowView row;
        row.setIsHovered(c.hover);
        row.setIsHighlighted(c.highlight);
        row.setSelected(c.select);
        EXPECT_EQ(row.backgroundFill(), c.background) << c.what;
        EXPECT_EQ(row.selectionFill(false).has_value(), c.select) << c.what;
    }
    QVHoverRowView selected;
    selected.setSelected(true);
    selected.setIsHovered(true);
    selected.setIsHighlighted(true);
    EXPECT_FALSE(selected.isHovered()) << "a selected row takes no hover";
    EXPECT_FALSE(selected.isHighlighted());
    EXPECT_EQ(selected.interiorBackgroundStyle(), 1);
    for (bool dark : {false, true})
        EXPECT_EQ(selected.selectionFill(dark), blue) << dark;
    EXPECT_EQ(QVTableRowView().backgroundFill(), std::nullopt);
}

TEST(BarRows, CellTextTurnsWhiteOnASelectedRowAndComesBack) {
    MWTableCellView cell("Cell");
    auto* extra = new QLabel(&cell);
    MWTableCellView::setTextColor(cell.textField(), QColor(10, 20, 30));
    MWTableCellView::setTextColor(extra, QColor(200, 0, 0));
    cell.awakeFromNib();
    cell.setBackgroundStyle(MWTableCellView::Dark);
    EXPECT_EQ(MWTableCellView::textColor(cell.textField()), QColor(Qt::white));
    EXPECT_EQ(MWTableCellView::textColor(extra), QColor(Qt::white));
    cell.setBackgroundStyle(MWTableCellView::Light);
    EXPECT_EQ(MWTableCellView::textColor(cell.textField()), QColor(10, 20, 30));
    EXPECT_EQ(MWTableCellView::textColor(extra), QColor(200, 0, 0));
}

} // namespace
