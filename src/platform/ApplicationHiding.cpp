#include "platform/ApplicationHiding.h"

#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace ApplicationHiding {

const QString didHideNotification = QStringLiteral("NSApplicationDidHideNotification");

namespace {

// Qt's tray icon on X11 is a top-level widget of ours embedded in the tray.
bool countsAsWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && !widget->inherits("QSystemTrayIconSys");
}

bool anyWindowVisibleBesides(const QWidget* hidden) {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window != hidden && window->isVisible() && countsAsWindow(window))
            return true;
    }
    return false;
}

class HideFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Hides the window system reports (minimising) are spontaneous; the
        // program's own hide() calls are not.
        if (event->type() != QEvent::Hide || event->spontaneous() || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && countsAsWindow(widget) && !anyWindowVisibleBesides(widget))
            NotificationCenter::defaultCenter().post(didHideNotification, qApp);
        return false;
    }
};

} // namespace

void startObserving() {
    static bool started = false;
    if (started || !qApp)
        return;
    started = true;
    qApp->installEventFilter(new HideFilter(qApp));
}

} // namespace ApplicationHiding
