#pragma once

#include "library/QVFile.h"

// A text snippet: a shortcut to a UTF-8 text file of the program's own, whose
// text is read each time the shortcut is pointed at the file.
class QVTextSnippetFile : public QVFile {
    Q_OBJECT
public:
    static const QString emptySnippetPreview;
    static constexpr int previewLength = 100;

    static ArchivablePtr decode(const KeyedUnarchiver& coder);
    QString archiveClassName() const override { return QStringLiteral("QVTextSnippetFile"); }

    // The whole text of the file.
    QString contents() const { return contents_; }
    // The one-line preview the views show.
    QString snippet() const { return snippet_; }
    // The preview of `text`: its first line that is not blank, cut to 100 characters.
    static QString previewOf(const QString& text);

    using QVFile::setUrl;
    void setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias, bool useFilePresenter,
                bool updateIcon) override;

private:
    void readFile();

    QString contents_;
    QString snippet_;
};

using QVTextSnippetFilePtr = std::shared_ptr<QVTextSnippetFile>;
