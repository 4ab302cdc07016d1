#include "platform/ApplicationWindows.h"

#include <QApplication>
#include <QWidget>

namespace ApplicationWindows {

void hideApplication() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->hide();
    }
}

void activate(QWidget* window) {
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace ApplicationWindows
