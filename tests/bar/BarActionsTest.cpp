#include "app/WIUserDefaults.h"
#include "bar/QVBookmarksWindowController.h"
#include "library/QVColorFile.h"
#include "library/QVGroupManager.h"
#include "library/QVTextSnippetFile.h"
#include "platform/Alert.h"
#include "platform/Applications.h"
#include "platform/FileViewer.h"
#include "platform/NotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/Workspace.h"
#include "support/LibraryFixtures.h"
#include "support/ManualScheduler.h"
#include "support/SnippetFolder.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMenu>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

using namespace TestSupport;

namespace {

// The desktop's applications as the test lays them out; records every launch.
class FakeApplications : public Applications {
public:
    struct Launch {
        QUrl application;
        std::vector<QUrl> documents;
    };
    std::map<QUrl, QUrl> defaults; // location -> its application
    std::vector<QUrl> all;         // what any location can be opened with
    QUrl fileManager = QUrl::fromLocalFile(QStringLiteral("/apps/org.files.desktop"));
    qint64 nextPid = 4242;
    std::vector<Launch> launches;
    std::vector<qint64> activated;

    FakeApplications() { Applications::setShared(this); }
    ~FakeApplications() override { Applications::setShared(nullptr); }

    QUrl applicationToOpen(const QUrl& url) const override {
        auto found = defaults.find(url);
        return found == defaults.end() ? QUrl() : found->second;
    }
    std::vector<QUrl> applicationsToOpen(const QUrl&) const override { return all; }
    bool isFileManager(const QUrl& application) const override {
        return application == fileManager;
    }
    qint64 launch(const QUrl& application, const std::vector<QUrl>& documents) override {
        launches.push_back({application, documents});
        return nextPid;
    }
    void activate(qint64 pid) override { activated.push_back(pid); }
    QIcon icon(const QUrl&) const override {
        QPixmap square(64, 64);
        square.fill(Qt::red);
        return QIcon(square);
    }
};

class ActingBar : public QVBookmarksWindowController {
public:
    std::vector<std::vector<QVTextSnippetFilePtr>> handedSnippets;
    int hides = 0;
    int panels = 0;
    bool couldHideDuringPanel = true;
    std::optional<QUrl> panelAnswer;
    bool copySnippets = false; // hand them on to the copier
    bool realPanel = false;

    void handleTextSnippets(const std::vector<QVTextSnippetFilePtr>& snippets) override {
        handedSnippets.push_back(snippets);
        if (copySnippets)
            QVBookmarksWindowController::handleTextSnippets(snippets);
    }
    void windowWillHideAnimated(bool animated) override {
        ++hides;
        QVBookmarksWindowController::windowWillHideAnimated(animated);
    }

protected:
    int visibleScreenHeight() const override { return 700; }
    std::optional<QUrl> runAliasPanel() override {
        ++panels;
        couldHideDuringPanel = STDockableWindowController::canHide();
        return realPanel ? QVBookmarksWindowController::runAliasPanel() : panelAnswer;
    }
};

class BarActions : public testing::Test {
protected:
    void SetUp() override {
        saved_ = QVGroupManager::sharedInstance().groups();
        clock.advance(10);
        Workspace::setOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        FileViewer::setRevealer([this](const QList<QUrl>& urls) { revealed.append(urls); });
    }
    void TearDown() override {
        bar.reset();
        Workspace::setOpener({});
        FileViewer::setRevealer({});
        defaults().setClickAction(0);
        QVGroupManager::sharedInstance().updateGroups(saved_);
        QVGroupManager::sharedInstance().saveSilently(true);
    }
    static WIUserDefaults& defaults() { return WIUserDefaults::standardUserDefaults(); }

