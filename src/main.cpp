#include "app/AppDelegate.h"
#include "app/WIUserDefaults.h"
#include "platform/Application.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The resources live in the static library, whose initialiser the linker
    // would otherwise leave out.
    Q_INIT_RESOURCE(resources);
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quiverlane"));
    QApplication::setOrganizationName(QStringLiteral("Marrowick"));
    QApplication::setApplicationVersion(QStringLiteral(QUIVERLANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quiverlane"));

    // A second launch is a message to the first, which may be showing its bar now.
    const QStringList arguments = QApplication::arguments().mid(1);
    SingleInstance instance;
    if (instance.passToRunningInstance(arguments))
        return 0;

    AppDelegate delegate(WIUserDefaults::standardUserDefaults());
    Application application(qtApplication, delegate);
    application.takeLaunchesFrom(instance, arguments);
    return application.run();
}
