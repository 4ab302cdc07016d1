#pragma once

#include "library/MWColor.h"
#include "library/QVColorFile.h"
#include "library/QVTextSnippetFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The snippets, swatches and web bookmarks made in the program: each one file in
// a folder of its own inside the local files folder, named after its title.
namespace LocalItems {

// The file name for an item titled `title`: the characters no file manager or
// other system takes in a name become "-", line feeds go, and the extension is
// added unless the title ends with it. Names the file system could not hold are
// made safe: a NUL becomes "-", a name longer than 255 bytes is shortened (at a
// character, keeping the extension), and an empty name becomes "Untitled".
QString fileNameForTitle(const QString& title, const QString& extension);

// A new item folder (created, with the local files folder if it is missing) and
// the path of the file for `title` in it; nothing when the folder cannot be made.
std::optional<QString> uniqueFileNameWithExtension(const QString& extension, const QString& title);

// Writes `contents` to a new item file; nothing (and no folder left behind) when
// it cannot be written.
std::optional<QString> writeNewItemFile(const QString& title, const QString& extension,
                                        const QByteArray& contents);
std::optional<QString> makeWebLocFileWithTitle(const QString& title, const QString& url);

QByteArray webLocContents(const QString& title, const QString& url);
QByteArray colorContents(const MWColor& color);

// New items pointed at their new files; nothing when the file cannot be written.
QVTextSnippetFilePtr addTextSnippet(const QString& title, const QString& content);
QVColorFilePtr addColorSwatch(const QString& title, const MWColor& color);
QVFilePtr addWebBookmark(const QString& title, const QString& url);

enum class UpdateResult {
    Updated,
    // The new file could not be written: nothing changed.
    NotWritten,
    // The old file could not be deleted (or is not one of ours): the shortcut
    // keeps it, and the new file is removed again so that nothing is left behind.
    OldDataKept,
};

// Replace an item's content: the new file is written first, then the old one
// deleted, and only then is the same shortcut pointed at the new file.
UpdateResult updateTextSnippet(QVTextSnippetFile& file, const QString& title,
                               const QString& content);
UpdateResult updateColorSwatch(QVColorFile& file, const QString& title, const MWColor& color);
UpdateResult updateWebBookmark(QVFile& file, const QString& title, const QString& url);

} // namespace LocalItems
