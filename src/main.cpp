#include "app/AppDelegate.h"
#include "app/WIUserDefaults.h"
#include "platform/Application.h"

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

    AppDelegate delegate(WIUserDefaults::standardUserDefaults());
    Application application(qtApplication, delegate);
    return application.run();
}
