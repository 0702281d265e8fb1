// The whole program against players that misbehave and against termination signals: it never
// crashes, its memory stays bounded, it ends within a few seconds of SIGTERM, it leaves no
// player behind, and a signal during playback stores the position first.
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"
#include "support/RavoloProcess.h"
#include "support/StoredResume.h"
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr int kStartMs = kPatienceMs;
constexpr int kExitMs = 6000;
constexpr qint64 kMaxRssKb = 200 * 1024;
constexpr qint64 kFloodBytes = 10 * 1024 * 1024;

void WriteProfile(const RavoloProcess::Sandbox& sandbox,
                  const std::function<void(SettingsStore&)>& more = {}) {
    QDir().mkpath(QFileInfo(sandbox.ProfilePath()).path());
    SettingsStore store(sandbox.ProfilePath());
    store.CheckVersion(ProgramVersion::FromBuild());
    store.SavePlayerPath(FakePlayer::Program());
    if (more)
        more(store);
    store.Sync();
}

// A field of /proc/<pid>/status or /proc/<pid>/io, in its own units; -1 when unreadable.
qint64 ProcField(qint64 pid, const char* file, const QByteArray& name) {
    QFile proc(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!proc.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : proc.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Still there and not only waiting to be reaped.
bool IsAlive(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return !text.mid(text.lastIndexOf(')') + 2, 1).startsWith('Z');
}

struct PlayerCase {
    const char* name;
    const char* script;
    bool bytesToWait; // wait until the player has written kFloodBytes
};

void PrintTo(const PlayerCase& c, std::ostream* out) {
    *out << c.name;
}

class FaultMisbehavingPlayer : public testing::TestWithParam<PlayerCase> {};

TEST_P(FaultMisbehavingPlayer, TheProgramLivesBoundedAndEndsOnSigterm) {
    RavoloProcess::Sandbox sandbox;
    FakePlayer player(GetParam().script);
    WriteProfile(sandbox);
    RavoloProcess ravolo(sandbox);
    ASSERT_TRUE(ravolo.Start());
    ASSERT_TRUE(ravolo.WaitUntilPrimary(kStartMs)) << ravolo.Output().constData();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.Record().Pids().isEmpty(); }, kStartMs));
    const qint64 pid = player.Record().Pids().first();
    if (GetParam().bytesToWait) {
        // The player's own count of bytes written, or its note once a counted flood is out.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const QList<FakeRecordEntry> entries = player.Record().Entries();
                return ProcField(pid, "io", "wchar") >= kFloodBytes ||
                       (!entries.isEmpty() && entries.last().kind == "out");
            },
            60000));
    }
    ASSERT_TRUE(ravolo.IsRunning()) << ravolo.Output().constData();
    const qint64 rssKb = ProcField(ravolo.Pid(), "status", "VmRSS");
    EXPECT_GT(rssKb, 0);
    EXPECT_LT(rssKb, kMaxRssKb);

    QElapsedTimer exit;
    exit.start();
    ravolo.Terminate();
    ASSERT_TRUE(ravolo.WaitForExit(kExitMs)) << "still running after " << kExitMs << " ms";
    std::printf("ended %lld ms after SIGTERM, VmRSS was %lld kB\n",
                static_cast<long long>(exit.elapsed()), static_cast<long long>(rssKb));
    EXPECT_TRUE(ravolo.EndedCleanly()) << ravolo.ExitCode() << ravolo.Output().constData();
    for (qint64 started : player.Record().Pids())
        EXPECT_FALSE(IsAlive(started)) << "player " << started << " was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FaultMisbehavingPlayer,
    testing::Values(PlayerCase{"NeverReady", "mode busy\n", false},
                    PlayerCase{"NeverAnswers", "mode silent\n", false},
                    PlayerCase{"EndlessLineWithoutLineFeed", "mode stream\n", true},
                    PlayerCase{"TenMegabytesOfJunk", "flood 10485760\n", true},
                    PlayerCase{"EndlessJunk", "mode flood\n", true},
                    PlayerCase{"ExitsAtOnce", "mode exit-at-once\n", false},
                    PlayerCase{"IgnoresQuit", "mode ignore-quit\n", false},
                    PlayerCase{"IgnoresTerm", "mode ignore-term\n", false},
                    PlayerCase{"IgnoresQuitAndTerm", "mode ignore-quit\nmode ignore-term\n",
                               false}),
    [](const testing::TestParamInfo<PlayerCase>& info) { return info.param.name; });

// ---- termination signals during playback ----------------------------------------------------

// A signal to the program alone (a log-out, a kill), or to its whole process group (a terminal's
// hang-up or Ctrl+C, which must not take MPlayer before it has answered the position).
struct SignalCase {
    int signal;
    bool toGroup;
};

void PrintTo(const SignalCase& c, std::ostream* out) {
    *out << sigabbrev_np(c.signal) << (c.toGroup ? " to the group" : "");
}

class FaultSignalDuringPlayback : public testing::TestWithParam<SignalCase> {};