    // The bar, shown, with one group of `files` (row 0 is the group).
    void showBar(std::vector<QVFilePtr> files) {
        group = groupNamed(QStringLiteral("Things"), std::move(files));
        QVGroupManager::sharedInstance().updateGroups({group});
        bar = std::make_unique<ActingBar>();
        bar->window();
        bar->actuallyShowWindow(false);
        // Past the quiet time of the group's opening at load.
        clock.advance(QVBookmarksWindowController::ignoreDoubleClickSeconds);
    }
    QVOutlineView& outline() { return *bar->outlineView(); }
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(
            outline().viewport(), Qt::LeftButton, modifiers,
            outline().viewport()->mapFrom(&outline(), outline().rectOfRow(row).center()));
    }
    void pressReturn() { QTest::keyClick(&outline(), Qt::Key_Return); }

    QVFilePtr document(const QString& name) { return shortcutTo(folder.write(name)); }
    QVFilePtr application(const QString& name) {
        return shortcutTo(folder.write(name + QStringLiteral(".desktop"),
                                       "[Desktop Entry]\nType=Application\nExec=true\n"));
    }
    QVFilePtr alias() {
        QVFilePtr made =
            shortcutTo(folder.link(QStringLiteral("alias"), folder.write("target.txt")));
        EXPECT_TRUE(made->isAlias());
        return made;
    }
    QVFilePtr broken() {
        QVFilePtr made = document(QStringLiteral("gone.txt"));
        QFile::remove(made->path());
        made->updateURL();
        EXPECT_TRUE(made->hasError());
        return made;
    }
    QVFilePtr swatch() {
        auto made = std::make_shared<QVColorFile>();
        made->setUrl(QUrl::fromLocalFile(folder.write("red.color")));
        made->setColor(MWColor::rgb(1, 0, 0, 1));
        return made;
    }
    QVFilePtr webBookmark(const QString& location, const QByteArray& extra = {}) {
        return shortcutTo(
            folder.write(QStringLiteral("site %1.webloc").arg(++webCount),
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                         "<key>URL</key><string>" +
                             location.toUtf8() + "</string>" + extra + "</dict></plist>"));
    }
    // Who opened what: launches by application file name, then opened URLs.
    QStringList launchedNames() const {
        QStringList names;
        for (const auto& launch : apps.launches) {
            QString name = launch.application.fileName();
            for (const QUrl& document : launch.documents)
                name += QStringLiteral(" ") + document.fileName();
            names.append(name);
        }
        return names;
    }

    ManualScheduler clock;
    FakeApplications apps;
    Folder folder;
    SnippetFolder snippets;
    QVGroupPtr group;
    std::unique_ptr<ActingBar> bar;
    QList<QUrl> opened;
    QList<QUrl> revealed;
    int webCount = 0;

private:
    std::vector<QVGroupPtr> saved_;
};

