#include "library/ColorUtilities.h"
#include "support/TestNames.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The eight forms of one colour. The code forms are checked whole; the table
// below gives only the three numbers each of them carries.
struct FormsCase {
    const char* what;
    MWColor color;
    const char* hex;
    const char* cssRGB;
    const char* cssHSL;
    const char* rgbNumbers;
    const char* hsbNumbers;
    std::optional<QString> shippedName;
};

void PrintTo(const FormsCase& c, std::ostream* out) {
    *out << c.what;
}

QString fill(const char* format, const char* numbers) {
    const QStringList n = QString::fromLatin1(numbers).split(' ');
    return QString::fromLatin1(format).arg(n.value(0), n.value(1), n.value(2));
}

class ColorForms : public testing::TestWithParam<FormsCase> {};

TEST_P(ColorForms, AllEightFormsAndTheShippedName) {
    const FormsCase& c = GetParam();
    const auto& forms = mw_colorExportForms();
    const QString expected[8] = {
        QStringLiteral("#") + c.hex,
        QString::fromLatin1(c.hex),
        QString::fromLatin1(c.cssRGB),
        QString::fromLatin1(c.cssHSL),
        fill("[NSColor colorWithCalibratedRed:%1 green:%2 blue:%3 alpha:1.0]", c.rgbNumbers),
        fill("[NSColor colorWithCalibratedHue:%1 saturation:%2 brightness:%3 alpha:1.0]",
             c.hsbNumbers),
        fill("[UIColor colorWithRed:%1 green:%2 blue:%3 alpha:1.0]", c.rgbNumbers),
        fill("[UIColor colorWithHue:%1 saturation:%2 brightness:%3 alpha:1.0]", c.hsbNumbers),
    };
    for (size_t i = 0; i < forms.size(); ++i)
        EXPECT_EQ(forms[i].text(c.color), expected[i]) << forms[i].name;
    EXPECT_EQ(mw_colorName(c.color), c.shippedName);
}

const double nearOne = 1 - 1e-9;

INSTANTIATE_TEST_SUITE_P(
    Colors, ColorForms,
    testing::Values(
        FormsCase{"black", MWColor::rgb(0, 0, 0), "000000", "rgb(0, 0, 0)", "hsl(0, 0%, 0%)",
                  "0.000 0.000 0.000", "0.000 0.000 0.000", "Black"},
        FormsCase{"white", MWColor::rgb(1, 1, 1), "FFFFFF", "rgb(255, 255, 255)",
                  "hsl(0, 0%, 100%)", "1.000 1.000 1.000", "0.000 0.000 1.000", "White"},
        FormsCase{"red 0.2 green 0.4 blue 0.6", MWColor::rgb(0.2, 0.4, 0.6), "336699",
                  "rgb(51, 102, 153)", "hsl(210, 50%, 40%)", "0.200 0.400 0.600",
                  "0.583 0.667 0.600", std::nullopt},
        FormsCase{"hexadecimal truncates where CSS rounds", MWColor::rgb(0.999, 0.001, 0.5),
                  "FE007F", "rgb(255, 0, 128)", "hsl(330, 100%, 50%)", "0.999 0.001 0.500",
                  "0.917 0.999 0.999", std::nullopt},
        FormsCase{"CSS ties go to the even neighbour",
                  MWColor::rgb(2.5 / 255, 0.5 / 255, 126.5 / 255), "02007E", "rgb(2, 0, 126)",
                  "hsl(241, 99%, 25%)", "0.010 0.002 0.496", "0.669 0.996 0.496", std::nullopt},
        // Its hue is 214.5 degrees in single precision, a hair below in double.
        FormsCase{"HSL in single precision", MWColor::rgb(0, 51 / 255.0, 120 / 255.0), "003378",
                  "rgb(0, 51, 120)", "hsl(215, 100%, 24%)", "0.000 0.200 0.471",
                  "0.596 1.000 0.471", std::nullopt},
        FormsCase{"grey 0.5 in RGB", MWColor::rgb(0.5, 0.5, 0.5), "7F7F7F", "rgb(128, 128, 128)",
                  "hsl(0, 0%, 50%)", "0.500 0.500 0.500", "0.000 0.000 0.500", "Gray 50"},
        FormsCase{"grey 0.5 in a grey space", MWColor::gray(0.5), "7F7F7F", "rgb(128, 128, 128)",
                  "hsl(0, 0%, 50%)", "0.500 0.500 0.500", "0.000 0.000 0.500", "Gray 50"},
        FormsCase{"CMYK with some black", MWColor::cmyk(0, 0.5, 1, 0.2), "CC6600",
                  "rgb(204, 102, 0)", "hsl(30, 100%, 40%)", "0.800 0.400 0.000",
                  "0.083 1.000 0.800", std::nullopt},
        FormsCase{"easy hue of 30 degrees", mw_colorWithEasyHue(30, 100, 100), "FF7F00",
                  "rgb(255, 128, 0)", "hsl(30, 100%, 50%)", "1.000 0.500 0.000",
                  "0.083 1.000 1.000", std::nullopt},
        FormsCase{"device RGB with alpha, used as it is",
                  MWColor(MWColor::Model::RGB, {1, 0.5, 0}, 0.25, "NSDeviceRGBColorSpace"),
                  "FF7F00", "rgb(255, 128, 0)", "hsl(30, 100%, 50%)", "1.000 0.500 0.000",
                  "0.083 1.000 1.000", std::nullopt},
        FormsCase{"a named colour in 8-bit steps", MWColor::rgb(240 / 255.0, 248 / 255.0, 1),
                  "F0F8FF", "rgb(240, 248, 255)", "hsl(208, 100%, 97%)", "0.941 0.973 1.000",
                  "0.578 0.059 1.000", "Alice Blue"},
        // Its lightness rounds to 2 in single precision while its saturation does
        // not vanish: the HSL saturation would be a division by zero.
        FormsCase{"near white", MWColor::rgb(1, 1, nearOne), "FFFFFE", "rgb(255, 255, 255)",
                  "hsl(60, 0%, 100%)", "1.000 1.000 1.000", "0.167 0.000 1.000", std::nullopt}),
    [](const testing::TestParamInfo<FormsCase>& info) {
        return TestNames::identifier(info.param.what);
    });

