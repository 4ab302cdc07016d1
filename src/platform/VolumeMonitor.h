#pragma once

#include "platform/MountTable.h"

#include <QObject>
#include <QSet>
#include <QUrl>

typedef struct _GUnixMountMonitor GUnixMountMonitor;
typedef void* gpointer;

// An object told of every mount and unmount (many shortcuts each are one, so
// they are kept in a set rather than connected one by one).
class VolumeObserver {
public:
    virtual ~VolumeObserver() = default;
    virtual void volumeDidMount(const QUrl& volumeUrl) = 0;
    virtual void volumeDidUnmount(const QUrl& volumeUrl) = 0;
};

// Volume mount and unmount notifications: GIO tells that the mount table changed,
// and the table is diffed against the one seen before. The volume URL is the
// mount point.
class VolumeMonitor : public QObject {
    Q_OBJECT
public:
    static VolumeMonitor& shared();
    void addObserver(VolumeObserver* observer) { observers_.insert(observer); }
    void removeObserver(VolumeObserver* observer) { observers_.remove(observer); }

    // Diffs `table` against the last one seen, makes it current and notifies.
    void applyMountTable(std::vector<MountEntry> table);

Q_SIGNALS:
    void volumeDidMount(const QUrl& volumeUrl);
    void volumeDidUnmount(const QUrl& volumeUrl);

private:
    VolumeMonitor();
    static void mountsChanged(GUnixMountMonitor*, gpointer self);
    template <class Notify> void notifyObservers(Notify notify);
    GUnixMountMonitor* monitor_ = nullptr;
    QSet<VolumeObserver*> observers_;
};
