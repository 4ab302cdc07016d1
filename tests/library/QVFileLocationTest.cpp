#include "library/LocalFiles.h"
#include "library/QVFile.h"
#include "platform/Bookmark.h"
#include "platform/FileIcons.h"
#include "platform/KeyedArchive.h"
#include "platform/NotificationCenter.h"
#include "platform/SecurityScope.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

// Counts "Notification.QVFileDidChange" for one shortcut.
class ChangeCounter : public QObject {
public:
    explicit ChangeCounter(const QVFilePtr& file) {
        NotificationCenter::defaultCenter().addObserver(
            this, QVFile::didChangeNotification, [this](const Notification&) { ++count; },
            file.get());
    }
    int count = 0;
};

QVFilePtr roundTrip(const QVFilePtr& file) {
    return unarchiveShortcut(KeyedArchiver::archivedData(*file, ArchiveFormat::Binary));
}

bool showsCaution(const QVFilePtr& file) {
    return file->image().cacheKey() == FileIcons::cautionIcon().cacheKey() ||
           file->image().name() == FileIcons::cautionIcon().name();
}

TEST(QVFileAlias, ALinkPointsTheShortcutAtItsDestination) {
    Folder folder;
    const QString target = folder.write("real/Notes.txt");
    folder.link("hop2", target);
    const QString link = folder.link("Notes alias", folder.file("hop2"));
    QVFilePtr file = shortcutTo(link);
    EXPECT_TRUE(file->isAlias());
    EXPECT_EQ(file->aliasDestinationURL(), QUrl::fromLocalFile(target));
    EXPECT_EQ(file->url(), QUrl::fromLocalFile(target));
    EXPECT_EQ(file->name(), "Notes.txt");
    EXPECT_FALSE(file->hasError());
    EXPECT_EQ(Bookmark::recordedPath(file->bookmarkData()), target);

    // Pointed again with the alias check at a plain file, it is no alias any more.
    file->setUrl(QUrl::fromLocalFile(target));
    EXPECT_FALSE(file->isAlias());
    EXPECT_TRUE(file->aliasDestinationURL().isEmpty());
}

TEST(QVFileAlias, LoopsAndDanglingLinksAreErrors) {
    Folder folder;
    folder.link("a", folder.file("b"));
    folder.link("b", folder.file("a"));
    const QString dangling = folder.link("gone", folder.file("nothing-here"));
    for (const QString& path : {folder.file("a"), dangling}) {
        QVFilePtr file = shortcutTo(path);
        EXPECT_TRUE(file->hasError()) << path.toStdString();
        EXPECT_EQ(file->errorMessage(), "Could not resolve alias destination. Please try again.");
        EXPECT_FALSE(file->isAlias());
        EXPECT_TRUE(showsCaution(file));
    }
}

TEST(QVFileBookmark, ADecodedShortcutFindsItsFileAgain) {
    Folder folder;
    QVFilePtr original = shortcutTo(folder.write("Report.pdf"));
    original->setDisplayName("Quarterly");
    QVFilePtr decoded = roundTrip(original);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->url(), original->url());
    EXPECT_EQ(decoded->displayName(), "Quarterly");
    EXPECT_EQ(decoded->lastKnownPath(), folder.file("Report.pdf"));
    EXPECT_FALSE(decoded->hasError());
    EXPECT_EQ(decoded->bookmarkData(), original->bookmarkData()) << "a fresh bookmark is kept";
}

TEST(QVFileBookmark, AFileDeletedWhileAwayShowsTheCautionIconAndKeepsItsName) {
    Folder folder;
    QVFilePtr original = shortcutTo(folder.write("Gone.txt"));
    const QByteArray archived = KeyedArchiver::archivedData(*original, ArchiveFormat::Binary);
    original.reset();
    QFile::remove(folder.file("Gone.txt"));
    auto decoded = unarchiveShortcut(archived);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->hasError());
    EXPECT_TRUE(decoded->url().isEmpty());
    EXPECT_EQ(decoded->name(), "Gone.txt");
    EXPECT_EQ(decoded->title(false), "Gone");
    EXPECT_TRUE(showsCaution(decoded));
}

