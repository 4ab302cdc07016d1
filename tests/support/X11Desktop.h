#pragma once

#include <QProcess>
#include <QString>
#include <memory>
#include <xcb/xcb.h>

namespace TestSupport {

// Whether this test process talks to a real X server (the test command's Xvfb).
bool onX11();

// A window manager on the X server for the life of the object: the one already
// running, else an openbox started here and stopped again afterwards.
class WindowManager {
public:
    WindowManager();
    ~WindowManager();
    bool running() const { return running_; }

private:
    std::unique_ptr<QProcess> openbox_;
    bool running_ = false;
};

// A plain top-level window of "another program": its own X connection.
class ForeignWindow {
public:
    explicit ForeignWindow(const QString& title = QStringLiteral("Another program"));
    ~ForeignWindow();
    xcb_window_t id() const { return window_; }
    // Waits until the window manager has taken the window on (framed it).
    bool waitUntilManaged(int timeoutMs = 5000);

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
};

} // namespace TestSupport
