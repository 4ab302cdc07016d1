#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>
#include <vector>

struct MountEntry {
    int mountId = 0;
    dev_t device = 0;
    QString root; // the folder of the file system mounted here (bind mounts)
    QString mountPoint;
    QString fsType;
    QString source;
    QString uuid; // the file system's UUID where the system knows one

    // Names the file system itself, wherever it is mounted.
    QString volumeKey() const;
    bool sameMountAs(const MountEntry& other) const;
};

struct MountChanges {
    QStringList mounted; // mount points, in table order
    QStringList unmounted;
};

// The mount table of this process (/proc/self/mountinfo), cached until refresh().
class MountTable {
public:
    static MountTable& shared();

    // Parses mountinfo text; the UUIDs come from `uuidsByDevice` (device node → UUID).
    static std::vector<MountEntry>
    parse(const QByteArray& mountinfo,
          const std::vector<std::pair<QString, QString>>& uuidsByDevice);
    static MountChanges diff(const std::vector<MountEntry>& before,
                             const std::vector<MountEntry>& after);

    static std::vector<MountEntry> readCurrent();
    void refresh() { entries_ = readCurrent(); }
    const std::vector<MountEntry>& entries() const { return entries_; }
    void setEntries(std::vector<MountEntry> entries) { entries_ = std::move(entries); }

    // The mount whose mount point is the longest leading path of `path`.
    const MountEntry* mountForPath(const QString& path) const;
    // Mounts of the volume, the one at `preferredMountPoint` first.
    std::vector<const MountEntry*> mountsOfVolume(const QString& volumeKey,
                                                  const QString& preferredMountPoint) const;

    static bool pathIsInside(const QString& path, const QString& folder);

private:
    MountTable();
    std::vector<MountEntry> entries_;
};
