#include "platform/Bookmark.h"

#include "platform/MountTable.h"
#include "platform/ResourceValues.h"

#include <QDataStream>
#include <QIODevice>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Bookmark {
namespace {

constexpr quint32 magic = 0x5156424d; // "QVBM"
constexpr quint8 formatVersion = 1;

struct Record {
    quint32 options = 0;
    QString path;
    QString volumeKey;
    QString mountPoint;
    QString pathInVolume;
    quint64 device = 0;
    quint64 inode = 0;
    qint32 handleType = 0;
    QByteArray handle;
};

QByteArray serialise(const Record& record) {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << magic << formatVersion << record.options << record.path << record.volumeKey
        << record.mountPoint << record.pathInVolume << record.device << record.inode
        << record.handleType << record.handle;
    return data;
}

std::optional<Record> deserialise(const QByteArray& data) {
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 readMagic = 0;
    quint8 version = 0;
    in >> readMagic >> version;
    if (in.status() != QDataStream::Ok || readMagic != magic || version != formatVersion)
        return std::nullopt;
    Record record;
    in >> record.options >> record.path >> record.volumeKey >> record.mountPoint >>
        record.pathInVolume >> record.device >> record.inode >> record.handleType >> record.handle;
    if (in.status() != QDataStream::Ok || !record.path.startsWith(u'/'))
        return std::nullopt;
    return record;
}

QString relativePath(const QString& path, const QString& mountPoint) {
    if (mountPoint == u"/")
        return path.mid(1);
    return path.mid(mountPoint.size() + 1);
}

QString joinPath(const QString& folder, const QString& relative) {
    if (relative.isEmpty())
        return folder;
    return folder.endsWith(u'/') ? folder + relative : folder + u'/' + relative;
}

void recordHandle(const QByteArray& rawPath, Record& record) {
    constexpr int capacity = MAX_HANDLE_SZ;
    alignas(file_handle) char buffer[sizeof(file_handle) + capacity];
    auto* handle = reinterpret_cast<file_handle*>(buffer);
    handle->handle_bytes = capacity;
    int mountId = 0;
    if (::name_to_handle_at(AT_FDCWD, rawPath.constData(), handle, &mountId, 0) != 0)
        return;
    record.handleType = handle->handle_type;
    record.handle = QByteArray(reinterpret_cast<const char*>(handle->f_handle),
                               qsizetype(handle->handle_bytes));
}

// Opening by handle needs the privilege to search any folder (root); elsewhere it fails.
std::optional<QString> pathByHandle(const Record& record, const MountEntry& mount) {
    if (record.handle.isEmpty() || record.handle.size() > MAX_HANDLE_SZ)
        return std::nullopt;
    const int mountFd =
        ::open(FileNames::encode(mount.mountPoint).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (mountFd < 0)
        return std::nullopt;
    alignas(file_handle) char buffer[sizeof(file_handle) + MAX_HANDLE_SZ];
    auto* handle = reinterpret_cast<file_handle*>(buffer);
    handle->handle_bytes = unsigned(record.handle.size());
    handle->handle_type = record.handleType;
    memcpy(handle->f_handle, record.handle.constData(), size_t(record.handle.size()));
    const int fd = ::open_by_handle_at(mountFd, handle, O_PATH | O_NOFOLLOW | O_CLOEXEC);
    ::close(mountFd);
    if (fd < 0)
        return std::nullopt;
    char target[PATH_MAX];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t length = ::readlink(link.constData(), target, sizeof(target) - 1);
    struct stat info;
    const bool linked = ::fstat(fd, &info) == 0 && info.st_nlink > 0;
    ::close(fd);
    if (length <= 0 || !linked)
        return std::nullopt;
    std::optional<QString> path = FileNames::decode(QByteArray(target, length));
    if (!path || !path->startsWith(u'/') || !ResourceValues::forPath(*path).exists)
        return std::nullopt;
    return path;
}

std::optional<QString> siblingWithInode(const QString& folder, quint64 inode) {
    DIR* dir = ::opendir(FileNames::encode(folder).constData());
    if (!dir)
        return std::nullopt;
    std::optional<QString> found;
    while (dirent* entry = ::readdir(dir)) {
        if (quint64(entry->d_ino) != inode)
            continue;
        std::optional<QString> name = FileNames::decode(QByteArray(entry->d_name));
        if (name && *name != u"." && *name != u"..")
            found = joinPath(folder, *name);
        break;
    }
    ::closedir(dir);
    return found;
}

QString parentFolder(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

QByteArray create(const QString& path, unsigned options, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    if (!path.startsWith(u'/'))
        return fail(QStringLiteral("not an absolute file path: ") + path);
    const QByteArray raw = FileNames::encode(path);
    struct stat info;
    if (::lstat(raw.constData(), &info) != 0)
        return fail(QString::fromLocal8Bit(strerror(errno)) + QStringLiteral(": ") + path);
    Record record;
    record.options = options;
    record.path = path;
    record.device = info.st_dev;
    record.inode = info.st_ino;
    if (const MountEntry* mount = MountTable::shared().mountForPath(path)) {
        record.volumeKey = mount->volumeKey();
        record.mountPoint = mount->mountPoint;
        record.pathInVolume = relativePath(path, mount->mountPoint);
    }
    recordHandle(raw, record);
    return serialise(record);
}

std::optional<Resolution> resolve(const QByteArray& data, unsigned /*options*/) {
    const std::optional<Record> record = deserialise(data);
    if (!record)
        return std::nullopt;

    const ResourceValues atPath = ResourceValues::forPath(record->path);
    if (atPath.exists && atPath.device == record->device && atPath.inode == record->inode)
        return Resolution{record->path, false};

    if (record->volumeKey.isEmpty())
        return std::nullopt;
    for (const MountEntry* mount :
         MountTable::shared().mountsOfVolume(record->volumeKey, record->mountPoint)) {
        if (std::optional<QString> moved = pathByHandle(*record, *mount))
            return Resolution{*moved, true};
        const QString candidate = joinPath(mount->mountPoint, record->pathInVolume);
        const ResourceValues found = ResourceValues::forPath(candidate);
        // Inode numbers name a file only on the same instance of the file system.
        if (quint64(mount->device) == record->device) {
            if (found.exists && found.inode == record->inode)
                return Resolution{candidate, candidate != record->path};
            if (std::optional<QString> renamed =
                    siblingWithInode(parentFolder(candidate), record->inode))
                return Resolution{*renamed, true};
        }
        // The same path on the volume: remounted, or the file replaced by an atomic save.
        if (found.exists)
            return Resolution{candidate, true};
    }
    return std::nullopt;
}

QString recordedPath(const QByteArray& data) {
    const std::optional<Record> record = deserialise(data);
    return record ? record->path : QString();
}

} // namespace Bookmark
