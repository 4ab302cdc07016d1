#include "platform/Paths.h"

#include <QStandardPaths>

namespace Paths {

QString configFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString settingsFile() {
    return configFolder() + QStringLiteral("/Marrowick/Quiverlane.conf");
}

QString autostartFolder() {
    return configFolder() + QStringLiteral("/autostart");
}

} // namespace Paths
