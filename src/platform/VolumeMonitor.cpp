#include "platform/VolumeMonitor.h"

#include <gio/gunixmounts.h>

// Shortcuts held by other long-lived objects leave it as the process ends, so
// it is never destroyed.
VolumeMonitor& VolumeMonitor::shared() {
    static VolumeMonitor* monitor = new VolumeMonitor;
    return *monitor;
}

VolumeMonitor::VolumeMonitor() {
    monitor_ = g_unix_mount_monitor_get();
    g_signal_connect(monitor_, "mounts-changed", G_CALLBACK(&VolumeMonitor::mountsChanged), this);
}

void VolumeMonitor::mountsChanged(GUnixMountMonitor*, gpointer self) {
    static_cast<VolumeMonitor*>(self)->applyMountTable(MountTable::readCurrent());
}

void VolumeMonitor::applyMountTable(std::vector<MountEntry> table) {
    const MountChanges changes = MountTable::diff(MountTable::shared().entries(), table);
    MountTable::shared().setEntries(std::move(table));
    for (const QString& mountPoint : changes.unmounted) {
        const QUrl volume = QUrl::fromLocalFile(mountPoint);
        notifyObservers([&](VolumeObserver* o) { o->volumeDidUnmount(volume); });
        Q_EMIT volumeDidUnmount(volume);
    }
    for (const QString& mountPoint : changes.mounted) {
        const QUrl volume = QUrl::fromLocalFile(mountPoint);
        notifyObservers([&](VolumeObserver* o) { o->volumeDidMount(volume); });
        Q_EMIT volumeDidMount(volume);
    }
}

template <class Notify> void VolumeMonitor::notifyObservers(Notify notify) {
    // An observer may go away, or others come, while the rest are told.
    const QList<VolumeObserver*> snapshot = observers_.values();
    for (VolumeObserver* observer : snapshot) {
        if (observers_.contains(observer))
            notify(observer);
    }
}
