#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

// What the file system says of one path, without following a final symbolic link:
// an alias file is a symbolic link; a package is a directory with the extension "app".
struct ResourceValues {
    bool exists = false;
    bool isDirectory = false;
    bool isPackage = false;
    bool isAliasFile = false;
    dev_t device = 0;
    ino_t inode = 0;

    static ResourceValues forPath(const QString& path);
};

namespace FileNames {
// The bytes of a path as the kernel sees them.
QByteArray encode(const QString& path);
// A path read back from the kernel, or nothing when it is not valid UTF-8 (such a
// name cannot be carried in a QString without turning into another name).
std::optional<QString> decode(const QByteArray& bytes);
bool isValidUtf8(const QByteArray& bytes);
} // namespace FileNames

// Follows a chain of symbolic links to the file at its end: answers the path itself
// when it is not a link, and nothing for a loop or a dangling link.
std::optional<QString> resolveAliasChain(const QString& path);
