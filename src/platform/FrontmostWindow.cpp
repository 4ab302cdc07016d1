#include "platform/FrontmostWindow.h"

#include "platform/X11Session.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>

namespace FrontmostWindow {
namespace {

struct X11 {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_atom_t activeWindowAtom = XCB_NONE;
};

const X11& x11() {
    static const X11 session = [] {
        X11 result;
        result.connection = X11Session::connection();
        if (result.connection) {
            result.root = X11Session::root();
            result.activeWindowAtom = X11Session::atom("_NET_ACTIVE_WINDOW");
        }
        return result;
    }();
    return session;
}

bool isOurs(WindowId window) {
    for (QWindow* ours : QGuiApplication::allWindows()) {
        if (ours->handle() && WindowId(ours->winId()) == window)
            return true;
    }
    return false;
}

WindowId rememberedWindow = 0;

// Qt already listens to property changes of the root window; this only looks at them.
class ActiveWindowFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event);
        if (change->window == x11().root && change->atom == x11().activeWindowAtom)
            rememberActive();
        return false;
    }
};

} // namespace

void startTracking() {
    static bool started = false;
    if (started || !x11().connection)
        return;
    started = true;
    // Lives as long as the application, which deletes nothing it was given here.
    qGuiApp->installNativeEventFilter(new ActiveWindowFilter);
    rememberActive();
}

WindowId active() {
    const X11& session = x11();
    if (!session.connection || session.activeWindowAtom == XCB_NONE)
        return 0;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(session.connection,
                               xcb_get_property(session.connection, 0, session.root,
                                                session.activeWindowAtom, XCB_ATOM_WINDOW, 0, 1),
                               nullptr);
    if (!reply)
        return 0;
    WindowId window = 0;
    if (reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        window = *static_cast<const quint32*>(xcb_get_property_value(reply));
    free(reply);
    return window;
}

WindowId remembered() {
    return rememberedWindow;
}

void rememberActive() {
    const WindowId window = active();
    if (window != 0 && !isOurs(window))
        rememberedWindow = window;
}

bool activate(WindowId window) {
    const X11& session = x11();
    if (!session.connection || session.activeWindowAtom == XCB_NONE || window == 0)
        return false;
    // Source 2 ("pager"): the user asked for it, so focus-stealing rules do not apply.
    X11Session::requestOfWindowManager(window, session.activeWindowAtom, {2, XCB_CURRENT_TIME});
    return true;
}

bool activateRemembered() {
    return activate(rememberedWindow);
}

} // namespace FrontmostWindow
