#include "library/LocalFiles.h"

#include "platform/Paths.h"
#include "platform/ResourceValues.h"

#include <QStringList>
#include <climits>
#include <cstdlib>

namespace LocalFiles {
namespace {
std::optional<QString> canonical(const QString& path) {
    char resolved[PATH_MAX];
    if (!::realpath(FileNames::encode(path).constData(), resolved))
        return std::nullopt;
    return FileNames::decode(QByteArray(resolved));
}
} // namespace

QString folder() {
    return Paths::dataFolder() + QStringLiteral("/Quiverlane/Quiverlane Files");
}

std::optional<QString> itemFolderContaining(const QString& path) {
    const std::optional<QString> root = canonical(folder());
    const std::optional<QString> file = canonical(path);
    if (!root || !file)
        return std::nullopt;
    const QStringList rootParts = root->split(u'/', Qt::SkipEmptyParts);
    const QStringList fileParts = file->split(u'/', Qt::SkipEmptyParts);
    // Exactly an item folder and the file directly inside it.
    if (fileParts.size() != rootParts.size() + 2)
        return std::nullopt;
    for (qsizetype i = 0; i < rootParts.size(); ++i) {
        if (fileParts[i] != rootParts[i])
            return std::nullopt;
    }
    return *root + u'/' + fileParts[rootParts.size()];
}
} // namespace LocalFiles
