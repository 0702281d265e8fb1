#include "resources/CommandIds.h"
#include "support/RecordingCommands.h"
#include "view/Transport.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

class TransportTest : public testing::Test {
protected:
    void SetUp() override { m_Transport.ResetForStart(); }

    // Reaches a level the way a user does from normal speed, then forgets what was queued.
    void GoToLevel(int level) {
        m_Transport.ResetForStart();
        if (level == Transport::Paused)
            m_Transport.TogglePause();
        else
            m_Transport.SelectLevel(level);
        ASSERT_EQ(m_Transport.SpeedMode(), level);
        m_Commands.Take();
    }

    void Select(int commandId) { m_Transport.SelectLevel(Transport::LevelForCommand(commandId)); }

    RecordingCommands m_Commands;
    Transport m_Transport{m_Commands};
};

TEST_F(TransportTest, PauseAtNormalSpeedMutesFirstAndResumingRestoresTheSound) {
    m_Transport.TogglePause();
    EXPECT_EQ(m_Commands.Take(), QStringList({"mute 1", "pause"}));
    EXPECT_EQ(m_Transport.SpeedMode(), Transport::Paused);
    EXPECT_TRUE(m_Transport.IsMuted());

    m_Transport.TogglePause();
    EXPECT_EQ(m_Commands.Take(), QStringList({"speed 100 delay 0", "af_clr", "mute 0"}));
    EXPECT_EQ(m_Transport.SpeedMode(), Transport::Normal);
    EXPECT_FALSE(m_Transport.IsMuted());
}

TEST_F(TransportTest, PauseDuringFastForwardReturnsToNormalSpeedWithoutPausing) {
    Select(ID_FF_X4);
    m_Commands.Take();
    m_Transport.TogglePause();
    EXPECT_EQ(m_Commands.Take(), QStringList({"speed 100 delay 0", "af_clr", "mute 0"}));
    EXPECT_EQ(m_Transport.SpeedMode(), Transport::Normal);
}

TEST_F(TransportTest, FasterSpeedsKeepTheSoundAndSlowerOnesMuteFirst) {
    Select(ID_SPEED_X2);
    EXPECT_EQ(m_Commands.Take(), QStringList({"speed 200 delay 0", "scaletempo"}));
    Select(ID_SPEED_X1_2);
    EXPECT_EQ(m_Commands.Take(), QStringList({"mute 1", "speed 50 delay 3"}));
    Select(ID_SPEED_X1_20);
    EXPECT_EQ(m_Commands.Take(), QStringList({"speed 5 delay 3"}));
    Select(ID_SPEED_X1_5);
    EXPECT_EQ(m_Commands.Take(), QStringList({"speed 150 delay 0", "scaletempo", "mute 0"}));
    Select(ID_SPEED_NORMAL);
    EXPECT_EQ(m_Commands.Take(), QStringList({"speed 100 delay 0", "af_clr"}));
}

TEST_F(TransportTest, FastForwardSlowsToOnePercentOnlyWhenComingFromASpeedLevel) {
    Select(ID_FF_X12);
    EXPECT_EQ(m_Commands.Take(), QStringList({"mute 1", "speed 1 delay 3", "osd >>x12"}));
    EXPECT_EQ(m_Transport.SpeedMode(), Transport::ForwardX12);
    Select(ID_FF_X40);
    EXPECT_EQ(m_Commands.Take(), QStringList({"osd >>x40"}));
    Select(ID_REW_X120);
    EXPECT_EQ(m_Commands.Take(), QStringList({"osd <<x120"}));
}

TEST_F(TransportTest, RewindX4SeeksTwoSecondsBackEveryTenTicks) {
    Select(ID_REW_X4);
    m_Commands.Take();
    for (int tick = 1; tick <= 30; ++tick) {
        m_Transport.OnSeekTick();
        const QStringList expected = tick % 10 == 0 ? QStringList{"seek -2"} : QStringList{};
        EXPECT_EQ(m_Commands.Take(), expected) << "tick " << tick;
    }
}

