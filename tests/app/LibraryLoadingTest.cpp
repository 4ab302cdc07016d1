#include "app/AppDelegate.h"
#include "app/WIUserDefaults.h"
#include "library/QVGroupManager.h"
#include "platform/Alert.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "platform/Workspace.h"
#include "support/LibraryFixtures.h"
#include "support/PlistFixtures.h"
#include "support/TestNames.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

QByteArray binary(const QVariant& value) {
    return PropertyList::toBinary(PropertyList::fromValue(value).get());
}

QVariantMap document(const QVariant& root) {
    return {{"$archiveVersion", qint64(1)}, {"$root", root}};
}

QVariantMap group(QVariantMap extra = {}) {
    QVariantMap g{{"$class", "QVGroup"}, {"name", "Work"}, {"pinned", false}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        g.insert(it.key(), it.value());
    return g;
}

QByteArray validArchive() {
    Folder folder;
    return KeyedArchiver::archivedData(
        std::vector<ArchivablePtr>{groupNamed("Pinned"),
                                   groupNamed("Work", {shortcutTo(folder.write("a"))})},
        ArchiveFormat::Binary);
}

QByteArray randomBytes(int size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(42);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

struct BadLibrary {
    const char* what;
    QVariant stored;
};

void PrintTo(const BadLibrary& library, std::ostream* out) {
    *out << library.what;
}

std::vector<BadLibrary> badLibraries() {
    const QByteArray valid = validArchive();
    return {
        {"random bytes", randomBytes(4096)},
        {"random bytes behind a binary header", QByteArray("bplist00") + randomBytes(200)},
        {"a truncated archive", valid.left(valid.size() / 2)},
        {"a truncated archive missing its last byte", valid.left(valid.size() - 1)},
        {"an unknown class", binary(document(QVariantList{QVariantMap{{"$class", "NSWindow"}}}))},
        {"an object without a class", binary(document(QVariantList{QVariantMap{{"name", "x"}}}))},
        {"a name of the wrong type", binary(document(QVariantList{group({{"name", qint64(5)}})}))},
        {"pinned of the wrong type", binary(document(QVariantList{group({{"pinned", "yes"}})}))},
        {"a group where a shortcut belongs",
         binary(document(QVariantList{group({{"files", QVariantList{group()}}})}))},
        {"bookmark data of the wrong type",
         binary(document(QVariantList{group(
             {{"files",
               QVariantList{QVariantMap{{"$class", "QVFile"}, {"bookmarkData", "text"}}}}})}))},
        {"a shortcut where a group belongs",
         binary(document(QVariantList{QVariantMap{{"$class", "QVFile"}, {"name", "a"}}}))},
        {"a dictionary as the root", binary(document(group()))},
        {"no version", binary(QVariantMap{{"$root", QVariantList{}}})},
        {"a newer version",
         binary(QVariantMap{{"$archiveVersion", qint64(99)}, {"$root", QVariantList{}}})},
        {"deeply nested binary junk", PlistFixtures::deeplyNestedBinary(100000)},
        {"a cycle of objects", PlistFixtures::cyclicBinary(3)},
        {"deeply nested XML junk", PlistFixtures::deeplyNestedXml(50000)},
        {"groups nested in groups past the limit",
         [] {
             QVariant nested = group();
             for (int i = 0; i < 40; ++i)
                 nested = group({{"color", nested}});
             return binary(document(QVariantList{nested}));
         }()},
        {"a string instead of data", QStringLiteral("not an archive")},
    };
}

class UndecodableLibrary : public testing::TestWithParam<BadLibrary> {
protected:
    void TearDown() override {
        Alert::setResponder({});
        Workspace::setOpener({});
    }
};

TEST_P(UndecodableLibrary, AnswersNoShowsTheAlertAndLeavesTheStoredBytesAlone) {
    const BadLibrary& bad = GetParam();
    for (int button : {0, 1}) {
        SettingsFixture settings;
        settings.makeDefaults()->store().setObject("groups", bad.stored);
        const QByteArray onDisk = readFile(settings.settingsFile());

        auto defaults = settings.makeDefaults();
        LogCapture log;
        std::vector<AlertRequest> alerts;
        Alert::setResponder([&](const AlertRequest& request) {
            alerts.push_back(request);
            return button;
        });
        std::vector<QUrl> opened;
        Workspace::setOpener([&](const QUrl& url) {
            opened.push_back(url);
            return true;
        });

        AppDelegate delegate(*defaults);
        Application application(*qApp, delegate);
        EXPECT_EQ(application.run(), 1) << bad.what;

        EXPECT_TRUE(log.contains("Could not load actions because of error: ")) << bad.what;
        ASSERT_EQ(alerts.size(), 1u) << bad.what;
        EXPECT_EQ(alerts[0].messageText, "Error Loading Bookmarks Database");
        EXPECT_EQ(alerts[0].informativeText, "There was an error loading the Quiverlane database.");
        EXPECT_EQ(alerts[0].buttons, QStringList({"Contact Support", "Quit"}));
        EXPECT_EQ(opened.size(), button == 0 ? 1u : 0u) << bad.what;
        EXPECT_TRUE(defaults->groups().empty()) << bad.what;
        EXPECT_EQ(readFile(settings.settingsFile()), onDisk) << bad.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Archives, UndecodableLibrary, testing::ValuesIn(badLibraries()),
                         [](const testing::TestParamInfo<BadLibrary>& info) {
                             return TestNames::identifier(info.param.what);
                         });

TEST(LibraryLoading, AGoodLibraryLoadsBeforeAnythingElse) {
    SettingsFixture settings;
    settings.makeDefaults()->store().setObject("groups", validArchive());
    auto defaults = settings.makeDefaults();
    AppDelegate delegate(*defaults);
    delegate.applicationWillFinishLaunching();
    ASSERT_TRUE(delegate.libraryLoaded());
    ASSERT_EQ(defaults->groups().size(), 2u);
    EXPECT_EQ(defaults->groups()[1]->files().size(), 1u);
}

} // namespace
