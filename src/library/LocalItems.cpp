#include "library/LocalItems.h"

#include "library/LocalFiles.h"
#include "platform/FileURLs.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <QVariantMap>

namespace LocalItems {
namespace {

constexpr qsizetype maximumNameBytes = 255;

// The longest start of `text` that takes at most `bytes` bytes in UTF-8, cut
// between characters.
QString utf8Prefix(const QString& text, qsizetype bytes) {
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair =
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const qsizetype size = text.mid(end, units).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        end += units;
    }
    return text.left(end);
}

template <typename Item> std::shared_ptr<Item> itemAt(const std::optional<QString>& path) {
    if (!path)
        return nullptr;
    auto item = std::make_shared<Item>();
    item->setUrl(FileURLs::fromPath(*path));
    return item;
}

void removeItemFile(const QString& path) {
    QFile::remove(path);
    QDir().rmdir(QFileInfo(path).path());
}

UpdateResult replace(QVFile& file, const std::optional<QString>& newPath) {
    if (!newPath)
        return UpdateResult::NotWritten;
    const QString oldPath = file.path();
    // A folder that would not go away after its file did still leaves the
    // shortcut with nothing to show: the new file is the content now.
    if (!file.deleteLocalDataIfNeeded() && (oldPath.isEmpty() || QFileInfo::exists(oldPath))) {
        removeItemFile(*newPath);
        return UpdateResult::OldDataKept;
    }
    file.setUrl(FileURLs::fromPath(*newPath));
    return UpdateResult::Updated;
}

} // namespace

QString fileNameForTitle(const QString& title, const QString& extension) {
    QString name = title;
    for (QChar c : {QChar(u'/'), QChar(u'\\'), QChar(u'?'), QChar(u'%'), QChar(u'*'), QChar(u'|'),
                    QChar(u'"'), QChar(u'<'), QChar(u'>'), QChar(0)})
        name.replace(c, u'-');
    const QString suffix = u'.' + extension;
    const bool hasExtension = name.endsWith(suffix);
    name.remove(u'\n');
    QString stem = hasExtension ? name.chopped(suffix.size()) : name;
    if (stem.isEmpty())
        stem = QStringLiteral("Untitled");
    const qsizetype room = maximumNameBytes - suffix.toUtf8().size();
    if (stem.toUtf8().size() > room)
        stem = utf8Prefix(stem, room);
    return stem + suffix;
}

std::optional<QString> uniqueFileNameWithExtension(const QString& extension, const QString& title) {
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString itemFolder = LocalFiles::folder() + u'/' + uuid;
    if (!QDir().mkpath(itemFolder))
        return std::nullopt;
    return itemFolder + u'/' + fileNameForTitle(title, extension);
}

std::optional<QString> writeNewItemFile(const QString& title, const QString& extension,
                                        const QByteArray& contents) {
    const std::optional<QString> path = uniqueFileNameWithExtension(extension, title);
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.flush()) {
        file.close();
        removeItemFile(*path);
        return std::nullopt;
    }
    return path;
}

QByteArray webLocContents(const QString& title, const QString& url) {
    const QVariantMap bookmark{{QStringLiteral("URL"), url}, {QStringLiteral("urlName"), title}};
    const PropertyList::Node root = PropertyList::fromValue(bookmark);
    return PropertyList::toXml(root.get());
}

QByteArray colorContents(const MWColor& color) {
    return KeyedArchiver::archivedData(color, ArchiveFormat::Xml);
}

std::optional<QString> makeWebLocFileWithTitle(const QString& title, const QString& url) {
    return writeNewItemFile(title, QStringLiteral("webloc"), webLocContents(title, url));
}

QVTextSnippetFilePtr addTextSnippet(const QString& title, const QString& content) {
    return itemAt<QVTextSnippetFile>(
        writeNewItemFile(title, QStringLiteral("txt"), content.toUtf8()));
}

QVColorFilePtr addColorSwatch(const QString& title, const MWColor& color) {
    return itemAt<QVColorFile>(
        writeNewItemFile(title, QStringLiteral("plist"), colorContents(color)));
}

QVFilePtr addWebBookmark(const QString& title, const QString& url) {
    return itemAt<QVFile>(makeWebLocFileWithTitle(title, url));
}

UpdateResult updateTextSnippet(QVTextSnippetFile& file, const QString& title,
                               const QString& content) {
    return replace(file, writeNewItemFile(title, QStringLiteral("txt"), content.toUtf8()));
}

UpdateResult updateColorSwatch(QVColorFile& file, const QString& title, const MWColor& color) {
    return replace(file, writeNewItemFile(title, QStringLiteral("plist"), colorContents(color)));
}

UpdateResult updateWebBookmark(QVFile& file, const QString& title, const QString& url) {
    return replace(file, makeWebLocFileWithTitle(title, url));
}

} // namespace LocalItems
