#include "platform/X11Session.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace X11Session {

xcb_connection_t* connection() {
    auto* native =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return native ? native->connection() : nullptr;
}

xcb_window_t root() {
    xcb_connection_t* x = connection();
    return x ? xcb_setup_roots_iterator(xcb_get_setup(x)).data->root : XCB_NONE;
}

xcb_atom_t atom(const char* name) {
    xcb_connection_t* x = connection();
    if (!x)
        return XCB_NONE;
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
    free(reply);
    return result;
}

} // namespace X11Session
