#include "platform/Bookmark.h"

#include "platform/MountTable.h"
#include "platform/ResourceValues.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Bookmark {
namespace {

constexpr char magic[4] = {'Q', 'V', 'B', 'M'};
constexpr quint8 formatVersion = 1;

// path, volume key, mount point and path in volume are UTF-8.
struct Record {
    quint32 options = 0;
    quint64 device = 0;
    quint64 inode = 0;
    qint32 handleType = 0;
    QByteArray path;
    QByteArray volumeKey;
    QByteArray mountPoint;
    QByteArray pathInVolume;
    QByteArray handle;
};

template <class T> void appendNumber(QByteArray& out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i)
        out.append(char((quint64(value) >> (8 * i)) & 0xFF));
}

void appendBytes(QByteArray& out, const QByteArray& bytes) {
    appendNumber<quint32>(out, quint32(bytes.size()));
    out.append(bytes);
}

// Little-endian fields, read without copying until a value is needed.
class Reader {
public:
    explicit Reader(const QByteArray& data)
        : p_(reinterpret_cast<const unsigned char*>(data.constData())), end_(p_ + data.size()) {}
    bool ok() const { return ok_; }
    template <class T> T number() {
        if (size_t(end_ - p_) < sizeof(T)) {
            ok_ = false;
            return T();
        }
        quint64 value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value |= quint64(p_[i]) << (8 * i);
        p_ += sizeof(T);
        return T(value);
    }
    QByteArray bytes() {
        const quint32 size = number<quint32>();
        if (!ok_ || size_t(end_ - p_) < size) {
            ok_ = false;
            return QByteArray();
        }
        // The record is read only while the data it came from is alive.
        QByteArray value =
            QByteArray::fromRawData(reinterpret_cast<const char*>(p_), qsizetype(size));
        p_ += size;
        return value;
    }
    bool matches(const char* text, size_t size) {
        if (size_t(end_ - p_) < size || memcmp(p_, text, size) != 0)
            return ok_ = false;
        p_ += size;
        return true;
    }
    bool atEnd() const { return p_ == end_; }

private:
    const unsigned char* p_;
    const unsigned char* end_;
    bool ok_ = true;
};

QByteArray serialise(const Record& record) {
    QByteArray data(magic, sizeof(magic));
    data.reserve(64 + record.path.size() * 2 + record.handle.size());
    appendNumber<quint8>(data, formatVersion);
    appendNumber<quint32>(data, record.options);
    appendNumber<quint64>(data, record.device);
    appendNumber<quint64>(data, record.inode);
    appendNumber<qint32>(data, record.handleType);
    for (const QByteArray* field : {&record.path, &record.volumeKey, &record.mountPoint,
                                    &record.pathInVolume, &record.handle})
        appendBytes(data, *field);
    return data;
}

std::optional<Record> deserialise(const QByteArray& data) {
    Reader in(data);
    if (!in.matches(magic, sizeof(magic)) || in.number<quint8>() != formatVersion)
        return std::nullopt;
    Record record;
    record.options = in.number<quint32>();
    record.device = in.number<quint64>();
    record.inode = in.number<quint64>();
    record.handleType = in.number<qint32>();
    for (QByteArray* field : {&record.path, &record.volumeKey, &record.mountPoint,
                              &record.pathInVolume, &record.handle})
        *field = in.bytes();
    if (!in.ok() || !in.atEnd() || !record.path.startsWith('/'))
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
    record.path = raw;
    record.device = info.st_dev;
    record.inode = info.st_ino;
    if (const MountEntry* mount = MountTable::shared().mountForPath(path)) {
        record.volumeKey = mount->volumeKey().toUtf8();
        record.mountPoint = mount->mountPoint.toUtf8();
        record.pathInVolume = relativePath(path, mount->mountPoint).toUtf8();
    }
    recordHandle(raw, record);
    return serialise(record);
}

std::optional<Resolution> resolve(const QByteArray& data, unsigned /*options*/) {
    const std::optional<Record> record = deserialise(data);
    if (!record)
        return std::nullopt;

    const std::optional<QString> recordedPath = FileNames::decode(record->path);
    if (!recordedPath)
        return std::nullopt;
    const QString& recorded = *recordedPath;
    const ResourceValues atPath = ResourceValues::forPath(recorded);
    if (atPath.exists && atPath.device == record->device && atPath.inode == record->inode)
        return Resolution{recorded, false, atPath};

    if (record->volumeKey.isEmpty())
        return std::nullopt;
    const QString pathInVolume = QString::fromUtf8(record->pathInVolume);
    for (const MountEntry* mount : MountTable::shared().mountsOfVolume(
             QString::fromUtf8(record->volumeKey), QString::fromUtf8(record->mountPoint))) {
        if (std::optional<QString> moved = pathByHandle(*record, *mount))
            return Resolution{*moved, true, ResourceValues::forPath(*moved)};
        const QString candidate = joinPath(mount->mountPoint, pathInVolume);
        const ResourceValues found = ResourceValues::forPath(candidate);
        // Inode numbers name a file only on the same instance of the file system.
        if (quint64(mount->device) == record->device) {
            if (found.exists && found.inode == record->inode)
                return Resolution{candidate, candidate != recorded, found};
            if (std::optional<QString> renamed =
                    siblingWithInode(parentFolder(candidate), record->inode))
                return Resolution{*renamed, true, ResourceValues::forPath(*renamed)};
        }
        // The same path on the volume: remounted, or the file replaced by an atomic save.
        if (found.exists)
            return Resolution{candidate, true, found};
    }
    return std::nullopt;
}

QString recordedPath(const QByteArray& data) {
    const std::optional<Record> record = deserialise(data);
    return record ? QString::fromUtf8(record->path) : QString();
}

} // namespace Bookmark
