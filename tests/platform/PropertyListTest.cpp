#include "platform/PropertyList.h"
#include "support/PlistFixtures.h"
#include "support/TestNames.h"

#include <gtest/gtest.h>

namespace {

TEST(PropertyList, ReadsXmlAndBinaryAndWritesBoth) {
    const QVariantMap value{{"URL", QStringLiteral("https://example.org/ä")},
                            {"count", qint64(-3)},
                            {"flag", true},
                            {"bytes", QByteArray("\x00\x01", 2)},
                            {"list", QVariantList{1.5, QStringLiteral("x")}}};
    PropertyList::Node node = PropertyList::fromValue(value);
    for (const QByteArray& bytes :
         {PropertyList::toXml(node.get()), PropertyList::toBinary(node.get())}) {
        const std::optional<QVariant> back = PropertyList::parseValue(bytes);
        ASSERT_TRUE(back.has_value());
        const QVariantMap map = back->toMap();
        EXPECT_EQ(map.value("URL").toString(), QStringLiteral("https://example.org/ä"));
        EXPECT_EQ(map.value("count").toLongLong(), -3);
        EXPECT_TRUE(map.value("flag").toBool());
        EXPECT_EQ(map.value("bytes").toByteArray(), QByteArray("\x00\x01", 2));
        EXPECT_EQ(map.value("list").toList().size(), 2);
    }
}

struct BadDocument {
    const char* what;
    QByteArray bytes;
};

void PrintTo(const BadDocument& document, std::ostream* out) {
    *out << document.what;
}

class PropertyListRejects : public testing::TestWithParam<BadDocument> {};

TEST_P(PropertyListRejects, WithoutCrashing) {
    EXPECT_FALSE(PropertyList::parseValue(GetParam().bytes).has_value()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Junk, PropertyListRejects,
    testing::Values(BadDocument{"empty", QByteArray()},
                    BadDocument{"text", QByteArray("hello, world")},
                    BadDocument{"binary header only", QByteArray("bplist00")},
                    BadDocument{"deep binary", PlistFixtures::deeplyNestedBinary(200000)},
                    BadDocument{"cyclic binary", PlistFixtures::cyclicBinary(5)},
                    BadDocument{"deep xml", PlistFixtures::deeplyNestedXml(100000)},
                    BadDocument{"unclosed xml",
                                QByteArray("<?xml version=\"1.0\"?><plist><dict><key>URL</key>")}),
    [](const testing::TestParamInfo<BadDocument>& info) {
        return TestNames::identifier(info.param.what);
    });

TEST(PropertyList, NestingUpToTheLimitIsRead) {
    EXPECT_TRUE(
        PropertyList::parseValue(PlistFixtures::deeplyNestedBinary(PropertyList::maximumDepth))
            .has_value());
    EXPECT_TRUE(PropertyList::parseValue(PlistFixtures::deeplyNestedXml(PropertyList::maximumDepth))
                    .has_value());
}

} // namespace
