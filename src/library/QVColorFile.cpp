#include "library/QVColorFile.h"

#include "library/ColorUtilities.h"

#include <QFile>
#include <QPixmap>

ArchivablePtr QVColorFile::decode(const KeyedUnarchiver& coder) {
    auto file = std::make_shared<QVColorFile>();
    file->initWithCoder(coder);
    return file;
}

void QVColorFile::setColor(const MWColor& color) {
    color_ = color;
    tooltip_ = mw_hexStringShowPoundSign(color, true);
    setImage(QIcon(QPixmap::fromImage(mw_colorImageWithSize(color, QSizeF(16, 16), 2.0))));
}

void QVColorFile::setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias,
                         bool useFilePresenter, bool updateIcon) {
    QVFile::setUrl(url, updateBookmarkData, checkAlias, useFilePresenter, updateIcon);
    if (!this->url().isEmpty())
        readFile();
}

void QVColorFile::readFile() {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return;
    try {
        const ArchivablePtr root = KeyedUnarchiver::unarchiveObject(file.readAll());
        if (auto color = std::dynamic_pointer_cast<MWColor>(root))
            setColor(*color);
    } catch (const ArchiveDecodingError&) {
        // A swatch whose file does not decode simply has no colour.
    }
}