TEST(QVFileBookmark, AFileRenamedOrMovedWhileAwayIsFoundAndTheBookmarkRewritten) {
    Folder folder;
    QVFilePtr original = shortcutTo(folder.write("Draft.txt"));
    const QByteArray archived = KeyedArchiver::archivedData(*original, ArchiveFormat::Binary);
    original.reset();

    ASSERT_TRUE(QFile::rename(folder.file("Draft.txt"), folder.file("Final.txt")));
    auto renamed = unarchiveShortcut(archived);
    EXPECT_FALSE(renamed->hasError());
    EXPECT_EQ(renamed->path(), folder.file("Final.txt"));
    EXPECT_EQ(Bookmark::recordedPath(renamed->bookmarkData()), folder.file("Final.txt"));

    if (geteuid() != 0)
        GTEST_SKIP() << "following a move into another folder by file handle needs root";
    folder.makeFolder("elsewhere/deeper");
    ASSERT_TRUE(QFile::rename(folder.file("Final.txt"), folder.file("elsewhere/deeper/Final.txt")));
    auto moved = unarchiveShortcut(archived);
    EXPECT_FALSE(moved->hasError());
    EXPECT_EQ(moved->path(), folder.file("elsewhere/deeper/Final.txt"));
}

TEST(QVFileBookmark, MalformedBookmarkDataIsAnError) {
    for (const QByteArray& junk : {QByteArray(), QByteArray("QVBM"), QByteArray(64, '\xff')}) {
        auto file = std::make_shared<QVFile>();
        file->setBookmarkData(junk);
        file->updateURL();
        EXPECT_TRUE(file->hasError());
        EXPECT_TRUE(file->url().isEmpty());
    }
}

TEST(QVFileBookmark, SecurityScopeIsHeldWhilePointedAndGivenUpWhenRepointed) {
    Folder folder;
    const QString first = folder.write("one");
    const QString second = folder.write("two");
    QVFilePtr file = shortcutTo(first);
    EXPECT_EQ(SecurityScope::openAccessCount(first), 1);
    file->setUrl(QUrl::fromLocalFile(second));
    EXPECT_EQ(SecurityScope::openAccessCount(first), 0);
    EXPECT_EQ(SecurityScope::openAccessCount(second), 1);
    file.reset();
    EXPECT_EQ(SecurityScope::openAccessCount(second), 0);
}

TEST(QVFileMoves, RenamesAndMovesWhileRunningAreFollowed) {
    Folder folder;
    folder.makeFolder("inbox");
    folder.makeFolder("archive");
    QVFilePtr file = shortcutTo(folder.write("inbox/Letter.txt"));
    QVFilePtr neighbour = shortcutTo(folder.write("archive/Other.txt")); // watches archive/
    ChangeCounter changes(file);

    ASSERT_TRUE(QFile::rename(folder.file("inbox/Letter.txt"), folder.file("inbox/Reply.txt")));
    ASSERT_TRUE(processEventsUntil([&] { return file->name() == "Reply.txt"; }));
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(Bookmark::recordedPath(file->bookmarkData()), folder.file("inbox/Reply.txt"));

    ASSERT_TRUE(QFile::rename(folder.file("inbox/Reply.txt"), folder.file("archive/Reply.txt")));
    ASSERT_TRUE(
        processEventsUntil([&] { return file->path() == folder.file("archive/Reply.txt"); }));
    EXPECT_EQ(changes.count, 2);
    EXPECT_FALSE(file->hasError());

    // Relaunch: the rewritten bookmark leads to where the file is now.
    QVFilePtr decoded = roundTrip(file);
    EXPECT_EQ(decoded->path(), folder.file("archive/Reply.txt"));
}

TEST(QVFileMoves, AMoveToAnUnwatchedFolderIsFollowedByIdentity) {
    if (geteuid() != 0)
        GTEST_SKIP() << "opening a file by its handle needs root";
    Folder folder;
    QVFilePtr file = shortcutTo(folder.write("Letter.txt"));
    folder.makeFolder("unwatched");
    ChangeCounter changes(file);
    ASSERT_TRUE(QFile::rename(folder.file("Letter.txt"), folder.file("unwatched/Letter.txt")));
    ASSERT_TRUE(
        processEventsUntil([&] { return file->path() == folder.file("unwatched/Letter.txt"); }));
    EXPECT_EQ(changes.count, 1);
}

