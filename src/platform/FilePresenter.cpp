#include "platform/FilePresenter.h"

#include "platform/ResourceValues.h"

#include <gio/gio.h>
#include <optional>

namespace {

std::optional<QString> pathOf(GFile* file) {
    if (!file)
        return std::nullopt;
    char* raw = g_file_get_path(file);
    if (!raw)
        return std::nullopt;
    std::optional<QString> path = FileNames::decode(QByteArray(raw));
    g_free(raw);
    return path;
}

QString parentFolder(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

// Never destroyed: presenters held by other long-lived objects leave it as the
// process ends.
FilePresenterRegistry& FilePresenterRegistry::shared() {
    static FilePresenterRegistry* registry = new FilePresenterRegistry;
    return *registry;
}

FilePresenterRegistry::Folder* FilePresenterRegistry::watch(const QString& folderPath) {
    auto it = folders_.find(folderPath);
    if (it != folders_.end())
        return &it.value();
    GFile* file = g_file_new_for_path(FileNames::encode(folderPath).constData());
    GError* error = nullptr;
    GFileMonitor* monitor =
        g_file_monitor_directory(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, &error);
    g_object_unref(file);
    if (!monitor) {
        g_clear_error(&error);
        return nullptr;
    }
    g_signal_connect(monitor, "changed", G_CALLBACK(&FilePresenterRegistry::changed), this);
    Folder& folder = folders_[folderPath];
    folder.monitor = monitor;
    return &folder;
}

void FilePresenterRegistry::addFilePresenter(FilePresenter* presenter) {
    const QString path = presenter->presentedItemPath();
    if (auto it = presented_.constFind(presenter); it != presented_.constEnd() && it->path == path)
        return;
    removeFilePresenter(presenter);
    if (path.isEmpty())
        return;
    const QString folderPath = parentFolder(path);
    Folder* folder = watch(folderPath);
    if (!folder)
        return;
    folder->presenters.push_back(presenter);
    presented_.insert(presenter, Presented{folderPath, path});
}

void FilePresenterRegistry::removeFilePresenter(FilePresenter* presenter) {
    auto it = presented_.find(presenter);
    if (it == presented_.end())
        return;
    const QString folderPath = it->folder;
    presented_.erase(it);
    auto folder = folders_.find(folderPath);
    if (folder == folders_.end())
        return;
    std::erase(folder->presenters, presenter);
    if (folder->presenters.empty()) {
        g_signal_handlers_disconnect_by_data(folder->monitor, this);
        g_file_monitor_cancel(folder->monitor);
        g_object_unref(folder->monitor);
        folders_.erase(folder);
    }
}

bool FilePresenterRegistry::isPresenting(const FilePresenter* presenter) const {
    return presented_.contains(presenter);
}

void FilePresenterRegistry::changed(GFileMonitor*, GFile* file, GFile* other, int event,
                                    void* self) {
    auto* registry = static_cast<FilePresenterRegistry*>(self);
    const std::optional<QString> path = pathOf(file);
    if (!path)
        return;
    switch (event) {
    case G_FILE_MONITOR_EVENT_RENAMED:
    case G_FILE_MONITOR_EVENT_MOVED_OUT:
        if (const std::optional<QString> to = pathOf(other))
            registry->handleMove(*path, *to);
        else
            registry->handleDisappearance(*path);
        break;
    case G_FILE_MONITOR_EVENT_MOVED_IN:
        // The same move is also reported where it came from when that folder is watched.
        if (const std::optional<QString> from = pathOf(other))
            registry->handleMove(*from, *path);
        break;
    case G_FILE_MONITOR_EVENT_DELETED:
        registry->handleDisappearance(*path);
        break;
    default:
        break;
    }
}

std::vector<FilePresenter*> FilePresenterRegistry::presentersAt(const QString& path) const {
    std::vector<FilePresenter*> found;
    auto folder = folders_.constFind(parentFolder(path));
    if (folder == folders_.constEnd())
        return found;
    for (FilePresenter* presenter : folder->presenters) {
        if (presented_.value(presenter).path == path)
            found.push_back(presenter);
    }
    return found;
}

void FilePresenterRegistry::handleMove(const QString& from, const QString& to) {
    for (FilePresenter* presenter : presentersAt(from)) {
        // A presenter removed or moved by an earlier one's reaction is not told.
        auto it = presented_.constFind(presenter);
        if (it != presented_.constEnd() && it->path == from)
            presenter->presentedItemDidMoveTo(to);
    }
}

void FilePresenterRegistry::handleDisappearance(const QString& path) {
    for (FilePresenter* presenter : presentersAt(path)) {
        auto it = presented_.constFind(presenter);
        if (it != presented_.constEnd() && it->path == path)
            presenter->presentedItemDidMoveToUnknownPlace();
    }
}