TEST_P(FaultSignalDuringPlayback, StoresThePositionAndEndsCleanly) {
    XvfbSession x;
    ASSERT_TRUE(x.IsRunning());
    RavoloProcess::Sandbox sandbox;
    const QString clip = sandbox.root.filePath(QStringLiteral("clips/a clip.avi"));
    QDir().mkpath(QFileInfo(clip).path());
    QFile file(clip);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
    file.close();
    FakePlayer player("on get_time_length reply ANS_LENGTH=600\n"
                      "on get_time_pos reply ANS_TIME_POSITION=77.6\n");
    WriteProfile(sandbox, [&](SettingsStore& store) {
        store.WriteString(QStringLiteral("Resume0"), StoredResume::Video(clip, 12));
    });
    RavoloProcess ravolo(sandbox, x.Display());
    ASSERT_TRUE(ravolo.Start());
    const quint64 window = x.FindWindow(QStringLiteral("Ravolo"), kStartMs);
    ASSERT_NE(window, 0u) << ravolo.Output().constData();

    // Enter on the resume screen plays its first entry once MPlayer is ready; until then it
    // only beeps. The frame is activated each time: the wait dialog may have taken the focus.
    const QByteArray seek = "seek 12 2";
    QDeadlineTimer deadline(kStartMs);
    while (!player.Record().CommandTexts().contains(seek) && !deadline.hasExpired()) {
        x.Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                          QStringLiteral("--sync"), QString::number(window)});
        x.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        if (QTest::qWaitFor([&] { return player.Record().CommandTexts().contains(seek); }, 500))
            break;
    }
    ASSERT_TRUE(player.Record().CommandTexts().contains(seek));

    const SignalCase signal = GetParam();
    ASSERT_TRUE(signal.toGroup ? ravolo.SignalGroup(signal.signal)
                               : ::kill(static_cast<pid_t>(ravolo.Pid()), signal.signal) == 0);
    ASSERT_TRUE(ravolo.WaitForExit(kExitMs)) << "still running after " << kExitMs << " ms";
    EXPECT_TRUE(ravolo.EndedCleanly()) << ravolo.ExitCode() << ravolo.Output().constData();
    const QList<QByteArray> commands = player.Record().CommandTexts();
    // The position asked before anything else, and MPlayer told to quit at the end ("stop"
    // may not get its tick before the window closes).
    EXPECT_EQ(commands.indexOf("get_time_pos"), commands.indexOf(seek) + 1);
    EXPECT_EQ(commands.value(commands.size() - 1), "quit");
    const QString copy = sandbox.root.filePath(QStringLiteral("after.ini"));
    ASSERT_TRUE(QFile::copy(sandbox.ProfilePath(), copy));
    SettingsStore after(copy);
    EXPECT_EQ(after.ReadString(QStringLiteral("Resume0")), StoredResume::Video(clip, 77));
    EXPECT_EQ(after.ReadString(QStringLiteral("Resume1")), QString());
    EXPECT_FALSE(after.ReadString(QStringLiteral("WindowPos")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Signals, FaultSignalDuringPlayback,
                         testing::Values(SignalCase{SIGTERM, false}, SignalCase{SIGHUP, false},
                                         SignalCase{SIGINT, false}, SignalCase{SIGHUP, true},
                                         SignalCase{SIGINT, true}),
                         [](const testing::TestParamInfo<SignalCase>& info) {
                             return std::string(sigabbrev_np(info.param.signal)) +
                                    (info.param.toGroup ? "ToGroup" : "");
                         });

// ---- termination while the start-up waits on a person ---------------------------------------

struct PromptCase {
    const char* name;
    std::function<void(const RavoloProcess::Sandbox&, SettingsStore&)> profile;
};

void PrintTo(const PromptCase& c, std::ostream* out) {
    *out << c.name;
}

class FaultStartUpPrompt : public testing::TestWithParam<PromptCase> {};

TEST_P(FaultStartUpPrompt, SigtermEndsTheProgram) {
    XvfbSession x;
    ASSERT_TRUE(x.IsRunning());
    RavoloProcess::Sandbox sandbox;
    FakePlayer player("");
    WriteProfile(sandbox, [&](SettingsStore& store) { GetParam().profile(sandbox, store); });
    RavoloProcess ravolo(sandbox, x.Display());
    ASSERT_TRUE(ravolo.Start());
    // The frame shows only after the start-up: a window now is the prompt.
    ASSERT_NE(x.FindWindow(QStringLiteral("Ravolo"), kStartMs), 0u) << ravolo.Output().constData();
    ASSERT_FALSE(QFile::exists(sandbox.ChannelSocket())) << "the start-up went past the prompt";
    ravolo.Terminate();
    ASSERT_TRUE(ravolo.WaitForExit(kExitMs)) << "still running after " << kExitMs << " ms";
    EXPECT_TRUE(ravolo.EndedCleanly()) << ravolo.ExitCode() << ravolo.Output().constData();
    for (qint64 started : player.Record().Pids())
        EXPECT_FALSE(IsAlive(started)) << "player " << started << " was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, FaultStartUpPrompt,
    testing::Values(PromptCase{"FolderNotFound",
                               [](const RavoloProcess::Sandbox& sandbox, SettingsStore& store) {
                                   store.WriteString(QStringLiteral("CurrentFolder"),
                                                     sandbox.root.filePath("gone"));
                               }},
                    PromptCase{"MPlayerDoesNotStart",
                               [](const RavoloProcess::Sandbox& sandbox, SettingsStore& store) {
                                   const QString plain = sandbox.root.filePath("mplayer");
                                   QFile file(plain);
                                   file.open(QIODevice::WriteOnly);
                                   store.SavePlayerPath(plain);
                               }},
                    PromptCase{"LockCannotBeMade",
                               [](const RavoloProcess::Sandbox& sandbox, SettingsStore&) {
                                   QDir(sandbox.TempDir()).mkdir("Ravolo.2015.Quendal.lock");
                               }}),
    [](const testing::TestParamInfo<PromptCase>& info) { return info.param.name; });

} // namespace
