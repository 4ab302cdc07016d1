#include "app/MWHotKeyHelper.h"
#include "platform/ModifierFlags.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(HotKeyModifiers, TranslateBitByBitAndDropTheRest) {
    constexpr quint64 capsLock = 1ull << 16, numericPad = 1ull << 21, function = 1ull << 23;
    struct Case {
        quint64 flags;
        quint64 modifiers;
    };
    const std::vector<Case> cases = {
        {0, 0},
        {ModifierFlags::command, 0x100},
        {ModifierFlags::shift, 0x200},
        {ModifierFlags::option, 0x800},
        {ModifierFlags::control, 0x1000},
        {ModifierFlags::command | ModifierFlags::shift, 0x300},
        {ModifierFlags::command | ModifierFlags::option | ModifierFlags::control |
             ModifierFlags::shift,
         0x1b00},
        {ModifierFlags::command | capsLock | function | numericPad, 0x100},
        {capsLock | function | 0xffff, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MWHotKeyHelper::translateModifierFlags(c.flags), c.modifiers)
            << std::hex << c.flags;
}

TEST(HotKeyRegistry, NoStoredCombinationRegistersNothingAndSaysNothing) {
    TestSupport::LogCapture log;
    EXPECT_EQ(MWHotKeyHelper::sharedHelper().registerHotKey({}), MWHotKeyHelper::failure);
    EXPECT_TRUE(log.lines().isEmpty());
    // Without X11 (this platform) a real combination is refused, and that is said.
    EXPECT_EQ(MWHotKeyHelper::sharedHelper().registerHotKey({ModifierFlags::command, 49}),
              MWHotKeyHelper::failure);
    EXPECT_TRUE(log.lines().contains("[DEBUG] Error registering hotkey"));
    EXPECT_TRUE(log.contains("runs without a global hot key"));
}

} // namespace
