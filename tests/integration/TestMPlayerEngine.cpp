// The engine with the real MPlayer (video and audio out set to null) on clips made by ffmpeg.
#include "engine/CMPlayerEngine.h"
#include "support/EngineTicker.h"
#include "support/MPlayerHome.h"
#include "support/Patience.h"
#include "support/RecordingSink.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

constexpr char kMPlayer[] = "/usr/bin/mplayer";
constexpr int kClipSeconds = 2;
constexpr int kLongerClipSeconds = 3;
constexpr int kWaitMs = kPatienceMs;

class MPlayerEngine : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_Media = new QTemporaryDir;
        s_bClipMade = TestMedia::MakeClip(ClipPath(kClipSeconds), kClipSeconds) &&
                      TestMedia::MakeClip(ClipPath(kLongerClipSeconds), kLongerClipSeconds);
    }
    static void TearDownTestSuite() { delete s_Media; }
    static QString ClipPath(int seconds = kClipSeconds) {
        return s_Media->filePath(QString("clip%1.avi").arg(seconds));
    }

    // A clip under another name in the media folder.
    static QString CopyOfClip(const QString& name, int seconds = kClipSeconds) {
        const QString path = s_Media->filePath(name);
        EXPECT_TRUE(QFile::exists(path) || QFile::copy(ClipPath(seconds), path))
            << qPrintable(path);
        return path;
    }

    MPlayerEngine() : m_Engine(m_Sink), m_Ticker(m_Engine) {}
    ~MPlayerEngine() override { m_Engine.Quit(); }

    void SetUp() override {
        ASSERT_TRUE(QFile::exists(kMPlayer));
        ASSERT_TRUE(m_Home.IsValid());
        ASSERT_TRUE(s_bClipMade);
    }

    void LaunchReady() {
        ASSERT_TRUE(m_Engine.Launch(kMPlayer, 0));
        ASSERT_TRUE(TickUntil([&] { return m_Engine.GetPrepState() == PrepState::Ready; }));
    }
    bool TickUntil(const std::function<bool()>& condition) {
        return m_Ticker.TickUntil(condition, kWaitMs);
    }
    bool TickUntilCount(AppEventNumber number, int count) {
        return TickUntil([&] { return m_Sink.Count(number) >= count; });
    }

    // Loads the file, asks for its length and waits for the answer.
    bool Plays(const QString& path, int seconds = kClipSeconds) {
        const int lengths = m_Sink.Count(WM_MP_LENGTH);
        if (!m_Engine.LoadFile(path))
            return false;
        m_Engine.Send(SlaveCmd::GetTimeLength);
        return TickUntilCount(WM_MP_LENGTH, lengths + 1) &&
               m_Sink.Values(WM_MP_LENGTH).back() == seconds;
    }

    static inline QTemporaryDir* s_Media = nullptr;
    static inline bool s_bClipMade = false;
    MPlayerHome m_Home;
    RecordingSink m_Sink;
    CMPlayerEngine m_Engine;
    EngineTicker m_Ticker;
};

TEST_F(MPlayerEngine, BecomesReadyAfterStarting) {
    const qint64 start = EngineTicker::NowMs();
    LaunchReady();
    // Not asserted (speed is for benchmarks); reported for tuning the nominal cycle rate.
    RecordProperty("MillisecondsToReady", static_cast<int>(EngineTicker::NowMs() - start));
    std::printf("MPlayer ready after %lld ms\n",
                static_cast<long long>(EngineTicker::NowMs() - start));
}

TEST_F(MPlayerEngine, LengthIsAnsweredOnlyWhileAFileIsLoaded) {
    LaunchReady();
    m_Engine.Send(SlaveCmd::GetTimeLength); // idle: no answer, not even a late one
    ASSERT_TRUE(m_Engine.LoadFile(ClipPath()));
    m_Engine.Send(SlaveCmd::GetTimeLength);
    m_Engine.Send(SlaveCmd::GetTimePos);
    ASSERT_TRUE(TickUntilCount(WM_MP_TIMEPOS, 1));
    EXPECT_EQ(m_Sink.Values(WM_MP_LENGTH), std::vector<long>{kClipSeconds});
    const long position = m_Sink.Values(WM_MP_TIMEPOS).front();
    EXPECT_GE(position, 0);
    EXPECT_LE(position, kClipSeconds);
}

TEST_F(MPlayerEngine, EndOfFileGivesABlankLineAndSilenceAfterwards) {
    LaunchReady();
    ASSERT_TRUE(Plays(ClipPath()));
    const int blanks = m_Sink.Count(WM_MP_BLANKLINE);
    ASSERT_TRUE(TickUntilCount(WM_MP_BLANKLINE, blanks + 1));

    m_Engine.Send(SlaveCmd::GetTimeLength); // idle again after the end
    ASSERT_TRUE(m_Engine.LoadFile(ClipPath()));
    m_Engine.Send(SlaveCmd::GetTimePos);
    ASSERT_TRUE(TickUntilCount(WM_MP_TIMEPOS, 1));
    EXPECT_EQ(m_Sink.Count(WM_MP_LENGTH), 1);
}

TEST_F(MPlayerEngine, AwkwardFileNamesPlay) {
    LaunchReady();
    const QString names[] = {
        "with space.avi",
        "say \"hi\".avi",
        "back\\slash.avi",
        "\\\\twice at the start.avi",
        "quote after backslash\\\".avi",
        "ends with a quote\"",
        QString::fromUtf8("日本語の名前 表.avi"),
    };
    // Lengths alternate, so an answer from the file before would show.
    int seconds = kClipSeconds;
    for (const QString& name : names) {
        seconds = seconds == kClipSeconds ? kLongerClipSeconds : kClipSeconds;
        EXPECT_TRUE(Plays(CopyOfClip(name, seconds), seconds)) << qPrintable(name);
    }
    m_Engine.Send(SlaveCmd::Stop);
}

TEST_F(MPlayerEngine, UnsafeNamesAreRefusedAndMPlayerLivesOn) {
    LaunchReady();
    EXPECT_FALSE(m_Engine.LoadFile(CopyOfClip("ends with a backslash\\")));
    EXPECT_FALSE(m_Engine.LoadFile(CopyOfClip("line\rquit")));
    EXPECT_TRUE(m_Engine.Queue().Pending().empty());
    EXPECT_TRUE(Plays(ClipPath()));
    EXPECT_EQ(m_Sink.Count(WM_MP_EXITED), 0);
}

TEST_F(MPlayerEngine, QuitEndsMPlayerQuietly) {
    LaunchReady();
    const pid_t pid = m_Engine.ProcessId();
    m_Engine.Quit();
    EXPECT_EQ(m_Engine.ProcessId(), 0);
    EXPECT_EQ(m_Engine.GetPrepState(), PrepState::NotStarted);
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);
    EXPECT_EQ(m_Sink.Count(WM_MP_EXITED), 0);
}

TEST_F(MPlayerEngine, KilledMPlayerIsReportedAndCanBeRestarted) {
    LaunchReady();
    ASSERT_EQ(kill(m_Engine.ProcessId(), SIGKILL), 0);
    ASSERT_TRUE(TickUntilCount(WM_MP_EXITED, 1));
    m_Engine.Quit();
    LaunchReady();
    EXPECT_TRUE(Plays(ClipPath()));
}

} // namespace
