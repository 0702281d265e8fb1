// The transport's commands, as the engine queues them, written to the real MPlayer (video and
// audio out set to null); what they did is read back from MPlayer's own answers.
#include "engine/CMPlayerEngine.h"
#include "resources/CommandIds.h"
#include "support/MPlayerHome.h"
#include "support/RecordingSink.h"
#include "support/TestMedia.h"
#include "view/Transport.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int kClipSeconds = 30;
constexpr uint32_t kStartAt = 8; // room to rewind
constexpr int kWaitMs = 15000;

bool Below1(const QString& speed) {
    return speed.toDouble() > 0 && speed.toDouble() < 1;
}

class TransportWithMPlayer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_Media = new QTemporaryDir;
        s_bClipMade = TestMedia::MakeClipWithTracks(Clip(), kClipSeconds) &&
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

    // The start sequence's load and seek, with the transport reset in between as at a start.
    void Play(const QString& path) {
        ASSERT_TRUE(m_Engine.LoadFile(path));
        m_Transport.ResetForStart();
        m_Engine.SeekAbsolute(kStartAt);
        ASSERT_TRUE(Until("time_pos", [](const QString& at) { return at.toDouble() >= kStartAt; }));
    }

    // Writes what the engine queued, then asks for a property without changing the pause.
    QString Ask(const QByteArray& property) {
        for (const SlaveCommand& command : m_Engine.Queue().Pending())
            m_MPlayer.write(command.text);
        m_Engine.DiscardQueue();
        m_MPlayer.write("pausing_keep_force get_property " + property + "\r");
        const QByteArray answer = "ANS_" + property + "=";
        QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            if (!m_MPlayer.canReadLine() && !m_MPlayer.waitForReadyRead(100))
                continue;
            const QByteArray line = m_MPlayer.readLine().trimmed();
            if (line.startsWith(answer))
                return QString::fromLatin1(line.mid(answer.size()));
            if (line.startsWith("ANS_ERROR"))
                return QString::fromLatin1(line);
        }
        return QStringLiteral("no answer");
    }
    // Asks again until the answer holds; the last answer goes to the log when it never does.
    bool Until(const QByteArray& property, const std::function<bool(const QString&)>& holds) {
        QDeadlineTimer deadline(kWaitMs);
        QString answer;
        while (!holds(answer = Ask(property))) {
            if (deadline.hasExpired()) {
                ADD_FAILURE() << property.constData() << " stayed " << answer.toStdString();
                return false;
            }
        }
        return true;
    }
    bool Is(const QByteArray& property, const char* value) {
        return Until(property, [value](const QString& answer) { return answer == value; });
    }
    double Position() { return Ask("time_pos").toDouble(); }

    static inline QTemporaryDir* s_Media = nullptr;
    static inline bool s_bClipMade = false;
    MPlayerHome m_Home;
    QProcess m_MPlayer;
    RecordingSink m_Sink;
    CMPlayerEngine m_Engine{m_Sink};
    Transport m_Transport{m_Engine};
};

TEST_F(TransportWithMPlayer, EachStepLeavesMPlayerAsTheLevelSays) {
    struct Expect {
        const char* property;
        std::function<bool(const QString&)> holds;
    };
    auto is = [](const char* value) {
        return [value](const QString& answer) { return answer == value; };
    };
    auto level = [](int id) { return Transport::LevelForCommand(id); };
    struct Row {
        const char* name;
        std::function<void()> act;
        std::vector<Expect> expected;
    };
    const Row rows[] = {
        {"pause",
         [this] { m_Transport.TogglePause(); },
         {{"pause", is("yes")}, {"mute", is("yes")}}},
        {"pause, then x2 resumes with the sound",
         [&] {
             m_Transport.TogglePause();
             m_Transport.SelectLevel(level(ID_SPEED_X2));
         },
         {{"pause", is("no")}, {"speed", is("2.000000")}, {"mute", is("no")}}},
        {"pause, then x1/20 resumes slowly and muted",
         [&] {
             m_Transport.TogglePause();
             m_Transport.SelectLevel(level(ID_SPEED_X1_20));
         },
         {{"pause", is("no")}, {"speed", Below1}, {"mute", is("yes")}}},
        {"x1.5",
         [&] { m_Transport.SelectLevel(level(ID_SPEED_X1_5)); },
         {{"speed", is("1.500000")}, {"mute", is("no")}}},
        {"fast forward, then normal speed",
         [&] {
             m_Transport.SelectLevel(level(ID_FF_X12));
             m_Transport.TogglePause();
         },
         {{"speed", is("1.000000")}, {"pause", is("no")}, {"mute", is("no")}}},
        {"audio track", [this] { m_Transport.SwitchAudio(); }, {{"switch_audio", is("1")}}},
        {"subtitle", [this] { m_Transport.SelectSubtitle(); }, {{"sub_demux", is("0")}}},
        {"a start after a muted stop",
         [this] {
             m_Transport.TogglePause();
             m_Engine.Stop();
             m_Transport.ResetForStop();
             Play(Clip(QStringLiteral("second.mkv")));
         },
         {{"mute", is("no")}, {"pause", is("no")}, {"speed", is("1.000000")}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Play(Clip());
        ASSERT_TRUE(Is("mute", "no"));
        row.act();
        for (const Expect& expected : row.expected)
            EXPECT_TRUE(Until(expected.property, expected.holds)) << expected.property;
    }
}

// Fast forward and rewind seek every tenth tick at 1 %; a frame step shows the next frame.
TEST_F(TransportWithMPlayer, StepsMoveThePositionAsTheLevelSays) {
    auto seekStep = [](Transport& t) {
        for (int i = 0; i < Transport::kTicksPerSeekStep; ++i)
            t.OnSeekTick();
    };
    struct Row {
        const char* name;
        std::function<void(Transport&)> enter;
        const char* pausedAfterEntering;
        std::function<void(Transport&)> step;
        double movedAtLeast, movedAtMost; // seconds
        const char* pausedAfterTheStep;
    };
    const Row rows[] = {
        {"frame step while paused", [](Transport& t) { t.TogglePause(); }, "yes",
         [](Transport& t) { t.FrameStep(); }, 0.01, 0.2, "yes"},
        {"fast forward x4 from x1/20",
         [](Transport& t) {
             t.SelectLevel(Transport::LevelForCommand(ID_SPEED_X1_20));
             t.SelectLevel(Transport::LevelForCommand(ID_FF_X4));
         },
         "no", seekStep, 1.0, 3.5, "no"},
        {"rewind x4 from pause",
         [](Transport& t) {
             t.TogglePause();
             t.SpeedStepDown();
         },
         "no", seekStep, -3.5, -1.0, "no"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Play(Clip());
        row.enter(m_Transport);
        ASSERT_TRUE(Is("mute", "yes"));
        ASSERT_TRUE(Is("pause", row.pausedAfterEntering));
        const double before = Position();
        row.step(m_Transport);
        EXPECT_TRUE(Until("time_pos", [&](const QString& at) {
            const double moved = at.toDouble() - before;
            return moved >= row.movedAtLeast && moved <= row.movedAtMost;
        }));
        EXPECT_TRUE(Is("pause", row.pausedAfterTheStep));
    }
}

} // namespace
