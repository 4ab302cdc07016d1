#include "library/QVFile.h"

#include "library/LocalFiles.h"
#include "library/PathNames.h"
#include "platform/Bookmark.h"
#include "platform/FileIcons.h"
#include "platform/FileURLs.h"
#include "platform/MountTable.h"
#include "platform/NotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/ResourceValues.h"
#include "platform/SecurityScope.h"
#include "platform/SystemLog.h"
#include "platform/VolumeMonitor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

const QString QVFile::didChangeNotification = QStringLiteral("Notification.QVFileDidChange");
const QString QVFile::aliasErrorMessage =
    QStringLiteral("Could not resolve alias destination. Please try again.");

namespace {
const char* const keyBookmarkData = "bookmarkData";
const char* const keyName = "name";
const char* const keyDisplayName = "displayName";
const char* const keyPath = "path";
const char* const keyIconPath = "iconPath";

// A URL whose path is not valid UTF-8 cannot become a QString path without
// turning into the name of some other file. Such a decoding always leaves a
// replacement character, so only paths that have one need the closer look.
bool hasUtf8Path(const QUrl& url, const QString& decodedPath) {
    if (!decodedPath.contains(QChar::ReplacementCharacter))
        return true;
    const QByteArray raw = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return FileNames::isValidUtf8(raw);
}

bool isOnWorkerThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() != app->thread();
}
} // namespace

QVFile::QVFile() {
    // Shortcuts made by a worker (folder listing) still live on the main thread.
    if (isOnWorkerThread())
        moveToThread(QCoreApplication::instance()->thread());
    onMainThread([this] { VolumeMonitor::shared().addObserver(this); });
}

void QVFile::onMainThread(std::function<void()> work) {
    // The volume observers, the file watches and the mount table are the main
    // thread's; a shortcut already lives there, so queued work dies with it.
    if (isOnWorkerThread())
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
    else
        work();
}

QVFile::~QVFile() {
    VolumeMonitor::shared().removeObserver(this);
    stopPresenting();
    if (accessingSecurityScope_)
        SecurityScope::stopAccessing(path());
}

ArchivablePtr QVFile::decode(const KeyedUnarchiver& coder) {
    auto file = std::make_shared<QVFile>();
    file->initWithCoder(coder);
    return file;
}

void QVFile::initWithCoder(const KeyedUnarchiver& coder) {
    bookmarkData_ = coder.decodeData(keyBookmarkData);
    name_ = coder.decodeString(keyName);
    nameWithoutExtension_ = PathNames::deletingExtension(name_);
    displayName_ = coder.decodeString(keyDisplayName);
    lastKnownPath_ = coder.decodeString(keyPath);
    iconPath_ = coder.decodeString(keyIconPath);
    updateURL();
}

void QVFile::encodeWithCoder(KeyedArchiver& coder) const {
    coder.encodeData(keyBookmarkData, bookmarkData_);
    coder.encodeString(keyName, name_);
    if (!displayName_.isNull())
        coder.encodeString(keyDisplayName, displayName_);
    coder.encodeString(keyPath, path());
    if (!iconPath_.isNull())
        coder.encodeString(keyIconPath, iconPath_);
}

QIcon QVFile::image() const {
    if (imageNeedsCaution_) {
        imageNeedsCaution_ = false;
        image_ = FileIcons::cautionIcon();
    }
    if (imageNeedsUpdate_) {
        imageNeedsUpdate_ = false;
        QImage loaded = iconPath_.isEmpty() ? QImage() : FileIcons::loadImage(iconPath_);
        if (loaded.isNull())
            loaded = generateQuicklookIconWithURL(url_);
        if (!loaded.isNull())
            image_ = QIcon(QPixmap::fromImage(loaded));
        else if (!url_.isEmpty())
            image_ = FileIcons::iconForPath(path());
    }
    return image_;
}

void QVFile::setImage(const QIcon& image) {
    image_ = image;
    imageNeedsUpdate_ = false;
    imageNeedsCaution_ = false;
}

