#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace TestSupport {

// A file manager's D-Bus face on the session bus for the life of the object:
// org.freedesktop.FileManager1 on a bus connection of its own, recording the
// items it was asked to show.
class FileManagerServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    FileManagerServer();
    ~FileManagerServer() override;

    // False without a session bus, or when the name is taken.
    bool running() const { return running_; }
    // Each ShowItems call's URIs, in the order the calls came.
    const std::vector<QStringList>& shownItems() const { return shownItems_; }

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString& startupId);
    void ShowFolders(const QStringList& uris, const QString& startupId);

private:
    QString connectionName_;
    bool running_ = false;
    std::vector<QStringList> shownItems_;
};

} // namespace TestSupport
