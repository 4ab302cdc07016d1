#pragma once

#include "platform/MountTable.h"

#include <QObject>
#include <QUrl>

typedef struct _GUnixMountMonitor GUnixMountMonitor;
typedef void* gpointer;

// Volume mount and unmount notifications: GIO tells that the mount table changed,
// and the table is diffed against the one seen before. The volume URL is the
// mount point.
class VolumeMonitor : public QObject {
    Q_OBJECT
public:
    static VolumeMonitor& shared();
    ~VolumeMonitor() override;

    // Diffs `table` against the last one seen, makes it current and notifies.
    void applyMountTable(std::vector<MountEntry> table);

Q_SIGNALS:
    void volumeDidMount(const QUrl& volumeUrl);
    void volumeDidUnmount(const QUrl& volumeUrl);

private:
    VolumeMonitor();
    static void mountsChanged(GUnixMountMonitor*, gpointer self);
    GUnixMountMonitor* monitor_ = nullptr;
};