TEST(BarSelection, OnlyPlainSelectionChangesOpen) {
    struct Case {
        const char* what;
        QEvent::Type type;
        Qt::KeyboardModifiers modifiers;
        int key;
        bool opens;
    };
    const std::vector<Case> cases = {
        {"a plain click", QEvent::MouseButtonPress, Qt::NoModifier, 0, true},
        {"Shift-click", QEvent::MouseButtonPress, Qt::ShiftModifier, 0, false},
        {"Ctrl-click", QEvent::MouseButtonRelease, Qt::ControlModifier, 0, false},
        {"Shift and Ctrl together", QEvent::MouseButtonPress,
         Qt::ShiftModifier | Qt::ControlModifier, 0, true},
        {"Alt-click", QEvent::MouseButtonPress, Qt::AltModifier, 0, true},
        {"Down Arrow", QEvent::KeyPress, Qt::KeypadModifier, Qt::Key_Down, false},
        {"Up Arrow released", QEvent::KeyRelease, Qt::KeypadModifier, Qt::Key_Up, false},
        {"Shift-Down Arrow", QEvent::KeyPress, Qt::ShiftModifier, Qt::Key_Down, false},
        {"another key", QEvent::KeyPress, Qt::NoModifier, Qt::Key_A, true},
        {"a change outside of any event", QEvent::None, Qt::NoModifier, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QVBookmarksWindowController::opensOnSelection({c.type, c.modifiers, c.key}),
                  c.opens)
            << c.what;
}

TEST_F(BarActions, AClickOpensAtOnceWhileModifiedClicksAndArrowsOnlySelect) {
    showBar({document("a.txt"), document("b.txt"), document("c.txt")});
    const QUrl editor = QUrl::fromLocalFile(QStringLiteral("/apps/editor.desktop"));
    for (const QVFilePtr& file : group->files())
        apps.defaults[file->url()] = editor;

    click(1, Qt::ShiftModifier);
    click(3, Qt::ControlModifier);
    EXPECT_EQ(outline().selectedRows(), (std::vector<int>{1, 3}));
    EXPECT_TRUE(apps.launches.empty());
    pressReturn();
    EXPECT_EQ(launchedNames(), (QStringList{"editor.desktop a.txt", "editor.desktop c.txt"}))
        << "Return opens the selection in row order, each document launched once with its file";
    EXPECT_EQ(bar->hides, 1);

    apps.launches.clear();
    bar->actuallyShowWindow(false);
    outline().setFocus();
    QTest::keyClick(&outline(), Qt::Key_Up);
    EXPECT_EQ(outline().selectedRows(), std::vector<int>{2});
    QTest::keyClick(&outline(), Qt::Key_Down);
    EXPECT_EQ(outline().selectedRows(), std::vector<int>{3});
    EXPECT_TRUE(apps.launches.empty()) << "arrows move the selection without opening";

    outline().clearSelection();
    click(2);
    EXPECT_EQ(launchedNames(), QStringList{"editor.desktop b.txt"});
}

TEST_F(BarActions, AClickRightAfterAGroupOpensOrClosesOpensNothing) {
    showBar({document("a.txt")});
    bar->toggleGroup(group);
    bar->toggleGroup(group);
    click(1);
    EXPECT_TRUE(opened.isEmpty());
    outline().clearSelection();
    clock.advance(QVBookmarksWindowController::ignoreDoubleClickSeconds);
    click(1);
    EXPECT_EQ(opened, QList<QUrl>{group->files()[0]->url()})
        << "without an application, the default handling";
}

TEST_F(BarActions, TheWalkStopsAtTheFirstAliasAndSkipsWhatCannotOpen) {
    struct Case {
        const char* what;
        std::function<std::vector<QVFilePtr>()> files;
        qint64 clickAction;
        QStringList launched;
        int revealedCount;
        int snippetCalls;
        int panels;
        int hides;
    };
    auto doc = [this] { return document(QStringLiteral("doc.txt")); };
    auto app = [this] { return application(QStringLiteral("tool")); };
    auto snip = [this] { return QVFilePtr(snippets.snippet(QStringLiteral("hello"))); };
    const std::vector<Case> cases = {
        {"alias first: only the panel",
         [&] {
             return std::vector{alias(), doc(), app()};
         },
         0,
         {},
         0,
         0,
         1,
         0},
        {"alias last: the others open first",
         [&] {
             return std::vector{doc(), app(), alias()};
         },
         0,
         {"editor.desktop doc.txt", "tool.desktop"},
         0,
         0,
         1,
         0},
        {"only swatches",
         [&] {
             return std::vector{swatch(), swatch()};
         },
         0,
         {},
         0,
         0,
         0,
         0},
        {"only broken shortcuts",
         [&] {
             return std::vector{broken(), broken()};
         },
         0,
         {},
         0,
         0,
         0,
         0},
        {"a snippet and a document",
         [&] {
             return std::vector{snip(), doc()};
         },
         0,
         {"editor.desktop doc.txt"},
         0,
         1,
         0,
         1},
        {"reveal: application and document",
         [&] {
             return std::vector{app(), doc()};
         },
         1,
         {},
         2,
         0,
         0,
         1},
        {"another action: nothing opens, the bar hides",
         [&] {
             return std::vector{app(), doc()};
         },
         2,
         {},
         0,
         0,
         0,
         1},
        {"another action still hands snippets and asks for aliases",
         [&] {
             return std::vector{snip(), alias()};
         },
         2,
         {},
         0,
         1,
         1,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        apps.launches.clear();
        revealed.clear();
        const std::vector<QVFilePtr> files = c.files();
        for (const QVFilePtr& file : files) {
            if (file->name() == u"doc.txt")
                apps.defaults[file->url()] = QUrl::fromLocalFile("/apps/editor.desktop");
        }
        defaults().setClickAction(c.clickAction);
        showBar(files);
        for (int row = 1; row <= int(files.size()); ++row)
            click(row, Qt::ControlModifier);
        ASSERT_EQ(outline().selectedRows().size(), files.size());
        pressReturn();
        EXPECT_EQ(launchedNames(), c.launched);
        EXPECT_EQ(revealed.size(), c.revealedCount);
        EXPECT_EQ(int(bar->handedSnippets.size()), c.snippetCalls);
        EXPECT_EQ(bar->panels, c.panels);
        EXPECT_EQ(bar->hides, c.hides);
        EXPECT_TRUE(opened.isEmpty());
    }
}

TEST_F(BarActions, OpeningOneShortcutByKind) {
    const QUrl editor = QUrl::fromLocalFile(QStringLiteral("/apps/editor.desktop"));
    struct Case {
        const char* what;
        std::function<QVFilePtr()> file;
        std::function<void(const QVFilePtr&)> arrange;
        QStringList launched;
        QStringList opened; // what the default handling got
    };
    const std::vector<Case> cases = {
        {"a document with an application: launched once with it",
         [&] { return document("notes.txt"); },
         [&](const QVFilePtr& f) { apps.defaults[f->url()] = editor; },
         {"editor.desktop notes.txt"},
         {}},
        {"a document nothing opens: the default handling",
         [&] { return document("blob.xyz"); },
         [](const QVFilePtr&) {},
         {},
         {"blob.xyz"}},
        {"a folder: the file manager",
         [&] { return shortcutTo(folder.makeFolder("Projects")); },
         [&](const QVFilePtr& f) { apps.defaults[f->url()] = apps.fileManager; },
         {},
         {"Projects"}},
        {"a web bookmark: its location in the browser",
         [&] { return webBookmark("https://example.org/page"); },
         [&](const QVFilePtr& f) { apps.defaults[f->url()] = editor; },
         {},
         {"https://example.org/page"}},
        {"a web bookmark whose location is no URL opens nothing",
         [&] { return webBookmark("ht tp://bad url"); },
         [](const QVFilePtr&) {},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        apps.launches.clear();
        opened.clear();
        const QVFilePtr file = c.file();
        c.arrange(file);
        showBar({file});
        click(1);
        EXPECT_EQ(launchedNames(), c.launched);
        QStringList openedNames;
        for (const QUrl& url : opened)
            openedNames.append(url.isLocalFile() ? url.fileName() : url.toString());
        EXPECT_EQ(openedNames, c.opened);
    }
}

TEST_F(BarActions, AnApplicationIsRaisedAFifthOfASecondAfterItStarted) {
    showBar({application("tool"), application("other")});
    click(1);
    ASSERT_EQ(launchedNames(), QStringList{"tool.desktop"});
    clock.advance(0.19);
    EXPECT_TRUE(apps.activated.empty());
    clock.advance(0.01);
    EXPECT_EQ(apps.activated, std::vector<qint64>{4242});

    apps.nextPid = 0; // started with nothing to tell it apart
    bar->actuallyShowWindow(false);
    click(2);
    clock.advance(1);
    EXPECT_EQ(apps.activated.size(), 1u);
}

TEST_F(BarActions, AnAliasPanelHoldsTheBarAndAnOkayPointsTheShortcutAtTheTarget) {
    QVFilePtr link = alias();
    const QUrl target = link->aliasDestinationURL();
    showBar({link});
    click(1);
    EXPECT_EQ(bar->panels, 1);
    EXPECT_FALSE(bar->couldHideDuringPanel);
    EXPECT_TRUE(bar->STDockableWindowController::canHide());
    EXPECT_EQ(bar->aliasDestinationURL(), target);
    EXPECT_TRUE(link->isAlias()) << "a cancelled panel changes nothing";

    EXPECT_TRUE(bar->panelShouldEnableURL(target));
    EXPECT_FALSE(bar->panelShouldEnableURL(QUrl::fromLocalFile(folder.path())));
    EXPECT_FALSE(bar->panelShouldEnableURL(QUrl::fromLocalFile(folder.write("other.txt"))));

    bar->panelAnswer = target;
    outline().clearSelection();
    click(1);
    EXPECT_EQ(link->url(), target);
    EXPECT_FALSE(link->isAlias());
}

TEST_F(BarActions, TheAccessPanelOffersTheAliasTargetAlone) {
    QVFilePtr link = alias();
    const QUrl target = link->aliasDestinationURL();
    folder.write("sibling.txt");
    showBar({link});
    bar->realPanel = true;
    QStringList shown;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(panel, nullptr);
        title = panel->windowTitle();
        auto* proxy = panel->proxyModel();
        auto* files = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
        QModelIndex here;
        processEventsUntil([&] {
            here = proxy->mapFromSource(files->index(folder.path()));
            return here.isValid() && proxy->rowCount(here) > 0;
        });
        processEventsFor(100); // the rest of the folder's entries, if any were let through
        here = proxy->mapFromSource(files->index(folder.path()));
        for (int row = 0; row < proxy->rowCount(here); ++row)
            shown.append(proxy->index(row, 0, here).data().toString());
        static_cast<QDialog*>(panel)->accept(); // QFileDialog's own checks what was chosen
    });
    click(1);
    EXPECT_EQ(title, QVBookmarksWindowController::aliasPanelMessage);
    EXPECT_EQ(shown, QStringList{"target.txt"}) << "the alias and its sibling are not offered";
    EXPECT_FALSE(bar->couldHideDuringPanel);
    EXPECT_EQ(link->url(), target);
}

TEST_F(BarActions, ASnippetIsCopiedAndTheBarHides) {
    const bool pastes = defaults().pasteDirectly();
    const bool notifies = defaults().showCopiedNotification();
    defaults().setPasteDirectly(false);
    defaults().setShowCopiedNotification(false);
    showBar({snippets.snippet("some text")});
    bar->copySnippets = true;
    click(1);
    EXPECT_EQ(QApplication::clipboard()->text(), "some text");
    EXPECT_EQ(bar->hides, 1);
    defaults().setPasteDirectly(pastes);
    defaults().setShowCopiedNotification(notifies);
}

TEST_F(BarActions, TheRowMenuHidesWhatTheShortcutCannotDo) {
    struct Case {
        const char* what;
        std::function<QVFilePtr()> file;
        bool openWithShown;
        bool revealShown;
        bool filled;
    };
    const std::vector<Case> cases = {
        {"a document", [&] { return document("a.txt"); }, true, true, true},
        {"a web bookmark", [&] { return webBookmark("https://example.org/"); }, false, true, true},
        {"a snippet", [&] { return QVFilePtr(snippets.snippet("x")); }, false, true, true},
        {"a swatch", [&] { return swatch(); }, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        showBar({c.file()});
        EXPECT_EQ(outline().menuForEvent(outline().rectOfRow(0).center()), nullptr)
            << "group rows have no menu";
        EXPECT_EQ(outline().menuForEvent(QPoint(5, outline().bottomOfLastRow() + 5)), nullptr);
        ASSERT_EQ(outline().menuForEvent(outline().rectOfRow(1).center()), bar->contextMenu());
        bar->openWithMenu()->addAction(QStringLiteral("left over"));
        bar->menuNeedsUpdate();
        std::map<int, bool> shown;
        for (QAction* item : bar->contextMenu()->actions())
            if (item->data().isValid())
                shown[item->data().toInt()] = item->isVisible();
        EXPECT_EQ(shown[1000], c.openWithShown);
        EXPECT_EQ(shown[1001], c.revealShown);
        EXPECT_EQ(bar->openWithMenu()->actions().isEmpty(), !c.filled);
        outline().menuDidClose();
    }
}

TEST_F(BarActions, OpenWithListsTheApplicationsByFileNameAndOpensWithTheChosenOne) {
    QVFilePtr file = document("a.txt");
    showBar({file});
    QMenu menu;
    bar->openWithMenuForItem(file, &menu);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), QStringLiteral("<None>"));
    EXPECT_FALSE(menu.actions()[0]->isEnabled());

    for (const char* path : {"/usr/share/applications/zed.desktop", "/opt/Beta.desktop",
                             "/usr/share/applications/alpha.desktop"})
        apps.all.push_back(QUrl::fromLocalFile(QString::fromLatin1(path)));
    bar->openWithMenuForItem(file, &menu);
    QStringList titles;
    for (QAction* item : menu.actions())
        titles.append(item->text());
    EXPECT_EQ(titles, (QStringList{"alpha.desktop", "Beta.desktop", "zed.desktop"}));
    QAction* beta = menu.actions()[1];
    EXPECT_EQ(beta->toolTip(), QStringLiteral("/opt/Beta.desktop"));
    EXPECT_EQ(beta->icon().availableSizes(), QList<QSize>{QSize(16, 16)});

    beta->trigger();
    EXPECT_EQ(launchedNames(), QStringList{"Beta.desktop a.txt"});
    EXPECT_EQ(bar->hides, 0) << "the bar stays open";
}

