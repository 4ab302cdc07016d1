#include "platform/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

namespace {
constexpr int answerTimeoutMs = 2000;

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/quiverlane-%1").arg(::getuid());
    QDir().mkpath(folder);
    return folder;
}
} // namespace

SingleInstance::SingleInstance(const QString& name)
    : socketPath_(runtimeFolder() + u'/' + name + QStringLiteral(".socket")) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

bool SingleInstance::passToRunningInstance(const QStringList& arguments) {
    // Two launches at the same moment must not both decide they are the first.
    QLockFile lock(socketPath_ + QStringLiteral(".lock"));
    lock.lock();
    QLocalSocket running;
    running.connectToServer(socketPath_);
    if (running.waitForConnected(answerTimeoutMs)) {
        QByteArray message;
        QDataStream out(&message, QIODevice::WriteOnly);
        out << arguments;
        running.write(message);
        running.waitForBytesWritten(answerTimeoutMs);
        running.disconnectFromServer();
        if (running.state() != QLocalSocket::UnconnectedState)
            running.waitForDisconnected(answerTimeoutMs);
        return true;
    }
    // Nobody answers: what is there was left by a program that has gone.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::readLaunch);
    server_->listen(socketPath_);
    return false;
}

void SingleInstance::readLaunch() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        // The whole message has arrived once the other side hangs up.
        connect(client, &QLocalSocket::disconnected, this, [this, client] {
            QStringList arguments;
            QDataStream stream(client->readAll());
            stream >> arguments;
            if (stream.status() == QDataStream::Ok)
                Q_EMIT launched(arguments);
        });
    }
}
