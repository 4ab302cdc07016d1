#include "bar/QVFolderListing.h"
#include "bar/QVFileListCache.h"
#include "platform/Bookmark.h"
#include "platform/FileIcons.h"
#include "platform/FilePresenter.h"
#include "platform/SecurityScope.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QThread>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

using Files = QVFolderListing::Files;

QStringList namesOf(const Files& files) {
    QStringList names;
    for (const QVFilePtr& file : files)
        names.append(file->name());
    return names;
}

// Each test starts on an empty cache and a clock of its own.
class FolderListing : public testing::Test {
protected:
    void SetUp() override { QVFileListCache::sharedInstance().invalidateCache(); }
    void TearDown() override {
        QVFolderListing::waitForRunningListings();
        QVFileListCache::sharedInstance().invalidateCache();
        QCoreApplication::processEvents();
    }

    // Lists `path` the way a popup does and waits for the completion.
    std::optional<Files> list(const QString& path) {
        QVFolderListing listing(path);
        bool done = false;
        std::optional<Files> result;
        listing.indexRootPathWithCompletionBlock([&](std::optional<Files> files) {
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            result = std::move(files);
            done = true;
        });
        EXPECT_TRUE(processEventsUntil([&] { return done; }, 20000));
        return result;
    }

    QStringList namesListed(const QString& path) {
        const std::optional<Files> files = list(path);
        EXPECT_TRUE(files.has_value());
        return files ? namesOf(*files) : QStringList{QStringLiteral("<cancelled>")};
    }

    ManualScheduler clock;
};

TEST_F(FolderListing, SortsByNameIgnoringCaseWithFoldersAmongFiles) {
    struct Case {
        const char* what;
        QStringList files;
        QStringList folders;
        QStringList expected;
    };
    const Case cases[] = {
        {"case is ignored", {"b", "A", "c"}, {}, {"A", "b", "c"}},
        {"folders are not put first",
         {"beta.txt", "Delta.md"},
         {"alpha", "Charlie"},
         {"alpha", "beta.txt", "Charlie", "Delta.md"}},
        {"an upper-case name is not put before every lower-case one",
         {"zebra", "Apple", "mango", "Banana"},
         {},
         {"Apple", "Banana", "mango", "zebra"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder;
        for (const QString& name : c.files)
            folder.write(name);
        for (const QString& name : c.folders)
            folder.makeFolder(name);
        EXPECT_EQ(namesListed(folder.path()), c.expected);
    }
}

TEST_F(FolderListing, SortsAsTheUsersLanguageDoes) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Folder folder;
    for (const char* name : {"zebra", "Äpfel", "Birne", "apfel"})
        folder.write(QString::fromUtf8(name));
    const QStringList names = namesListed(folder.path());
    QLocale::setDefault(before);
    // A code-point order would put "Äpfel" after "zebra".
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.last(), "zebra");
    EXPECT_EQ(names.indexOf("Birne"), 2);
}

