#include "platform/TaskbarPresence.h"
#include "platform/X11Session.h"
#include "support/TestSupport.h"
#include "support/X11Desktop.h"

#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

bool skipsTaskbar(const QWidget& window) {
    xcb_connection_t* connection = X11Session::connection();
    const xcb_atom_t skip = X11Session::atom("_NET_WM_STATE_SKIP_TASKBAR");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, xcb_window_t(window.winId()),
                         X11Session::atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 32),
        nullptr);
    bool found = false;
    if (reply) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
            found = found || atoms[i] == skip;
        free(reply);
    }
    return found;
}

TEST(TaskbarPresence, WindowsLeaveAndRejoinTheTaskbar) {
    if (!onX11())
        GTEST_SKIP() << "needs the X server of the test command";
    WindowManager windowManager;
    ASSERT_TRUE(windowManager.running());
    TaskbarPresence::setListed(false);
    QWidget manage;
    manage.resize(300, 200);
    manage.show();
    EXPECT_TRUE(processEventsUntil([&] { return skipsTaskbar(manage); }))
        << "a window shown while unlisted stays out of the taskbar";
    TaskbarPresence::setListed(true);
    EXPECT_TRUE(processEventsUntil([&] { return !skipsTaskbar(manage); }));
    TaskbarPresence::setListed(false);
    EXPECT_TRUE(processEventsUntil([&] { return skipsTaskbar(manage); }));
    TaskbarPresence::setListed(true);
}

} // namespace
