#include "platform/WindowGeometry.h"

#include "platform/X11Session.h"

#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

namespace WindowGeometry {

std::optional<QRect> onScreen(const QWidget* window) {
    xcb_connection_t* connection = X11Session::connection();
    if (!connection || !window || !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_window_t root = X11Session::root();
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr);
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    std::optional<QRect> result;
    if (origin && geometry)
        result = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    free(origin);
    free(geometry);
    return result;
}

} // namespace WindowGeometry
