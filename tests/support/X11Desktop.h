#pragma once

#include <QProcess>
#include <QString>
#include <initializer_list>
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

// The keyboard as XTEST drives it, on a connection of its own: what a user types.
class TestKeyboard {
public:
    TestKeyboard();
    ~TestKeyboard();
    // Presses the modifiers in order, then taps the key, then lets the modifiers go.
    void type(std::initializer_list<quint32> modifierSymbols, quint32 keySymbol);
    void press(quint32 keySymbol);
    void release(quint32 keySymbol);
    // Another program's grab on the root window, as a rival hot-key tool makes.
    bool grabOnRoot(quint32 keySymbol, uint16_t modifiers);

private:
    xcb_keycode_t keycode(quint32 keySymbol) const;
    void fake(uint8_t type, quint32 keySymbol);

    xcb_connection_t* connection_ = nullptr;
};

} // namespace TestSupport
