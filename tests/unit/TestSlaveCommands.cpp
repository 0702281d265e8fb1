#include "engine/CMPlayerEngine.h"
#include "support/CommaLocale.h"
#include "support/RecordingSink.h"

#include <gtest/gtest.h>

namespace {

using Call = std::function<void(CMPlayerEngine&)>;

struct CommandCase {
    const char* name;
    Call call;
    SlaveCommand expected;
};

SlaveCommand Queued(const Call& call) {
    RecordingSink sink;
    CMPlayerEngine engine(sink);
    call(engine);
    EXPECT_EQ(engine.Queue().Pending().size(), 1u);
    return engine.Queue().Pending().empty() ? SlaveCommand{} : engine.Queue().Pending().front();
}

class SlaveCommands : public testing::TestWithParam<CommandCase> {};

TEST_P(SlaveCommands, QueueTheExactBytesAndDelay) {
    EXPECT_EQ(Queued(GetParam().call), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, SlaveCommands, testing::Values(
    CommandCase{"LoadFile", [](auto& e) { e.LoadFile("/media/films/a.avi"); }, {0, "loadfile \"/media/films/a.avi\"\r"}},
    CommandCase{"SetSpeedNormal", [](auto& e) { e.SetSpeed(3, 100); }, {3, "speed_set   1.00\r"}},
    CommandCase{"SetSpeedSlowest", [](auto& e) { e.SetSpeed(0, 1); }, {0, "speed_set   0.01\r"}},
    CommandCase{"SetSpeedTenth", [](auto& e) { e.SetSpeed(0, 10); }, {0, "speed_set   0.10\r"}},
    CommandCase{"SetSpeedOneAndHalf", [](auto& e) { e.SetSpeed(0, 150); }, {0, "speed_set   1.50\r"}},
    CommandCase{"SetSpeedWideNumber", [](auto& e) { e.SetSpeed(0, 12345); }, {0, "speed_set 123.45\r"}},
    CommandCase{"SetSpeedNegative", [](auto& e) { e.SetSpeed(0, -50); }, {0, "speed_set  -0.50\r"}},
    CommandCase{"SeekForward", [](auto& e) { e.SeekRelative(12); }, {0, "seek 12 0\r"}},
    CommandCase{"SeekBack", [](auto& e) { e.SeekRelative(-12); }, {0, "seek -12 0\r"}},
    CommandCase{"SeekToStart", [](auto& e) { e.SeekAbsolute(0); }, {0, "seek 0 2\r"}},
    CommandCase{"SeekToResume", [](auto& e) { e.SeekAbsolute(754); }, {0, "seek 754 2\r"}},
    CommandCase{"SeekToLargest", [](auto& e) { e.SeekAbsolute(4294967295u); }, {0, "seek 4294967295 2\r"}},
    CommandCase{"OsdForward", [](auto& e) { e.ShowOsdText(">>x4"); }, {0, "osd_show_text >>x4 1000\r"}},
    CommandCase{"OsdRewind", [](auto& e) { e.ShowOsdText("<<x120"); }, {0, "osd_show_text <<x120 1000\r"}},
    CommandCase{"GetTimePos", [](auto& e) { e.Send(SlaveCmd::GetTimePos); }, {0, "get_time_pos\r"}},
    CommandCase{"GetTimeLength", [](auto& e) { e.Send(SlaveCmd::GetTimeLength); }, {0, "get_time_length\r"}},
    CommandCase{"Pause", [](auto& e) { e.Send(SlaveCmd::Pause); }, {3, "pause\r"}},
    CommandCase{"FrameStep", [](auto& e) { e.Send(SlaveCmd::FrameStep); }, {0, "frame_step\r"}},
    CommandCase{"MuteOn", [](auto& e) { e.Send(SlaveCmd::MuteOn); }, {0, "mute 1\r"}},
    CommandCase{"MuteOff", [](auto& e) { e.Send(SlaveCmd::MuteOff); }, {40, "mute 0\r"}},
    CommandCase{"MuteOffAtStart", [](auto& e) { e.Send(SlaveCmd::MuteOffAtStart); }, {0, "mute 0\r"}},
    CommandCase{"ScaleTempoOn", [](auto& e) { e.Send(SlaveCmd::ScaleTempoOn); }, {0, "af_switch scaletempo\r"}},
    CommandCase{"ClearAudioFilters", [](auto& e) { e.Send(SlaveCmd::ClearAudioFilters); }, {0, "af_clr\r"}},
    CommandCase{"SwitchAudio", [](auto& e) { e.Send(SlaveCmd::SwitchAudio); }, {0, "switch_audio\r"}},
    CommandCase{"SelectSubtitle", [](auto& e) { e.Send(SlaveCmd::SelectSubtitle); }, {0, "sub_select\r"}},
    CommandCase{"Stop", [](auto& e) { e.Send(SlaveCmd::Stop); }, {0, "stop\r"}}),
    [](const testing::TestParamInfo<CommandCase>& info) { return info.param.name; });
// clang-format on

struct PathCase {
    const char* name;
    QString path;
    QByteArray quoted; // between the quotes; empty: refused
};

class LoadFilePaths : public testing::TestWithParam<PathCase> {};

TEST_P(LoadFilePaths, AreEscapedOrRefused) {
    RecordingSink sink;
    CMPlayerEngine engine(sink);
    const bool accepted = engine.LoadFile(GetParam().path);
    if (GetParam().quoted.isEmpty()) {
        EXPECT_FALSE(accepted);
        EXPECT_TRUE(engine.Queue().Pending().empty());
        return;
    }
    EXPECT_TRUE(accepted);
    ASSERT_EQ(engine.Queue().Pending().size(), 1u);
    EXPECT_EQ(engine.Queue().Pending().front().text, "loadfile \"" + GetParam().quoted + "\"\r");
}

const QString kLongest = "/" + QString(4095 - 13, u'a'); // "loadfile \"" + path + "\"\r"

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, LoadFilePaths, testing::Values(
    PathCase{"Spaces", "/media/My Films/a b.avi", "/media/My Films/a b.avi"},
    PathCase{"DoubleQuotes", "/m/say \"hi\".avi", "/m/say \\\"hi\\\".avi"},
    PathCase{"Backslashes", "/m/a\\b\\c.avi", "/m/a\\\\b\\\\c.avi"},
    PathCase{"BackslashBeforeQuote", "/m/x\\\"y", "/m/x\\\\\\\"y"},
    PathCase{"QuoteAtTheEnd", "/m/q\"", "/m/q\\\""},
    PathCase{"Japanese", QString::fromUtf8("/m/日本語 表示.avi"), "/m/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE8\xA1\xA8\xE7\xA4\xBA.avi"},
    PathCase{"SlashesUnchanged", "/a/b/c.avi", "/a/b/c.avi"},
    PathCase{"DeleteIsControl", "/m/a\x7F.avi", ""},
    PathCase{"CarriageReturnRefused", "/m/a.avi\rrun rm -rf ~", ""},
    PathCase{"LineFeedRefused", "/m/a\nb.avi", ""},
    PathCase{"TabRefused", "/m/a\tb.avi", ""},
    PathCase{"EscapeRefused", "/m/\x1B[1m.avi", ""},
    PathCase{"TrailingBackslashRefused", "/m/end\\", ""},
    PathCase{"LongestLineAccepted", kLongest, kLongest.toUtf8()},
    PathCase{"OverlongLineRefused", kLongest + "a", ""},
    PathCase{"EscapesCountTowardsTheLength", kLongest.chopped(1) + "\"", ""}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });
// clang-format on

TEST(SlaveCommands, NumbersIgnoreACommaLocale) {
    CommaLocale comma;
    if (!comma.IsActive())
        GTEST_SKIP() << qPrintable(comma.Reason());
    EXPECT_EQ(Queued([](auto& e) { e.SetSpeed(3, 100); }).text, "speed_set   1.00\r");
    EXPECT_EQ(Queued([](auto& e) { e.SetSpeed(0, 150); }).text, "speed_set   1.50\r");
    EXPECT_EQ(Queued([](auto& e) { e.SeekAbsolute(12345); }).text, "seek 12345 2\r");
}

TEST(SlaveCommands, QueueInCallOrder) {
    RecordingSink sink;
    CMPlayerEngine engine(sink);
    engine.SeekRelative(12);
    engine.SeekRelative(12);
    engine.Send(SlaveCmd::MuteOn);
    engine.Send(SlaveCmd::Pause);
    const std::deque<SlaveCommand> expected{
        {0, "seek 12 0\r"}, {0, "seek 12 0\r"}, {0, "mute 1\r"}, {3, "pause\r"}};
    EXPECT_EQ(engine.Queue().Pending(), expected);
}

} // namespace
