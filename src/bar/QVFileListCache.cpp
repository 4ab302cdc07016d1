#include "bar/QVFileListCache.h"

#include "platform/Scheduler.h"

#include <QCoreApplication>
#include <QThread>

QVFileListCache& QVFileListCache::sharedInstance() {
    // Never destroyed: listings may still finish while the process ends.
    static QVFileListCache* cache = new QVFileListCache;
    return *cache;
}

std::optional<std::vector<QVFilePtr>>
QVFileListCache::cachedFilesForPath(const QString& path) const {
    if (path.isEmpty())
        return std::nullopt;
    const double now = Scheduler::shared().now();
    std::lock_guard lock(mutex_);
    const auto it = cacheDict_.constFind(path);
    // A stale record stays until it is replaced or the cache is emptied.
    if (it == cacheDict_.constEnd() || now - it->date > freshSeconds)
        return std::nullopt;
    return it->files;
}

void QVFileListCache::setCachedFilesForPath(const std::vector<QVFilePtr>& files,
                                            const QString& path) {
    if (path.isEmpty())
        return;
    Record displaced{files, Scheduler::shared().now()};
    {
        std::lock_guard lock(mutex_);
        std::swap(cacheDict_[path], displaced);
    }
    releaseOnMainThread(std::move(displaced.files));
}

void QVFileListCache::invalidateCache() {
    QHash<QString, Record> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(cacheDict_);
    }
    std::vector<QVFilePtr> files;
    for (Record& record : dropped)
        files.insert(files.end(), record.files.begin(), record.files.end());
    dropped.clear();
    releaseOnMainThread(std::move(files));
}

void releaseOnMainThread(std::vector<QVFilePtr> files) {
    QCoreApplication* app = QCoreApplication::instance();
    if (files.empty() || !app || QThread::currentThread() == app->thread())
        return;
    QMetaObject::invokeMethod(
        app, [files = std::move(files)]() mutable { files.clear(); }, Qt::QueuedConnection);
}
