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

FilePresenterRegistry& FilePresenterRegistry::shared() {
    static FilePresenterRegistry registry;
    return registry;
}

FilePresenterRegistry::~FilePresenterRegistry() {
    for (Folder& folder : folders_) {
        g_signal_handlers_disconnect_by_data(folder.monitor, this);
        g_object_unref(folder.monitor);
    }
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
    removeFilePresenter(presenter);
    const QString path = presenter->presentedItemPath();
    if (path.isEmpty())
        return;
    const QString folderPath = parentFolder(path);
    Folder* folder = watch(folderPath);
    if (!folder)
        return;
    folder->presenters.push_back(presenter);
    folderOfPresenter_.insert(presenter, folderPath);
    pathOfPresenter_.insert(presenter, path);
}

void FilePresenterRegistry::removeFilePresenter(FilePresenter* presenter) {
    auto it = folderOfPresenter_.find(presenter);
    if (it == folderOfPresenter_.end())
        return;
    const QString folderPath = it.value();
    folderOfPresenter_.erase(it);
    pathOfPresenter_.remove(presenter);
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
    return folderOfPresenter_.contains(presenter);
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

void FilePresenterRegistry::handleMove(const QString& from, const QString& to) {
    std::vector<FilePresenter*> moved;
    for (auto it = pathOfPresenter_.begin(); it != pathOfPresenter_.end(); ++it) {
        if (it.value() == from)
            moved.push_back(const_cast<FilePresenter*>(it.key()));
    }
    for (FilePresenter* presenter : moved) {
        // A presenter removed by an earlier one's reaction is not told.
        if (pathOfPresenter_.value(presenter) == from)
            presenter->presentedItemDidMoveTo(to);
    }
}

void FilePresenterRegistry::handleDisappearance(const QString& path) {
    std::vector<FilePresenter*> gone;
    for (auto it = pathOfPresenter_.begin(); it != pathOfPresenter_.end(); ++it) {
        if (it.value() == path)
            gone.push_back(const_cast<FilePresenter*>(it.key()));
    }
    for (FilePresenter* presenter : gone) {
        if (pathOfPresenter_.value(presenter) == path)
            presenter->presentedItemDidMoveToUnknownPlace();
    }
}
