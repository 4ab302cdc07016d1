#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>
#include <vector>

// The desktop's applications, as GIO knows them from the XDG desktop entries. An
// application is named by the location of its desktop entry. Tests put a
// recording stand-in in place of the real one.
class Applications {
public:
    virtual ~Applications() = default;

    static Applications& shared();
    // Installs `applications` (not owned) in place of the real one; null restores it.
    static void setShared(Applications* applications);

    // Whether `url` is itself an application to launch rather than a document.
    virtual bool isApplication(const QUrl& url) const;
    // The application the desktop opens `url` with; empty when there is none.
    virtual QUrl applicationToOpen(const QUrl& url) const;
    // Every application that says it can open `url`, in the registry's order.
    virtual std::vector<QUrl> applicationsToOpen(const QUrl& url) const;
    // Whether `application` is the file manager (the desktop's handler of folders).
    virtual bool isFileManager(const QUrl& application) const;
    // Starts `application`, handing it `documents`; answers the process it
    // started, 0 when it did not start one that can be told apart (a failure, or
    // an application started over D-Bus).
    virtual qint64 launch(const QUrl& application, const std::vector<QUrl>& documents = {});
    // Brings the windows of the process `pid` to the front.
    virtual void activate(qint64 pid);
    virtual QIcon icon(const QUrl& application) const;
};
