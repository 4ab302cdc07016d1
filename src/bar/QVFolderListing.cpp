#include "bar/QVFolderListing.h"

#include "bar/QVFileListCache.h"
#include "platform/DirectoryEnumerator.h"
#include "platform/ResourceValues.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <cstring>

const QString QVFolderListing::queueLabel = QStringLiteral("com.marrowick.indexingqueue");

namespace {

// Each listing is one task, so it runs serially on a thread of its own; the pool
// only saves starting a thread for every folder the pointer rests on.
QThreadPool& listingPool() {
    static QThreadPool* pool = [] {
        auto* made = new QThreadPool;
        made->setMaxThreadCount(std::max(16, QThread::idealThreadCount()));
        return made;
    }();
    return *pool;
}

// The names a folder's ".hidden" file lists, one a line: the desktop's file
// managers hide them as the ones that start with a dot.
QSet<QString> hiddenNamesIn(const QString& folderPrefix) {
    QSet<QString> names;
    QFile file(folderPrefix + QStringLiteral(".hidden"));
    // A list of names is small; anything huge is not one.
    constexpr qint64 largestList = 1 << 20;
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestList)
        return names;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (std::optional<QString> name = FileNames::decode(line); name && !name->isEmpty())
            names.insert(*name);
    }
    return names;
}

struct Entry {
    QCollatorSortKey key;
    QVFilePtr file;
};

} // namespace

QVFolderListing::QVFolderListing(const QString& rootPath) : rootPath_(rootPath) {}

QVFolderListing::~QVFolderListing() {
    state_->ownerAlive = false;
}

void QVFolderListing::cancel() {
    state_->cancelled.store(true, std::memory_order_relaxed);
}

void QVFolderListing::indexRootPathWithCompletionBlock(CompletionBlock completion) {
    listingPool().start(
        [state = state_, path = rootPath_, completion = std::move(completion)]() mutable {
            QThread::currentThread()->setObjectName(queueLabel);
            std::optional<Files> result = indexPath(path, state->cancelled);
            QCoreApplication* app = QCoreApplication::instance();
            if (!app) {
                completion(std::move(result));
                return;
            }
            // Everything the listing holds, the owner's block too, is let go on the main thread.
            QMetaObject::invokeMethod(
                app,
                [state, completion = std::move(completion), result = std::move(result)]() mutable {
                    if (state->ownerAlive)
                        completion(std::move(result));
                },
                Qt::QueuedConnection);
        });
}

bool QVFolderListing::waitForRunningListings(int milliseconds) {
    return listingPool().waitForDone(milliseconds);
}

std::optional<QVFolderListing::Files> QVFolderListing::actuallyIndexRootPath() const {
    return indexPath(rootPath_, state_->cancelled);
}

std::optional<QVFolderListing::Files>
QVFolderListing::indexPath(const QString& rootPath, const std::atomic<bool>& cancelled) {
    if (rootPath.isEmpty())
        return Files();
    QVFileListCache& cache = QVFileListCache::sharedInstance();
    if (std::optional<Files> cached = cache.cachedFilesForPath(rootPath))
        return cached;

    const QString prefix = rootPath.endsWith(u'/') ? rootPath : rootPath + u'/';
    DirectoryEnumerator children(rootPath);
    const QSet<QString> hidden = children.isOpen() ? hiddenNamesIn(prefix) : QSet<QString>();
    // A collator is not safe to share between threads: each listing has its own.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Without a language, Qt's sort keys keep case apart: fold it first.
    const bool foldCase = collator.locale().language() == QLocale::C;
    std::vector<Entry> entries;
    Files files;
    bool wasCancelled = false;
    while (const char* rawName = children.next()) {
        if (cancelled.load(std::memory_order_relaxed)) {
            wasCancelled = true;
            break;
        }
        if (rawName[0] == '.')
            continue;
        // A name that is not UTF-8 cannot be carried without naming another file.
        const std::optional<QString> name =
            FileNames::decode(QByteArray::fromRawData(rawName, qsizetype(std::strlen(rawName))));
        if (!name || hidden.contains(*name))
            continue;
        const QString path = prefix + *name;
        const ResourceValues values = ResourceValues::forPath(path);
        if (!values.exists) // gone since the folder was read
            continue;
        auto file = std::make_shared<QVFile>();
        file->setListedUrl(path, values);
        const QString title = file->name();
        entries.push_back(
            Entry{collator.sortKey(foldCase ? title.toCaseFolded() : title), std::move(file)});
    }
    if (!wasCancelled) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.key.compare(b.key) < 0; });
    }
    files.reserve(entries.size());
    for (Entry& entry : entries)
        files.push_back(std::move(entry.file));
    entries.clear();
    if (wasCancelled || cancelled.load(std::memory_order_relaxed)) {
        releaseOnMainThread(std::move(files));
        return std::nullopt;
    }
    cache.setCachedFilesForPath(files, rootPath);
    return files;
}
