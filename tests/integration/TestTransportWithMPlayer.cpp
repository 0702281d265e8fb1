// The transport's commands, as the engine queues them, written to the real MPlayer (video and
// audio out set to null) on a clip with two audio tracks and a subtitle; what they did is read
// back from MPlayer's own answers.
#include "engine/CMPlayerEngine.h"
#include "resources/CommandIds.h"
#include "support/MPlayerHome.h"
#include "support/RecordingSink.h"
#include "support/TestMedia.h"
#include "view/Transport.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kStartAt = 8; // room to rewind
constexpr int kWaitMs = 15000;

class TransportWithMPlayer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_Media = new QTemporaryDir;
        s_bClipMade = TestMedia::MakeClipWithTracks(Clip(), 30) &&
                      QFile::copy(Clip(), Clip(QStringLiteral("second.mkv")));
    }
    static void TearDownTestSuite() { delete s_Media; }
    static QString Clip(const QString& name = QStringLiteral("tracks.mkv")) {
        return s_Media->filePath(name);
    }

    void SetUp() override {
        ASSERT_TRUE(m_Home.IsValid());
        ASSERT_TRUE(s_bClipMade);
        QStringList arguments;
        for (std::string_view argument : SlaveProtocol::kModeArguments)
            arguments << QString::fromLatin1(argument.data(), qsizetype(argument.size()));
        m_MPlayer.setStandardErrorFile(QProcess::nullDevice());
        m_MPlayer.start(QStringLiteral("/usr/bin/mplayer"), arguments);
        ASSERT_TRUE(m_MPlayer.waitForStarted(kWaitMs));
    }
    void TearDown() override {
        m_MPlayer.write(SlaveProtocol::kQuit.data());
        if (!m_MPlayer.waitForFinished(kWaitMs))
            m_MPlayer.kill();
    }

    // The start's load and seek, with the transport reset in between as the session does.
    void Play(const QString& path) {
        ASSERT_TRUE(m_Engine.LoadFile(path));
        m_Transport.ResetForStart();
        m_Engine.SeekAbsolute(kStartAt);
        ASSERT_TRUE(Until("time_pos", kStartAt, 60));
    }

    // Writes what the engine queued, then asks for a property without changing the pause:
    // yes is 1, no 0, an error not a number.
    double Ask(const QByteArray& property) {
        for (const SlaveCommand& command : m_Engine.Queue().Pending())
            m_MPlayer.write(command.text);
        m_Engine.DiscardQueue();
        m_MPlayer.write("pausing_keep_force get_property " + property + "\r");
        const QByteArray answer = "ANS_" + property + "=";
        for (QDeadlineTimer deadline(kWaitMs); !deadline.hasExpired();) {
            if (!m_MPlayer.canReadLine() && !m_MPlayer.waitForReadyRead(100))
                continue;
            const QByteArray line = m_MPlayer.readLine().trimmed();
            if (line.startsWith(answer)) {
                const QByteArray value = line.mid(answer.size());
                return value == "yes" ? 1 : value == "no" ? 0 : value.toDouble();
            }
            if (line.startsWith("ANS_ERROR"))
                break;
        }
        return std::nan("");
    }
    // Asks again until the answer lies in [low, high].
    bool Until(const QByteArray& property, double low, double high, double offset = 0) {
        double value = 0;
        for (QDeadlineTimer deadline(kWaitMs); !deadline.hasExpired();) {
            value = Ask(property) - offset;
            if (value >= low && value <= high)
                return true;
        }
        ADD_FAILURE() << property.constData() << " stayed at " << value;
        return false;
    }

    static inline QTemporaryDir* s_Media = nullptr;
    static inline bool s_bClipMade = false;
    MPlayerHome m_Home;
    QProcess m_MPlayer;
    RecordingSink m_Sink;
    CMPlayerEngine m_Engine{m_Sink};
    Transport m_Transport{m_Engine};
};

TEST_F(TransportWithMPlayer, EachStepLeavesMPlayerAsTheLevelSays) {
    auto level = [this](int id) { m_Transport.SelectLevel(Transport::LevelForCommand(id)); };
    auto pause = [this] { m_Transport.TogglePause(); };
    auto seekStep = [this] {
        for (int i = 0; i < Transport::kTicksPerSeekStep; ++i)
            m_Transport.OnSeekTick();
    };
    struct Expect {
        const char* property; // "moved": time_pos less the position before the step
        double low, high;
    };
    struct Row {
        const char* name;
        std::function<void()> enter, step;
        std::vector<Expect> expected;
    };
    // MPlayer slows no further than its audio output allows (about x0.18 here), even at 1 %.
    const Row rows[] = {
        {"pause", pause, nullptr, {{"pause", 1, 1}, {"mute", 1, 1}}},
        {"pause, then x2",
         pause,
         [&] { level(ID_SPEED_X2); },
         {{"pause", 0, 0}, {"speed", 2, 2}, {"mute", 0, 0}}},
        {"pause, then x1/20",
         pause,
         [&] { level(ID_SPEED_X1_20); },
         {{"pause", 0, 0}, {"speed", 0.01, 0.2}, {"mute", 1, 1}}},
        {"x1.5", [&] { level(ID_SPEED_X1_5); }, nullptr, {{"speed", 1.5, 1.5}, {"mute", 0, 0}}},
        {"fast forward, then normal",
         [&] { level(ID_FF_X12); },
         pause,
         {{"speed", 1, 1}, {"pause", 0, 0}, {"mute", 0, 0}}},
        {"frame step while paused",
         pause,
         [this] { m_Transport.FrameStep(); },
         {{"moved", 0.01, 0.2}, {"pause", 1, 1}}},
        {"fast forward x4 from x1/20",
         [&] {
             level(ID_SPEED_X1_20);
             level(ID_FF_X4);
         },
         seekStep,
         {{"moved", 1, 3.5}, {"speed", 0.01, 0.2}, {"mute", 1, 1}}},
        {"rewind x4 from pause",
         [&] {
             pause();
             m_Transport.SpeedStepDown();
         },
         seekStep,
         {{"moved", -3.5, -1}, {"pause", 0, 0}, {"mute", 1, 1}}},
        {"audio track", nullptr, [this] { m_Transport.SwitchAudio(); }, {{"switch_audio", 1, 1}}},
        {"subtitle", nullptr, [this] { m_Transport.SelectSubtitle(); }, {{"sub_demux", 0, 0}}},
        {"a start after a muted stop",
         pause,
         [this] {
             m_Engine.Send(SlaveCmd::Stop);
             m_Transport.ResetForStop();
             Play(Clip(QStringLiteral("second.mkv")));
         },
         {{"mute", 0, 0}, {"pause", 0, 0}, {"speed", 1, 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Play(Clip());
        ASSERT_TRUE(Until("mute", 0, 0));
        if (row.enter)
            row.enter();
        const double before = Ask("time_pos");
        if (row.step)
            row.step();
        for (const Expect& e : row.expected) {
            const bool moved = QByteArray(e.property) == "moved";
            EXPECT_TRUE(Until(moved ? "time_pos" : e.property, e.low, e.high, moved ? before : 0))
                << e.property;
        }
    }
}

} // namespace
