#pragma once

#include "library/MWColor.h"
#include "library/QVFile.h"

#include <optional>

// A colour swatch: a shortcut to a file of the program's own holding one archived
// colour, read each time the shortcut is pointed at the file.
class QVColorFile : public QVFile {
    Q_OBJECT
public:
    static ArchivablePtr decode(const KeyedUnarchiver& coder);
    QString archiveClassName() const override { return QStringLiteral("QVColorFile"); }

    // Nothing until a colour was set or read from the file.
    const std::optional<MWColor>& color() const { return color_; }
    // Keeps a copy and shows it (tool tip and swatch icon); does not write the file.
    void setColor(const MWColor& color);
    // The colour as "#RRGGBB".
    QString tooltip() const { return tooltip_; }

    using QVFile::setUrl;
    void setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias, bool useFilePresenter,
                bool updateIcon) override;

private:
    void readFile();

    std::optional<MWColor> color_;
    QString tooltip_;
};

using QVColorFilePtr = std::shared_ptr<QVColorFile>;
