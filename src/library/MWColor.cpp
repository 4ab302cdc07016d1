#include "library/MWColor.h"

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