TEST(QVFileNames, ANameThatIsNotUtf8IsRefusedAndNeverMistakenForAnother) {
    Folder folder;
    const QByteArray raw = QFile::encodeName(folder.path()) + "/caf\xe9.txt";
    FILE* out = fopen(raw.constData(), "w");
    ASSERT_TRUE(out);
    fclose(out);
    // What a lossy decoding of that name would turn into.
    const QString lookalike = folder.write(QString::fromUtf8("caf\xef\xbf\xbd.txt"));

    QUrl url = QUrl::fromEncoded(
        "file://" + QUrl::toPercentEncoding(QFile::encodeName(folder.path()), "/") + "/caf%E9.txt");
    LogCapture log;
    auto file = shortcutTo(lookalike); // pointed somewhere before
    file->setUrl(url);
    EXPECT_TRUE(file->hasError());
    EXPECT_TRUE(file->url().isEmpty());
    EXPECT_NE(file->path(), lookalike);
    EXPECT_TRUE(file->bookmarkData().isEmpty());
    EXPECT_TRUE(log.contains("not a local file with a UTF-8 name"));
}

struct DeletionCase {
    const char* what;
    std::function<QString(const Folder& outside)> makeShortcutPath;
    bool deletes;
};

TEST(QVFileLocalData, DeletesOnlyAnItemFolderInsideTheLocalFilesFolder) {
    const QString local = LocalFiles::folder();
    auto item = [&](const QString& relative) {
        const QString full = local + '/' + relative;
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        f.open(QIODevice::WriteOnly);
        f.write("text");
        return full;
    };
    const std::vector<DeletionCase> cases = {
        {"an item's file", [&](const Folder&) { return item("AAAA-1/Snippet.txt"); }, true},
        {"an ordinary user file", [&](const Folder& o) { return o.write("Mine.txt"); }, false},
        {"a path that climbs out with ..",
         [&](const Folder& o) {
             o.write("Victim.txt");
             item("AAAA-2/keep.txt");
             return local + "/AAAA-2/../../../../../../../../.." + o.file("Victim.txt");
         },
         false},
        {"a link inside that leads out",
         [&](const Folder& o) {
             QDir().mkpath(local + "/AAAA-3");
             const QString target = o.write("Victim.txt");
             const QString link = local + "/AAAA-3/link.txt";
             [[maybe_unused]] int r =
                 symlink(target.toUtf8().constData(), link.toUtf8().constData());
             return link;
         },
         false},
        {"an item folder that is a link out",
         [&](const Folder& o) {
             QDir().mkpath(local);
             o.write("inner/Victim.txt");
             const QString link = local + "/AAAA-4";
             [[maybe_unused]] int r =
                 symlink(o.file("inner").toUtf8().constData(), link.toUtf8().constData());
             return link + "/Victim.txt";
         },
         false},
        {"a look-alike sibling folder",
         [&](const Folder&) {
             const QString sibling = local + "2/AAAA-5/Victim.txt";
             QDir().mkpath(QFileInfo(sibling).path());
             QFile f(sibling);
             f.open(QIODevice::WriteOnly);
             return sibling;
         },
         false},
        {"a file lying loose in the local files folder",
         [&](const Folder&) { return item("Loose.txt"); }, false},
    };
    for (const DeletionCase& c : cases) {
        Folder outside;
        const QString path = c.makeShortcutPath(outside);
        auto file = std::make_shared<QVFile>();
        file->setUrl(QUrl::fromLocalFile(path), true, false); // keep links as they are
        const QString canonical = QFileInfo(path).canonicalFilePath();
        ASSERT_FALSE(canonical.isEmpty()) << c.what;
        EXPECT_EQ(file->deleteLocalDataIfNeeded(), c.deletes) << c.what;
        EXPECT_EQ(QFile::exists(canonical), !c.deletes) << c.what;
        if (c.deletes)
            EXPECT_FALSE(QFileInfo::exists(QFileInfo(path).path())) << c.what;
    }
    EXPECT_TRUE(QFileInfo(local).isDir());
}

} // namespace
