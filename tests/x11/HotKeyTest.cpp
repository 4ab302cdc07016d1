#include "app/MWHotKeyHelper.h"
#include "platform/ModifierFlags.h"
#include "support/TestSupport.h"
#include "support/X11Desktop.h"

#include <QList>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

constexpr quint32 controlL = 0xffe3, shiftL = 0xffe1, altL = 0xffe9, capsLock = 0xffe5;
constexpr quint32 space = ' ', f8 = 0xffc5, letterK = 'k';
constexpr qint64 spaceCode = 49, f8Code = 100, kCode = 40;

class HotKeys : public testing::Test {
protected:
    void SetUp() override {
        if (!onX11())
            GTEST_SKIP() << "needs the X server of the test command";
        helper.setPressedBlock([this](quint64 identifier) { pressed.append(identifier); });
    }
    void TearDown() override {
        for (quint64 identifier : registered)
            helper.unregisterHotkeyWithID(identifier);
        helper.setPressedBlock({});
    }

    quint64 registerCombo(quint64 flags, qint64 code) {
        const quint64 identifier = helper.registerHotKey({flags, code});
        registered.append(identifier);
        return identifier;
    }

    // What arrives from typing: let the X server and our event loop catch up.
    QList<quint64> pressesAfter(const std::function<void()>& typing) {
        pressed.clear();
        typing();
        processEventsFor(300);
        return pressed;
    }

    MWHotKeyHelper& helper = MWHotKeyHelper::sharedHelper();
    TestKeyboard keyboard;
    QList<quint64> pressed;
    QList<quint64> registered;
};

TEST_F(HotKeys, ATypedCombinationReachesThePressedBlockWithItsIdentifier) {
    const quint64 id = registerCombo(ModifierFlags::command | ModifierFlags::shift, spaceCode);
    ASSERT_NE(id, MWHotKeyHelper::failure);
    EXPECT_EQ(pressesAfter([&] { keyboard.type({controlL, shiftL}, space); }), QList<quint64>{id});
    EXPECT_TRUE(pressesAfter([&] { keyboard.type({controlL}, space); }).isEmpty())
        << "a different combination is not the hot key";

    // With Caps Lock on, the same keys are still the hot key.
    keyboard.type({}, capsLock);
    const QList<quint64> withCapsLock = pressesAfter([&] {
        keyboard.type({controlL, shiftL}, space);
    });
    keyboard.type({}, capsLock);
    EXPECT_EQ(withCapsLock, QList<quint64>{id});
}

TEST_F(HotKeys, ReRegisteringLetsTheOldCombinationGo) {
    const quint64 first = registerCombo(ModifierFlags::option, kCode);
    ASSERT_NE(first, MWHotKeyHelper::failure);
    helper.unregisterHotkeyWithID(first);
    const quint64 second = registerCombo(ModifierFlags::command | ModifierFlags::option, kCode);
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(pressesAfter([&] { keyboard.type({altL}, letterK); }).isEmpty());
    EXPECT_EQ(pressesAfter([&] {
                  keyboard.type({controlL, altL}, letterK);
              }),
              QList<quint64>{second});
}

TEST_F(HotKeys, ACombinationAnotherProgramHoldsIsRefusedOnce) {
    ASSERT_TRUE(keyboard.grabOnRoot(f8, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    const quint64 before = registerCombo(ModifierFlags::shift, f8Code);
    ASSERT_NE(before, MWHotKeyHelper::failure);

    LogCapture log;
    EXPECT_EQ(registerCombo(ModifierFlags::command | ModifierFlags::option, f8Code),
              MWHotKeyHelper::failure);
    EXPECT_EQ(log.lines(), QStringList{"[DEBUG] Error registering hotkey"});
    EXPECT_EQ(registerCombo(ModifierFlags::command, f8Code), before + 1)
        << "a refusal uses up no identifier";
}

} // namespace
