#include "platform/FilePresenter.h"
#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

class RecordingPresenter : public FilePresenter {
public:
    explicit RecordingPresenter(QString path) : path_(std::move(path)) {}
    QString presentedItemPath() const override { return path_; }
    void presentedItemDidMoveTo(const QString& newPath) override {
        moves.append(newPath);
        path_ = newPath;
        FilePresenterRegistry::shared().addFilePresenter(this);
    }
    void presentedItemDidMoveToUnknownPlace() override { ++disappearances; }
    QStringList moves;
    int disappearances = 0;

private:
    QString path_;
};

TEST(FilePresenters, OneMonitorPerFolderSharedByItsFiles) {
    Folder folder;
    FilePresenterRegistry& registry = FilePresenterRegistry::shared();
    const int before = registry.watchedFolderCount();
    RecordingPresenter a(folder.write("one/a")), b(folder.write("one/b")), c(folder.write("two/c"));
    for (RecordingPresenter* p : {&a, &b, &c})
        registry.addFilePresenter(p);
    registry.addFilePresenter(&a); // again: nothing changes
    EXPECT_EQ(registry.watchedFolderCount(), before + 2);
    registry.removeFilePresenter(&a);
    EXPECT_EQ(registry.watchedFolderCount(), before + 2);
    registry.removeFilePresenter(&b);
    EXPECT_EQ(registry.watchedFolderCount(), before + 1);
    registry.removeFilePresenter(&c);
    EXPECT_EQ(registry.watchedFolderCount(), before);
    EXPECT_FALSE(registry.isPresenting(&c));
}

TEST(FilePresenters, OnlyThePresenterOfTheMovedFileIsTold) {
    Folder folder;
    RecordingPresenter moved(folder.write("a.txt")), still(folder.write("b.txt"));
    FilePresenterRegistry::shared().addFilePresenter(&moved);
    FilePresenterRegistry::shared().addFilePresenter(&still);
    ASSERT_TRUE(QFile::rename(folder.file("a.txt"), folder.file("c.txt")));
    ASSERT_TRUE(processEventsUntil([&] { return !moved.moves.isEmpty(); }));
    EXPECT_EQ(moved.moves, QStringList({folder.file("c.txt")}));
    EXPECT_TRUE(still.moves.isEmpty());

    ASSERT_TRUE(QFile::remove(folder.file("b.txt")));
    ASSERT_TRUE(processEventsUntil([&] { return still.disappearances > 0; }));
    EXPECT_TRUE(moved.moves.size() == 1);
    FilePresenterRegistry::shared().removeFilePresenter(&moved);
    FilePresenterRegistry::shared().removeFilePresenter(&still);
}

} // namespace
