// The playback session alone, driven by scripts of answers and clock ticks: which state it is
// in, what it asks of MPlayer, and what the resume list holds at the end.
#include "engine/IPlayerControl.h"
#include "settings/ResumeList.h"
#include "settings/ViewSettings.h"
#include "support/CountingBeeper.h"
#include "support/FakeClock.h"
#include "support/FakeFrame.h"
#include "support/FakePointer.h"
#include "support/RecordingCommands.h"
#include "view/IPlaybackHost.h"
#include "view/PlaybackSession.h"
#include "view/PointerKeeper.h"
#include "view/Transport.h"
#include "view/ViewState.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RecordingPlayer : public RecordingCommands, public IPlayerControl {
public:
    bool IsReady() const override { return true; }
    bool LoadFile(const QString& path) override {
        m_Queued << "loadfile " + QFileInfo(path).fileName();
        return true;
    }
    void Send(SlaveCmd command) override { RecordingCommands::Send(command); }
    void SeekAbsolute(uint32_t seconds) override { RecordingCommands::SeekAbsolute(seconds); }
    bool HasQueuedCommands() const override { return busy; }
    bool busy = false; // lines wait in the queue, not yet written
};

class CountingHost : public IPlaybackHost {
public:
    void HideLists() override {}
    void ShowListScreen() override { ++listShown; }
    void RepaintView() override {}
    void PlayNextInFolder() override {}
    void SaveResumeState() override {}
    void RestartPlayer() override {}
    int listShown = 0;
};

// clang-format off
enum class Do { Start, StopRegister, StopRestore, StopToClose, Blank, Length, Position, Exited, Wait, Busy, Drained };
// clang-format on

struct Step {
    Do what;
    SessionState then;
    uint32_t value = 0; // seconds of a position answer, milliseconds of a wait
};

struct Script {
    const char* name;
    std::vector<Step> steps;
    QStringList resume; // "name position", front first
    QStringList sent;
    int listShown = 1;
    int closes = 0;
    friend void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }
};

constexpr uint32_t kJudge = 2200; // the default judgement time
using S = SessionState;
const QStringList kStartSent{"loadfile a.avi", "get_time_length", "seek to 754"};
const QStringList kStopSent = kStartSent + QStringList{"get_time_pos", "stop"};
const QStringList kUntouched{"other.avi 9", "a.avi 754"};

