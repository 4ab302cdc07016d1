#include "platform/FileViewer.h"
#include "platform/Workspace.h"
#include "support/FileManagerServer.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

TEST(FileViewer, ShowsTheItemsThroughTheFileManagerOnTheSessionBus) {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "the tests run on a session bus";
    FileManagerServer server;
    ASSERT_TRUE(server.running());
    Folder folder;
    const QString spaced = folder.write("a note.txt");
    const QString other = folder.write("b.txt");
    QList<QUrl> openedInstead;
    Workspace::setOpener([&openedInstead](const QUrl& url) {
        openedInstead.append(url);
        return true;
    });

    FileViewer::activateFileViewerSelectingURLs(
        {QUrl::fromLocalFile(spaced), QUrl::fromLocalFile(other)});
    ASSERT_TRUE(processEventsUntil([&] { return !server.shownItems().empty(); }));
    EXPECT_EQ(server.shownItems().front(),
              (QStringList{QString::fromUtf8(QUrl::fromLocalFile(spaced).toEncoded()),
                           QString::fromUtf8(QUrl::fromLocalFile(other).toEncoded())}));
    EXPECT_TRUE(server.shownItems().front().front().endsWith("a%20note.txt"));
    processEventsFor(50);
    EXPECT_TRUE(openedInstead.isEmpty());
    Workspace::setOpener({});
}

TEST(FileViewer, WithoutAFileManagerOpensTheFoldersHoldingTheItems) {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    Folder folder;
    const QString inner = folder.makeFolder("inner");
    QList<QUrl> opened;
    Workspace::setOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    FileViewer::activateFileViewerSelectingURLs({QUrl::fromLocalFile(folder.write("a.txt")),
                                                 QUrl::fromLocalFile(folder.write("b.txt")),
                                                 QUrl::fromLocalFile(folder.write("inner/c.txt"))});
    EXPECT_TRUE(processEventsUntil([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened, (QList<QUrl>{QUrl::fromLocalFile(folder.path()), QUrl::fromLocalFile(inner)}))
        << "each folder once";
    Workspace::setOpener({});
}

} // namespace
