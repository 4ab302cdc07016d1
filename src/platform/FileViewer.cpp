#include "platform/FileViewer.h"

#include "platform/Workspace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QStringList>

namespace FileViewer {
namespace {
Revealer& revealer() {
    static Revealer current;
    return current;
}

void openContainingFolders(const QList<QUrl>& urls) {
    QStringList opened;
    for (const QUrl& url : urls) {
        const QString folder = QFileInfo(url.toLocalFile()).absolutePath();
        if (!opened.contains(folder)) {
            opened.append(folder);
            Workspace::openURL(QUrl::fromLocalFile(folder));
        }
    }
}
} // namespace

void setRevealer(Revealer r) {
    revealer() = std::move(r);
}

void activateFileViewerSelectingURLs(const QList<QUrl>& urls) {
    if (revealer()) {
        revealer()(urls);
        return;
    }
    if (urls.isEmpty())
        return;
    QStringList uris;
    for (const QUrl& url : urls)
        uris.append(QString::fromUtf8(url.toEncoded()));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolders(urls);
        return;
    }
    // Answered later on the main loop, so a slow file manager never holds up the bar.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [urls](QDBusPendingCallWatcher* finished) {
                         if (QDBusPendingReply<>(*finished).isError())
                             openContainingFolders(urls);
                         finished->deleteLater();
                     });
}
} // namespace FileViewer