class PlaybackSessionScripts : public testing::TestWithParam<Script> {
protected:
    void SetUp() override {
        QFile file(m_Dir.filePath("a.avi"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("data") == 4);
        m_Clip = {file.fileName(), MediaItemKind::File, false, 4, 754};
        MediaItem other{"/m/other.avi", MediaItemKind::File, false, 4, 9};
        MediaItem clip = m_Clip;
        m_ResumeList.RegisterResumeEntry(clip, 754, false);
        m_ResumeList.RegisterResumeEntry(other, 9, false);
    }

    // clang-format off
    void Run(const Step& step) {
        switch (step.what) {
        case Do::Start: m_Session.StartPlayback(m_Clip, m_Clip.positionSec); break;
        case Do::StopRegister: m_Session.StopPlayback(StopReason::Register); break;
        case Do::StopRestore: m_Session.StopPlayback(StopReason::Restore); break;
        case Do::StopToClose: m_Session.StopToClose(); break; // as the view's stop for a shutdown
        case Do::Blank: m_Session.OnBlankLine(); break;
        case Do::Length: m_Session.OnLength(); break;
        case Do::Position: m_Session.OnTimePos(step.value); break;
        case Do::Exited: m_Session.OnPlayerExited(); break;
        case Do::Busy: m_Player.busy = true; break;
        case Do::Drained: m_Player.busy = false; break;
        case Do::Wait:
            m_Clock.Advance(step.value);
            m_Session.OnTimerTick(QRect());
            break;
        }
    }
    // clang-format on

    QStringList Resume() const {
        QStringList entries;
        for (const MediaItem& item : m_ResumeList.Entries())
            entries << QStringLiteral("%1 %2")
                           .arg(QFileInfo(item.path).fileName())
                           .arg(item.positionSec);
        return entries;
    }

    QTemporaryDir m_Dir;
    MediaItem m_Clip;
    ViewSettings m_Settings;
    ViewState m_State;
    ResumeList m_ResumeList;
    RecordingPlayer m_Player;
    Transport m_Transport{m_Player};
    FakePointer m_PointerDevice;
    PointerKeeper m_Pointer{m_PointerDevice};
    FakeClock m_Clock;
    CountingBeeper m_Beeper;
    FakeFrame m_Frame;
    CountingHost m_Host;
    PlaybackSession m_Session{{m_State, m_Settings, m_ResumeList, m_Player, m_Transport, m_Pointer,
                               m_PointerDevice, m_Clock, m_Beeper, m_Frame, m_Host}};
};

TEST_P(PlaybackSessionScripts, EndAsExpected) {
    const Script& script = GetParam();
    for (size_t i = 0; i < script.steps.size(); ++i) {
        Run(script.steps[i]);
        ASSERT_EQ(m_Session.State(), script.steps[i].then) << "after step " << i;
        ASSERT_EQ(m_Session.IsPlaying(),
                  m_Session.State() == S::Starting || m_Session.State() == S::Playing);
    }
    EXPECT_EQ(Resume(), script.resume);
    EXPECT_EQ(m_Player.Take(), script.sent);
    EXPECT_EQ(m_Host.listShown, script.listShown);
    EXPECT_EQ(m_Frame.closeRequests, script.closes);
}

// clang-format off
const Step kStart{Do::Start, S::Starting};
const Step kConfirm{Do::Length, S::Playing};
const QStringList kRegistered{"a.avi 65", "other.avi 9"};

INSTANTIATE_TEST_SUITE_P(
    Table, PlaybackSessionScripts,
    testing::Values(
        Script{"RegisterStoresThePositionAtTheFront",
               {kStart, kConfirm, {Do::StopRegister, S::Stopping}, {Do::Position, S::Idle, 65}}, kRegistered, kStopSent},
        Script{"RestorePutsTheEntryBackInItsPlace",
               {kStart, kConfirm, {Do::StopRestore, S::Stopping}, {Do::Position, S::Idle, 65}}, kUntouched, kStopSent},
        // MPlayer answers nothing while idle: a file it could not open, or one that just ended.
        Script{"AnUnansweredStopEndsAtTheJudgementTime",
               {kStart, {Do::StopRestore, S::Stopping}, {Do::Wait, S::Stopping, kJudge - 1}, {Do::Wait, S::Idle, 1}},
               kUntouched, kStopSent},
        Script{"AnUnansweredRegistrationKeepsTheEntry",
               {kStart, kConfirm, {Do::Blank, S::Playing}, {Do::StopRegister, S::Stopping}, {Do::Wait, S::Idle, kJudge}},
               kUntouched, kStartSent + QStringList{"get_time_length", "get_time_pos", "stop"}},
        Script{"AStopBehindAHeldQueueWaitsFromTheMomentItIsAsked",
               {kStart, kConfirm, {Do::Busy, S::Playing}, {Do::StopRegister, S::Stopping}, {Do::Wait, S::Stopping, kJudge},
                {Do::Drained, S::Stopping}, {Do::Wait, S::Stopping, kJudge - 1}, {Do::Position, S::Idle, 65}},
               kRegistered, kStopSent},
        Script{"AnUnansweredStopToCloseCloses",
               {kStart, kConfirm, {Do::StopToClose, S::Stopping}, {Do::Wait, S::Idle, kJudge}}, kUntouched, kStopSent, 0, 1},
        Script{"ALatePositionChangesNothing",
               {kStart, kConfirm, {Do::StopRegister, S::Stopping}, {Do::Wait, S::Idle, kJudge}, {Do::Position, S::Idle, 65}},
               kUntouched, kStopSent},
        Script{"AStartWhileAStopWaitsIsRefused",
               {kStart, kConfirm, {Do::StopRegister, S::Stopping}, {Do::Start, S::Stopping}, {Do::Position, S::Idle, 65}},
               kRegistered, kStopSent},
        Script{"ADeathWhileStoppingPutsTheEntryBack",
               {kStart, kConfirm, {Do::StopRegister, S::Stopping}, {Do::Exited, S::Idle}}, kUntouched, kStopSent},
        Script{"AnUnconfirmedStartEndsAtTheJudgementTime",
               {kStart, {Do::Wait, S::Idle, kJudge}}, kUntouched, kStartSent},
        Script{"AFilePlayedToItsEndLeavesTheList",
               {kStart, {Do::Blank, S::Playing}, {Do::Wait, S::Playing, kJudge - 1}, {Do::Wait, S::Idle, 1}},
               {"other.avi 9"}, kStartSent + QStringList{"get_time_length"}}),
    [](const testing::TestParamInfo<Script>& info) { return info.param.name; });
// clang-format on

} // namespace
