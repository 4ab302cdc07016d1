#pragma once

#include "platform/KeyedArchive.h"

#include <QColor>
#include <QString>
#include <array>
#include <vector>

// A colour as the user chose it: its colour model, its components in that model
// (each from 0 to 1, in double precision) and its alpha.
//
// Everything that turns a colour into text reads it in double precision through
// rgbColor() and the component getters below; QColor, whose components are 16-bit,
// is only for painting.
class MWColor : public Archivable {
public:
    enum class Model { RGB = 0, Gray = 1, CMYK = 2, HSB = 3 };

    static constexpr const char* calibratedRGBSpace = "NSCalibratedRGBColorSpace";
    static constexpr const char* calibratedWhiteSpace = "NSCalibratedWhiteColorSpace";
    static constexpr const char* deviceCMYKSpace = "NSDeviceCMYKColorSpace";

    MWColor() = default;
    MWColor(Model model, std::vector<double> components, double alpha,
            QString colorSpaceName = QString());
    static MWColor rgb(double red, double green, double blue, double alpha = 1.0);
    static MWColor clearColor() { return rgb(0, 0, 0, 0); }
    static MWColor gray(double white, double alpha = 1.0);
    static MWColor cmyk(double cyan, double magenta, double yellow, double black,
                        double alpha = 1.0);
    // Hue, saturation and brightness as fractions of 1, in the calibrated space.
    static MWColor hsb(double hue, double saturation, double brightness, double alpha = 1.0);

    Model model() const { return model_; }
    const std::vector<double>& components() const { return components_; }
    double alpha() const { return alpha_; }
    QString colorSpaceName() const { return colorSpaceName_; }

    // An RGB colour comes back as it is, whichever RGB space it was made in; a colour
    // of any other model is converted into the calibrated RGB space. Alpha is kept.
    MWColor rgbColor() const;
    double red() const { return rgbComponents()[0]; }
    double green() const { return rgbComponents()[1]; }
    double blue() const { return rgbComponents()[2]; }
    // The hex-cone model. A colour made in HSB answers the values it was made with;
    // any other colour answers those of its RGB form (hue 0 for greys, saturation 0
    // for black).
    double hue() const { return hsbComponents()[0]; }
    double saturation() const { return hsbComponents()[1]; }
    double brightness() const { return hsbComponents()[2]; }

    // For painting only: clamped to 0...1 and narrowed to QColor's precision.
    QColor toQColor() const;

    bool operator==(const MWColor& other) const;

    QString archiveClassName() const override { return QStringLiteral("MWColor"); }
    void encodeWithCoder(KeyedArchiver& coder) const override;
    static ArchivablePtr decode(const KeyedUnarchiver& coder);

private:
    std::array<double, 3> rgbComponents() const;
    std::array<double, 3> hsbComponents() const;

    Model model_ = Model::RGB;
    std::vector<double> components_{0, 0, 0};
    double alpha_ = 1.0;
    QString colorSpaceName_;
};