void QVFile::setCautionImage() {
    if (!isOnWorkerThread()) {
        setImage(FileIcons::cautionIcon());
        return;
    }
    imageNeedsUpdate_ = false;
    imageNeedsCaution_ = true;
}

void QVFile::setIconPath(const QString& iconPath) {
    iconPath_ = iconPath;
    updateIcon();
}

QString QVFile::title(bool showExtensions) const {
    if (!displayName_.isEmpty())
        return displayName_;
    if (isWebLoc_ || !showExtensions)
        return nameWithoutExtension_;
    return name_;
}

void QVFile::setUrl(const QUrl& url, bool updateBookmarkData, bool checkAlias,
                    bool useFilePresenter, bool updateIconFlag) {
    if (!url_.isEmpty() && accessingSecurityScope_) {
        SecurityScope::stopAccessing(path());
        accessingSecurityScope_ = false;
    }
    std::optional<Resolved> resolved;
    resolved.swap(resolved_);
    const QString newPath = resolved        ? resolved->path
                            : url.isEmpty() ? QString()
                                            : url.toLocalFile();
    if (!url.isEmpty() && (!url.isLocalFile() || !hasUtf8Path(url, newPath))) {
        SystemLog::write(
            QStringLiteral("Refusing to point %@ at %@: not a local file with a UTF-8 name"),
            {name_, url.toString(QUrl::FullyEncoded)});
        onMainThread([this] { stopPresenting(); });
        url_ = QUrl();
        path_.clear();
        // Nor may a relaunch lead back to whatever the shortcut pointed at before.
        bookmarkData_.clear();
        hasError_ = true;
        setCautionImage();
        return;
    }
    url_ = url;
    path_ = newPath;
    if (url.isEmpty())
        return;
    SecurityScope::startAccessing(path_);
    accessingSecurityScope_ = true;
    name_ = PathNames::lastComponent(path_);
    const ResourceValues values = resolved ? resolved->values : ResourceValues::forPath(path_);
    updateIsDirectory(values);
    const bool isPackageName = PathNames::extension(name_) == u"app";
    nameWithoutExtension_ =
        (!isDirectory_ || isPackageName) ? PathNames::deletingExtension(name_) : name_;
    updateIsWebLoc();
    if (updateIconFlag)
        updateIcon();
    updateFavIconIfNeeded();
    if (checkAlias)
        checkFileIsAlias(values);
    if (updateBookmarkData) {
        onMainThread([this, path = path_] {
            QString error;
            bookmarkData_ = Bookmark::create(
                path, Bookmark::WithSecurityScope | Bookmark::SecurityScopeAllowOnlyReadAccess,
                &error);
            if (bookmarkData_.isEmpty())
                SystemLog::write(
                    QStringLiteral("Could not create bookmark data because of error: %@"), {error});
        });
    }
    if (useFilePresenter)
        onMainThread([this] { FilePresenterRegistry::shared().addFilePresenter(this); });
}

void QVFile::setListedUrl(const QString& path, const ResourceValues& values) {
    resolved_ = Resolved{path, values};
    setUrl(FileURLs::fromPath(path), false, true, false, false);
}

void QVFile::updateIsDirectory() {
    updateIsDirectory(ResourceValues::forPath(path_));
}

void QVFile::updateIsDirectory(const ResourceValues& values) {
    isDirectory_ = values.isDirectory && !values.isPackage;
}

void QVFile::updateIsWebLoc() {
    isWebLoc_ = PathNames::extension(name_) == u"webloc";
    if (!isWebLoc_)
        return;
    QFile file(path());
    // A web bookmark is a few hundred bytes; anything huge is not one.
    constexpr qint64 largestWebloc = 1 << 20;
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestWebloc)
        return;
    const QByteArray bytes = file.readAll();
    const std::optional<QVariant> parsed = PropertyList::parseValue(bytes);
    if (!parsed || parsed->typeId() != QMetaType::QVariantMap)
        return;
    webLocData_ = bytes;
    const QVariant location = parsed->toMap().value(QStringLiteral("URL"));
    if (location.typeId() == QMetaType::QString)
        webLocation_ = location.toString();
}