TEST_F(FolderListing, SkipsHiddenEntries) {
    struct Case {
        const char* what;
        QStringList files;
        QByteArray hiddenList; // contents of ".hidden"; null for none
        QStringList expected;
    };
    const Case cases[] = {
        {"only dot files", {".profile", ".cache/x", "..."}, QByteArray(), {}},
        {"names listed in .hidden",
         {"keep.txt", "secret.txt", "also secret", "Secret.txt"},
         "secret.txt\nalso secret\r\n\nmissing\n",
         {"keep.txt", "Secret.txt"}},
        {"an empty .hidden hides nothing", {"a", "b"}, "", {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder;
        for (const QString& name : c.files)
            folder.write(name);
        if (!c.hiddenList.isNull())
            folder.write(".hidden", c.hiddenList);
        EXPECT_EQ(namesListed(folder.path()), c.expected);
    }
}

TEST_F(FolderListing, ListsOnlyTheFoldersOwnChildrenAndAPackageAsOneEntry) {
    Folder folder;
    folder.write("Mail.app/Contents/Info.plist");
    folder.write("Photos.2019/inside.jpg");
    folder.write("Report.pdf");
    const std::optional<Files> files = list(folder.path());
    ASSERT_TRUE(files);
    ASSERT_EQ(namesOf(*files), (QStringList{"Mail.app", "Photos.2019", "Report.pdf"}));
    const QVFile& app = *(*files)[0];
    EXPECT_FALSE(app.isDirectory());
    EXPECT_EQ(app.nameWithoutExtension(), "Mail");
    EXPECT_TRUE((*files)[1]->isDirectory());
    EXPECT_EQ((*files)[1]->nameWithoutExtension(), "Photos.2019");
    EXPECT_EQ((*files)[2]->path(), folder.file("Report.pdf"));
}

TEST_F(FolderListing, EntriesAreCheapShortcutsOnTheMainThread) {
    Folder folder;
    folder.write("Site.webloc", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>URL</key><string>https://example.org/</string></dict></plist>)");
    folder.write("notes.txt");
    const std::optional<Files> files = list(folder.path());
    ASSERT_TRUE(files);
    ASSERT_EQ(files->size(), 2u);
    processEventsFor(50);
    for (const QVFilePtr& file : *files) {
        SCOPED_TRACE(file->name().toStdString());
        EXPECT_EQ(file->thread(), qApp->thread());
        EXPECT_TRUE(file->bookmarkData().isEmpty());
        EXPECT_FALSE(FilePresenterRegistry::shared().isPresenting(file.get()));
        EXPECT_FALSE(file->hasError());
        EXPECT_EQ(SecurityScope::openAccessCount(file->path()), 1);
    }
    EXPECT_EQ(files->at(1)->name(), "Site.webloc");
    EXPECT_TRUE(files->at(1)->isWebLoc());
    EXPECT_EQ(files->at(1)->webLocation(), "https://example.org/");
}

TEST_F(FolderListing, LinksAreAliasesAndLoopsOrDanglingLinksAreEntriesInError) {
    Folder folder;
    const QString target = folder.write("elsewhere/Target.txt");
    Folder listed;
    listed.link("good link", target);
    listed.link("dangling", folder.file("nothing here"));
    listed.link("loop a", listed.file("loop b"));
    listed.link("loop b", listed.file("loop a"));
    const std::optional<Files> files = list(listed.path());
    ASSERT_TRUE(files);
    // The resolved link is named after its destination, as every alias is.
    ASSERT_EQ(namesOf(*files), (QStringList{"dangling", "loop a", "loop b", "Target.txt"}));
    processEventsUntil([&] { return !files->back()->bookmarkData().isEmpty(); });

    const QVFilePtr& alias = files->back();
    EXPECT_TRUE(alias->isAlias());
    EXPECT_FALSE(alias->hasError());
    EXPECT_EQ(alias->aliasDestinationURL(), QUrl::fromLocalFile(target));
    // Pointing at the destination asks for its bookmark and watching, made on the main thread.
    EXPECT_EQ(Bookmark::recordedPath(alias->bookmarkData()), target);
    EXPECT_TRUE(FilePresenterRegistry::shared().isPresenting(alias.get()));
    for (int i = 0; i < 3; ++i) {
        const QVFilePtr& broken = (*files)[i];
        SCOPED_TRACE(broken->name().toStdString());
        EXPECT_TRUE(broken->hasError());
        EXPECT_EQ(broken->errorMessage(), QVFile::aliasErrorMessage);
        EXPECT_EQ(broken->image().name(), FileIcons::cautionIcon().name());
    }
}

TEST_F(FolderListing, SkipsNamesThatAreNotUtf8) {
    Folder folder;
    folder.write("fine.txt");
    std::vector<QByteArray> badPaths;
    for (const QByteArray& raw : {QByteArray("bad\xff name"), QByteArray("cut \xc3")}) {
        badPaths.push_back(QFile::encodeName(folder.path()) + '/' + raw);
        const int fd = ::open(badPaths.back().constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    LogCapture log;
    EXPECT_EQ(namesListed(folder.path()), QStringList{"fine.txt"});
    EXPECT_FALSE(log.contains("Refusing"));
    // The temporary folder cannot remove names it cannot spell.
    for (const QByteArray& path : badPaths)
        ::unlink(path.constData());
}

TEST_F(FolderListing, WhatCannotBeReadListsAsEmpty) {
    Folder folder;
    const QString plainFile = folder.write("not a folder");
    for (const QString& path : {plainFile, folder.file("missing")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(namesListed(path), QStringList());
    }
    EXPECT_EQ(QVFolderListing().actuallyIndexRootPath(), Files());
}

TEST_F(FolderListing, AFolderWithoutReadPermissionListsAsEmpty) {
    Folder folder;
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    const QString locked = folder.makeFolder("locked");
    folder.write("locked/inside.txt");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    // Root reads anything: as root, this thread checks files as "nobody" meanwhile
    // (the file-system user id is the thread's own, and leaving 0 drops the
    // capabilities that override permissions).
    const bool asRoot = ::geteuid() == 0;
    if (asRoot)
        ::setfsuid(65534);
    DIR* opened = ::opendir(QFile::encodeName(locked).constData());
    const bool unreadable = opened == nullptr;
    if (opened)
        ::closedir(opened);
    // On this thread, where the file-system user id applies.
    const std::optional<Files> files = QVFolderListing(locked).actuallyIndexRootPath();
    if (asRoot)
        ::setfsuid(0);
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    ASSERT_TRUE(unreadable);
    ASSERT_TRUE(files);
    EXPECT_EQ(namesOf(*files), QStringList());
}

TEST_F(FolderListing, AFreshListingComesFromTheCache) {
    Folder folder;
    folder.write("first");
    EXPECT_EQ(namesListed(folder.path()), QStringList{"first"});
    folder.write("second");
    clock.advance(QVFileListCache::freshSeconds);
    EXPECT_EQ(namesListed(folder.path()), QStringList{"first"});
    // Another spelling of the same folder is another record.
    EXPECT_EQ(namesListed(folder.path() + u'/'), (QStringList{"first", "second"}));

    clock.advance(0.5);
    EXPECT_EQ(namesListed(folder.path()), (QStringList{"first", "second"}));

    folder.write("third");
    QVFileListCache::sharedInstance().invalidateCache();
    EXPECT_EQ(namesListed(folder.path()), (QStringList{"first", "second", "third"}));
}

TEST_F(FolderListing, TheCacheAnswersCopiesOfExactPathsOnly) {
    QVFileListCache& cache = QVFileListCache::sharedInstance();
    Folder folder;
    auto file = std::make_shared<QVFile>();
    file->setUrl(QUrl::fromLocalFile(folder.write("x")), false, true, false, false);

    cache.setCachedFilesForPath({file}, QString());
    EXPECT_FALSE(cache.cachedFilesForPath(QString()));

    cache.setCachedFilesForPath({file}, "/some/folder");
    std::optional<Files> copy = cache.cachedFilesForPath("/some/folder");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->front(), file); // the same shortcut, shared
    copy->clear();
    EXPECT_EQ(cache.cachedFilesForPath("/some/folder")->size(), 1u);
    EXPECT_FALSE(cache.cachedFilesForPath("/some/folder/"));
    EXPECT_FALSE(cache.cachedFilesForPath("/some/./folder"));

    cache.setCachedFilesForPath({}, "/some/folder");
    EXPECT_EQ(cache.cachedFilesForPath("/some/folder"), Files());
}

TEST_F(FolderListing, NoCompletionOnceTheOwnerIsGone) {
    Folder folder;
    folder.write("a");
    bool called = false;
    {
        QVFolderListing listing(folder.path());
        listing.indexRootPathWithCompletionBlock([&](std::optional<Files>) { called = true; });
    }
    ASSERT_TRUE(QVFolderListing::waitForRunningListings(20000));
    processEventsFor(50);
    EXPECT_FALSE(called);
    // Not being cancelled, it still finished and left its result for the next popup.
    EXPECT_TRUE(QVFileListCache::sharedInstance().cachedFilesForPath(folder.path()));
}

// One folder of 100,000 entries for the tests of long listings.
class LongListing : public FolderListing {
protected:
    static constexpr int entryCount = 100000;

    static void SetUpTestSuite() {
        big = new Folder;
        const QByteArray prefix = QFile::encodeName(big->path()) + "/entry ";
        for (int i = 0; i < entryCount; ++i) {
            const QByteArray path = prefix + QByteArray::number(i);
            const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
    static void TearDownTestSuite() {
        delete big;
        big = nullptr;
    }
    static Folder* big;
};
Folder* LongListing::big = nullptr;

TEST_F(LongListing, TheMainThreadGoesOnWhileAHugeFolderIsListed) {
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    std::optional<Files> result;
    bool done = false;
    int ticksBeforeResult = 0;
    QVFolderListing listing(big->path());
    listing.indexRootPathWithCompletionBlock([&](std::optional<Files> files) {
        ticksBeforeResult = ticks;
        result = std::move(files);
        done = true;
    });
    ASSERT_TRUE(processEventsUntil([&] { return done; }, 60000));
    ASSERT_TRUE(result);
    ASSERT_EQ(result->size(), size_t(entryCount));
    // Reading and sorting 100,000 entries takes far longer than these few ticks.
    EXPECT_GE(ticksBeforeResult, 10);
    EXPECT_EQ(result->front()->name(), "entry 0");
    EXPECT_EQ(result->at(1)->name(), "entry 1");
    EXPECT_EQ(result->at(2)->name(), "entry 10");
}

TEST_F(LongListing, CancelledMidwayItCachesNothingAndHandsOverNothing) {
    processEventsFor(20);
    const int accessBefore = SecurityScope::totalOpenAccessCount();
    std::optional<std::optional<Files>> handedOver;
    QVFolderListing listing(big->path());
    listing.indexRootPathWithCompletionBlock(
        [&](std::optional<Files> files) { handedOver = std::move(files); });
    // Midway: some entries are made, far from all.
    ASSERT_TRUE(processEventsUntil(
        [&] { return SecurityScope::totalOpenAccessCount() >= accessBefore + 1000; }, 20000));
    listing.cancel();
    EXPECT_TRUE(listing.isCancelled());
    ASSERT_TRUE(processEventsUntil([&] { return handedOver.has_value(); }, 20000));
    EXPECT_FALSE(*handedOver);
    EXPECT_FALSE(QVFileListCache::sharedInstance().cachedFilesForPath(big->path()));
    // The entries made before the cancel are let go, on the main thread.
    EXPECT_TRUE(processEventsUntil(
        [&] { return SecurityScope::totalOpenAccessCount() == accessBefore; }, 20000));
}

} // namespace
