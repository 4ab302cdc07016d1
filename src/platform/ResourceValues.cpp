#include "platform/ResourceValues.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace FileNames {

QByteArray encode(const QString& path) {
    return path.toUtf8();
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    (void)text;
    return !decoder.hasError();
}

std::optional<QString> decode(const QByteArray& bytes) {
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace FileNames

ResourceValues ResourceValues::forPath(const QString& path) {
    ResourceValues values;
    struct stat info;
    if (::lstat(FileNames::encode(path).constData(), &info) != 0)
        return values;
    values.exists = true;
    values.device = info.st_dev;
    values.inode = info.st_ino;
    values.isAliasFile = S_ISLNK(info.st_mode);
    values.isPackage = S_ISDIR(info.st_mode) && path.endsWith(QLatin1String(".app")) &&
                       !path.endsWith(QLatin1String("/.app"));
    values.isDirectory = S_ISDIR(info.st_mode);
    return values;
}

std::optional<QString> resolveAliasChain(const QString& path) {
    const QByteArray raw = FileNames::encode(path);
    struct stat info;
    if (::lstat(raw.constData(), &info) != 0)
        return std::nullopt;
    if (!S_ISLNK(info.st_mode))
        return path;
    // realpath fails with ELOOP on a loop and ENOENT on a dangling link.
    char resolved[PATH_MAX];
    if (!::realpath(raw.constData(), resolved))
        return std::nullopt;
    return FileNames::decode(QByteArray(resolved));
}
