#pragma once

#include "library/QVFile.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Reads the contents of one folder for a folder-browser popup: the folder's own
// children as cheap shortcuts (no bookmark, no watching, no icon), sorted by name
// as the user's language sorts, ignoring case. Each listing runs on a worker of its
// own and hands its result to the main thread; the popup's controller owns this.
class QVFolderListing {
public:
    using Files = std::vector<QVFilePtr>;
    // Takes the sorted entries, or nothing when the listing was cancelled.
    using CompletionBlock = std::function<void(std::optional<Files>)>;

    static const QString queueLabel;

    explicit QVFolderListing(const QString& rootPath = QString());
    virtual ~QVFolderListing();

    QString rootPath() const { return rootPath_; }
    void setRootPath(const QString& rootPath) { rootPath_ = rootPath; }

    bool isCancelled() const { return state_->cancelled.load(std::memory_order_relaxed); }
    // Once cancelled, a listing that has not finished throws its result away.
    void cancel();

    // Lists rootPath in the background; `completion` runs on the main thread,
    // and not at all once this object is gone.
    void indexRootPathWithCompletionBlock(CompletionBlock completion);
    // The listing itself, on the calling thread: a fresh cached listing when there
    // is one, otherwise the folder read, sorted and stored in the cache.
    std::optional<Files> actuallyIndexRootPath() const;

    // Waits for every running listing to end, as the program does before it ends.
    static bool waitForRunningListings(int milliseconds = -1);

private:
    // What a running listing shares with its owner, which may go away first.
    struct State {
        std::atomic<bool> cancelled{false};
        bool ownerAlive = true; // main thread only
    };
    static std::optional<Files> indexPath(const QString& rootPath,
                                          const std::atomic<bool>& cancelled);

    QString rootPath_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
