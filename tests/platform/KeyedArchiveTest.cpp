#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// One object of every value kind the archive writes.
class Sample : public Archivable {
public:
    QString text;
    qint64 number = 0;
    bool flag = false;
    double real = 0;
    QByteArray bytes;
    std::vector<double> reals;
    std::vector<ArchivablePtr> children;

    QString archiveClassName() const override { return QStringLiteral("Sample"); }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeString("text", text);
        coder.encodeInt64("number", number);
        coder.encodeBool("flag", flag);
        coder.encodeDouble("real", real);
        coder.encodeData("bytes", bytes);
        coder.encodeDoubles("reals", reals);
        coder.encodeObjects("children", children);
    }
    static ArchivablePtr decode(const KeyedUnarchiver& coder) {
        auto sample = std::make_shared<Sample>();
        sample->text = coder.decodeString("text");
        sample->number = coder.decodeInt64("number");
        sample->flag = coder.decodeBool("flag");
        sample->real = coder.decodeDouble("real");
        sample->bytes = coder.decodeData("bytes");
        sample->reals = coder.decodeDoubles("reals");
        sample->children = coder.decodeObjects("children");
        return sample;
    }
};

class KeyedArchive : public testing::TestWithParam<ArchiveFormat> {
protected:
    void SetUp() override { ArchiveClasses::registerClass("Sample", &Sample::decode); }
};

TEST_P(KeyedArchive, EveryValueKindComesBackAsItWasWritten) {
    struct Values {
        QString text;
        qint64 number;
        double real;
        int byteCount;
    };
    const std::vector<Values> table = {
        {"", 0, 0.0, 0},
        {"plain ascii", 1, 0.5, 3},
        {QString::fromUtf8("Ünïcode ✓ and 😀 beyond the basic plane"), -1, -2.25, 14},
        {QString(300, u'x'), std::numeric_limits<qint64>::max(), 1e300, 15},
        {QString(20, QChar(0x4E2D)), std::numeric_limits<qint64>::min(), 0.2 + 0.1, 70000},
        {"x", 255, 0.0, 1},
        {"x", 65536, 0.0, 1},
        {"x", 4294967296LL, 0.0, 1},
    };
    for (const Values& v : table) {
        Sample sample;
        sample.text = v.text;
        sample.number = v.number;
        sample.flag = v.number % 2 != 0;
        sample.real = v.real;
        sample.bytes = QByteArray(v.byteCount, '\xA5');
        for (int i = 0; i < 17; ++i)
            sample.reals.push_back(i / 3.0);
        for (int i = 0; i < 20; ++i) {
            auto child = std::make_shared<Sample>();
            child->number = i;
            sample.children.push_back(child);
        }
        const QByteArray data = KeyedArchiver::archivedData(sample, GetParam());
        auto back = std::dynamic_pointer_cast<Sample>(KeyedUnarchiver::unarchiveObject(data));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->text, v.text);
        EXPECT_EQ(back->number, v.number);
        EXPECT_EQ(back->flag, sample.flag);
        EXPECT_EQ(back->real, v.real);
        EXPECT_EQ(back->bytes, sample.bytes);
        EXPECT_EQ(back->reals, sample.reals);
        ASSERT_EQ(back->children.size(), 20u);
        EXPECT_EQ(std::dynamic_pointer_cast<Sample>(back->children[19])->number, 19);
    }
}

TEST_P(KeyedArchive, OtherPropertyListReadersReadIt) {
    Sample sample;
    sample.text = QString::fromUtf8("café");
    sample.number = -7;
    const QByteArray data = KeyedArchiver::archivedData(sample, GetParam());
    const std::optional<QVariant> parsed = PropertyList::parseValue(data);
    ASSERT_TRUE(parsed);
    const QVariantMap root = parsed->toMap().value("$root").toMap();
    EXPECT_EQ(root.value("$class").toString(), "Sample");
    EXPECT_EQ(root.value("text").toString(), QString::fromUtf8("café"));
    EXPECT_EQ(root.value("number").toLongLong(), -7);
    EXPECT_EQ(parsed->toMap().value("$archiveVersion").toLongLong(), 1);
}

INSTANTIATE_TEST_SUITE_P(Forms, KeyedArchive,
                         testing::Values(ArchiveFormat::Binary, ArchiveFormat::Xml),
                         [](const testing::TestParamInfo<ArchiveFormat>& info) {
                             return std::string(info.param == ArchiveFormat::Binary ? "Binary"
                                                                                    : "Xml");
                         });

TEST(KeyedArchiveErrors, AnObjectUsedTwiceIsRefused) {
    ArchiveClasses::registerClass("Sample", &Sample::decode);
    // A hand-made document whose root array holds the same object twice.
    BinaryPropertyList::Writer writer;
    const auto object = writer.dictionary({{writer.key("$class"), writer.key("Sample")}});
    const auto root = writer.array({object, object});
    const auto document = writer.dictionary(
        {{writer.key("$archiveVersion"), writer.integer(1)}, {writer.key("$root"), root}});
    const QByteArray data = writer.finish(document);
    EXPECT_THROW(KeyedUnarchiver::unarchiveArray(data), ArchiveDecodingError);
}

} // namespace
