#include "library/QVFile.h"
#include "platform/MountTable.h"
#include "platform/NotificationCenter.h"
#include "platform/VolumeMonitor.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/sysmacros.h>

using namespace TestSupport;

namespace {

QByteArray line(int id, const char* device, const QString& mountPoint, const char* type,
                const char* source) {
    return QByteArray::number(id) + " 1 " + device + " / " + mountPoint.toUtf8() +
           " rw,relatime shared:1 - " + type + " " + source + " rw\n";
}

TEST(MountTable, ParsesMountinfoWithEscapesAndUuids) {
    const QByteArray table = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                             "40 22 0:45 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"
                             "41 22 0:46 /sub /srv/bound rw - tmpfs scratch rw\n"
                             "garbage line\n";
    const auto entries = MountTable::parse(table, {{"/dev/sdb1", "1234-ABCD"}});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].mountPoint, "/media/My Disk");
    EXPECT_EQ(entries[1].fsType, "vfat");
    EXPECT_EQ(entries[1].volumeKey(), "uuid:1234-ABCD");
    EXPECT_EQ(entries[0].volumeKey(), "dev:/dev/sda1:/");
    EXPECT_EQ(entries[2].root, "/sub");
    EXPECT_EQ(entries[2].volumeKey(), "fs:tmpfs:scratch:/sub");

    MountTable table2 = MountTable::shared();
    table2.setEntries(entries);
    EXPECT_EQ(table2.mountForPath("/media/My Disk/a/b")->mountPoint, "/media/My Disk");
    EXPECT_EQ(table2.mountForPath("/media/My Diskette/a")->mountPoint, "/");
}

TEST(MountTable, DiffSeesMountsUnmountsAndRemountsAtTheSamePoint) {
    const auto before = MountTable::parse(line(22, "8:1", "/", "ext4", "/dev/sda1") +
                                              line(40, "0:45", "/media/usb", "vfat", "/dev/sdb1") +
                                              line(41, "0:46", "/media/cam", "vfat", "/dev/sdc1"),
                                          {});
    const auto after = MountTable::parse(line(22, "8:1", "/", "ext4", "/dev/sda1") +
                                             line(42, "0:47", "/media/usb", "vfat", "/dev/sdb1") +
                                             line(43, "0:48", "/media/phone", "fuse", "jmtpfs"),
                                         {});
    const MountChanges changes = MountTable::diff(before, after);
    EXPECT_EQ(changes.unmounted, QStringList({"/media/usb", "/media/cam"}));
    EXPECT_EQ(changes.mounted, QStringList({"/media/usb", "/media/phone"}));
    EXPECT_TRUE(MountTable::diff(after, after).mounted.isEmpty());
}

// Drives the shortcut's volume reactions through recorded tables: a mount point
// is made to come and go around real files.
TEST(VolumeChanges, RecordedTablesPutShortcutsInAndOutOfTheErrorState) {
    Folder folder;
    QVFilePtr inside = shortcutTo(folder.write("vol/Doc.txt"));
    QVFilePtr lookalike = shortcutTo(folder.write("vol2/Doc.txt"));
    int insideChanges = 0, lookalikeChanges = 0;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(&observer, QVFile::didChangeNotification,
                                                    [&](const Notification& n) {
                                                        if (n.object == inside.get())
                                                            ++insideChanges;
                                                        if (n.object == lookalike.get())
                                                            ++lookalikeChanges;
                                                    });
    const std::vector<MountEntry> real = MountTable::readCurrent();
    std::vector<MountEntry> withVolume = real;
    MountEntry volume;
    volume.mountId = 99999;
    volume.device = makedev(250, 250);
    volume.mountPoint = folder.file("vol");
    volume.fsType = "vfat";
    volume.source = "/dev/recorded";
    withVolume.push_back(volume);

    VolumeMonitor& monitor = VolumeMonitor::shared();
    monitor.applyMountTable(withVolume);
    const int afterMount = insideChanges;
    monitor.applyMountTable(real); // the recorded volume goes away
    EXPECT_TRUE(inside->hasError());
    EXPECT_TRUE(inside->url().isEmpty());
    EXPECT_EQ(insideChanges, afterMount + 1);
    EXPECT_FALSE(lookalike->hasError()) << "vol2 is not inside vol";

    monitor.applyMountTable(withVolume); // and comes back
    EXPECT_FALSE(inside->hasError());
    EXPECT_EQ(inside->path(), folder.file("vol/Doc.txt"));
    EXPECT_EQ(insideChanges, afterMount + 2);
    EXPECT_EQ(lookalikeChanges, 0) << "re-resolved on each mount, but its location did not change";
    monitor.applyMountTable(real);
}

// A real volume: a tmpfs mounted on a temporary folder (needs root, as in CI).
TEST(VolumeChanges, EjectingAndRemountingARealVolume) {
    Folder folder;
    const QString mountPoint = folder.makeFolder("volume");
    const QByteArray where = QFile::encodeName(mountPoint);
    if (::mount("quiverlane-test", where.constData(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root: " << strerror(errno);
    VolumeMonitor& monitor = VolumeMonitor::shared();
    processEventsUntil([&] {
        for (const MountEntry& e : MountTable::shared().entries())
            if (e.mountPoint == mountPoint)
                return true;
        return false;
    });
    folder.write("volume/Song.mp3");
    QVFilePtr file = shortcutTo(folder.file("volume/Song.mp3"));
    ASSERT_FALSE(file->hasError());
    QSignalSpy unmounted(&monitor, &VolumeMonitor::volumeDidUnmount);
    QSignalSpy mounted(&monitor, &VolumeMonitor::volumeDidMount);
    int changes = 0;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(
        &observer, QVFile::didChangeNotification, [&](const Notification&) { ++changes; },
        file.get());

    ASSERT_EQ(::umount2(where.constData(), MNT_DETACH), 0) << strerror(errno);
    ASSERT_TRUE(processEventsUntil([&] { return file->hasError(); }));
    EXPECT_EQ(unmounted.count(), 1);
    EXPECT_EQ(unmounted.first().first().toUrl(), QUrl::fromLocalFile(mountPoint));
    EXPECT_EQ(changes, 1);

    ASSERT_EQ(::mount("quiverlane-test", where.constData(), "tmpfs", 0, "size=1m"), 0);
    folder.write("volume/Song.mp3"); // a fresh tmpfs is empty: put the file back
    ASSERT_TRUE(processEventsUntil([&] { return !file->hasError(); }));
    EXPECT_EQ(file->path(), folder.file("volume/Song.mp3"));
    EXPECT_GE(mounted.count(), 1);
    EXPECT_EQ(changes, 2);
    file.reset();
    ::umount2(where.constData(), MNT_DETACH);
}

} // namespace