TEST_F(TransportTest, TicksSkippedInASleepKeepTheStepsInPhase) {
    for (int tick = 0; tick < 3; ++tick)
        m_Transport.OnSeekTick();
    m_Transport.SkipSeekTicks(25); // 3 + 25: two steps passed, eight ticks into the next
    Select(ID_FF_X4);
    m_Commands.Take();
    m_Transport.OnSeekTick();
    EXPECT_TRUE(m_Commands.Take().isEmpty());
    m_Transport.OnSeekTick();
    EXPECT_EQ(m_Commands.Take(), QStringList{"seek 2"});
}

TEST_F(TransportTest, EverySeekLevelStepsByItsTableValueAndSpeedLevelsNever) {
    for (int level = 0; level < Transport::LevelCount; ++level) {
        GoToLevel(level);
        for (int tick = 0; tick < Transport::kTicksPerSeekStep; ++tick)
            m_Transport.OnSeekTick();
        const QStringList expected =
            Transport::IsSeekLevel(level)
                ? QStringList{QStringLiteral("seek %1").arg(Transport::SpeedTable[level])}
                : QStringList{};
        EXPECT_EQ(m_Commands.Take(), expected) << "level " << level;
    }
}

// Skips, the return to the start and the audio and subtitle switches work only at normal speed;
// the frame step only while paused.
TEST_F(TransportTest, LevelGuardsOfTheSeekAndSwitchCommands) {
    struct Case {
        const char* name;
        void (*run)(Transport&);
        int onlyLevel;
        QString queued;
    };
    const Case cases[] = {
        {"skip forward", [](Transport& t) { t.SkipForward(12); }, 9, "seek 12"},
        {"skip back", [](Transport& t) { t.SkipBack(30); }, 9, "seek -30"},
        {"seek to start", [](Transport& t) { t.SeekToStart(); }, 9, "seek to 0"},
        {"switch audio", [](Transport& t) { t.SwitchAudio(); }, 9, "switch_audio"},
        {"select subtitle", [](Transport& t) { t.SelectSubtitle(); }, 9, "sub_select"},
        {"frame step", [](Transport& t) { t.FrameStep(); }, 4, "frame_step"},
    };
    for (const Case& c : cases) {
        for (int level = 0; level < Transport::LevelCount; ++level) {
            GoToLevel(level);
            c.run(m_Transport);
            c.run(m_Transport);
            const QStringList expected =
                level == c.onlyLevel ? QStringList{c.queued, c.queued} : QStringList{};
            EXPECT_EQ(m_Commands.Take(), expected) << c.name << " at level " << level;
            EXPECT_EQ(m_Transport.SpeedMode(), level) << c.name;
        }
    }
}

TEST_F(TransportTest, AStopWhileMutedUnmutesAtTheNextStart) {
    Select(ID_SPEED_X1_5TH);
    m_Commands.Take();
    m_Transport.ResetForStop();
    EXPECT_EQ(m_Transport.SpeedMode(), Transport::Paused);
    EXPECT_TRUE(m_Transport.IsMuted()) << "stopping does not unmute";

    m_Transport.ResetForStart();
    EXPECT_EQ(m_Commands.Take(), QStringList{"mute 0 at once"});
    EXPECT_FALSE(m_Transport.IsMuted());
    m_Transport.ResetForStop();
    m_Transport.ResetForStart();
    EXPECT_EQ(m_Commands.Take(), QStringList{}) << "an unmuted stop needs no unmute";
    EXPECT_EQ(m_Transport.SpeedMode(), Transport::Normal);
    Select(ID_SPEED_X1_2);
    EXPECT_EQ(m_Commands.Take(), QStringList({"mute 1", "speed 50 delay 3"}));
}

