#include "support/FileManagerServer.h"

#include <QDBusConnection>

namespace TestSupport {
namespace {
const QString serviceName = QStringLiteral("org.freedesktop.FileManager1");
const QString objectPath = QStringLiteral("/org/freedesktop/FileManager1");
} // namespace

FileManagerServer::FileManagerServer() {
    static int instances = 0;
    connectionName_ = QStringLiteral("test-file-manager-%1").arg(++instances);
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    running_ = bus.isConnected() && bus.registerService(serviceName) &&
               bus.registerObject(objectPath, this, QDBusConnection::ExportAllSlots);
}

FileManagerServer::~FileManagerServer() {
    {
        QDBusConnection bus(connectionName_);
        bus.unregisterObject(objectPath);
        bus.unregisterService(serviceName);
    }
    QDBusConnection::disconnectFromBus(connectionName_);
}

void FileManagerServer::ShowItems(const QStringList& uris, const QString&) {
    shownItems_.push_back(uris);
}

void FileManagerServer::ShowFolders(const QStringList&, const QString&) {}
} // namespace TestSupport
