#include "library/QVGroup.h"

#include "platform/SystemLog.h"

#include <algorithm>

namespace {
const char* const keyName = "name";
const char* const keyOrder = "order";
const char* const keyPinned = "pinned";
const char* const keyIsExpanded = "isExpanded";
const char* const keyFiles = "files";
const char* const keyColor = "color";
} // namespace

ArchivablePtr QVGroup::decode(const KeyedUnarchiver& coder) {
    auto group = std::make_shared<QVGroup>();
    group->name_ = coder.decodeString(keyName);
    group->order_ = coder.decodeInt64(keyOrder);
    group->pinned_ = coder.decodeBool(keyPinned);
    group->isExpanded_ =
        coder.containsValueForKey(keyIsExpanded) ? coder.decodeBool(keyIsExpanded) : true;
    group->workingFiles_ = coder.decodeObjectsOfClass<QVFile>(keyFiles);
    group->refreshFiles();
    if (auto color = coder.decodeObjectOfClass<MWColor>(keyColor))
        group->color_ = *color;
    else
        group->color_.reset();
    return group;
}

void QVGroup::encodeWithCoder(KeyedArchiver& coder) const {
    if (!name_.isNull())
        coder.encodeString(keyName, name_);
    coder.encodeInt64(keyOrder, order_);
    coder.encodeBool(keyPinned, pinned_);
    coder.encodeBool(keyIsExpanded, isExpanded_);
    coder.encodeObjects(keyFiles,
                        std::vector<ArchivablePtr>(workingFiles_.begin(), workingFiles_.end()));
    if (color_)
        coder.encodeObject(keyColor, *color_);
}

void QVGroup::addFile(const QVFilePtr& file) {
    const QString path = file->path();
    for (const QVFilePtr& existing : workingFiles_) {
        if (existing->path() == path)
            return;
    }
    workingFiles_.push_back(file);
    refreshFiles();
}

void QVGroup::removeFile(const QVFilePtr& file, bool deleteLocalData) {
    std::erase(workingFiles_, file);
    refreshFiles();
    if (deleteLocalData)
        file->deleteLocalDataIfNeeded();
}

void QVGroup::updateFiles(const std::vector<QVFilePtr>& files) {
    workingFiles_ = files;
    refreshFiles();
}

QString QVGroup::description() const {
    return SystemLog::format(QStringLiteral("<%@: %@ name=%@, pinned=%@>"),
                             {QStringLiteral("QVGroup"),
                              QString::asprintf("%p", static_cast<const void*>(this)),
                              name_.isNull() ? QStringLiteral("(null)") : name_,
                              pinned_ ? QStringLiteral("YES") : QStringLiteral("NO")});
}
