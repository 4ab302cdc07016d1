#pragma once

#include <initializer_list>
#include <xcb/xcb.h>

// Qt's own connection to the X server, for the few things Qt does not do itself.
namespace X11Session {
// Null when the program does not run on X11 (Wayland, the offscreen platform).
xcb_connection_t* connection();
xcb_window_t root();
// XCB_NONE when there is no connection.
xcb_atom_t atom(const char* name);
// Asks the window manager to change `window`: a client message of `type` with
// up to five numbers, sent to the root window as window managers expect.
void requestOfWindowManager(xcb_window_t window, xcb_atom_t type,
                            std::initializer_list<uint32_t> data);
} // namespace X11Session
