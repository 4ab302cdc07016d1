#pragma once

#include "library/MWColor.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <array>
#include <functional>
#include <optional>

// The text forms, swatch image and name of a colour. Every text form reads the
// colour's RGB form (rgbColor()); alpha never shows in the text.

QString mw_hexStringShowPoundSign(const MWColor& color, bool showPoundSign);
QString mw_cssRGBString(const MWColor& color);
QString mw_cssHSLString(const MWColor& color);
QString mw_nscolorRGB(const MWColor& color);
QString mw_nscolorHSB(const MWColor& color);
QString mw_uicolorRGB(const MWColor& color);
QString mw_uicolorHSB(const MWColor& color);

// The export forms in the order the colour popup lists them and picks them by row.
struct MWColorExportForm {
    const char* name;
    QString (*text)(const MWColor&);
};
const std::array<MWColorExportForm, 8>& mw_colorExportForms();

// A rounded swatch of the colour, size in points, drawn at once from a copy of it.
QImage mw_colorImageWithSize(const MWColor& color, const QSizeF& size,
                             qreal devicePixelRatio = 1.0);

// A fairly saturated, bright colour: a whole-degree hue, saturation and brightness
// from 0.70 to 0.99 in steps of 0.01. The second form draws its three 32-bit
// numbers from the given source.
MWColor mw_randomColor();
MWColor mw_randomColor(const std::function<quint32()>& nextRandom);

// Hue in degrees, saturation and brightness in percent; nothing is clamped.
MWColor mw_colorWithEasyHue(double hue, double saturation, double brightness, double alpha = 1.0);

// Colour names keyed by "#" and six lower-case hexadecimal digits.
using MWColorNames = QHash<QString, QString>;

// The names resource, read and parsed afresh on each call; nothing when it cannot
// be read as UTF-8.
std::optional<MWColorNames> colorNamesDict();
std::optional<MWColorNames> colorNamesDictFromFile(const QString& path);
std::optional<MWColorNames> colorNamesDictFromData(const QByteArray& utf8);

// A names table fixed when it is made. Without names it answers nothing, for good.
class MWColorNameTable {
public:
    explicit MWColorNameTable(std::optional<MWColorNames> names) : names_(std::move(names)) {}
    std::optional<QString> nameOf(const MWColor& color) const;

private:
    const std::optional<MWColorNames> names_;
};

// The colour's name in the names resource, which is read once per process on the
// first call; a colour whose exact hexadecimal form is not listed has no name.
std::optional<QString> mw_colorName(const MWColor& color);
