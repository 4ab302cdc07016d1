#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace TestSupport {

QString Folder::write(const QString& relative, const QByteArray& contents) const {
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile out(full);
    if (out.open(QIODevice::WriteOnly))
        out.write(contents);
    return full;
}

QString Folder::makeFolder(const QString& relative) const {
    const QString full = file(relative);
    QDir().mkpath(full);
    return full;
}

QString Folder::link(const QString& relative, const QString& target) const {
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).path());
    [[maybe_unused]] int result = ::symlink(target.toUtf8().constData(), full.toUtf8().constData());
    return full;
}

QByteArray readFile(const QString& path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace TestSupport
