#include "library/QVTextSnippetFile.h"

#include "platform/ResourceValues.h"

#include <QFile>
#include <QRegularExpression>

const QString QVTextSnippetFile::emptySnippetPreview = QStringLiteral("Empty Snippet");

ArchivablePtr QVTextSnippetFile::decode(const KeyedUnarchiver& coder) {
    auto file = std::make_shared<QVTextSnippetFile>();
    file->initWithCoder(coder);
    return file;
}

void QVTextSnippetFile::setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias,
                               bool useFilePresenter, bool updateIcon) {
    QVFile::setUrl(url, updateBookmarkData, checkAlias, useFilePresenter, updateIcon);
    if (!this->url().isEmpty())
        readFile();
}

void QVTextSnippetFile::readFile() {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    // Text that is not UTF-8 would come out with replacement characters: a
    // snippet is pasted as it is, so it had better be nothing than something else.
    contents_ = FileNames::isValidUtf8(bytes) ? QString::fromUtf8(bytes) : QString();
    snippet_ = previewOf(contents_);
}

QString QVTextSnippetFile::previewOf(const QString& text) {
    static const QRegularExpression newline(QStringLiteral("[\\n\\r\\x{2028}\\x{2029}]"));
    for (const QString& line : text.split(newline)) {
        if (line.trimmed().isEmpty())
            continue;
        if (line.size() <= previewLength)
            return line;
        return line.left(previewLength) + QStringLiteral("...");
    }
    return emptySnippetPreview;
}