TEST_F(BarActions, DraggingOutWritesEachKindInItsTypes) {
    const QString cr(QChar(0x0D));
    const QByteArray named = "<key>urlName</key><string>Example</string>";
    struct Case {
        const char* what;
        std::function<std::vector<QVFilePtr>()> files;
        bool drags;
        QStringList webURLs;
        QString plainText;
        QStringList filePaths; // file names of the uri-list
    };
    const std::vector<Case> cases = {
        {"group rows carry nothing", [] { return std::vector<QVFilePtr>{}; }, false, {}, {}, {}},
        {"a web bookmark that does not parse goes as its file",
         [&] { return std::vector{shortcutTo(folder.write("bad.webloc", "not a property list"))}; },
         true,
         {},
         folder.file("bad.webloc"),
         {"bad.webloc"}},
        {"a web bookmark",
         [&] { return std::vector{webBookmark("https://a.org/", named)}; },
         true,
         {"https://a.org/"},
         "https://a.org/",
         {}},
        {"two bookmarks join by carriage return",
         [&] {
             return std::vector{webBookmark("https://a.org/", named),
                                webBookmark("https://b.org/", named)};
         },
         true,
         {"https://a.org/", "https://b.org/"},
         "https://a.org/" + cr + "https://b.org/",
         {}},
        {"a bookmark and a snippet: the snippet's text is the string",
         [&] {
             return std::vector<QVFilePtr>{webBookmark("https://a.org/", named),
                                           snippets.snippet("hello")};
         },
         true,
         {"https://a.org/"},
         "hello",
         {"snippet 1.txt"}},
        {"documents: paths as the string",
         [&] {
             return std::vector{document("a.txt"), document("b.txt")};
         },
         true,
         {},
         folder.file("a.txt") + cr + folder.file("b.txt"),
         {"a.txt", "b.txt"}},
        {"a swatch gives its colour",
         [&] { return std::vector{swatch()}; },
         true,
         {},
         "#FF0000",
         {"red.color"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<QVOutlineItem> items{{group, {}}};
        for (const QVFilePtr& file : c.files())
            items.push_back({group, file});
        QMimeData data;
        data.setData("stale/type", "x");
        ASSERT_EQ(QVBookmarksWindowController::writeItemsToPasteboard(items, data), c.drags);
        if (!c.drags)
            continue;
        EXPECT_FALSE(data.hasFormat("stale/type"));
        EXPECT_EQ(QString::fromUtf8(data.data("text/plain;charset=utf-8")), c.plainText);
        EXPECT_EQ(data.data("text/plain"), data.data("text/plain;charset=utf-8"));
        QStringList fileNames;
        for (const QUrl& url : data.urls())
            fileNames.append(url.fileName());
        EXPECT_EQ(fileNames, c.filePaths);
        if (c.webURLs.isEmpty()) {
            EXPECT_FALSE(data.hasFormat("application/x-quiverlane-web-urls-with-titles"));
            continue;
        }
        const std::optional<QVariant> withTitles =
            PropertyList::parseValue(data.data("application/x-quiverlane-web-urls-with-titles"));
        ASSERT_TRUE(withTitles);
        const QVariantList lists = withTitles->toList();
        ASSERT_EQ(lists.size(), 2);
        EXPECT_EQ(lists[0].toStringList(), c.webURLs);
        EXPECT_EQ(lists[1].toStringList(), QStringList(c.webURLs.size(), "Example"));
        EXPECT_EQ(
            PropertyList::parseValue(data.data("application/x-quiverlane-urls"))->toStringList(),
            c.webURLs);
        EXPECT_EQ(data.data("application/x-quiverlane-public-url"), c.webURLs[0].toUtf8());
        EXPECT_EQ(data.data("application/x-quiverlane-public-url-name"), "Example");
        const QStringList order = data.formats();
        EXPECT_EQ(order.mid(0, 6),
                  (QStringList{"application/x-quiverlane-web-urls-with-titles",
                               "application/x-quiverlane-urls", "text/plain",
                               "text/plain;charset=utf-8", "application/x-quiverlane-public-url",
                               "application/x-quiverlane-public-url-name"}));
    }
}

TEST_F(BarActions, TheSettingsMenuCommands) {
    showBar({document("a.txt")});
    QStringList titles;
    for (QAction* item : bar->settingsMenu()->actions())
        titles.append(item->text());
    for (const char* title : {"More Apps...", "Send Feedback", "Quit Quiverlane"})
        EXPECT_TRUE(titles.contains(title)) << title;
    EXPECT_EQ(bar->joinMailingListItem()->text(), "More Apps...");
    EXPECT_EQ(bar->rateAppItem()->text(), "Send Feedback");

    QStringList posted;
    QObject context;
    for (const char* name : {"Notification.openEdit", "Notification.openPreferences"})
        NotificationCenter::defaultCenter().addObserver(
            &context, name, [&posted](const Notification& note) { posted.append(note.name); });
    bar->openEdit();
    bar->openSettings();
    EXPECT_EQ(posted, (QStringList{"Notification.openEdit", "Notification.openPreferences"}));

    bar->openCustomerSupport();
    bar->joinMailingListItem()->trigger();
    EXPECT_EQ(opened, (QList<QUrl>{QVBookmarksWindowController::supportPage,
                                   QVBookmarksWindowController::moreAppsPage}));

    auto holdsTheBarHalfASecond = [this](const std::function<void()>& command) {
        command();
        EXPECT_FALSE(bar->STDockableWindowController::canHide());
        clock.advance(0.49);
        EXPECT_FALSE(bar->STDockableWindowController::canHide());
        clock.advance(0.01);
        EXPECT_TRUE(bar->STDockableWindowController::canHide());
    };
    holdsTheBarHalfASecond([this] { bar->rateAppItem()->trigger(); });
    EXPECT_EQ(opened.back(), QVBookmarksWindowController::feedbackPage);
    QString asked;
    Alert::setResponder([&asked](const AlertRequest& request) {
        asked = request.messageText;
        return 0;
    });
    holdsTheBarHalfASecond([this] { bar->checkForUpdates(); });
    Alert::setResponder({});
    EXPECT_TRUE(asked.contains("package manager"));
}

} // namespace
