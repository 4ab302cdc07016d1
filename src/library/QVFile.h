#pragma once

#include "platform/FilePresenter.h"
#include "platform/KeyedArchive.h"
#include "platform/ResourceValues.h"
#include "platform/VolumeMonitor.h"

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

// One shortcut: a location on disk kept across launches by a bookmark, with the
// name, icon and error state every view shows. It follows its file through moves
// and volume changes and posts "Notification.QVFileDidChange" on each visible change.
class QVFile : public QObject,
               public Archivable,
               public FilePresenter,
               public VolumeObserver,
               public std::enable_shared_from_this<QVFile> {
    Q_OBJECT
public:
    static const QString didChangeNotification;
    static const QString aliasErrorMessage;

    QVFile();
    ~QVFile() override;

    static ArchivablePtr decode(const KeyedUnarchiver& coder);
    QString archiveClassName() const override { return QStringLiteral("QVFile"); }
    void encodeWithCoder(KeyedArchiver& coder) const override;

    bool isDirectory() const { return isDirectory_; }
    bool isWebLoc() const { return isWebLoc_; }
    bool hasError() const { return hasError_; }
    bool isAlias() const { return isAlias_; }
    // Made on first use after each change of location or icon path.
    QIcon image() const;
    void setImage(const QIcon& image);
    QString name() const { return name_; }
    QString displayName() const { return displayName_; }
    void setDisplayName(const QString& displayName) { displayName_ = displayName; }
    QString iconPath() const { return iconPath_; }
    void setIconPath(const QString& iconPath);
    QString nameWithoutExtension() const { return nameWithoutExtension_; }
    QString webLocation() const { return webLocation_; }
    QByteArray webLocData() const { return webLocData_; }
    QUrl url() const { return url_; }
    QString path() const { return path_; }
    QString lastKnownPath() const { return lastKnownPath_; }
    QString errorMessage() const { return errorMessage_; }
    QUrl aliasDestinationURL() const { return aliasDestinationURL_; }
    QByteArray bookmarkData() const { return bookmarkData_; }
    void setBookmarkData(const QByteArray& data) { bookmarkData_ = data; }

    // The title the views show.
    QString title(bool showExtensions) const;

    virtual void setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias,
                        bool useFilePresenter, bool updateIcon);
    void setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias, bool useFilePresenter) {
        setUrl(url, updateBookmarkData, checkAlias, useFilePresenter, true);
    }
    void setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias) {
        setUrl(url, updateBookmarkData, checkAlias, true, true);
    }
    void setUrl(const QUrl& url) { setUrl(url, true, true, true, true); }
    // The cheap pointing of a folder-listing entry (no bookmark, aliases recognised,
    // no watching, no icon) at `path`, whose resource values the listing has read.
    void setListedUrl(const QString& path, const ResourceValues& values);

    void updateURL();
    void updateIcon();
    void updateFavIconIfNeeded();
    virtual bool deleteLocalDataIfNeeded();
    void updateIsDirectory();
    void updateIsWebLoc();
    void checkFileIsAlias();
    static QImage generateQuicklookIconWithURL(const QUrl& url);

    QUrl presentedItemURL() const { return url_; }
    void presentedItemDidMoveToURL(const QUrl& url);
    QUrl previewItemURL() const { return url_; }
    QString previewItemTitle() const { return name_; }

    QString description() const;

    // FilePresenter
    QString presentedItemPath() const override { return path(); }
    void presentedItemDidMoveTo(const QString& newPath) override;
    void presentedItemDidMoveToUnknownPlace() override;

protected:
    virtual void initWithCoder(const KeyedUnarchiver& coder);
    void postDidChange();
    QString className() const;

    // VolumeObserver
    void volumeDidMount(const QUrl& volumeUrl) override;
    void volumeDidUnmount(const QUrl& volumeUrl) override;

private:
    void enterErrorState();
    void updateIsDirectory(const ResourceValues& values);
    void checkFileIsAlias(const ResourceValues& values);
    void stopPresenting();
    void setCautionImage();
    void onMainThread(std::function<void()> work);

    bool isDirectory_ = false;
    bool isWebLoc_ = false;
    bool hasError_ = false;
    bool isAlias_ = false;
    mutable QIcon image_;
    mutable bool imageNeedsUpdate_ = false;
    // Set by a worker, which may not make icons: the caution icon is made on first use.
    mutable bool imageNeedsCaution_ = false;
    QString name_;
    QString displayName_;
    QString iconPath_;
    QString nameWithoutExtension_;
    QString webLocation_;
    QByteArray webLocData_;
    QUrl url_;
    QString path_;
    // What resolving the bookmark learnt of the file, so that pointing the
    // shortcut there neither asks the file system again nor decodes the URL.
    struct Resolved {
        QString path;
        ResourceValues values;
    };
    std::optional<Resolved> resolved_;
    QString lastKnownPath_;
    QString errorMessage_;
    QUrl aliasDestinationURL_;
    QByteArray bookmarkData_;
    bool accessingSecurityScope_ = false;
};

using QVFilePtr = std::shared_ptr<QVFile>;

// A shortcut paired with an application to open it with (the open-with menus).
struct QVOpenWithItem {
    QUrl openWithURL;
    std::weak_ptr<QVFile> file;
};
