#include "platform/ProcessCpuClock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

uint64_t OwnCpuNanoseconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return uint64_t(used.tv_sec) * 1'000'000'000u + uint64_t(used.tv_nsec);
}

TEST(ProcessCpuClock, CountsOneNominalCyclePerNanosecondOfTheWholeProcess) {
    static_assert(ProcessCpuClock::kNominalCyclesPerSecond == 1'000'000'000);
    const uint64_t before = OwnCpuNanoseconds();
    const std::optional<uint64_t> cycles = ProcessCpuClock::Cycles(getpid());
    const uint64_t after = OwnCpuNanoseconds();
    ASSERT_TRUE(cycles);
    EXPECT_GE(*cycles, before);
    EXPECT_LE(*cycles, after);
}

TEST(ProcessCpuClock, GoneProcessHasNoCycles) {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_FALSE(ProcessCpuClock::Cycles(child));
}

} // namespace
