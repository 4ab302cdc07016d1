#pragma once

#include "platform/KeyedArchive.h"

#include <QString>
#include <vector>

// A colour as the user chose it: its colour model, its components in that model
// (each from 0 to 1, in double precision) and its alpha.
class MWColor : public Archivable {
public:
    enum class Model { RGB = 0, Gray = 1, CMYK = 2, HSB = 3 };

    MWColor() = default;
    MWColor(Model model, std::vector<double> components, double alpha,
            QString colorSpaceName = QString());
    static MWColor rgb(double red, double green, double blue, double alpha = 1.0);
    static MWColor clearColor() { return rgb(0, 0, 0, 0); }

    Model model() const { return model_; }
    const std::vector<double>& components() const { return components_; }
    double alpha() const { return alpha_; }
    QString colorSpaceName() const { return colorSpaceName_; }

    bool operator==(const MWColor& other) const;

    QString archiveClassName() const override { return QStringLiteral("MWColor"); }
    void encodeWithCoder(KeyedArchiver& coder) const override;
    static ArchivablePtr decode(const KeyedUnarchiver& coder);

private:
    Model model_ = Model::RGB;
    std::vector<double> components_{0, 0, 0};
    double alpha_ = 1.0;
    QString colorSpaceName_;
};
