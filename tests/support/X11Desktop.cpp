#include "support/X11Desktop.h"

#include "support/TestSupport.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace TestSupport {
namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
    free(reply);
    return result;
}

bool windowManagerPresent() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    bool present = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, root, atom(connection, "_NET_SUPPORTING_WM_CHECK"),
                             XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        // The property outlives a window manager that has gone; its window does not.
        if (reply && xcb_get_property_value_length(reply) >= 4) {
            const xcb_window_t check = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                connection, xcb_get_window_attributes(connection, check), nullptr);
            present = attributes != nullptr;
            free(attributes);
        }
        free(reply);
    }
    xcb_disconnect(connection);
    return present;
}

} // namespace

bool onX11() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

WindowManager::WindowManager() {
    if (!onX11())
        return;
    if (windowManagerPresent()) {
        running_ = true;
        return;
    }
    openbox_ = std::make_unique<QProcess>();
    openbox_->setProcessChannelMode(QProcess::ForwardedChannels);
    openbox_->start(QStringLiteral("openbox"), {});
    running_ = processEventsUntil(windowManagerPresent, 10000);
    // openbox announces itself before it takes windows on: a window mapped in
    // between stays unmanaged. It is ready once a probe window gets framed.
    for (int attempt = 0; running_ && attempt < 20; ++attempt) {
        ForeignWindow probe(QStringLiteral("probe"));
        if (probe.waitUntilManaged(500))
            return;
    }
    running_ = false;
}

WindowManager::~WindowManager() {
    if (!openbox_)
        return;
    openbox_->terminate();
    if (!openbox_->waitForFinished(3000))
        openbox_->kill();
    openbox_->waitForFinished(3000);
    // The next test must not find the property of a window manager that is gone.
    processEventsUntil([] { return !windowManagerPresent(); }, 3000);
}

ForeignWindow::ForeignWindow(const QString& title) {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->white_pixel};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 100, 100, 300, 200,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      values);
    const QByteArray name = title.toUtf8();
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, uint32_t(name.size()), name.constData());
    xcb_map_window(connection_, window_);
    xcb_flush(connection_);
}

bool ForeignWindow::waitUntilManaged(int timeoutMs) {
    const xcb_atom_t wmState = atom(connection_, "WM_STATE");
    return processEventsUntil(
        [this, wmState] {
            xcb_get_property_reply_t* reply = xcb_get_property_reply(
                connection_,
                xcb_get_property(connection_, 0, window_, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 2),
                nullptr);
            const bool managed = reply && xcb_get_property_value_length(reply) > 0;
            free(reply);
            return managed;
        },
        timeoutMs);
}

ForeignWindow::~ForeignWindow() {
    if (window_ != XCB_NONE)
        xcb_destroy_window(connection_, window_);
    xcb_disconnect(connection_);
}

TestKeyboard::TestKeyboard() : connection_(xcb_connect(nullptr, nullptr)) {}

TestKeyboard::~TestKeyboard() {
    xcb_disconnect(connection_);
}

xcb_keycode_t TestKeyboard::keycode(quint32 keySymbol) const {
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keySymbol);
    const xcb_keycode_t code = codes ? codes[0] : 0;
    free(codes);
    xcb_key_symbols_free(symbols);
    return code;
}

void TestKeyboard::fake(uint8_t type, quint32 keySymbol) {
    xcb_test_fake_input(connection_, type, keycode(keySymbol), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

void TestKeyboard::press(quint32 keySymbol) {
    fake(XCB_KEY_PRESS, keySymbol);
}

void TestKeyboard::release(quint32 keySymbol) {
    fake(XCB_KEY_RELEASE, keySymbol);
}

void TestKeyboard::type(std::initializer_list<quint32> modifierSymbols, quint32 keySymbol) {
    for (quint32 modifier : modifierSymbols)
        press(modifier);
    press(keySymbol);
    release(keySymbol);
    for (auto it = std::rbegin(modifierSymbols); it != std::rend(modifierSymbols); ++it)
        release(*it);
}

bool TestKeyboard::grabOnRoot(quint32 keySymbol, uint16_t modifiers) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        connection_, xcb_grab_key_checked(connection_, 1, root, modifiers, keycode(keySymbol),
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    free(error);
    return error == nullptr;
}

} // namespace TestSupport
