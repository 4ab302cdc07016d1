#include "platform/MountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/sysmacros.h>

namespace {

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
QString unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

std::vector<std::pair<QString, QString>> readUuids() {
    std::vector<std::pair<QString, QString>> uuids;
    QDir folder(QStringLiteral("/dev/disk/by-uuid"));
    const QFileInfoList links =
        folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links)
        uuids.emplace_back(link.canonicalFilePath(), link.fileName());
    return uuids;
}

} // namespace

QString MountEntry::volumeKey() const {
    if (!uuid.isEmpty())
        return QStringLiteral("uuid:") + uuid;
    if (source.startsWith(u'/'))
        return QStringLiteral("dev:") + source + u':' + root;
    return QStringLiteral("fs:") + fsType + u':' + source + u':' + root;
}

bool MountEntry::sameMountAs(const MountEntry& other) const {
    return mountId == other.mountId && device == other.device && mountPoint == other.mountPoint;
}

MountTable& MountTable::shared() {
    static MountTable table;
    return table;
}

MountTable::MountTable() {
    refresh();
}

std::vector<MountEntry> MountTable::readCurrent() {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll(), readUuids());
}

std::vector<MountEntry>
MountTable::parse(const QByteArray& mountinfo,
                  const std::vector<std::pair<QString, QString>>& uuidsByDevice) {
    std::vector<MountEntry> entries;
    for (const QByteArray& line : mountinfo.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() < 7 || separator < 6 || separator + 2 >= fields.size())
            continue;
        MountEntry entry;
        entry.mountId = fields[0].toInt();
        const QList<QByteArray> numbers = fields[2].split(':');
        if (numbers.size() == 2)
            entry.device = makedev(numbers[0].toUInt(), numbers[1].toUInt());
        entry.root = unescape(fields[3]);
        entry.mountPoint = unescape(fields[4]);
        entry.fsType = unescape(fields[separator + 1]);
        entry.source = unescape(fields[separator + 2]);
        for (const auto& [deviceNode, uuid] : uuidsByDevice) {
            if (deviceNode == entry.source)
                entry.uuid = uuid;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

MountChanges MountTable::diff(const std::vector<MountEntry>& before,
                              const std::vector<MountEntry>& after) {
    auto contains = [](const std::vector<MountEntry>& table, const MountEntry& entry) {
        for (const MountEntry& other : table) {
            if (other.sameMountAs(entry))
                return true;
        }
        return false;
    };
    MountChanges changes;
    for (const MountEntry& entry : before) {
        if (!contains(after, entry))
            changes.unmounted.append(entry.mountPoint);
    }
    for (const MountEntry& entry : after) {
        if (!contains(before, entry))
            changes.mounted.append(entry.mountPoint);
    }
    return changes;
}

bool MountTable::pathIsInside(const QString& path, const QString& folder) {
    if (folder == u"/")
        return path.startsWith(u'/');
    if (!path.startsWith(folder))
        return false;
    return path.size() == folder.size() || path[folder.size()] == u'/';
}

const MountEntry* MountTable::mountForPath(const QString& path) const {
    const MountEntry* best = nullptr;
    for (const MountEntry& entry : entries_) {
        // Later entries stack over earlier ones at the same point.
        if (pathIsInside(path, entry.mountPoint) &&
            (!best || entry.mountPoint.size() >= best->mountPoint.size()))
            best = &entry;
    }
    return best;
}

std::vector<const MountEntry*>
MountTable::mountsOfVolume(const QString& volumeKey, const QString& preferredMountPoint) const {
    std::vector<const MountEntry*> mounts;
    for (const MountEntry& entry : entries_) {
        if (entry.volumeKey() != volumeKey)
            continue;
        if (entry.mountPoint == preferredMountPoint)
            mounts.insert(mounts.begin(), &entry);
        else
            mounts.push_back(&entry);
    }
    return mounts;
}
