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

void requestOfWindowManager(xcb_window_t window, xcb_atom_t type,
                            std::initializer_list<uint32_t> data) {
    xcb_connection_t* x = connection();
    if (!x)
        return;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = type;
    int i = 0;
    for (uint32_t value : data) {
        if (i < 5)
            request.data.data32[i++] = value;
    }
    xcb_send_event(x, 0, root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(x);
}

} // namespace X11Session
