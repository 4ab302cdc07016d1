#include "platform/Bookmark.h"
#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

constexpr unsigned createOptions =
    Bookmark::WithSecurityScope | Bookmark::SecurityScopeAllowOnlyReadAccess;
constexpr unsigned resolveOptions = Bookmark::WithoutUI | Bookmark::ResolveWithSecurityScope;

TEST(Bookmark, AFileInPlaceResolvesFresh) {
    Folder folder;
    const QString path = folder.write("a.txt");
    const QByteArray record = Bookmark::create(path, createOptions, nullptr);
    ASSERT_FALSE(record.isEmpty());
    const auto resolved = Bookmark::resolve(record, resolveOptions);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->path, path);
    EXPECT_FALSE(resolved->isStale);
    EXPECT_TRUE(resolved->values.exists);
}

TEST(Bookmark, AFileReplacedByAnAtomicSaveIsTheFileNowButStale) {
    Folder folder;
    const QString path = folder.write("doc.txt", "old");
    const QByteArray record = Bookmark::create(path, createOptions, nullptr);
    const QString temporary = folder.write("doc.txt.tmp", "new");
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(temporary, path));
    const auto resolved = Bookmark::resolve(record, resolveOptions);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->path, path);
    EXPECT_TRUE(resolved->isStale);
}

TEST(Bookmark, MissingFilesAndJunkDoNotResolve) {
    Folder folder;
    QString error;
    EXPECT_TRUE(Bookmark::create(folder.file("nothing"), createOptions, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Bookmark::create("relative/path", createOptions, &error).isEmpty());

    const QString path = folder.write("gone.txt");
    const QByteArray record = Bookmark::create(path, createOptions, nullptr);
    QFile::remove(path);
    EXPECT_FALSE(Bookmark::resolve(record, resolveOptions));
    for (qsizetype cut : {qsizetype(0), qsizetype(4), record.size() / 2, record.size() - 1})
        EXPECT_FALSE(Bookmark::resolve(record.left(cut), resolveOptions)) << cut;
    EXPECT_TRUE(Bookmark::recordedPath(record.left(record.size() - 1)).isEmpty());
    EXPECT_EQ(Bookmark::recordedPath(record), path);
}

} // namespace
