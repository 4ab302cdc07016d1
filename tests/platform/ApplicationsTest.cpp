#include "platform/Applications.h"
#include "bar/QVBookmarksWindowController.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

// GIO reads the XDG folders once per process: the registry under test is read
// by a fresh run of this test binary, told where the folders are by this variable.
const char* const registryVariable = "QUIVERLANE_TEST_APPLICATION_REGISTRY";

QString entry(const QString& name, const QString& mimeTypes, const QString& exec = "true") {
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\nMimeType=%3;\n")
        .arg(name, exec, mimeTypes);
}

// In the fresh run: the folders as the parent laid them out.
void checkRegistry(const QString& root) {
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root + "/system"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + "/config"));
    qputenv("XDG_CURRENT_DESKTOP", "");
    const QString applications = root + "/data/applications/";
    Applications& registry = Applications::shared();

    const QUrl notes = QUrl::fromLocalFile(root + "/notes.txt");
    EXPECT_EQ(registry.applicationToOpen(notes),
              QUrl::fromLocalFile(applications + "copier.desktop"));
    const QUrl folderHandler = registry.applicationToOpen(QUrl::fromLocalFile(root));
    EXPECT_EQ(folderHandler, QUrl::fromLocalFile(applications + "files.desktop"));
    EXPECT_TRUE(registry.isFileManager(folderHandler));
    EXPECT_FALSE(registry.isFileManager(registry.applicationToOpen(notes)));

    QVBookmarksWindowController controller;
    QMenu menu;
    controller.openWithMenuForItem(shortcutTo(notes.toLocalFile()), &menu);
    QStringList titles;
    QStringList toolTips;
    for (QAction* item : menu.actions()) {
        titles.append(item->text());
        toolTips.append(item->toolTip());
    }
    EXPECT_EQ(titles, (QStringList{"alpha.desktop", "Beta-Editor.desktop", "copier.desktop",
                                   "zed.desktop"}));
    EXPECT_EQ(toolTips.front(), applications + "alpha.desktop");

    controller.openWithMenuForItem(shortcutTo(root + "/picture.png"), &menu);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions().front()->text(), "<None>");

    // Started once, with the document: the entry copies what it was handed.
    EXPECT_NE(registry.launch(registry.applicationToOpen(notes), {notes}), 0);
    // The copy may exist before it has all its bytes: wait for them.
    EXPECT_TRUE(processEventsUntil([&] { return readFile(root + "/copied.txt") == "the notes"; }));
    EXPECT_EQ(readFile(root + "/copied.txt"), "the notes");
}

TEST(Applications, TheRegistryOfTheDataFoldersAnswersWhatOpensWhat) {
    if (qEnvironmentVariableIsSet(registryVariable)) {
        checkRegistry(qEnvironmentVariable(registryVariable));
        return;
    }
    Folder root;
    for (const auto& [name, types] :
         std::vector<std::pair<QString, QString>>{{"zed", "text/plain"},
                                                  {"Beta-Editor", "text/plain"},
                                                  {"alpha", "text/plain"},
                                                  {"files", "inode/directory"}})
        root.write("data/applications/" + name + ".desktop", entry(name, types).toUtf8());
    root.write("data/applications/copier.desktop",
               entry("Copier", "text/plain", "cp %f " + root.file("copied.txt")).toUtf8());
    root.write("config/mimeapps.list", "[Default Applications]\ntext/plain=copier.desktop\n"
                                       "inode/directory=files.desktop\n");
    root.write("notes.txt", "the notes");
    root.write("picture.png", QByteArray::fromHex("89504e470d0a1a0a"));
    // The content types still come from the system's shared MIME database.
    QDir().mkpath(root.file("system"));
    ASSERT_TRUE(QFile::link("/usr/share/mime", root.file("system/mime")));
    ASSERT_EQ(QProcess::execute("update-desktop-database", {root.file("data/applications")}), 0);
    ASSERT_TRUE(QFile::exists(root.file("data/applications/mimeinfo.cache")));

    QProcess fresh;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(registryVariable, root.path());
    fresh.setProcessEnvironment(environment);
    fresh.setProcessChannelMode(QProcess::MergedChannels);
    fresh.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=Applications.TheRegistryOfTheDataFoldersAnswersWhatOpensWhat"});
    ASSERT_TRUE(fresh.waitForFinished(60000));
    const QString output = QString::fromUtf8(fresh.readAll());
    EXPECT_EQ(fresh.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace
