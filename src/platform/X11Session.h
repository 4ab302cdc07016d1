#pragma once

#include <xcb/xcb.h>

// Qt's own connection to the X server, for the few things Qt does not do itself.
namespace X11Session {
// Null when the program does not run on X11 (Wayland, the offscreen platform).
xcb_connection_t* connection();
xcb_window_t root();
// XCB_NONE when there is no connection.
xcb_atom_t atom(const char* name);
} // namespace X11Session
