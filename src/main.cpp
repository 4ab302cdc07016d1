#include "app/AppDelegate.h"
#include "app/WIUserDefaults.h"
#include "platform/Application.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quiverlane"));
    QApplication::setOrganizationName(QStringLiteral("Marrowick"));
    QApplication::setApplicationVersion(QStringLiteral(QUIVERLANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quiverlane"));

    AppDelegate delegate(WIUserDefaults::standardUserDefaults());
    Application application(qtApplication, delegate);
    return application.run();
}
