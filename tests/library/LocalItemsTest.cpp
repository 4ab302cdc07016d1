#include "library/LocalItems.h"
#include "library/LibraryArchive.h"
#include "library/LocalFiles.h"
#include "platform/FileURLs.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace TestSupport;
using LocalItems::UpdateResult;

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QString repeated(const QString& piece, int times) {
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(LocalItemNames, TitlesBecomeFileNamesTheFileSystemTakes) {
    struct Case {
        QString title;
        QString extension;
        QString name;
    };
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xA8"); // four bytes, two UTF-16 units
    std::vector<Case> cases = {
        {"a/b:c?", "txt", "a-b:c-.txt"},
        {"all \\?%*|\"<> nine", "txt", "all -------- nine.txt"},
        {"two\nlines", "txt", "twolines.txt"},
        {"notes.txt", "txt", "notes.txt"},
        {"notes.TXT", "txt", "notes.TXT.txt"},
        {"ends with.txt\n", "txt", "ends with.txt.txt"},
        {"Sky", "plist", "Sky.plist"},
        {"nul\0inside", "webloc", "nul-inside.webloc"},
        {"", "txt", "Untitled.txt"},
        {"\n\n", "txt", "Untitled.txt"},
        {".txt", "txt", "Untitled.txt"},
        {".", "txt", "..txt"},
        {repeated("a", 300), "txt", repeated("a", 251) + ".txt"},
        {repeated(QString::fromUtf8("é"), 200), "txt",
         repeated(QString::fromUtf8("é"), 125) + ".txt"},
        {repeated(emoji, 100), "plist", repeated(emoji, 62) + ".plist"},
    };
    // The NUL case needs its length spelled out.
    cases[7].title = QString::fromUtf8("nul\0inside", 10);
    for (const Case& c : cases) {
        const QString name = LocalItems::fileNameForTitle(c.title, c.extension);
        EXPECT_EQ(name, c.name) << c.title.left(40).toStdString();
        EXPECT_LE(name.toUtf8().size(), 255);
    }
}

TEST(SnippetPreview, FirstLineThatIsNotBlankCutAtAHundred) {
    struct Case {
        QString text;
        QString preview;
    };
    const std::vector<Case> cases = {
        {"hello\nworld", "hello"},
        {"\n   \n\t\n  indented line\nnext", "  indented line"},
        {"  \n \n\t", "Empty Snippet"},
        {"", "Empty Snippet"},
        {"windows\r\nline", "windows"},
        {repeated("x", 100), repeated("x", 100)},
        {repeated("y", 101), repeated("y", 100) + "..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QVTextSnippetFile::previewOf(c.text), c.preview) << c.text.toStdString();
}

class LocalItemFiles : public testing::Test {
protected:
    void SetUp() override { registerLibraryArchiveClasses(); }

    static QString itemFolderOf(const QVFile& file) { return QFileInfo(file.path()).path(); }

    static void expectInItsOwnFolder(const QVFile& file, const QString& name) {
        const QFileInfo info(file.path());
        EXPECT_EQ(info.fileName(), name);
        EXPECT_EQ(QFileInfo(info.path()).path(),
                  QFileInfo(LocalFiles::folder()).absoluteFilePath());
        static const QRegularExpression uuid(
            "^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
        EXPECT_TRUE(uuid.match(QFileInfo(info.path()).fileName()).hasMatch())
            << info.path().toStdString();
    }
};

TEST_F(LocalItemFiles, SnippetsAreTextFilesInFoldersOfTheirOwn) {
    const QString text = QString::fromUtf8("Grüße\nsecond line");
    QVTextSnippetFilePtr first = LocalItems::addTextSnippet("Greeting", text);
    QVTextSnippetFilePtr second = LocalItems::addTextSnippet("Greeting", "other");
    ASSERT_TRUE(first && second);
    expectInItsOwnFolder(*first, "Greeting.txt");
    EXPECT_NE(itemFolderOf(*first), itemFolderOf(*second)) << "same title, two folders";
    EXPECT_EQ(readFile(first->path()), text.toUtf8()) << "UTF-8 without a byte-order mark";
    EXPECT_EQ(first->contents(), text);
    EXPECT_EQ(first->snippet(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(first->nameWithoutExtension(), "Greeting");
    EXPECT_EQ(second->contents(), "other");
}

TEST_F(LocalItemFiles, ASnippetReadsWhatItsFileHoldsOrNothing) {
    Folder folder;
    const QString invalid = folder.write("latin1.txt", "caf\xE9");
    auto snippet = std::make_shared<QVTextSnippetFile>();
    snippet->setUrl(FileURLs::fromPath(invalid));
    EXPECT_TRUE(snippet->contents().isEmpty()) << "not UTF-8";
    EXPECT_EQ(snippet->snippet(), "Empty Snippet");

    const QString good = folder.write("good.txt", "kept");
    snippet->setUrl(FileURLs::fromPath(good));
    EXPECT_EQ(snippet->contents(), "kept");
    QFile::remove(good);
    QDir().mkdir(good); // now a folder: it cannot be read as a file
    snippet->setUrl(FileURLs::fromPath(good));
    EXPECT_EQ(snippet->contents(), "kept") << "an unreadable file leaves the text as it was";
}

TEST_F(LocalItemFiles, SwatchesKeepTheirColourInAnArchive) {
    const MWColor sky = MWColor::rgb(0.2, 0.4, 0.6);
    QVColorFilePtr swatch = LocalItems::addColorSwatch("#336699", sky);
    ASSERT_TRUE(swatch);
    expectInItsOwnFolder(*swatch, "#336699.plist");
    EXPECT_TRUE(readFile(swatch->path()).startsWith("<?xml")) << "an XML property list";
    ASSERT_TRUE(swatch->color());
    EXPECT_EQ(*swatch->color(), sky);
    EXPECT_EQ(swatch->tooltip(), "#336699");
    EXPECT_FALSE(swatch->image().pixmap(16, 16).isNull());

    Folder folder;
    auto broken = std::make_shared<QVColorFile>();
    broken->setUrl(FileURLs::fromPath(folder.write("junk.plist", "not an archive")));
    EXPECT_FALSE(broken->color());
    EXPECT_TRUE(broken->tooltip().isEmpty());
}

TEST_F(LocalItemFiles, WebBookmarksAreWeblocFilesWithTheirTitle) {
    QVFilePtr bookmark = LocalItems::addWebBookmark("News / Today", "https://example.org/news");
    ASSERT_TRUE(bookmark);
    expectInItsOwnFolder(*bookmark, "News - Today.webloc");
    EXPECT_TRUE(bookmark->isWebLoc());
    EXPECT_EQ(bookmark->webLocation(), "https://example.org/news");
    const std::optional<QVariant> stored = PropertyList::parseValue(readFile(bookmark->path()));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->toMap().value("urlName").toString(), "News / Today");
    EXPECT_TRUE(readFile(bookmark->path()).startsWith("<?xml"));

    // Removing it takes its favicon and its folder too.
    const QString folder = itemFolderOf(*bookmark);
    touch(folder + "/icon.png");
    EXPECT_TRUE(bookmark->deleteLocalDataIfNeeded());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(LocalItemFiles, ArchivedItemsComeBackAsThemselvesAndReadTheirFiles) {
    QVTextSnippetFilePtr snippet = LocalItems::addTextSnippet("Hello", "Hello, world");
    QVColorFilePtr swatch = LocalItems::addColorSwatch("Red", MWColor::rgb(1, 0, 0));
    const QByteArray archive = KeyedArchiver::archivedData(
        std::vector<ArchivablePtr>{snippet, swatch}, ArchiveFormat::Binary);
    const auto decoded = KeyedUnarchiver::unarchiveArray(archive);
    ASSERT_EQ(decoded.size(), 2u);
    auto snippetBack = std::dynamic_pointer_cast<QVTextSnippetFile>(decoded[0]);
    auto swatchBack = std::dynamic_pointer_cast<QVColorFile>(decoded[1]);
    ASSERT_TRUE(snippetBack && swatchBack);
    EXPECT_EQ(snippetBack->contents(), "Hello, world");
    EXPECT_EQ(swatchBack->tooltip(), "#FF0000");
}

TEST_F(LocalItemFiles, AnUpdateReplacesTheFileAndKeepsTheShortcut) {
    QVTextSnippetFilePtr snippet = LocalItems::addTextSnippet("Draft", "first");
    ASSERT_TRUE(snippet);
    const QString oldFolder = itemFolderOf(*snippet);
    EXPECT_EQ(LocalItems::updateTextSnippet(*snippet, "Final", "second"), UpdateResult::Updated);
    EXPECT_FALSE(QFileInfo::exists(oldFolder));
    expectInItsOwnFolder(*snippet, "Final.txt");
    EXPECT_EQ(snippet->contents(), "second");

    QVColorFilePtr swatch = LocalItems::addColorSwatch("Grey", MWColor::rgb(0.5, 0.5, 0.5));
    EXPECT_EQ(LocalItems::updateColorSwatch(*swatch, "Black", MWColor::rgb(0, 0, 0)),
              UpdateResult::Updated);
    EXPECT_EQ(swatch->tooltip(), "#000000");
    QVFilePtr bookmark = LocalItems::addWebBookmark("Old", "https://old.example");
    EXPECT_EQ(LocalItems::updateWebBookmark(*bookmark, "New", "https://new.example"),
              UpdateResult::Updated);
    EXPECT_EQ(bookmark->webLocation(), "https://new.example");
}

TEST_F(LocalItemFiles, AnUpdateThatCannotRemoveTheOldFileChangesNothing) {
    Folder folder;
    const QString usersOwn =
        folder.write("Mine.webloc", LocalItems::webLocContents("Mine", "https://mine.example"));
    QVFilePtr bookmark = std::make_shared<QVFile>();
    bookmark->setUrl(FileURLs::fromPath(usersOwn));
    const QStringList before =
        QDir(LocalFiles::folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);

    EXPECT_EQ(LocalItems::updateWebBookmark(*bookmark, "Mine", "https://changed.example"),
              UpdateResult::OldDataKept);
    EXPECT_EQ(bookmark->path(), usersOwn);
    EXPECT_EQ(bookmark->webLocation(), "https://mine.example");
    EXPECT_TRUE(QFileInfo::exists(usersOwn)) << "a file of the user's is never deleted";
    EXPECT_EQ(QDir(LocalFiles::folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), before)
        << "the new file is not left behind";
}

TEST_F(LocalItemFiles, NothingIsMadeWhenTheFolderCannotBeWritten) {
    QVTextSnippetFilePtr snippet = LocalItems::addTextSnippet("Before", "kept");
    ASSERT_TRUE(snippet);
    // A file where the folder should be: no item folder can be made in it.
    const QString local = LocalFiles::folder();
    const QString moved = local + ".away";
    ASSERT_TRUE(QDir().rename(local, moved));
    touch(local);
    EXPECT_FALSE(LocalItems::addTextSnippet("Lost", "text"));
    EXPECT_FALSE(LocalItems::addColorSwatch("Lost", MWColor::rgb(0, 0, 0)));
    EXPECT_FALSE(LocalItems::addWebBookmark("Lost", "https://example.org"));
    EXPECT_EQ(LocalItems::updateTextSnippet(*snippet, "After", "new"), UpdateResult::NotWritten);
    EXPECT_EQ(snippet->contents(), "kept");
    QFile::remove(local);
    QDir().rename(moved, local);
}

} // namespace
