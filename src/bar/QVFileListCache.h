#pragma once

#include "library/QVFile.h"

#include <QHash>
#include <QString>
#include <mutex>
#include <optional>
#include <vector>

// The folder listings of the last few minutes, so that moving back and forth over
// the same folders shows their contents at once. Listing threads read and store,
// the main thread reads and empties: every operation takes the one lock.
class QVFileListCache {
public:
    // How long a stored listing is answered, in seconds of the program's scheduler.
    static constexpr double freshSeconds = 300;

    static QVFileListCache& sharedInstance();

    // A copy of the listing stored under exactly this path, while it is fresh.
    std::optional<std::vector<QVFilePtr>> cachedFilesForPath(const QString& path) const;
    // Replaces whatever was stored under the path; an empty path stores nothing.
    void setCachedFilesForPath(const std::vector<QVFilePtr>& files, const QString& path);
    void invalidateCache();

private:
    QVFileListCache() = default;

    struct Record {
        std::vector<QVFilePtr> files;
        double date = 0;
    };
    mutable std::mutex mutex_;
    QHash<QString, Record> cacheDict_;
};

// Shortcuts belong to the main thread, so a worker never drops the last reference
// to one: it hands its references over with this, and they are let go there.
void releaseOnMainThread(std::vector<QVFilePtr> files);
