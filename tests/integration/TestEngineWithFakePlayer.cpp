// The engine against the fake player through real pipes: arguments, pacing, readiness, quitting
// and death, byte for byte and in the order the player receives them.
#include "engine/CMPlayerEngine.h"
#include "support/EngineTicker.h"
#include "support/FakePlayer.h"
#include "support/Patience.h"
#include "support/RecordingSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = kPatienceMs;

// The engine with a fake player: launched, ticked, and quit at the end.
class EngineWithFakePlayer : public testing::Test {
protected:
    explicit EngineWithFakePlayer(CMPlayerEngine::CpuCycleClock clock = nullptr)
        : m_Engine(m_Sink, std::move(clock)), m_Ticker(m_Engine) {}
    ~EngineWithFakePlayer() override { m_Engine.Quit(); }

    void LaunchWith(const QByteArray& script) {
        m_Player.reset(); // the environment it set is restored first
        m_Player = std::make_unique<FakePlayer>(script);
        ASSERT_TRUE(m_Engine.Launch(FakePlayer::Program(), 0x1a2b3c));
    }
    void LaunchReady(const QByteArray& script = {}) {
        LaunchWith(script);
        ASSERT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Ready; }));
    }
    bool TickUntil(const std::function<bool()>& condition) {
        return m_Ticker.TickUntil(condition, kWaitMs);
    }
    bool TickUntilCommands(int count) {
        return TickUntil([&] { return m_Player->Record().CommandTexts().size() >= count; });
    }

    RecordingSink m_Sink;
    CMPlayerEngine m_Engine;
    EngineTicker m_Ticker;
    std::unique_ptr<FakePlayer> m_Player;
};

TEST_F(EngineWithFakePlayer, PassesTheCommandLineAndOnlyThePipes) {
    const int stray = open("/dev/null", O_RDONLY); // inheritable, as a careless library leaves one
    LaunchReady();
    close(stray);
    const QList<QByteArray> expected{"-slave", "-idle",    "-quiet",    "-framedrop",
                                     "-wid",   "0x1a2b3c", "-colorkey", "0x30201"};
    EXPECT_EQ(m_Player->Record().Arguments(), expected);
    EXPECT_EQ(m_Player->Record().InheritedFds(), QList<QByteArray>());
}

TEST_F(EngineWithFakePlayer, PriorityIsRaisedUnlessHeldAndOnceReleased) {
    const int normal = getpriority(PRIO_PROCESS, 0);
    m_Engine.SetPlayerPriorityRaised(false);
    LaunchWith({});
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(m_Engine.ProcessId())), normal);
    m_Engine.SetPlayerPriorityRaised(true);
    const int raised = getpriority(PRIO_PROCESS, static_cast<id_t>(m_Engine.ProcessId()));
    if (raised == normal)
        GTEST_SKIP() << "no right to raise a priority here";
    EXPECT_LT(raised, normal);
    m_Engine.Quit();
    LaunchWith({});
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(m_Engine.ProcessId())), raised);
}

TEST_F(EngineWithFakePlayer, PathWithSpacesAndQuotesIsOneArgument) {
    QTemporaryDir dir;
    const QString program = dir.filePath("my \"player\" dir/fake player");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(program).path()));
    ASSERT_TRUE(QFile::link(FakePlayer::Program(), program));
    FakePlayer player({});
    ASSERT_TRUE(m_Engine.Launch(program, 1));
    EXPECT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Ready; }));
    EXPECT_EQ(player.Record().Arguments().value(5), "0x1");
}

