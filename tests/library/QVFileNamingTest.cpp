#include "library/QVFile.h"
#include "platform/PropertyList.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <plist/plist.h>

using namespace TestSupport;

namespace {

struct NamingCase {
    const char* path; // a trailing slash makes a folder
    const char* name;
    const char* nameWithoutExtension;
    bool isDirectory;
    bool isWebLoc;
    const char* titleWithExtensions;
    const char* titleWithoutExtensions;
};

TEST(QVFileNaming, NamesKindsAndTitles) {
    const std::vector<NamingCase> cases = {
        {"Photos.2019/", "Photos.2019", "Photos.2019", true, false, "Photos.2019", "Photos.2019"},
        {"Report.pdf", "Report.pdf", "Report", false, false, "Report.pdf", "Report"},
        {"Mail.app/", "Mail.app", "Mail", false, false, "Mail.app", "Mail"},
        {"Site.WEBLOC", "Site.WEBLOC", "Site", false, false, "Site.WEBLOC", "Site"},
        {"News.webloc", "News.webloc", "News", false, true, "News", "News"},
        {"archive.tar.gz", "archive.tar.gz", "archive.tar", false, false, "archive.tar.gz",
         "archive.tar"},
        {".bashrc", ".bashrc", ".bashrc", false, false, ".bashrc", ".bashrc"},
        {"Ünïcode file", "Ünïcode file", "Ünïcode file", false, false, "Ünïcode file",
         "Ünïcode file"},
    };
    Folder folder;
    for (const NamingCase& c : cases) {
        QString path = QString::fromUtf8(c.path);
        if (path.endsWith('/')) {
            path.chop(1);
            folder.makeFolder(path);
        } else {
            folder.write(path);
        }
        QVFilePtr file = shortcutTo(folder.file(path));
        EXPECT_EQ(file->name(), QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(file->nameWithoutExtension(), QString::fromUtf8(c.nameWithoutExtension))
            << c.path;
        EXPECT_EQ(file->isDirectory(), c.isDirectory) << c.path;
        EXPECT_EQ(file->isWebLoc(), c.isWebLoc) << c.path;
        EXPECT_EQ(file->title(true), QString::fromUtf8(c.titleWithExtensions)) << c.path;
        EXPECT_EQ(file->title(false), QString::fromUtf8(c.titleWithoutExtensions)) << c.path;
        EXPECT_FALSE(file->hasError()) << c.path;
        file->setDisplayName("Mine");
        EXPECT_EQ(file->title(true), "Mine");
    }
}

QByteArray weblocXml(const QVariant& location) {
    PropertyList::Node node =
        PropertyList::fromValue(QVariantMap{{"URL", location}, {"urlName", "x"}});
    return PropertyList::toXml(node.get());
}

QByteArray weblocBinary(const QString& location) {
    PropertyList::Node node = PropertyList::fromValue(QVariantMap{{"URL", location}});
    return PropertyList::toBinary(node.get());
}

struct WeblocCase {
    const char* what;
    QByteArray contents;
    bool asFolder;
    const char* webLocation;
};

TEST(QVFileNaming, WebBookmarksReadTheirAddressAndBadOnesStayFiles) {
    const std::vector<WeblocCase> cases = {
        {"xml", weblocXml(QStringLiteral("https://example.org/")), false, "https://example.org/"},
        {"binary", weblocBinary(QStringLiteral("https://example.com/a?b=c")), false,
         "https://example.com/a?b=c"},
        {"empty", QByteArray(), false, nullptr},
        {"malformed", QByteArray("<?xml version=\"1.0\"?><plist><dict><key>URL"), false, nullptr},
        {"not a dictionary", PropertyList::toXml(PropertyList::fromValue(QVariantList{1}).get()),
         false, nullptr},
        {"URL of the wrong type", weblocXml(qint64(7)), false, nullptr},
        {"unreadable (a folder)", QByteArray(), true, nullptr},
        {"far too large to be one",
         weblocXml(QStringLiteral("https://example.org/")) + QByteArray(2 << 20, ' '), false,
         nullptr},
    };
    Folder folder;
    for (const WeblocCase& c : cases) {
        const QString name = QString::fromUtf8(c.what) + ".webloc";
        const QString path = c.asFolder ? folder.makeFolder(name) : folder.write(name, c.contents);
        QVFilePtr file = shortcutTo(path);
        EXPECT_TRUE(file->isWebLoc()) << c.what;
        EXPECT_EQ(file->webLocation(), c.webLocation ? QString::fromUtf8(c.webLocation) : QString())
            << c.what;
        if (c.webLocation)
            EXPECT_EQ(file->webLocData(), c.contents) << c.what;
        EXPECT_EQ(file->url(), QUrl::fromLocalFile(path)) << c.what;
        EXPECT_FALSE(file->hasError()) << c.what;
        EXPECT_FALSE(file->bookmarkData().isEmpty()) << c.what;
    }
}

TEST(QVFileNaming, DescriptionNamesClassAddressNameAndPath) {
    Folder folder;
    QVFilePtr file = shortcutTo(folder.write("Report.pdf"));
    const QRegularExpression form(
        "^<QVFile: 0x[0-9a-f]+ name=Report\\.pdf, displayName=\\(null\\), url=(.+)>$");
    const QRegularExpressionMatch match = form.match(file->description());
    ASSERT_TRUE(match.hasMatch()) << file->description().toStdString();
    EXPECT_EQ(match.captured(1), folder.file("Report.pdf"));
}

} // namespace
