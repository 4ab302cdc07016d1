#include "library/ColorUtilities.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

// C's formatter, not QString::asprintf: the forms depend on its rounding of %0.0f
// (a tie goes to the even neighbour) and on its %02X of a truncated integer.
[[gnu::format(printf, 1, 2)]] QString cFormat(const char* format, ...) {
    char buffer[160];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return QString::fromLatin1(buffer);
}

QString rgbCode(const char* format, const MWColor& color) {
    const MWColor rgb = color.rgbColor();
    return cFormat(format, rgb.red(), rgb.green(), rgb.blue());
}

QString hsbCode(const char* format, const MWColor& color) {
    const MWColor rgb = color.rgbColor();
    return cFormat(format, rgb.hue(), rgb.saturation(), rgb.brightness());
}

} // namespace

QString mw_hexStringShowPoundSign(const MWColor& color, bool showPoundSign) {
    const MWColor rgb = color.rgbColor();
    const QString digits = cFormat("%02X%02X%02X", int(rgb.red() * 255), int(rgb.green() * 255),
                                   int(rgb.blue() * 255));
    return showPoundSign ? QLatin1Char('#') + digits : digits;
}

QString mw_cssRGBString(const MWColor& color) {
    const MWColor rgb = color.rgbColor();
    return cFormat("rgb(%0.0f, %0.0f, %0.0f)", rgb.red() * 255, rgb.green() * 255,
                   rgb.blue() * 255);
}

// The percentages are rounded from single-precision values computed in this order;
// computing them in double moves some of them by one.
QString mw_cssHSLString(const MWColor& color) {
    const MWColor rgb = color.rgbColor();
    const float h = float(rgb.hue());
    const float s = float(rgb.saturation());
    const float v = float(rgb.brightness());
    const float twoL = float(double(v) * (2.0 - double(s)));
    const float sv = s * v;
    const double divisor = twoL <= 1.0f ? double(twoL) : 2.0 - double(twoL);
    float sl = float(double(sv) / divisor);
    // Black and white divide 0 by 0; a near-white whose twoL rounds to 2 divides a
    // tiny saturation by 0. Neither has a saturation worth printing.
    if (!std::isfinite(sl))
        sl = 0.0f;
    return cFormat("hsl(%0.0f, %0.0f%%, %0.0f%%)", double(h * 360.0f), double(sl * 100.0f),
                   double((twoL * 0.5f) * 100.0f));
}

QString mw_nscolorRGB(const MWColor& color) {
    return rgbCode("[NSColor colorWithCalibratedRed:%0.3f green:%0.3f blue:%0.3f alpha:1.0]",
                   color);
}

QString mw_nscolorHSB(const MWColor& color) {
    return hsbCode(
        "[NSColor colorWithCalibratedHue:%0.3f saturation:%0.3f brightness:%0.3f alpha:1.0]",
        color);
}

QString mw_uicolorRGB(const MWColor& color) {
    return rgbCode("[UIColor colorWithRed:%0.3f green:%0.3f blue:%0.3f alpha:1.0]", color);
}

QString mw_uicolorHSB(const MWColor& color) {
    return hsbCode("[UIColor colorWithHue:%0.3f saturation:%0.3f brightness:%0.3f alpha:1.0]",
                   color);
}

const std::array<MWColorExportForm, 8>& mw_colorExportForms() {
    static const std::array<MWColorExportForm, 8> forms{{
        {"CSS #Hex", [](const MWColor& c) { return mw_hexStringShowPoundSign(c, true); }},
        {"CSS Hex", [](const MWColor& c) { return mw_hexStringShowPoundSign(c, false); }},
        {"CSS RGB", &mw_cssRGBString},
        {"CSS HSL", &mw_cssHSLString},
        {"NSColor RGB", &mw_nscolorRGB},
        {"NSColor HSB", &mw_nscolorHSB},
        {"UIColor RGB", &mw_uicolorRGB},
        {"UIColor HSB", &mw_uicolorHSB},
    }};
    return forms;
}

QImage mw_colorImageWithSize(const MWColor& color, const QSizeF& size, qreal devicePixelRatio) {
    QImage image((size * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath swatch;
    swatch.addRoundedRect(QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);
    painter.fillPath(swatch, color.toQColor());
    QColor stroke(Qt::black);
    stroke.setAlphaF(0.3f);
    painter.strokePath(swatch, QPen(stroke, 1.0));
    return image;
}

MWColor mw_randomColor() {
    return mw_randomColor([] { return QRandomGenerator::global()->generate(); });
}

MWColor mw_randomColor(const std::function<quint32()>& nextRandom) {
    const quint32 r1 = nextRandom();
    const quint32 r2 = nextRandom();
    const quint32 r3 = nextRandom();
    return MWColor::hsb(double(r1 % 360) / 360.0, double(70 + r2 % 30) / 100.0,
                        double(70 + r3 % 30) / 100.0, 1.0);
}

MWColor mw_colorWithEasyHue(double hue, double saturation, double brightness, double alpha) {
    return MWColor::hsb(hue / 360.0, saturation / 100.0, brightness / 100.0, alpha);
}

std::optional<MWColorNames> colorNamesDict() {
    return colorNamesDictFromFile(QStringLiteral(":/colornames.csv"));
}

std::optional<MWColorNames> colorNamesDictFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return colorNamesDictFromData(file.readAll());
}

std::optional<MWColorNames> colorNamesDictFromData(const QByteArray& utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        return std::nullopt;
    // Every line break of the Unicode newline set ends a line, so a CR LF pair
    // leaves an empty line between, which has one field and is skipped.
    static const QRegularExpression newline(
        QStringLiteral("[\\n\\x{000B}\\f\\r\\x{0085}\\x{2028}\\x{2029}]"));
    MWColorNames names;
    for (const QString& line : text.split(newline)) {
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() == 2)
            names.insert(fields[1], fields[0]);
    }
    return names;
}

std::optional<QString> MWColorNameTable::nameOf(const MWColor& color) const {
    if (!names_)
        return std::nullopt;
    const auto found = names_->constFind(mw_hexStringShowPoundSign(color, true).toLower());
    if (found == names_->constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> mw_colorName(const MWColor& color) {
    // Built on the first look-up and never again, even when the resource was missing.
    static const MWColorNameTable table(colorNamesDict());
    return table.nameOf(color);
}
