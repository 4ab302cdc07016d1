#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

typedef struct _GFileMonitor GFileMonitor;
typedef struct _GFile GFile;

// An object that follows a file on disk: told when the file is moved or renamed.
class FilePresenter {
public:
    virtual ~FilePresenter() = default;
    virtual QString presentedItemPath() const = 0;
    virtual void presentedItemDidMoveTo(const QString& newPath) = 0;
    // The file left its folder for a folder nobody watches: the presenter may find it.
    virtual void presentedItemDidMoveToUnknownPlace() {}
};

// Watches the parent folders of presented files with GIO monitors that report
// moves (inotify underneath): one monitor per folder, shared by every presenter
// in it. Events arrive on the main loop.
class FilePresenterRegistry : public QObject {
    Q_OBJECT
public:
    static FilePresenterRegistry& shared();
    void addFilePresenter(FilePresenter* presenter);
    void removeFilePresenter(FilePresenter* presenter);

    int watchedFolderCount() const { return int(folders_.size()); }
    bool isPresenting(const FilePresenter* presenter) const;

private:
    struct Folder {
        GFileMonitor* monitor = nullptr;
        std::vector<FilePresenter*> presenters;
    };
    FilePresenterRegistry() = default;
    static void changed(GFileMonitor*, GFile* file, GFile* other, int event, void* self);
    std::vector<FilePresenter*> presentersAt(const QString& path) const;
    void handleMove(const QString& from, const QString& to);
    void handleDisappearance(const QString& path);
    Folder* watch(const QString& folder);

    struct Presented {
        QString folder;
        QString path;
    };
    QHash<QString, Folder> folders_;
    QHash<const FilePresenter*, Presented> presented_;
};
