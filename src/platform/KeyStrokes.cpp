#include "platform/KeyStrokes.h"

#include "platform/X11Session.h"

#include <QChar>
#include <X11/keysym.h>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace KeyStrokes {
namespace {

using KeySymbols = std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)>;

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&free)>;

// Keys that change the meaning of others while held. Lock keys are not among
// them: pressing one again would toggle its lock.
bool isHeldModifier(xcb_keysym_t keysym) {
    switch (keysym) {
    case XK_Shift_L:
    case XK_Shift_R:
    case XK_Control_L:
    case XK_Control_R:
    case XK_Meta_L:
    case XK_Meta_R:
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Super_L:
    case XK_Super_R:
    case XK_Hyper_L:
    case XK_Hyper_R:
    case XK_ISO_Level3_Shift:
    case XK_ISO_Level5_Shift:
    case XK_Mode_switch:
        return true;
    default:
        return false;
    }
}

xcb_keycode_t keycodeOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const xcb_keycode_t first = codes ? codes[0] : XCB_NO_SYMBOL;
    free(codes);
    return first;
}

std::vector<xcb_keycode_t> heldModifierKeys(xcb_connection_t* x, xcb_key_symbols_t* symbols) {
    ReplyPtr<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(x, xcb_get_modifier_mapping(x), nullptr), &free);
    ReplyPtr<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(x, xcb_query_keymap(x), nullptr), &free);
    std::vector<xcb_keycode_t> held;
    if (!mapping || !keymap)
        return held;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int count = xcb_get_modifier_mapping_keycodes_length(mapping.get());
    for (int i = 0; i < count; ++i) {
        const xcb_keycode_t code = codes[i];
        const bool down = code != 0 && (keymap->keys[code / 8] & (1 << (code % 8)));
        if (down && isHeldModifier(xcb_key_symbols_get_keysym(symbols, code, 0)) &&
            std::find(held.begin(), held.end(), code) == held.end())
            held.push_back(code);
    }
    return held;
}

void fake(xcb_connection_t* x, uint8_t type, xcb_keycode_t code) {
    xcb_test_fake_input(x, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

} // namespace

bool available() {
    xcb_connection_t* x = X11Session::connection();
    if (!x)
        return false;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(x, &xcb_test_id);
    return xtest && xtest->present;
}

bool type(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    // Latin-1 keys have the key symbols of their unshifted characters.
    if (!available() || key < Qt::Key_Space || key > Qt::Key_ydiaeresis)
        return false;
    const xcb_keysym_t keysym = QChar(key).toLower().unicode();
    xcb_connection_t* x = X11Session::connection();
    KeySymbols symbols(xcb_key_symbols_alloc(x), &xcb_key_symbols_free);
    const xcb_keycode_t target = keycodeOf(symbols.get(), keysym);
    if (target == XCB_NO_SYMBOL)
        return false;
    std::vector<xcb_keycode_t> pressed;
    const std::pair<Qt::KeyboardModifier, xcb_keysym_t> modifierKeys[] = {
        {Qt::ControlModifier, XK_Control_L},
        {Qt::ShiftModifier, XK_Shift_L},
        {Qt::AltModifier, XK_Alt_L},
        {Qt::MetaModifier, XK_Super_L},
    };
    for (const auto& [modifier, modifierKeysym] : modifierKeys) {
        if (!modifiers.testFlag(modifier))
            continue;
        const xcb_keycode_t modifierCode = keycodeOf(symbols.get(), modifierKeysym);
        if (modifierCode == XCB_NO_SYMBOL)
            return false;
        pressed.push_back(modifierCode);
    }

    const std::vector<xcb_keycode_t> held = heldModifierKeys(x, symbols.get());
    for (xcb_keycode_t code : held)
        fake(x, XCB_KEY_RELEASE, code);
    for (xcb_keycode_t code : pressed)
        fake(x, XCB_KEY_PRESS, code);
    fake(x, XCB_KEY_PRESS, target);
    fake(x, XCB_KEY_RELEASE, target);
    for (auto code = pressed.rbegin(); code != pressed.rend(); ++code)
        fake(x, XCB_KEY_RELEASE, *code);
    for (xcb_keycode_t code : held)
        fake(x, XCB_KEY_PRESS, code);
    // A round trip: the server has acted on the whole stroke when this returns.
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
    return true;
}

} // namespace KeyStrokes
