#include "platform/TaskbarPresence.h"

#include "platform/X11Session.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace TaskbarPresence {
namespace {

bool listed = true;

bool isOrdinaryWindow(const QWidget* window) {
    const Qt::WindowType type = window->windowType();
    return window->isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

// The window manager keeps _NET_WM_STATE of a mapped window; it is asked to change it.
void apply(QWidget* window) {
    if (!X11Session::connection() || !window->windowHandle() || !isOrdinaryWindow(window))
        return;
    static const xcb_atom_t state = X11Session::atom("_NET_WM_STATE");
    static const xcb_atom_t skipTaskbar = X11Session::atom("_NET_WM_STATE_SKIP_TASKBAR");
    static const xcb_atom_t skipPager = X11Session::atom("_NET_WM_STATE_SKIP_PAGER");
    // Remove (0) or add (1) both states, asked as an application (1).
    X11Session::requestOfWindowManager(xcb_window_t(window->winId()), state,
                                       {listed ? 0u : 1u, skipTaskbar, skipPager, 1});
}

// Windows that appear later take the same state once they are on screen.
class ShowWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow())
                QMetaObject::invokeMethod(
                    widget, [widget] { apply(widget); }, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

void setListed(bool shouldBeListed) {
    static ShowWatcher* watcher = [] {
        auto* made = new ShowWatcher;
        qApp->installEventFilter(made);
        return made;
    }();
    Q_UNUSED(watcher);
    listed = shouldBeListed;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            apply(window);
    }
}

bool isListed() {
    return listed;
}

} // namespace TaskbarPresence