TEST_F(EngineWithFakePlayer, UnrunnablePathsFailAndLeaveNothingOpen) {
    QTemporaryDir dir;
    QFile plain(dir.filePath("not-executable"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    const int fdsBefore = static_cast<int>(QDir("/proc/self/fd").entryList(QDir::Files).size());
    for (const QString& path : {plain.fileName(), dir.path(), dir.filePath("missing"), QString()}) {
        EXPECT_FALSE(m_Engine.Launch(path, 1)) << qPrintable(path);
        EXPECT_EQ(m_Engine.ProcessId(), 0);
        EXPECT_EQ(m_Engine.GetPrepState(), PrepState::NotStarted);
    }
    EXPECT_EQ(QDir("/proc/self/fd").entryList(QDir::Files).size(), fdsBefore);
}

TEST_F(EngineWithFakePlayer, SecondLaunchIsRefusedWhileOneRuns) {
    LaunchReady();
    const pid_t first = m_Engine.ProcessId();
    EXPECT_FALSE(m_Engine.Launch(FakePlayer::Program(), 1));
    EXPECT_EQ(m_Engine.ProcessId(), first);
}

TEST_F(EngineWithFakePlayer, WritesOneCommandPerTickHonouringDelays) {
    LaunchReady();
    m_Engine.SeekRelative(12);
    m_Engine.SeekRelative(12);
    m_Engine.Send(SlaveCmd::MuteOn);
    m_Engine.Send(SlaveCmd::Pause); // delay 3
    m_Engine.Send(SlaveCmd::GetTimePos);

    std::vector<int> writeTicks;
    std::vector<qint64> writeTimes;
    for (int tick = 1; tick <= 10; ++tick) {
        const size_t pending = m_Engine.Queue().Pending().size();
        m_Ticker.Ticks(1);
        if (m_Engine.Queue().Pending().size() < pending) {
            writeTicks.push_back(tick);
            writeTimes.push_back(m_Ticker.TickTimes().back());
        }
    }
    EXPECT_EQ(writeTicks, (std::vector<int>{1, 2, 3, 7, 8}));

    ASSERT_TRUE(TickUntilCommands(5));
    const QList<FakeRecordEntry> received = m_Player->Record().Commands();
    const QList<QByteArray> expected{"seek 12 0", "seek 12 0", "mute 1", "pause", "get_time_pos"};
    ASSERT_EQ(m_Player->Record().CommandTexts(), expected);
    for (int i = 0; i < 5; ++i) {
        EXPECT_GE(received[i].ms, writeTimes[i]) << "command " << i << " came before its tick";
        if (i > 0) {
            EXPECT_GE(received[i].ms, received[i - 1].ms);
        }
    }
    // The pause follows the mute by at least the four ticks it waited.
    EXPECT_GE(writeTimes[3] - writeTimes[2], 4 * EngineTicker::kTickMs - 5);
}

TEST_F(EngineWithFakePlayer, AnswersArePostedInOrder) {
    LaunchReady("on get_time_length reply ANS_LENGTH=5400.00\r\n"
                "on get_time_pos reply ANS_TIME_POSITION=83.4\r\n"
                "on loadfile after 200 reply \\r\n"
                "on loadfile reply Playing a.avi.\n");
    ASSERT_TRUE(m_Engine.LoadFile("/m/a.avi"));
    m_Engine.Send(SlaveCmd::GetTimeLength);
    m_Engine.Send(SlaveCmd::GetTimePos);
    const std::vector<Answer> expected{
        {WM_MP_LENGTH, 5400}, {WM_MP_TIMEPOS, 83}, {WM_MP_BLANKLINE, 0}};
    EXPECT_TRUE(TickUntil([&] { return m_Sink.Answers().size() >= expected.size(); }));
    EXPECT_EQ(m_Sink.Answers(), expected);
}

TEST_F(EngineWithFakePlayer, SilentPlayerNeverGetsCommands) {
    LaunchWith("mode silent");
    m_Engine.Send(SlaveCmd::GetTimePos);
    m_Ticker.Ticks(24); // three measurement windows
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::NotStarted);
    EXPECT_EQ(m_Engine.Queue().Pending().size(), 1u);
    EXPECT_TRUE(m_Player->Record().CommandTexts().isEmpty());
}

TEST_F(EngineWithFakePlayer, BusyPlayerStaysPreparing) {
    LaunchWith("mode busy");
    m_Engine.Send(SlaveCmd::GetTimePos);
    ASSERT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Preparing; }));
    m_Ticker.Ticks(40); // five windows at full load
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::Preparing);
    EXPECT_TRUE(m_Player->Record().CommandTexts().isEmpty());
}

TEST_F(EngineWithFakePlayer, QuitEndsThePlayerAndReapsIt) {
    LaunchReady();
    const pid_t pid = m_Engine.ProcessId();
    m_Engine.Quit();
    EXPECT_EQ(m_Engine.ProcessId(), 0);
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::NotStarted);
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1); // reaped already: not our child any more
    EXPECT_EQ(m_Player->Record().CommandTexts(), QList<QByteArray>{"quit"});
    EXPECT_EQ(m_Sink.Count(WM_MP_EXITED), 0);
}

TEST_F(EngineWithFakePlayer, QuitWithoutPlayerReturns) {
    m_Engine.Quit();
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::NotStarted);
    EXPECT_TRUE(m_Sink.Answers().empty());
}

struct StubbornCase {
    const char* name;
    const char* script;
};

class StubbornPlayer : public EngineWithFakePlayer,
                       public testing::WithParamInterface<StubbornCase> {};

