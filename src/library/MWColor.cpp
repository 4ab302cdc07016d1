#include "library/MWColor.h"

#include <algorithm>
#include <cmath>

namespace {
size_t componentCount(MWColor::Model model) {
    switch (model) {
    case MWColor::Model::Gray:
        return 1;
    case MWColor::Model::CMYK:
        return 4;
    default:
        return 3;
    }
}
} // namespace

MWColor::MWColor(Model model, std::vector<double> components, double alpha, QString colorSpaceName)
    : model_(model), components_(std::move(components)), alpha_(alpha),
      colorSpaceName_(std::move(colorSpaceName)) {
    components_.resize(componentCount(model_), 0.0);
}

MWColor MWColor::rgb(double red, double green, double blue, double alpha) {
    return MWColor(Model::RGB, {red, green, blue}, alpha);
}

MWColor MWColor::gray(double white, double alpha) {
    return MWColor(Model::Gray, {white}, alpha, QString::fromLatin1(calibratedWhiteSpace));
}

MWColor MWColor::cmyk(double cyan, double magenta, double yellow, double black, double alpha) {
    return MWColor(Model::CMYK, {cyan, magenta, yellow, black}, alpha,
                   QString::fromLatin1(deviceCMYKSpace));
}

MWColor MWColor::hsb(double hue, double saturation, double brightness, double alpha) {
    return MWColor(Model::HSB, {hue, saturation, brightness}, alpha,
                   QString::fromLatin1(calibratedRGBSpace));
}

std::array<double, 3> MWColor::rgbComponents() const {
    const std::vector<double>& c = components_;
    switch (model_) {
    case Model::RGB:
        return {c[0], c[1], c[2]};
    case Model::Gray:
        return {c[0], c[0], c[0]};
    case Model::CMYK: {
        // Black darkens each ink's complement multiplicatively, so that a full
        // black gives black whatever the inks, without clamping.
        const double keep = 1.0 - c[3];
        return {(1.0 - c[0]) * keep, (1.0 - c[1]) * keep, (1.0 - c[2]) * keep};
    }
    case Model::HSB:
        break;
    }
    // Hue is not clamped by its constructors, so wrap it into one turn first.
    const double value = c[2];
    const double saturation = c[1];
    const double sector = 6.0 * (c[0] - std::floor(c[0]));
    const int index = int(std::floor(sector)) % 6;
    const double f = sector - std::floor(sector);
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - saturation * (1.0 - f));
    switch (index) {
    case 0:
        return {value, t, p};
    case 1:
        return {q, value, p};
    case 2:
        return {p, value, t};
    case 3:
        return {p, q, value};
    case 4:
        return {t, p, value};
    default:
        return {value, p, q};
    }
}

std::array<double, 3> MWColor::hsbComponents() const {
    if (model_ == Model::HSB)
        return {components_[0], components_[1], components_[2]};
    const auto [r, g, b] = rgbComponents();
    const double max = std::max({r, g, b});
    const double delta = max - std::min({r, g, b});
    double hue = 0.0;
    if (delta > 0.0) {
        if (max == r)
            hue = (g - b) / delta;
        else if (max == g)
            hue = (b - r) / delta + 2.0;
        else
            hue = (r - g) / delta + 4.0;
        hue /= 6.0;
        if (hue < 0.0)
            hue += 1.0;
    }
    return {hue, max > 0.0 ? delta / max : 0.0, max};
}

MWColor MWColor::rgbColor() const {
    if (model_ == Model::RGB)
        return *this;
    const auto [r, g, b] = rgbComponents();
    return MWColor(Model::RGB, {r, g, b}, alpha_, QString::fromLatin1(calibratedRGBSpace));
}

QColor MWColor::toQColor() const {
    const auto clamp = [](double v) { return float(std::clamp(v, 0.0, 1.0)); };
    const auto [r, g, b] = rgbComponents();
    return QColor::fromRgbF(clamp(r), clamp(g), clamp(b), clamp(alpha_));
}

bool MWColor::operator==(const MWColor& other) const {
    return model_ == other.model_ && components_ == other.components_ && alpha_ == other.alpha_ &&
           colorSpaceName_ == other.colorSpaceName_;
}

void MWColor::encodeWithCoder(KeyedArchiver& coder) const {
    coder.encodeInt64("model", qint64(model_));
    coder.encodeDoubles("components", components_);
    coder.encodeDouble("alpha", alpha_);
    if (!colorSpaceName_.isEmpty())
        coder.encodeString("space", colorSpaceName_);
}

ArchivablePtr MWColor::decode(const KeyedUnarchiver& coder) {
    const qint64 model = coder.decodeInt64("model");
    if (model < 0 || model > qint64(Model::HSB))
        throw ArchiveDecodingError("unknown colour model");
    std::vector<double> components = coder.decodeDoubles("components");
    if (components.size() != componentCount(Model(model)))
        throw ArchiveDecodingError("wrong number of colour components");
    const double alpha = coder.containsValueForKey("alpha") ? coder.decodeDouble("alpha") : 1.0;
    return std::make_shared<MWColor>(Model(model), std::move(components), alpha,
                                     coder.decodeString("space"));
}