TEST(ColorForms, TheExportTableInItsOrder) {
    const MWColor orange = MWColor::rgb(1.0, 0.5, 0.0);
    const std::vector<std::pair<QString, QString>> expected{
        {"CSS #Hex", "#FF7F00"},
        {"CSS Hex", "FF7F00"},
        {"CSS RGB", "rgb(255, 128, 0)"},
        {"CSS HSL", "hsl(30, 100%, 50%)"},
        {"NSColor RGB", "[NSColor colorWithCalibratedRed:1.000 green:0.500 blue:0.000 alpha:1.0]"},
        {"NSColor HSB",
         "[NSColor colorWithCalibratedHue:0.083 saturation:1.000 brightness:1.000 alpha:1.0]"},
        {"UIColor RGB", "[UIColor colorWithRed:1.000 green:0.500 blue:0.000 alpha:1.0]"},
        {"UIColor HSB", "[UIColor colorWithHue:0.083 saturation:1.000 brightness:1.000 alpha:1.0]"},
    };
    const auto& forms = mw_colorExportForms();
    ASSERT_EQ(forms.size(), expected.size());
    for (size_t i = 0; i < forms.size(); ++i) {
        EXPECT_EQ(QString::fromLatin1(forms[i].name), expected[i].first);
        EXPECT_EQ(forms[i].text(orange), expected[i].second) << forms[i].name;
    }
}

// Every sector of the hex cone, and hues outside one turn, which the easy-hue
// constructors let through.
TEST(ColorForms, HueSectorsConvertToRGB) {
    struct Sector {
        double degrees;
        double red, green, blue;
    };
    const Sector sectors[] = {{30, 1, 0.5, 0},  {90, 0.5, 1, 0},  {150, 0, 1, 0.5},
                              {210, 0, 0.5, 1}, {270, 0.5, 0, 1}, {330, 1, 0, 0.5},
                              {360, 1, 0, 0},   {390, 1, 0.5, 0}, {-30, 1, 0, 0.5}};
    for (const Sector& s : sectors) {
        const MWColor color = mw_colorWithEasyHue(s.degrees, 100, 100, 0.4);
        EXPECT_NEAR(color.red(), s.red, 1e-12) << s.degrees;
        EXPECT_NEAR(color.green(), s.green, 1e-12) << s.degrees;
        EXPECT_NEAR(color.blue(), s.blue, 1e-12) << s.degrees;
        const MWColor rgb = color.rgbColor();
        EXPECT_EQ(rgb.model(), MWColor::Model::RGB);
        EXPECT_EQ(rgb.colorSpaceName(), MWColor::calibratedRGBSpace);
        EXPECT_EQ(rgb.alpha(), 0.4);
    }
    const MWColor unclamped = mw_colorWithEasyHue(390, 50, 120, 0.25);
    EXPECT_EQ(unclamped.components(), (std::vector<double>{390 / 360.0, 0.5, 1.2}));
    EXPECT_EQ(unclamped.alpha(), 0.25);
}

