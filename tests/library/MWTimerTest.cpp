#include "library/MWTimer.h"
#include "support/ManualScheduler.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

TEST(MWTimer, AOneShotFiresOnceAfterItsInterval) {
    ManualScheduler clock;
    std::vector<double> firings;
    std::weak_ptr<MWTimer> watched;
    {
        auto timer = MWTimer::timerWithInterval(0.5, false,
                                                [&](MWTimer&) { firings.push_back(clock.now()); });
        watched = timer;
    } // the owner lets go: the schedule keeps it alive
    clock.advance(0.49);
    EXPECT_TRUE(firings.empty());
    EXPECT_FALSE(watched.expired());
    clock.advance(0.02);
    ASSERT_EQ(firings.size(), 1u);
    EXPECT_DOUBLE_EQ(firings[0], 0.5);
    clock.advance(5);
    EXPECT_EQ(firings.size(), 1u);
    EXPECT_TRUE(watched.expired()) << "a fired one-shot is let go by its schedule";
}

TEST(MWTimer, RunRestartsTheFullIntervalWithoutASecondSchedule) {
    ManualScheduler clock;
    int fired = 0;
    auto timer = MWTimer::timerWithInterval(0.5, false, [&](MWTimer&) { ++fired; });
    clock.advance(0.4);
    timer->run();
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(0.4);
    EXPECT_EQ(fired, 0);
    clock.advance(0.1);
    EXPECT_EQ(fired, 1);
    timer->run(); // a fired one-shot can be started again
    clock.advance(0.5);
    EXPECT_EQ(fired, 2);
}

TEST(MWTimer, RepeatsUntilInvalidatedAndNeverCallsAgainAfterwards) {
    ManualScheduler clock;
    int fired = 0;
    auto timer = MWTimer::timerWithInterval(0.8, true, [&](MWTimer& t) {
        if (++fired == 3)
            t.invalidate(); // from inside its own firing
    });
    clock.advance(10);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(clock.pendingCount(), 0u);

    int other = 0;
    auto pending = MWTimer::timerWithInterval(0.5, false, [&](MWTimer&) { ++other; });
    pending->invalidate();
    pending->run(); // the block is gone: running it again calls nothing
    clock.advance(1);
    EXPECT_EQ(other, 0);
}

TEST(MWTimer, AnInvalidatedTimerIsNotCalledEvenWithItsFiringAlreadyDue) {
    ManualScheduler clock;
    int victimFired = 0;
    std::shared_ptr<MWTimer> victim;
    // Both fall due in the same step; the one scheduled first fires first and
    // invalidates the other, whose firing is then already due.
    auto invalidator =
        MWTimer::timerWithInterval(0.5, false, [&](MWTimer&) { victim->invalidate(); });
    victim = MWTimer::timerWithInterval(0.5, false, [&](MWTimer&) { ++victimFired; });
    clock.advance(1);
    EXPECT_EQ(victimFired, 0);
}

TEST(MWTimer, InvalidateTimerOnlyKeepsTheBlockForALaterRun) {
    ManualScheduler clock;
    int fired = 0;
    auto timer = MWTimer::timerWithInterval(0.3, true, [&](MWTimer&) { ++fired; });
    clock.advance(0.6);
    EXPECT_EQ(fired, 2);
    timer->invalidateTimerOnly();
    clock.advance(1);
    EXPECT_EQ(fired, 2);
    timer->run();
    clock.advance(0.3);
    EXPECT_EQ(fired, 3);
}

// The real scheduler, on Qt's timers, under the real event loop.
TEST(MWTimer, TheRealClockFiresToo) {
    int fired = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    auto timer = MWTimer::timerWithInterval(0.05, false, [&](MWTimer&) { ++fired; });
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return fired == 1; }, 2000));
    EXPECT_GE(elapsed.elapsed(), 45);
    auto cancelled = MWTimer::timerWithInterval(0.02, false, [&](MWTimer&) { ++fired; });
    cancelled->invalidate();
    TestSupport::processEventsFor(100);
    EXPECT_EQ(fired, 1);
}

} // namespace