TEST_P(StubbornPlayer, IsTerminatedAndReaped) {
    LaunchReady(GetParam().script);
    const pid_t pid = m_Engine.ProcessId();
    m_Engine.Quit();
    EXPECT_EQ(m_Engine.ProcessId(), 0);
    EXPECT_EQ(kill(pid, 0), -1);
    EXPECT_EQ(m_Sink.Count(WM_MP_EXITED), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, StubbornPlayer,
                         testing::Values(StubbornCase{"IgnoresQuit", "mode ignore-quit"},
                                         StubbornCase{"IgnoresQuitAndSigterm",
                                                      "mode ignore-quit\nmode ignore-term"}),
                         [](const auto& info) { return info.param.name; });

// A wrapper script as "MPlayerPath" whose pipeline outlives the script: killing the script alone
// would leave the pipe's other end open and the reader waiting for ever.
TEST_F(EngineWithFakePlayer, QuitEndsAWrappersWholePipeline) {
    QTemporaryDir dir;
    const QString wrapper = dir.filePath(QStringLiteral("mplayer-wrapper"));
    QFile file(wrapper);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n\"" + QFile::encodeName(FakePlayer::Program()) + "\" \"$@\" | cat\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    m_Player = std::make_unique<FakePlayer>("mode ignore-quit");
    ASSERT_TRUE(m_Engine.Launch(wrapper, 0x1a2b3c));
    ASSERT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Ready; }));
    ASSERT_TRUE(TickUntil([&] { return !m_Player->Record().Pids().isEmpty(); }));
    const pid_t group = m_Engine.ProcessId();

    std::future<void> quit = std::async(std::launch::async, [&] { m_Engine.Quit(); });
    const bool ended = quit.wait_for(std::chrono::seconds(15)) == std::future_status::ready;
    if (!ended)
        kill(-group, SIGKILL); // frees the test
    quit.wait();
    EXPECT_TRUE(ended) << "Quit waited on the pipeline";
    // Ended processes linger until their new parent reaps them.
    EXPECT_TRUE(TickUntil([&] { return kill(-group, 0) == -1; }))
        << "a process of the player's group is left";
}

TEST_F(EngineWithFakePlayer, QueueIsKeptForTheNextPlayer) {
    LaunchWith("mode silent");
    m_Engine.Send(SlaveCmd::GetTimeLength);
    m_Engine.Quit();
    LaunchReady();
    EXPECT_TRUE(TickUntilCommands(1));
    EXPECT_EQ(m_Player->Record().CommandTexts(), QList<QByteArray>{"get_time_length"});
}

TEST_F(EngineWithFakePlayer, DeathIsReportedAndLaterWritesAreHarmless) {
    LaunchReady();
    const pid_t pid = m_Engine.ProcessId();
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    ASSERT_TRUE(TickUntil([&] { return m_Sink.Count(WM_MP_EXITED) == 1; }));
    EXPECT_EQ(m_Engine.ProcessId(), 0);
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);

    m_Engine.Send(
        SlaveCmd::GetTimePos); // written into a pipe nobody reads: must not raise SIGPIPE here
    m_Ticker.Ticks(2);
    EXPECT_TRUE(m_Engine.Queue().Pending().empty());

    // After a reported death Quit has nothing to wait for, so no pause either.
    const qint64 before = EngineTicker::NowMs();
    m_Engine.Quit();
    EXPECT_LT(EngineTicker::NowMs() - before, 900);
    LaunchReady();
    EXPECT_EQ(m_Sink.Count(WM_MP_EXITED), 1);
}

TEST_F(EngineWithFakePlayer, ExitAfterACommandIsADeath) {
    LaunchReady("on loadfile exit 5");
    ASSERT_TRUE(m_Engine.LoadFile("/m/a.avi"));
    EXPECT_TRUE(TickUntil([&] { return m_Sink.Count(WM_MP_EXITED) == 1; }));
}

TEST_F(EngineWithFakePlayer, PlayerThatExitsAtOnceIsADeath) {
    LaunchWith("mode exit-at-once");
    EXPECT_TRUE(TickUntil([&] { return m_Sink.Count(WM_MP_EXITED) == 1; }));
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::NotStarted);
}

// Readiness measured with a clock the test moves: the CPU a player uses between measurements.
class EngineWithTestClock : public EngineWithFakePlayer {
protected:
    EngineWithTestClock()
        : EngineWithFakePlayer([this](pid_t) -> std::optional<uint64_t> {
              return m_nCycles += m_nCyclesPerRead.load();
          }) {}

    std::atomic<uint64_t> m_nCycles{0};
    std::atomic<uint64_t> m_nCyclesPerRead{0};
};

TEST_F(EngineWithTestClock, ReadyAfterTheFirstQuietWindow) {
    m_nCyclesPerRead = 5000 * 4096; // above the default 2000 units per window
    m_Engine.Send(SlaveCmd::GetTimePos);
    LaunchWith({});
    ASSERT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Preparing; }));
    m_Ticker.Ticks(24);
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::Preparing);
    EXPECT_TRUE(m_Player->Record().CommandTexts().isEmpty());

    m_nCyclesPerRead = 1999 * 4096;
    m_Ticker.Ticks(8);
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::Ready);
    EXPECT_TRUE(TickUntilCommands(1));
}

TEST_F(EngineWithTestClock, ThresholdCanBeRaised) {
    m_nCyclesPerRead = 5000 * 4096;
    m_Engine.SetPrepCycleTime(5001);
    LaunchWith({});
    EXPECT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Ready; }));
}

TEST_F(EngineWithTestClock, FloodOfJunkStillGivesTheAnswers) {
    LaunchReady("mode flood\non get_time_length reply ANS_LENGTH=7");
    m_Engine.Send(SlaveCmd::GetTimeLength);
    EXPECT_TRUE(TickUntil([&] { return m_Sink.Count(WM_MP_LENGTH) == 1; }));
    m_Ticker.Ticks(4);
    EXPECT_EQ(m_Sink.Answers(), (std::vector<Answer>{{WM_MP_LENGTH, 7}}));
}

} // namespace
