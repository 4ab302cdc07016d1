#include "platform/ResourceValues.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

TEST(ResourceValues, KindsOfLocation) {
    Folder folder;
    struct Case {
        QString path;
        bool directory, package, alias;
    };
    const std::vector<Case> cases = {
        {folder.write("plain.txt"), false, false, false},
        {folder.makeFolder("Photos.2019"), true, false, false},
        {folder.makeFolder("Mail.app"), true, true, false},
        {folder.write("Mail.app.txt"), false, false, false},
        {folder.makeFolder(".app"), true, false, false},
        {folder.link("link-to-folder", folder.file("Photos.2019")), false, false, true},
    };
    for (const Case& c : cases) {
        const ResourceValues values = ResourceValues::forPath(c.path);
        EXPECT_TRUE(values.exists) << c.path.toStdString();
        EXPECT_EQ(values.isDirectory, c.directory) << c.path.toStdString();
        EXPECT_EQ(values.isPackage, c.package) << c.path.toStdString();
        EXPECT_EQ(values.isAliasFile, c.alias) << c.path.toStdString();
    }
    EXPECT_FALSE(ResourceValues::forPath(folder.file("missing")).exists);
}

TEST(ResourceValues, AliasChainsResolveAndLoopsDoNot) {
    Folder folder;
    const QString target = folder.write("target.txt");
    folder.link("one", target);
    folder.link("two", folder.file("one"));
    folder.link("loop-a", folder.file("loop-b"));
    folder.link("loop-b", folder.file("loop-a"));
    folder.link("self", folder.file("self"));
    folder.link("dangling", folder.file("missing"));
    EXPECT_EQ(resolveAliasChain(folder.file("two")), std::optional<QString>(target));
    EXPECT_EQ(resolveAliasChain(target), std::optional<QString>(target));
    for (const char* broken : {"loop-a", "self", "dangling", "missing"})
        EXPECT_FALSE(resolveAliasChain(folder.file(broken))) << broken;
}

TEST(FileNames, OnlyValidUtf8Decodes) {
    EXPECT_EQ(FileNames::decode("/tmp/caf\xc3\xa9"),
              std::optional<QString>(QString::fromUtf8("/tmp/café")));
    EXPECT_FALSE(FileNames::decode("/tmp/caf\xe9"));
    EXPECT_FALSE(FileNames::decode("/tmp/\xc3"));
    EXPECT_FALSE(FileNames::isValidUtf8("\xff\xfe"));
    EXPECT_TRUE(FileNames::isValidUtf8("plain"));
}

} // namespace
