#include "platform/GlobalHotKeys.h"

#include "platform/SystemLog.h"
#include "platform/VirtualKeySymbols.h"
#include "platform/X11Session.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QHash>
#include <cstdlib>
#include <vector>
#include <xcb/xcb_keysyms.h>

namespace GlobalHotKeys {
namespace {

// Caps Lock and Num Lock (Mod2 on every common layout) must not stop a hot key.
constexpr uint16_t lockMasks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                  XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint16_t ignoredMasks = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;

struct Grab {
    xcb_keycode_t keycode;
    uint16_t modifiers;
    // A held key repeats as a release and a press with the same time: not a new press.
    xcb_timestamp_t lastRelease = 0;
};

uint16_t xModifiers(quint32 modifiers) {
    uint16_t mask = 0;
    if (modifiers & commandKey)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & shiftKey)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & optionKey)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & controlKey)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

class Registry : public QAbstractNativeEventFilter {
public:
    Handler handler;
    QHash<quint32, Grab> grabs;

    static Registry& shared() {
        static Registry* registry = [] {
            auto* made = new Registry;
            // The application keeps the filter for the rest of the run.
            if (QCoreApplication* app = QCoreApplication::instance())
                app->installNativeEventFilter(made);
            return made;
        }();
        return *registry;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & 0x7f;
        if (kind != XCB_KEY_PRESS && kind != XCB_KEY_RELEASE)
            return false;
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (key->event != X11Session::root())
            return false;
        const uint16_t state = key->state & ~ignoredMasks & 0xff;
        for (auto it = grabs.begin(); it != grabs.end(); ++it) {
            Grab& grab = it.value();
            if (grab.keycode != key->detail || grab.modifiers != state)
                continue;
            const bool pressed = kind == XCB_KEY_PRESS;
            if (!pressed)
                grab.lastRelease = key->time;
            else if (grab.lastRelease == key->time)
                return true;
            // Not from inside the event filter: what a press starts may run an event loop.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, identifier = it.key(), pressed] {
                    if (handler)
                        handler(identifier, pressed);
                },
                Qt::QueuedConnection);
            return true;
        }
        return false;
    }
};

std::vector<xcb_keycode_t> keycodesFor(xcb_connection_t* connection, quint32 keySymbol) {
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    std::vector<xcb_keycode_t> keycodes;
    if (xcb_keycode_t* found = xcb_key_symbols_get_keycode(symbols, keySymbol)) {
        for (xcb_keycode_t* code = found; *code != XCB_NO_SYMBOL; ++code)
            keycodes.push_back(*code);
        free(found);
    }
    xcb_key_symbols_free(symbols);
    return keycodes;
}

void ungrab(xcb_connection_t* connection, const Grab& grab) {
    for (uint16_t lock : lockMasks)
        xcb_ungrab_key(connection, grab.keycode, X11Session::root(), grab.modifiers | lock);
    xcb_flush(connection);
}

} // namespace

void setHandler(Handler handler) {
    Registry::shared().handler = std::move(handler);
}

bool registerHotKey(qint64 keyCode, quint32 modifiers, quint32 identifier) {
    xcb_connection_t* connection = X11Session::connection();
    if (!connection) {
        static const bool said = [] {
            SystemLog::write(
                QStringLiteral("No X11 session: Quiverlane runs without a global hot key"));
            return true;
        }();
        Q_UNUSED(said);
        return false;
    }
    const std::optional<quint32> symbol = VirtualKeySymbols::keySymbolFor(keyCode);
    if (!symbol)
        return false;
    const std::vector<xcb_keycode_t> keycodes = keycodesFor(connection, *symbol);
    if (keycodes.empty())
        return false;
    Registry& registry = Registry::shared();
    const Grab grab{keycodes.front(), xModifiers(modifiers)};
    std::vector<xcb_void_cookie_t> requests;
    for (uint16_t lock : lockMasks) {
        requests.push_back(xcb_grab_key_checked(connection, 1, X11Session::root(),
                                                grab.modifiers | lock, grab.keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    for (xcb_void_cookie_t request : requests) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, request)) {
            // BadAccess is the usual answer: another client holds the combination.
            refused = true;
            free(error);
        }
    }
    if (refused) {
        // Whatever part of it we did get goes back: another client holds it.
        ungrab(connection, grab);
        return false;
    }
    registry.grabs.insert(identifier, grab);
    return true;
}

void unregisterHotKey(quint32 identifier) {
    Registry& registry = Registry::shared();
    const auto found = registry.grabs.constFind(identifier);
    if (found == registry.grabs.constEnd())
        return;
    if (xcb_connection_t* connection = X11Session::connection())
        ungrab(connection, found.value());
    registry.grabs.erase(found);
}

} // namespace GlobalHotKeys
