#pragma once

#include "library/QVTextSnippetFile.h"
#include "support/TestSupport.h"

#include <QUrl>

namespace TestSupport {

// Snippet shortcuts to text files in a temporary folder of their own.
class SnippetFolder {
public:
    // A snippet whose file holds `text`; an empty file gives a snippet without contents.
    QVTextSnippetFilePtr snippet(const QString& text) {
        auto file = std::make_shared<QVTextSnippetFile>();
        file->setUrl(QUrl::fromLocalFile(
            folder_.write(QStringLiteral("snippet %1.txt").arg(++count_), text.toUtf8())));
        return file;
    }

private:
    Folder folder_;
    int count_ = 0;
};

} // namespace TestSupport
