#include "platform/ApplicationWindows.h"

#include "platform/FrontmostWindow.h"

#include <QApplication>
#include <QWidget>

namespace ApplicationWindows {
namespace {
// Qt's tray icon on X11 is a top-level widget of ours embedded in the tray; it
// stays when the application hides.
bool isTrayIcon(const QWidget* window) {
    return window->inherits("QSystemTrayIconSys");
}
} // namespace

void hideApplication() {
    // When the focus has already gone to another window (a click elsewhere hid
    // us), that window keeps it.
    const bool hadFocus = QGuiApplication::applicationState() == Qt::ApplicationActive;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !isTrayIcon(window))
            window->hide();
    }
    if (hadFocus)
        FrontmostWindow::activateRemembered();
}

void activate(QWidget* window) {
    if (!window)
        return;
    FrontmostWindow::startTracking();
    FrontmostWindow::rememberActive();
    window->show();
    window->raise();
    window->activateWindow();
    // Qt asks as an application, with the time of the last event it saw; a window
    // manager that prevents focus stealing refuses that when no click or key of
    // ours came just before (a hot key delivered to the root window, a timer).
    // Ours come up only when the user asks for them.
    FrontmostWindow::activate(FrontmostWindow::WindowId(window->winId()));
}

} // namespace ApplicationWindows
