#include "engine/ReadinessMeter.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kUnit = 4096; // the threshold counts units of 4096 cycles

// A process clock the test moves by hand.
struct FakeCycles {
    uint64_t now = 0;
    int reads = 0;
    ReadinessMeter::CycleReader Reader() {
        return [this]() -> std::optional<uint64_t> {
            ++reads;
            return now;
        };
    }
};

// Ticks with `perTick` cycles used per tick; the tick (1-based) at which Ready came, or 0.
int TicksToReady(ReadinessMeter& meter, FakeCycles& cycles, uint64_t perTick, int maxTicks) {
    for (int tick = 1; tick <= maxTicks; ++tick) {
        cycles.now += perTick;
        meter.OnTick(cycles.Reader());
        if (meter.State() == PrepState::Ready)
            return tick;
    }
    return 0;
}

TEST(ReadinessMeter, StartsNotStartedAndIgnoresTicksUntilOutput) {
    ReadinessMeter meter;
    FakeCycles cycles;
    EXPECT_EQ(TicksToReady(meter, cycles, 0, 40), 0);
    EXPECT_EQ(meter.State(), PrepState::NotStarted);
    EXPECT_EQ(cycles.reads, 0);
}

TEST(ReadinessMeter, FirstOutputTakesTheBaselineOnce) {
    ReadinessMeter meter;
    FakeCycles cycles;
    cycles.now = 1'000'000'000;
    meter.OnOutput(cycles.Reader());
    meter.OnOutput(cycles.Reader());
    EXPECT_EQ(meter.State(), PrepState::Preparing);
    EXPECT_EQ(cycles.reads, 1);
    // Measured from the baseline, not from zero: an idle window right away is Ready.
    EXPECT_EQ(TicksToReady(meter, cycles, 0, 8), 8);
}

TEST(ReadinessMeter, MeasuresEveryEighthTickOnly) {
    ReadinessMeter meter;
    FakeCycles cycles;
    meter.OnOutput(cycles.Reader());
    for (int tick = 1; tick <= 24; ++tick) {
        cycles.now += 2000 * kUnit; // busy: a window of 8 ticks is far above the threshold
        meter.OnTick(cycles.Reader());
    }
    EXPECT_EQ(cycles.reads, 1 + 3);
    EXPECT_EQ(meter.State(), PrepState::Preparing);
}

struct WindowCase {
    const char* name;
    uint32_t threshold;
    uint64_t cyclesPerWindow;
    bool ready;
};

class ReadinessWindow : public testing::TestWithParam<WindowCase> {};

TEST_P(ReadinessWindow, ComparesUnitsBelowTheThreshold) {
    ReadinessMeter meter;
    meter.SetThreshold(GetParam().threshold);
    FakeCycles cycles;
    meter.OnOutput(cycles.Reader());
    cycles.now += GetParam().cyclesPerWindow;
    for (int tick = 0; tick < ReadinessMeter::kTicksPerWindow; ++tick)
        meter.OnTick(cycles.Reader());
    EXPECT_EQ(meter.State() == PrepState::Ready, GetParam().ready);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadinessWindow,
    testing::Values(WindowCase{"JustBelow", 2000, 2000 * kUnit - 1, true},
                    WindowCase{"Equal", 2000, 2000 * kUnit, false},
                    WindowCase{"PartialUnitsCutOff", 2000, 1999 * kUnit + kUnit - 1, true},
                    WindowCase{"Above", 2000, 5000 * kUnit, false},
                    WindowCase{"LowestSetting", 500, 499 * kUnit, true},
                    WindowCase{"HighestSetting", 50000, 50000 * kUnit, false},
                    // Only the low 32 bits of the unit count are compared.
                    WindowCase{"WrapsAt32Bits", 2000, (uint64_t(1) << 32) * kUnit + 5 * kUnit,
                               true}),
    [](const testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

TEST(ReadinessMeter, BusyThenIdleBecomesReadyAtTheFirstIdleWindow) {
    ReadinessMeter meter;
    FakeCycles cycles;
    meter.OnOutput(cycles.Reader());
    EXPECT_EQ(TicksToReady(meter, cycles, 1000 * kUnit, 80), 0); // 8000 units per window
    EXPECT_EQ(TicksToReady(meter, cycles, 100 * kUnit, 80), 8);  // 800 units per window
}

TEST(ReadinessMeter, TickCounterIsNeverReset) {
    ReadinessMeter meter;
    FakeCycles cycles;
    meter.OnOutput(cycles.Reader());
    EXPECT_EQ(TicksToReady(meter, cycles, 1000 * kUnit, 13), 0);
    meter.Reset();
    EXPECT_EQ(meter.State(), PrepState::NotStarted);
    meter.OnOutput(cycles.Reader());
    // 13 ticks were counted before: the next measurement comes at tick 16, three ticks on.
    EXPECT_EQ(TicksToReady(meter, cycles, 0, 8), 3);
}

TEST(ReadinessMeter, AGoneProcessIsNotMeasured) {
    ReadinessMeter meter;
    FakeCycles cycles;
    meter.OnOutput(cycles.Reader());
    for (int tick = 0; tick < 16; ++tick)
        meter.OnTick([] { return std::optional<uint64_t>(); });
    EXPECT_EQ(meter.State(), PrepState::Preparing);
}

} // namespace