TEST_F(TransportTest, SpeedStepsWalkTheLevels) {
    struct Step {
        int from;
        bool up;
        int to;
        QStringList queued;
    };
    const Step steps[] = {
        // Right from rewind jumps to x1.5, past the normal speed.
        {1, true, 10, {"speed 150 delay 0", "scaletempo", "mute 0"}},
        {3, true, 10, {"speed 150 delay 0", "scaletempo", "mute 0"}},
        {10, true, 11, {"speed 200 delay 0", "scaletempo"}},
        {11, true, 12, {"mute 1", "speed 1 delay 3", "osd >>x4"}},
        {4, true, 5, {"speed 5 delay 3"}},
        {9, true, 10, {"speed 150 delay 0", "scaletempo"}},
        {12, true, 13, {"osd >>x12"}},
        {14, true, 15, {"osd >>x120"}},
        {15, true, 15, {}},
        // Left from any speed, pause or fast forward goes straight to rewind x4.
        {4, false, 3, {"speed 1 delay 3", "osd <<x4"}},
        {9, false, 3, {"mute 1", "speed 1 delay 3", "osd <<x4"}},
        {15, false, 3, {"osd <<x4"}},
        {3, false, 2, {"osd <<x12"}},
        {1, false, 0, {"osd <<x120"}},
        {0, false, 0, {}},
    };
    for (const Step& step : steps) {
        GoToLevel(step.from);
        if (step.up)
            m_Transport.SpeedStepUp();
        else
            m_Transport.SpeedStepDown();
        EXPECT_EQ(m_Transport.SpeedMode(), step.to) << step.from << (step.up ? " up" : " down");
        EXPECT_EQ(m_Commands.Take(), step.queued) << step.from << (step.up ? " up" : " down");
    }
}

TEST_F(TransportTest, RightThreeTimesFromRewindX40) {
    GoToLevel(1);
    const int expected[] = {10, 11, 12};
    for (int level : expected) {
        m_Transport.SpeedStepUp();
        EXPECT_EQ(m_Transport.SpeedMode(), level);
    }
}

TEST(TransportTable, CommandsSelectTheirLevelsAndOthersNone) {
    const std::pair<int, int> rows[] = {
        {ID_REW_X120, 0},
        {ID_REW_X40, 1},
        {ID_REW_X12, 2},
        {ID_REW_X4, 3},
        {ID_SPEED_X1_20, 5},
        {ID_SPEED_X1_10, 6},
        {ID_SPEED_X1_5TH, 7},
        {ID_SPEED_X1_2, 8},
        {ID_SPEED_NORMAL, 9},
        {ID_SPEED_X1_5, 10},
        {ID_SPEED_X2, 11},
        {ID_FF_X4, 12},
        {ID_FF_X12, 13},
        {ID_FF_X40, 14},
        {ID_FF_X120, 15},
        {ID_PAUSE, -1},
        {ID_FRAME_STEP, -1},
        {ID_SKIP_FORWARD, -1},
        {0, -1},
    };
    for (auto [command, level] : rows)
        EXPECT_EQ(Transport::LevelForCommand(command), level) << command;
}

TEST(TransportTable, OnlySeekLevelsHaveLabels) {
    const char* labels[] = {"<<x120", "<<x40", "<<x12", "<<x4", "",     "",      "",      "",
                            "",       "",      "",      "",     ">>x4", ">>x12", ">>x40", ">>x120"};
    for (int level = 0; level < Transport::LevelCount; ++level)
        EXPECT_EQ(Transport::LevelLabel(level), QByteArray(labels[level])) << level;
    EXPECT_TRUE(Transport::LevelLabel(-1).isEmpty());
    EXPECT_TRUE(Transport::LevelLabel(16).isEmpty());
}

TEST_F(TransportTest, SelectingPauseOrAnUnknownLevelDoesNothing) {
    for (int level : {int{Transport::Paused}, -1, 16, 1000}) {
        m_Transport.SelectLevel(level);
        EXPECT_EQ(m_Transport.SpeedMode(), Transport::Normal) << level;
        EXPECT_EQ(m_Commands.Take(), QStringList{}) << level;
    }
}

} // namespace
