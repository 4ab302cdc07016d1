#pragma once

#include "library/MWColor.h"
#include "library/QVFile.h"
#include "platform/KeyedArchive.h"

#include <optional>
#include <vector>

// A named, coloured, ordered list of shortcuts.
class QVGroup : public Archivable {
public:
    QVGroup() = default;

    static ArchivablePtr decode(const KeyedUnarchiver& coder);
    QString archiveClassName() const override { return QStringLiteral("QVGroup"); }
    void encodeWithCoder(KeyedArchiver& coder) const override;

    bool isPinned() const { return pinned_; }
    void setPinned(bool pinned) { pinned_ = pinned; }
    bool isExpanded() const { return isExpanded_; }
    void setIsExpanded(bool expanded) { isExpanded_ = expanded; }
    const std::optional<MWColor>& color() const { return color_; }
    void setColor(const std::optional<MWColor>& color) { color_ = color; }
    QString name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    qint64 order() const { return order_; }
    void setOrder(qint64 order) { order_ = order; }
    const std::vector<QVFilePtr>& files() const { return files_; }

    void addFile(const QVFilePtr& file);
    void removeFile(const QVFilePtr& file, bool deleteLocalData);
    void removeFile(const QVFilePtr& file) { removeFile(file, true); }
    void updateFiles(const std::vector<QVFilePtr>& files);

    QString description() const;

private:
    void refreshFiles() { files_ = workingFiles_; }

    bool pinned_ = false;
    bool isExpanded_ = true;
    std::optional<MWColor> color_ = MWColor::clearColor();
    QString name_;
    qint64 order_ = 0;
    std::vector<QVFilePtr> files_;
    std::vector<QVFilePtr> workingFiles_;
};

using QVGroupPtr = std::shared_ptr<QVGroup>;
