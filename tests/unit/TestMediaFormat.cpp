#include "view/MediaFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(MediaFormat, FileSizeSwitchesUnitAtTenAndRoundsDown) {
    const std::pair<uint64_t, QString> cases[] = {
        {0, "0"},
        {10239, "10239"},
        {10240, "10 K"},
        {10485759, "10239 K"},
        {10485760, "10 M"},
        {10737418239, "10239 M"},
        {10737418240, "10 G"},
        {UINT64_MAX, "17179869183 G"},
    };
    for (const auto& [size, text] : cases)
        EXPECT_EQ(MediaFormat::FormatFileSize(size), text) << size;
}

TEST(MediaFormat, PositionIsHoursMinutesSeconds) {
    const std::pair<uint32_t, QString> cases[] = {
        {0, "0:00:00"},
        {59, "0:00:59"},
        {60, "0:01:00"},
        {3599, "0:59:59"},
        {3725, "1:02:05"},
        {36000, "10:00:00"},
        {UINT32_MAX, "1193046:28:15"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(MediaFormat::FormatPosition(seconds), text) << seconds;
}

} // namespace
