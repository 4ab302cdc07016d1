#include "app/WIUserDefaults.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

// The real program, started with XDG folders of its own.
class Program {
public:
    Program() {
        QDir(home_.path()).mkpath("config/Marrowick");
        QDir(home_.path()).mkpath("data");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        env.insert("XDG_DATA_HOME", home_.filePath("data"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process_.setProcessEnvironment(env);
        process_.setProgram(QUIVERLANE_EXECUTABLE);
    }
    ~Program() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    QString settingsFile() const { return home_.filePath("config/Marrowick/Quiverlane.conf"); }
    std::unique_ptr<WIUserDefaults> defaults() const {
        return std::make_unique<WIUserDefaults>(std::make_shared<DefaultsStore>(settingsFile()));
    }
    void start() {
        process_.start();
        ASSERT_TRUE(process_.waitForStarted());
        // Let it come up to its event loop before it is signalled.
        processEventsFor(1500);
        ASSERT_EQ(process_.state(), QProcess::Running);
    }
    void stopWith(int signal) {
        ::kill(pid_t(process_.processId()), signal);
        ASSERT_TRUE(process_.waitForFinished(10000));
    }
    QProcess& process() { return process_; }

private:
    QTemporaryDir home_;
    QProcess process_;
};

TEST(Program, AFirstLaunchWritesThePinnedGroupWhenTerminated) {
    for (int signal : {SIGTERM, SIGINT}) {
        Program program;
        program.start();
        program.stopWith(signal);
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
        auto defaults = program.defaults();
        ASSERT_TRUE(defaults->loadGroupData());
        ASSERT_EQ(defaults->groups().size(), 1u);
        EXPECT_TRUE(defaults->groups()[0]->isPinned());
        EXPECT_EQ(defaults->groups()[0]->name(), "Pinned");
    }
}

TEST(Program, ShortcutsSurviveARelaunchAfterTheirFileMoved) {
    Folder folder;
    Program program;
    {
        auto pinned = groupNamed("Pinned");
        pinned->setPinned(true);
        program.defaults()->setGroups(
            {pinned, groupNamed("Work", {shortcutTo(folder.write("Plan.txt"))})});
    }
    program.start();
    ASSERT_TRUE(QFile::rename(folder.file("Plan.txt"), folder.file("Plan v2.txt")));
    processEventsFor(500);
    program.stopWith(SIGTERM);

    auto defaults = program.defaults();
    ASSERT_TRUE(defaults->loadGroupData());
    ASSERT_EQ(defaults->groups().size(), 2u);
    ASSERT_EQ(defaults->groups()[1]->files().size(), 1u);
    const QVFilePtr file = defaults->groups()[1]->files()[0];
    EXPECT_EQ(file->path(), folder.file("Plan v2.txt"));
    EXPECT_EQ(file->lastKnownPath(), folder.file("Plan v2.txt"))
        << "the move was saved at termination";
}

TEST(Program, AnUndecodableLibraryEndsTheProgramAndStaysOnDisk) {
    Program program;
    program.defaults()->store().setObject("groups", QByteArray("definitely not an archive"));
    const QByteArray before = readFile(program.settingsFile());
    program.start(); // the alert waits for an answer
    program.stopWith(SIGTERM);
    EXPECT_EQ(readFile(program.settingsFile()), before);
    EXPECT_TRUE(program.process().readAllStandardError().contains(
        "Could not load actions because of error"));
}

} // namespace