struct RandomCase {
    const char* what;
    quint32 r1, r2, r3;
    double hue, saturation, brightness;
};

void PrintTo(const RandomCase& c, std::ostream* out) {
    *out << c.what;
}

class RandomColor : public testing::TestWithParam<RandomCase> {};

TEST_P(RandomColor, TakesWholeDegreesAndHundredthsFromItsNumbers) {
    const RandomCase& c = GetParam();
    const quint32 numbers[] = {c.r1, c.r2, c.r3};
    int next = 0;
    const MWColor color = mw_randomColor([&] { return numbers[next++]; });
    EXPECT_EQ(next, 3);
    EXPECT_EQ(color.model(), MWColor::Model::HSB);
    EXPECT_DOUBLE_EQ(color.hue(), c.hue);
    EXPECT_DOUBLE_EQ(color.saturation(), c.saturation);
    EXPECT_DOUBLE_EQ(color.brightness(), c.brightness);
    EXPECT_EQ(color.alpha(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, RandomColor,
    testing::Values(RandomCase{"zeros", 0, 0, 0, 0, 0.70, 0.70},
                    RandomCase{"the top of each range", 359, 29, 29, 359 / 360.0, 0.99, 0.99},
                    RandomCase{"one past the top wraps", 360, 30, 60, 0, 0.70, 0.70},
                    RandomCase{"the largest unsigned numbers", 0xFFFFFFFFu, 0xFFFFFFFFu,
                               0xFFFFFFFEu, 255 / 360.0, 0.85, 0.84}),
    [](const testing::TestParamInfo<RandomCase>& info) {
        return TestNames::identifier(info.param.what);
    });

TEST(RandomColor, StaysFairlySaturatedAndBright) {
    QSet<int> hues;
    for (int i = 0; i < 2000; ++i) {
        const MWColor color = mw_randomColor();
        for (double component : {color.saturation(), color.brightness()}) {
            EXPECT_GE(component, 0.70);
            EXPECT_LE(component, 0.99);
        }
        const double degrees = color.hue() * 360;
        EXPECT_NEAR(degrees, std::round(degrees), 1e-9);
        EXPECT_LT(degrees, 360);
        hues.insert(int(std::round(degrees)));
    }
    EXPECT_GT(hues.size(), 100) << "the hue should vary from draw to draw";
}

TEST(ColorImage, IsARoundedInsetSwatchWithAFaintBlackOutline) {
    const QImage image = mw_colorImageWithSize(MWColor::rgb(1, 1, 1), QSizeF(16, 16))
                             .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the corner is rounded off";
    // The outline covers the outermost ring of pixels; inside it is the fill alone.
    EXPECT_EQ(image.pixel(8, 8), qRgba(255, 255, 255, 255));
    EXPECT_EQ(image.pixel(1, 8), qRgba(255, 255, 255, 255));
    // The edge pixel: half covered by the fill, wholly by the outline at alpha 0.3,
    // so 0.3 + 0.5 × 0.7 opaque and a mid grey.
    const QRgb edge = image.pixel(8, 0);
    EXPECT_NEAR(qAlpha(edge), 0.65 * 255, 6);
    EXPECT_NEAR(qRed(edge), 0.35 / 0.65 * 255, 6);
    EXPECT_EQ(qRed(edge), qGreen(edge));
    EXPECT_EQ(qRed(edge), qBlue(edge));

    const QImage sharp = mw_colorImageWithSize(MWColor::rgb(0, 0, 1, 0.5), QSizeF(16, 10), 2.0);
    const QImage sharpPixels = sharp.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(sharp.size(), QSize(32, 20));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(16, 10));
    EXPECT_NEAR(qAlpha(sharpPixels.pixel(16, 10)), 128, 1);
    EXPECT_NEAR(qBlue(sharpPixels.pixel(16, 10)), 255, 2);
}

// One names file and what it answers for one colour. A missing file is no text.
struct NamesCase {
    const char* what;
    std::optional<QByteArray> file;
    MWColor color;
    std::optional<QString> name;
};

void PrintTo(const NamesCase& c, std::ostream* out) {
    *out << c.what;
}

class ColorNames : public testing::TestWithParam<NamesCase> {};

TEST_P(ColorNames, LooksUpTheExactLowerCaseKeyOnly) {
    const NamesCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("colornames.csv");
    const auto write = [&](const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    if (c.file)
        write(*c.file);
    const MWColorNameTable table(colorNamesDictFromFile(path));
    EXPECT_EQ(table.nameOf(c.color), c.name);

    // The table is never read again, not even when there was nothing to read.
    write("Replaced,#ff7f00\nReplaced,#8b0000\nReplaced,#000000\n");
    EXPECT_EQ(table.nameOf(c.color), c.name);
}

const MWColor tangerine = MWColor::rgb(1.0, 0.5, 0.0);
const MWColor darkRed = MWColor::rgb(139 / 255.0, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Files, ColorNames,
    testing::Values(
        NamesCase{"a key in upper case", "Tangerine,#FF7F00\n", tangerine, std::nullopt},
        NamesCase{"a key in lower case", "Tangerine,#ff7f00\n", tangerine, "Tangerine"},
        NamesCase{"a name with a comma", "Red, Dark,#8b0000\n", darkRed, std::nullopt},
        NamesCase{"a third column", "Dark Red,#8b0000,\n", darkRed, std::nullopt},
        NamesCase{"no newline at the end", "Black,#000000\nDark Red,#8b0000", darkRed, "Dark Red"},
        NamesCase{"CR LF line ends", "Black,#000000\r\nDark Red,#8b0000\r\n", darkRed, "Dark Red"},
        NamesCase{"Unicode line and paragraph separators",
                  "Black,#000000\u2028Tangerine,#ff7f00\u2029Dark Red,#8b0000", tangerine,
                  "Tangerine"},
        NamesCase{"next line and vertical tab", "Black,#000000\u0085Tangerine,#ff7f00\vX,#1",
                  tangerine, "Tangerine"},
        NamesCase{"a later line with the same key", "Tangerine,#ff7f00\nOrange Peel,#ff7f00\n",
                  tangerine, "Orange Peel"},
        NamesCase{"spaces around the name are kept", " Tangerine ,#ff7f00\n", tangerine,
                  " Tangerine "},
        NamesCase{"a space before the key", "Tangerine, #ff7f00\n", tangerine, std::nullopt},
        NamesCase{"a colour that truncates onto the key", "Black,#000000\n",
                  MWColor::rgb(0.999 / 255, 0, 0), "Black"},
        NamesCase{"text that is not UTF-8", QByteArray("Tangerine,#ff7f00\n\xff\n"), tangerine,
                  std::nullopt},
        NamesCase{"no names resource", std::nullopt, MWColor::rgb(0, 0, 0), std::nullopt}),
    [](const testing::TestParamInfo<NamesCase>& info) {
        return TestNames::identifier(info.param.what);
    });

TEST(ColorNames, AMissingOrBrokenResourceIsNoTableAtAll) {
    QTemporaryDir dir;
    EXPECT_FALSE(colorNamesDictFromFile(dir.filePath("absent.csv")).has_value());
    EXPECT_FALSE(colorNamesDictFromData(QByteArray("Black,#000000\n\xc3")).has_value())
        << "a sequence cut at the end is not UTF-8";
    const std::optional<MWColorNames> empty = colorNamesDictFromData(QByteArray());
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
}

// A malformed line in the shipped table would drop its name without a word, and a
// repeated key would hide the earlier name.
TEST(ColorNames, TheShippedTableIsWellFormed) {
    QFile file(":/colornames.csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    const QRegularExpression key("^#[0-9a-f]{6}$");
    QSet<QString> keys;
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        ASSERT_EQ(fields.size(), 2) << line.toStdString();
        EXPECT_FALSE(fields[0].trimmed().isEmpty()) << line.toStdString();
        EXPECT_TRUE(key.match(fields[1]).hasMatch()) << line.toStdString();
        EXPECT_FALSE(keys.contains(fields[1])) << "repeated: " << line.toStdString();
        keys.insert(fields[1]);
    }
    const std::optional<MWColorNames> names = colorNamesDict();
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(names->size(), keys.size());
    EXPECT_EQ(names->value("#663399"), "Rebecca Purple");
}

} // namespace
