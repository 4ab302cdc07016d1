#include "platform/VirtualKeyCodes.h"

#include <array>

namespace VirtualKeyCodes {
namespace {
struct Entry {
    qint64 code;
    int key;
    bool keypad;
};

// Letters, digits and punctuation by their place on the ANSI layout, then the
// function, editing and keypad keys.
constexpr std::array table{
    Entry{0, Qt::Key_A, false},
    Entry{1, Qt::Key_S, false},
    Entry{2, Qt::Key_D, false},
    Entry{3, Qt::Key_F, false},
    Entry{4, Qt::Key_H, false},
    Entry{5, Qt::Key_G, false},
    Entry{6, Qt::Key_Z, false},
    Entry{7, Qt::Key_X, false},
    Entry{8, Qt::Key_C, false},
    Entry{9, Qt::Key_V, false},
    Entry{11, Qt::Key_B, false},
    Entry{12, Qt::Key_Q, false},
    Entry{13, Qt::Key_W, false},
    Entry{14, Qt::Key_E, false},
    Entry{15, Qt::Key_R, false},
    Entry{16, Qt::Key_Y, false},
    Entry{17, Qt::Key_T, false},
    Entry{18, Qt::Key_1, false},
    Entry{19, Qt::Key_2, false},
    Entry{20, Qt::Key_3, false},
    Entry{21, Qt::Key_4, false},
    Entry{22, Qt::Key_6, false},
    Entry{23, Qt::Key_5, false},
    Entry{24, Qt::Key_Equal, false},
    Entry{25, Qt::Key_9, false},
    Entry{26, Qt::Key_7, false},
    Entry{27, Qt::Key_Minus, false},
    Entry{28, Qt::Key_8, false},
    Entry{29, Qt::Key_0, false},
    Entry{30, Qt::Key_BracketRight, false},
    Entry{31, Qt::Key_O, false},
    Entry{32, Qt::Key_U, false},
    Entry{33, Qt::Key_BracketLeft, false},
    Entry{34, Qt::Key_I, false},
    Entry{35, Qt::Key_P, false},
    Entry{returnKey, Qt::Key_Return, false},
    Entry{37, Qt::Key_L, false},
    Entry{38, Qt::Key_J, false},
    Entry{39, Qt::Key_Apostrophe, false},
    Entry{40, Qt::Key_K, false},
    Entry{41, Qt::Key_Semicolon, false},
    Entry{42, Qt::Key_Backslash, false},
    Entry{43, Qt::Key_Comma, false},
    Entry{44, Qt::Key_Slash, false},
    Entry{45, Qt::Key_N, false},
    Entry{46, Qt::Key_M, false},
    Entry{47, Qt::Key_Period, false},
    Entry{tab, Qt::Key_Tab, false},
    Entry{space, Qt::Key_Space, false},
    Entry{50, Qt::Key_QuoteLeft, false},
    Entry{deleteKey, Qt::Key_Backspace, false},
    Entry{escape, Qt::Key_Escape, false},
    Entry{65, Qt::Key_Period, true},
    Entry{67, Qt::Key_Asterisk, true},
    Entry{69, Qt::Key_Plus, true},
    Entry{71, Qt::Key_Clear, true},
    Entry{75, Qt::Key_Slash, true},
    Entry{keypadEnter, Qt::Key_Enter, true},
    Entry{78, Qt::Key_Minus, true},
    Entry{81, Qt::Key_Equal, true},
    Entry{82, Qt::Key_0, true},
    Entry{83, Qt::Key_1, true},
    Entry{84, Qt::Key_2, true},
    Entry{85, Qt::Key_3, true},
    Entry{86, Qt::Key_4, true},
    Entry{87, Qt::Key_5, true},
    Entry{88, Qt::Key_6, true},
    Entry{89, Qt::Key_7, true},
    Entry{91, Qt::Key_8, true},
    Entry{92, Qt::Key_9, true},
    Entry{96, Qt::Key_F5, false},
    Entry{97, Qt::Key_F6, false},
    Entry{98, Qt::Key_F7, false},
    Entry{99, Qt::Key_F3, false},
    Entry{100, Qt::Key_F8, false},
    Entry{101, Qt::Key_F9, false},
    Entry{103, Qt::Key_F11, false},
    Entry{105, Qt::Key_F13, false},
    Entry{106, Qt::Key_F16, false},
    Entry{107, Qt::Key_F14, false},
    Entry{109, Qt::Key_F10, false},
    Entry{111, Qt::Key_F12, false},
    Entry{113, Qt::Key_F15, false},
    Entry{114, Qt::Key_Help, false},
    Entry{115, Qt::Key_Home, false},
    Entry{116, Qt::Key_PageUp, false},
    Entry{117, Qt::Key_Delete, false},
    Entry{118, Qt::Key_F4, false},
    Entry{119, Qt::Key_End, false},
    Entry{120, Qt::Key_F2, false},
    Entry{121, Qt::Key_PageDown, false},
    Entry{122, Qt::Key_F1, false},
    Entry{leftArrow, Qt::Key_Left, false},
    Entry{rightArrow, Qt::Key_Right, false},
    Entry{downArrow, Qt::Key_Down, false},
    Entry{upArrow, Qt::Key_Up, false},
};

// Keys that exist only once, wherever Qt says they are.
bool onlyOnTheKeypad(int key) {
    return key == Qt::Key_Enter || key == Qt::Key_Clear;
}
// Qt reports arrows and the editing keys with the keypad modifier on some
// layouts; they have one code either way.
bool keypadFlagIgnored(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Delete:
    case Qt::Key_Return:
        return true;
    default:
        return false;
    }
}
} // namespace

qint64 fromQt(int key, Qt::KeyboardModifiers modifiers) {
    // Letters arrive upper-case whatever Shift says; Qt's key numbers already are.
    bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (onlyOnTheKeypad(key))
        keypad = true;
    else if (keypadFlagIgnored(key))
        keypad = false;
    for (const Entry& entry : table) {
        if (entry.key == key && entry.keypad == keypad)
            return entry.code;
    }
    return none;
}

std::optional<QtKey> toQt(qint64 code) {
    for (const Entry& entry : table) {
        if (entry.code == code)
            return QtKey{entry.key, entry.keypad};
    }
    return std::nullopt;
}
} // namespace VirtualKeyCodes
