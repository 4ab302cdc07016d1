#include "platform/LoginItem.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace LoginItem {

QString entryPath(const QString& identifier) {
    return Paths::autostartFolder() + u'/' + identifier + QStringLiteral(".desktop");
}

bool setEnabled(const QString& identifier, bool enabled) {
    const QString path = entryPath(identifier);
    if (!enabled)
        return !QFile::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(Paths::autostartFolder()))
        return false;
    QString program = QCoreApplication::applicationFilePath();
    if (program.isEmpty())
        program = QStringLiteral("quiverlane");
    // Desktop entries quote arguments with double quotes and escape \ " ` $ inside them.
    QString quoted = program;
    for (const char* special : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(special), QStringLiteral("\\") + QLatin1String(special));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quiverlane\n"
                                         "Exec=\"%1\"\n"
                                         "X-GNOME-Autostart-enabled=true\n"
                                         "NoDisplay=true\n")
                              .arg(quoted);
    file.write(entry.toUtf8());
    return file.commit();
}

bool isEnabled(const QString& identifier) {
    return QFile::exists(entryPath(identifier));
}

} // namespace LoginItem
