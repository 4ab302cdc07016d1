#include "library/QVGroup.h"
#include "library/LocalFiles.h"
#include "library/QVGroupManager.h"
#include "platform/NotificationCenter.h"
#include "support/LibraryFixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

std::vector<QString> pathsOf(const QVGroupPtr& group) {
    std::vector<QString> paths;
    for (const QVFilePtr& file : group->files())
        paths.push_back(file->path());
    return paths;
}

TEST(QVGroup, ANewGroupIsExpandedClearUnnamedAndEmpty) {
    QVGroup group;
    EXPECT_TRUE(group.isExpanded());
    EXPECT_FALSE(group.isPinned());
    EXPECT_TRUE(group.name().isNull());
    EXPECT_EQ(group.order(), 0);
    ASSERT_TRUE(group.color().has_value());
    EXPECT_EQ(*group.color(), MWColor::clearColor());
    EXPECT_TRUE(group.files().empty());
}

TEST(QVGroup, AddFileIgnoresASecondShortcutForTheSamePath) {
    Folder folder;
    const QString path = folder.write("a.txt");
    auto group = groupNamed("G");
    QVFilePtr first = shortcutTo(path);
    group->addFile(first);
    group->addFile(shortcutTo(path));
    group->addFile(shortcutTo(folder.write("b.txt")));
    ASSERT_EQ(group->files().size(), 2u);
    EXPECT_EQ(group->files()[0], first);
}

TEST(QVGroup, RemovingAShortcutDeletesItsLocalDataOnlyWhenAsked) {
    const QString itemFile = LocalFiles::folder() + "/BBBB-1/Kept.txt";
    const QString otherFile = LocalFiles::folder() + "/BBBB-2/Deleted.txt";
    for (const QString& path : {itemFile, otherFile}) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QVFilePtr kept = shortcutTo(itemFile);
    QVFilePtr deleted = shortcutTo(otherFile);
    auto group = groupNamed("G", {kept, deleted});
    group->removeFile(kept, false);
    group->removeFile(deleted);
    EXPECT_TRUE(group->files().empty());
    EXPECT_TRUE(QFile::exists(itemFile));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(otherFile).path()));
}

TEST(QVGroup, ArchivingKeepsEverythingInOrder) {
    Folder folder;
    auto group =
        groupNamed("Work", {shortcutTo(folder.write("z.txt")), shortcutTo(folder.makeFolder("a")),
                            shortcutTo(folder.write("m.pdf"))});
    group->setColor(MWColor::rgb(0.2, 0.4, 0.6, 0.5));
    group->setIsExpanded(false);
    group->setOrder(7);
    SettingsFixture settings;
    settings.makeDefaults()->setGroups({groupNamed("Pinned"), group});

    auto defaults = settings.makeDefaults();
    ASSERT_TRUE(defaults->loadGroupData());
    ASSERT_EQ(defaults->groups().size(), 2u);
    const QVGroupPtr back = defaults->groups()[1];
    EXPECT_EQ(back->name(), "Work");
    EXPECT_EQ(*back->color(), MWColor::rgb(0.2, 0.4, 0.6, 0.5));
    EXPECT_FALSE(back->isExpanded());
    EXPECT_FALSE(back->isPinned());
    EXPECT_EQ(back->order(), 7);
    EXPECT_EQ(pathsOf(back), pathsOf(group));
    EXPECT_TRUE(back->files()[1]->isDirectory());
}

TEST(QVGroup, DescriptionSaysNameAndPinnedState) {
    QVGroup group;
    group.setName("Tools");
    group.setPinned(true);
    EXPECT_TRUE(QRegularExpression("^<QVGroup: 0x[0-9a-f]+ name=Tools, pinned=YES>$")
                    .match(group.description())
                    .hasMatch())
        << group.description().toStdString();
}

class GroupStore : public testing::Test {
protected:
    SettingsFixture settings;
    std::unique_ptr<WIUserDefaults> defaults = settings.makeDefaults();
};

TEST_F(GroupStore, AFirstLaunchHasOnlyAnEmptyPinnedGroup) {
    ASSERT_TRUE(defaults->loadGroupData());
    QVGroupManager store(*defaults);
    ASSERT_EQ(store.groups().size(), 1u);
    const QVGroupPtr pinned = store.groups()[0];
    EXPECT_EQ(pinned->name(), "Pinned");
    EXPECT_TRUE(pinned->isPinned());
    EXPECT_TRUE(pinned->isExpanded());
    EXPECT_TRUE(pinned->files().empty());
    EXPECT_TRUE(store.nonEmptyGroups().empty());
    EXPECT_FALSE(defaults->store().hasStoredValue("groups"))
        << "written at the next save, not at once";

    store.save();
    auto reread = settings.makeDefaults();
    ASSERT_TRUE(reread->loadGroupData());
    ASSERT_EQ(reread->groups().size(), 1u);
    EXPECT_TRUE(reread->groups()[0]->isPinned());
}

TEST_F(GroupStore, StoredGroupsWithoutAPinnedOneGetItInFront) {
    defaults->setGroups({groupNamed("One"), groupNamed("Two")});
    ASSERT_TRUE(defaults->loadGroupData());
    QVGroupManager store(*defaults);
    ASSERT_EQ(store.groups().size(), 3u);
    EXPECT_TRUE(store.groups()[0]->isPinned());
    EXPECT_EQ(store.groups()[1]->name(), "One");
    EXPECT_EQ(store.groups()[2]->name(), "Two");
    // An empty ordinary group still counts; the empty pinned group does not.
    ASSERT_EQ(store.nonEmptyGroups().size(), 2u);
    EXPECT_EQ(store.nonEmptyGroups()[0]->name(), "One");
}

TEST_F(GroupStore, ThePinnedGroupCannotBeRemoved) {
    QVGroupManager store(*defaults);
    auto extra = groupNamed("Extra");
    store.addGroup(extra);
    store.removeGroup(store.groups()[0]);
    EXPECT_EQ(store.groups().size(), 2u);
    store.removeGroup(extra);
    ASSERT_EQ(store.groups().size(), 1u);
    EXPECT_TRUE(store.groups()[0]->isPinned());
}

TEST_F(GroupStore, FileWithPathFindsTheFirstInStoreOrder) {
    Folder folder;
    const QString path = folder.write("shared.txt");
    QVGroupManager store(*defaults);
    QVFilePtr inPinned = shortcutTo(path);
    store.groups()[0]->addFile(inPinned);
    store.addGroup(groupNamed("Later", {shortcutTo(path)}));
    EXPECT_EQ(store.fileWithPath(path), inPinned);
    EXPECT_EQ(store.fileWithPath(folder.file("missing")), nullptr);
    EXPECT_EQ(store.nonEmptyGroups().size(), 2u);
}

TEST_F(GroupStore, SaveAnnouncesTheChangeAndSaveSilentlyDoesNot) {
    QVGroupManager store(*defaults);
    QObject observer;
    int announced = 0;
    NotificationCenter::defaultCenter().addObserver(
        &observer, "QVGroupsDidChangeNotification",
        [&](const Notification& n) {
            EXPECT_EQ(n.object, &store);
            ++announced;
        },
        &store);
    store.addGroup(groupNamed("Quiet"));
    store.saveSilently(true);
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(settings.makeDefaults()->loadGroupData(), true);
    auto reread = settings.makeDefaults();
    reread->loadGroupData();
    EXPECT_EQ(reread->groups().size(), 2u);
    store.save();
    EXPECT_EQ(announced, 1);
}

} // namespace
