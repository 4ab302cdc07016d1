#include "platform/VirtualKeyCodes.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualKeyCodes, QtKeysTranslateToTheStoredCodes) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        qint64 code;
    };
    const std::vector<Case> cases = {
        {Qt::Key_Space, Qt::NoModifier, 49},
        {Qt::Key_Escape, Qt::NoModifier, 53},
        {Qt::Key_Return, Qt::NoModifier, 36},
        {Qt::Key_Return, Qt::KeypadModifier, 36},
        {Qt::Key_Enter, Qt::KeypadModifier, 76},
        {Qt::Key_Enter, Qt::NoModifier, 76},
        {Qt::Key_Left, Qt::NoModifier, 123},
        {Qt::Key_Right, Qt::KeypadModifier, 124},
        {Qt::Key_Down, Qt::NoModifier, 125},
        {Qt::Key_Up, Qt::ShiftModifier, 126},
        {Qt::Key_A, Qt::NoModifier, 0},
        {Qt::Key_V, Qt::ControlModifier, 9},
        {Qt::Key_1, Qt::NoModifier, 18},
        {Qt::Key_1, Qt::KeypadModifier, 83},
        {Qt::Key_Minus, Qt::KeypadModifier, 78},
        {Qt::Key_F1, Qt::NoModifier, 122},
        {Qt::Key_MediaPlay, Qt::NoModifier, VirtualKeyCodes::none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyCodes::fromQt(c.key, c.modifiers), c.code) << std::hex << c.key;
}

TEST(VirtualKeyCodes, EveryCodeGoesBackToItsKey) {
    for (qint64 code = 0; code < 128; ++code) {
        const auto key = VirtualKeyCodes::toQt(code);
        if (!key)
            continue;
        EXPECT_EQ(
            VirtualKeyCodes::fromQt(key->key, key->keypad ? Qt::KeypadModifier : Qt::NoModifier),
            code);
    }
    EXPECT_FALSE(VirtualKeyCodes::toQt(10)) << "no key has code 10 on this layout";
    EXPECT_FALSE(VirtualKeyCodes::toQt(-1));
}

} // namespace
