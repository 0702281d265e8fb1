#include "engine/CommandQueue.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// Ticks the queue until it is empty; the tick (1-based) at which each text came out.
std::map<QByteArray, int> TicksOfWrites(CommandQueue& queue, int maxTicks = 200) {
    std::map<QByteArray, int> written;
    for (int tick = 1; tick <= maxTicks && !queue.Pending().empty(); ++tick) {
        if (std::optional<QByteArray> text = queue.TakeDue())
            written[*text] = tick;
    }
    return written;
}

struct PacingCase {
    const char* name;
    std::vector<SlaveCommand> queued;
    std::map<QByteArray, int> expectedTicks;
};

class QueuePacing : public testing::TestWithParam<PacingCase> {};

TEST_P(QueuePacing, WritesAtTheExpectedTicks) {
    CommandQueue queue;
    for (const SlaveCommand& command : GetParam().queued)
        queue.Push(command);
    EXPECT_EQ(TicksOfWrites(queue), GetParam().expectedTicks);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QueuePacing,
    testing::Values(
        PacingCase{"OnePerTick", {{0, "a"}, {0, "b"}, {0, "c"}}, {{"a", 1}, {"b", 2}, {"c", 3}}},
        PacingCase{"DelayThreeAtTheFourthTick", {{3, "pause"}}, {{"pause", 4}}},
        PacingCase{"DelayCountsOnlyAtTheHead",
                   {{0, "mute 1"}, {3, "pause"}},
                   {{"mute 1", 1}, {"pause", 5}}},
        PacingCase{"DelaysAddUp", {{2, "a"}, {2, "b"}}, {{"a", 3}, {"b", 6}}},
        PacingCase{"MuteOffWaitsFortyTicks",
                   {{0, "speed"}, {40, "mute 0"}},
                   {{"speed", 1}, {"mute 0", 42}}}),
    [](const testing::TestParamInfo<PacingCase>& info) { return info.param.name; });

TEST(CommandQueue, EmptyQueueGivesNothing) {
    CommandQueue queue;
    EXPECT_FALSE(queue.TakeDue());
}

TEST(CommandQueue, PendingShowsTheRemainingDelay) {
    CommandQueue queue;
    queue.Push({3, "pause\r"});
    queue.TakeDue();
    ASSERT_EQ(queue.Pending().size(), 1u);
    EXPECT_EQ(queue.Pending().front(), (SlaveCommand{2, "pause\r"}));
}

} // namespace
