// The view timer's grid on the injected clock: delays after ticks and after sleeps, the ticks
// a sleep skipped, and the wrap of the millisecond counter.
#include "view/TickSchedule.h"

#include <gtest/gtest.h>

namespace {

// Each case: the timer started at 1000 (first tick due at 1050), ran `ticks` ticks, then the
// clock read `now` when the next delay was asked for.
struct Case {
    const char* what;
    int ticks;
    uint32_t now;
    bool afterSleep;
    uint32_t delay;
    int missed;
};

const Case kCases[] = {
    {"a tick on time", 1, 1050, false, 50, 0},
    {"a tick 7 ms late keeps the grid", 1, 1057, false, 43, 0},
    {"a tick that overran two periods skips them", 1, 1163, false, 37, 0},
    {"a clock that stands still leaves 50 ms", 3, 1000, false, 50, 0},
    {"woken before the next tick of the grid", 1, 1060, true, 40, 0},
    {"woken exactly on the grid after a sleep", 1, 1200, true, 0, 2},
    {"woken between grid ticks after a sleep", 1, 1237, true, 13, 3},
};

TEST(TickSchedule, DelaysAndSkippedTicksOnTheGrid) {
    for (const Case& c : kCases) {
        TickSchedule schedule;
        EXPECT_EQ(schedule.Start(1000), TickSchedule::kPeriodMs);
        for (int i = 0; i < c.ticks; ++i)
            schedule.TickRan();
        if (c.afterSleep) {
            const TickSchedule::Wakening wake = schedule.Wake(c.now);
            EXPECT_EQ(wake.delayMs, c.delay) << c.what;
            EXPECT_EQ(wake.missed, c.missed) << c.what;
        } else {
            EXPECT_EQ(schedule.Next(c.now), c.delay) << c.what;
        }
    }
}

TEST(TickSchedule, TheWrapOfTheClockKeepsTheGrid) {
    TickSchedule schedule;
    schedule.Start(0xFFFFFFF0u); // first tick due at 0x22
    const TickSchedule::Wakening wake = schedule.Wake(0x30);
    EXPECT_EQ(wake.delayMs, 0x54u - 0x30u);
    EXPECT_EQ(wake.missed, 1);
}

} // namespace