void QVFile::updateIcon() {
    imageNeedsUpdate_ = true;
}

void QVFile::updateFavIconIfNeeded() {
    // Favicons are fetched by the favicon downloader once the program has one; a
    // web bookmark without a favicon shows its file icon.
}

void QVFile::checkFileIsAlias() {
    checkFileIsAlias(ResourceValues::forPath(path_));
}

void QVFile::checkFileIsAlias(const ResourceValues& values) {
    if (!values.isAliasFile) {
        isAlias_ = false;
        aliasDestinationURL_ = QUrl();
        hasError_ = false;
        errorMessage_.clear();
        return;
    }
    const std::optional<QString> destination = mw_resolveAliasFile(path());
    setCautionImage();
    if (destination) {
        isAlias_ = true;
        aliasDestinationURL_ = FileURLs::fromPath(*destination);
        setUrl(aliasDestinationURL_, true, false);
    } else {
        hasError_ = true;
        errorMessage_ = aliasErrorMessage;
    }
}

QImage QVFile::generateQuicklookIconWithURL(const QUrl& url) {
    if (url.isEmpty() || !url.isLocalFile())
        return QImage();
    // 16 points at a scale factor of 2.
    return FileIcons::thumbnailForPath(url.toLocalFile(), QSize(32, 32));
}

void QVFile::updateURL() {
    const std::optional<Bookmark::Resolution> resolved =
        Bookmark::resolve(bookmarkData_, Bookmark::WithoutUI | Bookmark::ResolveWithSecurityScope);
    if (resolved) {
        resolved_ = Resolved{resolved->path, resolved->values};
        setUrl(FileURLs::fromPath(resolved->path), resolved->isStale, true, true, true);
        return;
    }
    enterErrorState();
}

void QVFile::enterErrorState() {
    hasError_ = true;
    setCautionImage();
    stopPresenting();
    setUrl(QUrl());
}

bool QVFile::deleteLocalDataIfNeeded() {
    if (url_.isEmpty())
        return false;
    const std::optional<QString> itemFolder = LocalFiles::itemFolderContaining(path());
    if (!itemFolder)
        return false;
    QFile::remove(path());
    return QDir(*itemFolder).removeRecursively();
}

void QVFile::stopPresenting() {
    FilePresenterRegistry::shared().removeFilePresenter(this);
}

void QVFile::presentedItemDidMoveToURL(const QUrl& url) {
    stopPresenting();
    setUrl(url);
    postDidChange();
}

void QVFile::presentedItemDidMoveTo(const QString& newPath) {
    presentedItemDidMoveToURL(FileURLs::fromPath(newPath));
}

void QVFile::presentedItemDidMoveToUnknownPlace() {
    const std::optional<Bookmark::Resolution> resolved =
        Bookmark::resolve(bookmarkData_, Bookmark::WithoutUI | Bookmark::ResolveWithSecurityScope);
    if (resolved && resolved->path != path())
        presentedItemDidMoveToURL(FileURLs::fromPath(resolved->path));
}

void QVFile::volumeDidUnmount(const QUrl& volumeUrl) {
    if (url_.isEmpty() || !MountTable::pathIsInside(path(), volumeUrl.toLocalFile()))
        return;
    enterErrorState();
    postDidChange();
}

void QVFile::volumeDidMount(const QUrl&) {
    const QString before = path();
    updateURL();
    if (path() != before || before.isEmpty())
        postDidChange();
}

void QVFile::postDidChange() {
    NotificationCenter::defaultCenter().post(didChangeNotification, this);
}

QString QVFile::className() const {
    return QString::fromLatin1(metaObject()->className());
}

QString QVFile::description() const {
    return SystemLog::format(QStringLiteral("<%@: %@ name=%@, displayName=%@, url=%@>"),
                             {className(), QString::asprintf("%p", static_cast<const void*>(this)),
                              name_,
                              displayName_.isNull() ? QStringLiteral("(null)") : displayName_,
                              url_.isEmpty() ? QStringLiteral("(null)") : path()});
}
