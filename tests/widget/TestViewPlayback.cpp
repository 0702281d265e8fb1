// The view's playback sessions against the fake player: the exact commands, the start and end
// checks on an injected clock, and what the resume list and the profile hold afterwards.
#include "dialogs/CInqResumeDeleteDlg.h"
#include "dialogs/QtPrompter.h"
#include "platform/MprisService.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/ModalDriver.h"
#include "support/PrivateBus.h"
#include "support/QtPrinters.h"
#include "support/ViewHarness.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"

#include <QDBusMessage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using ViewTestKit::PressKey;

const QByteArray kAnswers = "on get_time_length reply ANS_LENGTH=120.00\n"
                            "on get_time_pos reply ANS_TIME_POSITION=65.4\n";
// The position comes late: a stop waits for it long enough for keys to arrive meanwhile.
const QByteArray kLatePosition = "on get_time_length reply ANS_LENGTH=120.00\n"
                                 "on get_time_pos after 600 reply ANS_TIME_POSITION=65.4\n";

QByteArray Load(const QString& path) {
    return "loadfile \"" + path.toUtf8() + "\"";
}

class ViewPlayback : public testing::Test {
protected:
    void SetUp() override {
        m_Clip = h.MakeFile(QStringLiteral("clips/a clip.avi"), 4096);
        m_Next = h.MakeFile(QStringLiteral("clips/b clip.avi"), 8192);
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/clips");
    }
    void StartWith(const QByteArray& script) {
        m_Player = std::make_unique<FakePlayer>(script);
        h.Start(FakePlayer::Program());
        ASSERT_TRUE(h.WaitForReady());
    }
    QList<QByteArray> Commands() const { return m_Player->Record().CommandTexts(); }
    bool WaitForCommands(int count) {
        return ViewHarness::WaitFor([&] { return Commands().size() >= count; });
    }
    CRavoloView& View() { return h.View(); }
    // Plays the selected row until MPlayer's first answer has confirmed the start.
    bool PlayUntilConfirmed() {
        View().PlaySelectedItem();
        return ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); });
    }

    ViewHarness h;
    std::unique_ptr<FakePlayer> m_Player;
    QString m_Clip;
    QString m_Next;
};

TEST_F(ViewPlayback, PlayingFromTheFolderScreenLoadsThenAsksForTheLength) {
    StartWith(kAnswers);
    View().PlaySelectedItem();
    EXPECT_TRUE(View().Session().IsPlaying());
    EXPECT_EQ(h.frame.documentTitle, QStringLiteral("a clip.avi"));
    EXPECT_TRUE(h.frame.playbackActive);
    EXPECT_TRUE(h.pointer.hidden);
    EXPECT_FALSE(View().FolderList().isVisible());
    ASSERT_TRUE(WaitForCommands(2));
    EXPECT_EQ(Commands(), (QList<QByteArray>{Load(m_Clip), "get_time_length"}));
    // The length answer confirms the start.
    EXPECT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); }));
}

TEST_F(ViewPlayback, StopWithRegistrationStoresTheWholeSecondsOnDisk) {
    StartWith(kAnswers);
    ASSERT_TRUE(PlayUntilConfirmed());
    View().OnCommand(ID_STOP_REGISTER);
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_EQ(h.frame.documentTitle, QString());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    ASSERT_TRUE(WaitForCommands(4));
    EXPECT_EQ(Commands().mid(2), (QList<QByteArray>{"get_time_pos", "stop"}));
    ASSERT_EQ(View().Resume().List().Count(), 1);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              QStringLiteral("2|65|4096|") + m_Clip);
    EXPECT_TRUE(View().FolderList().isVisible());
    EXPECT_EQ(View().FolderList().SelectedRow(), 0);
}

TEST_F(ViewPlayback, StopWithoutRegistrationPutsTheOldEntryBackInItsPlace) {
    h.Profile().WriteString(QStringLiteral("Resume0"), QStringLiteral("2|10|1|/x/first.avi"));
    h.Profile().WriteString(QStringLiteral("Resume1"), QStringLiteral("2|30|4096|") + m_Clip);
    h.Profile().WriteString(QStringLiteral("Resume2"), QStringLiteral("2|20|1|/x/third.avi"));
    StartWith(kAnswers);
    ASSERT_TRUE(View().ResumeListCtrl().SelectRow(1, true));
    ASSERT_TRUE(PlayUntilConfirmed());
    EXPECT_EQ(View().Resume().List().Count(), 2);
    View().OnCommand(ID_STOP_NO_REGISTER);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    const QList<MediaItem>& entries = View().Resume().List().Entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[1].path, m_Clip);
    EXPECT_EQ(entries[1].positionSec, 30u);
    // Back on the resume screen with the played entry selected.
    EXPECT_TRUE(View().ResumeListCtrl().isVisible());
    EXPECT_EQ(View().ResumeListCtrl().SelectedRow(), 1);
}

TEST_F(ViewPlayback, AResumeEntryIsHeldWhileItsFilePlaysYetStaysOnDisk) {
    h.Profile().WriteString(QStringLiteral("Resume0"), QStringLiteral("2|754|4096|") + m_Clip);
    StartWith(kAnswers);
    ASSERT_TRUE(View().State().m_bResumeScreen);
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitForCommands(3));
    EXPECT_EQ(Commands(), (QList<QByteArray>{Load(m_Clip), "get_time_length", "seek 754 2"}));
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); }));
    EXPECT_EQ(View().Resume().List().Count(), 0);
    // A crash now must not lose the entry.
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              QStringLiteral("2|754|4096|") + m_Clip);
    View().OnCommand(ID_STOP_REGISTER);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    ASSERT_EQ(View().Resume().List().Count(), 1);
    EXPECT_EQ(View().Resume().List().Entries()[0].positionSec, 65u);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume1")), QString());
}

// Keys given while a stop waits for the position run once it has come, on the list it brings
// back: the stopped file's entry is stored first, and nothing is lost.
TEST_F(ViewPlayback, APlayWhileAStopWaitsRunsOnceTheStopHasEnded) {
    h.Profile().WriteString(QStringLiteral("Resume0"), QStringLiteral("2|754|4096|") + m_Clip);
    StartWith(kLatePosition);
    View().OnCommand(ID_SWITCH_SCREEN_CARRY);
    ASSERT_TRUE(PlayUntilConfirmed());
    PressKey(View(), Qt::Key_S, Qt::ControlModifier);
    PressKey(View(), Qt::Key_Down);
    PressKey(View(), Qt::Key_Return);
    EXPECT_TRUE(View().Session().Stopping());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return View().Session().IsPlaying(); }));
    EXPECT_EQ(View().State().m_CurrentItem.path, m_Clip);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              QStringLiteral("2|65|4096|") + m_Clip);
}

TEST_F(ViewPlayback, AClosingWhileAStopWaitsStoresThePositionAndThenCloses) {
    StartWith(kLatePosition);
    ASSERT_TRUE(PlayUntilConfirmed());
    View().OnCommand(ID_STOP_REGISTER);
    ASSERT_TRUE(View().HasPlaybackToFinish());
    View().StopForShutdown(); // what the frame does with a close now
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return h.frame.closeRequests == 1; }));
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              QStringLiteral("2|65|4096|") + m_Clip);
}

TEST_F(ViewPlayback, AHandOverWhileAStopWaitsRunsOnceTheStopHasEnded) {
    StartWith(kLatePosition);
    ASSERT_TRUE(PlayUntilConfirmed());
    View().OnCommand(ID_STOP_REGISTER);
    View().OpenPaths({m_Next});
    EXPECT_TRUE(View().Session().Stopping());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return View().Session().IsPlaying(); }));
    EXPECT_EQ(View().State().m_CurrentItem.path, m_Next);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              QStringLiteral("2|65|4096|") + m_Clip);
}

TEST_F(ViewPlayback, NoAnswerWithinTheJudgementTimeBeepsWithTheHandAndReturns) {
    StartWith("");
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitForCommands(2));
    h.clock.Advance(2199);
    QTest::qWait(120);
    EXPECT_TRUE(View().Session().IsPlaying());
    h.clock.Advance(1);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().IsPlaying(); }));
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_HAND});
    EXPECT_TRUE(View().FolderList().isVisible());
    EXPECT_FALSE(h.frame.playbackActive);
}

TEST_F(ViewPlayback, ALateLengthAnswerStopsMPlayerWithoutRegistering) {
    StartWith("on get_time_length after 400 reply ANS_LENGTH=5\n"
              "on get_time_pos reply ANS_TIME_POSITION=1\n");
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitForCommands(2));
    h.clock.Advance(5000);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().IsPlaying(); }));
    ASSERT_TRUE(WaitForCommands(4));
    EXPECT_EQ(Commands().mid(2), (QList<QByteArray>{"get_time_pos", "stop"}));
    EXPECT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    EXPECT_EQ(View().Resume().List().Count(), 0);
}

TEST_F(ViewPlayback, TheEndOfAFileStartsTheNextOneInContinuousMode) {
    // The blank line confirms the start and arms the end check; the length query after it
    // stays unanswered, as MPlayer leaves it once the file has ended.
    StartWith("on loadfile after 200 reply \n");
    View().PlaySelectedItem();
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return View().Session().EndCheckArmed(); }));
    h.clock.Advance(2200);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return Commands().contains(Load(m_Next)); }));
    EXPECT_TRUE(View().Session().IsPlaying());
    EXPECT_FALSE(View().State().m_bResumeScreen);
    EXPECT_EQ(View().State().m_CurrentItem.path, m_Next);
}

TEST_F(ViewPlayback, PausingQueuesMuteThenPauseFourTicksLater) {
    StartWith(kAnswers);
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitForCommands(2));
    View().OnCommand(ID_PAUSE);
    ASSERT_TRUE(WaitForCommands(4));
    const auto entries = m_Player->Record().Commands();
    EXPECT_EQ(entries[2].bytes, QByteArray("mute 1"));
    EXPECT_EQ(entries[3].bytes, QByteArray("pause"));
    // The pause waits three ticks at the head of the queue after the mute.
    EXPECT_GE(entries[3].ms - entries[2].ms, 150);
}

TEST_F(ViewPlayback, AStartAfterAMutedStopUnmutesBehindTheLoad) {
    StartWith(kAnswers);
    View().PlaySelectedItem();
    View().OnCommand(ID_PAUSE);
    View().OnCommand(ID_STOP_NO_REGISTER);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    ASSERT_TRUE(ViewTestKit::SelectNamed(View().FolderList(), QStringLiteral("b clip.avi")));
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitForCommands(9));
    // MPlayer ignores "mute 0" while idle.
    EXPECT_EQ(Commands().mid(4), (QList<QByteArray>{"get_time_pos", "stop", Load(m_Next), "mute 0",
                                                    "get_time_length"}));
}

TEST_F(ViewPlayback, AnUnreadableOrEmptyFileIsRefusedWithTheDefaultBeep) {
    StartWith(kAnswers);
    h.MakeFile(QStringLiteral("clips/0 empty.avi"), 0);
    View().OnCommand(ID_SWITCH_SCREEN);
    View().OnCommand(ID_SWITCH_SCREEN);
    ASSERT_EQ(View().FolderList().SelectedRow(), 0);
    View().PlaySelectedItem();
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
    QTest::qWait(150);
    EXPECT_TRUE(Commands().isEmpty());
}

TEST_F(ViewPlayback, MPlayerDyingDuringPlaybackBringsTheListBackAndRestartsIt) {
    StartWith("on get_time_length reply ANS_LENGTH=120\non seek exit 1\n");
    ASSERT_TRUE(PlayUntilConfirmed());
    View().OnCommand(ID_SEEK_START);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().IsPlaying(); }));
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
    EXPECT_TRUE(View().FolderList().isVisible());
    // A new MPlayer comes up and a new play works.
    ASSERT_TRUE(h.WaitForReady());
    View().PlaySelectedItem();
    EXPECT_TRUE(View().Session().IsPlaying());
}

// The view timer sleeps while nothing is pending and wakes for work.
TEST_F(ViewPlayback, TheTimerSleepsWhenIdleAndWakesForACommand) {
    StartWith(kAnswers);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().IsTicking(); }));
    View().PlaySelectedItem();
    EXPECT_TRUE(View().IsTicking());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); }));
    View().OnCommand(ID_PAUSE);
    // Paused, the pointer away from the view: nothing left to do once the pause is written.
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().IsTicking(); }));
    EXPECT_TRUE(View().Engine().Queue().Pending().empty());
    ASSERT_TRUE(WaitForCommands(4));
    EXPECT_EQ(Commands().mid(2), (QList<QByteArray>{"mute 1", "pause"}));
}

TEST_F(ViewPlayback, FastForwardKeepsTheTimerStepping) {
    StartWith(kAnswers);
    ASSERT_TRUE(PlayUntilConfirmed());
    View().OnCommand(ID_FF_X4);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return Commands().count("seek 2 0") >= 2; }));
    EXPECT_TRUE(View().IsTicking());
    View().OnCommand(ID_PAUSE); // back to normal speed
    EXPECT_TRUE(ViewHarness::WaitFor([&] { return !View().IsTicking(); }));
}

TEST_F(ViewPlayback, APointerMoveWakesTheTimerToShowThePointerUntilItHidesAgain) {
    StartWith(kAnswers);
    const QPoint centre = View().rect().center();
    View().setMouseTracking(true); // as the desktop's pointer sets it
    h.pointer.position = View().mapToGlobal(centre);
    View().PlaySelectedItem();
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().IsTicking(); }));
    EXPECT_TRUE(h.pointer.hidden);
    h.pointer.position += QPoint(10, 0);
    QMouseEvent move(QEvent::MouseMove, centre + QPoint(10, 0), h.pointer.position, Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&View(), &move);
    EXPECT_TRUE(View().IsTicking());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !h.pointer.hidden; }));
    EXPECT_TRUE(ViewHarness::WaitFor([&] { return h.pointer.hidden && !View().IsTicking(); }));
}

} // namespace

namespace {

TEST_F(ViewPlayback, TheDesktopMediaControlsActAsTheMediaKeys) {
    StartWith(kAnswers);
    EXPECT_EQ(View().PlaybackStatus(), QStringLiteral("Stopped"));
    View().PerformMediaKey(Qt::Key_MediaTogglePlayPause);
    EXPECT_EQ(View().PlaybackStatus(), QStringLiteral("Playing"));
    EXPECT_EQ(View().PlayingTitle(), QStringLiteral("a clip.avi"));
    View().PerformMediaKey(Qt::Key_MediaTogglePlayPause);
    EXPECT_EQ(View().PlaybackStatus(), QStringLiteral("Paused"));
    View().PerformMediaKey(Qt::Key_MediaStop);
    EXPECT_EQ(View().PlaybackStatus(), QStringLiteral("Stopped"));
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    EXPECT_EQ(View().Resume().List().Count(), 1); // the media stop registers
}

} // namespace

namespace {

TEST_F(ViewPlayback, NothingFromOutsideActsBehindTheDeleteQuestion) {
    h.Profile().WriteString(QStringLiteral("Resume0"),
                            ViewTestKit::ResumeEntry(2, 30, 4096, m_Clip));
    h.Profile().WriteString(QStringLiteral("Resume1"),
                            ViewTestKit::ResumeEntry(2, 40, 8192, m_Next));
    StartWith(kAnswers);
    PrivateBus bus;
    ASSERT_TRUE(bus.IsRunning());
    MprisService mpris(View(), bus.Connect(QStringLiteral("mpris-service")));
    ASSERT_TRUE(mpris.IsRegistered());
    QDBusConnection client = bus.Connect(QStringLiteral("mpris-client"));
    // The real question, modal over the window.
    QtPrompter dialogs(&h.frame.window);
    h.prompter.onPrompt = [&](const ScriptedPrompter::Prompt&) {
        h.prompter.resumeDeleteAnswers.push_back(dialogs.ConfirmResumeDelete());
    };
    OnNextModal<CInqResumeDeleteDlg>([&](CInqResumeDeleteDlg* dialog) {
        const QDBusMessage playPause = QDBusMessage::createMethodCall(
            MprisService::kServiceName, MprisService::kObjectPath,
            QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlayPause"));
        EXPECT_EQ(client.call(playPause, QDBus::BlockWithGui, 5000).type(),
                  QDBusMessage::ReplyMessage);
        View().OpenPaths({m_Next});
        dialog->YesButton()->click();
    });
    View().OnCommand(ID_RESUME_DELETE);
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_TRUE(ViewTestKit::QueuedCommands(View()).isEmpty());
    // Exactly the asked entry is gone, on disk too.
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              ViewTestKit::ResumeEntry(2, 40, 8192, m_Next));
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume1")), QString());
    EXPECT_TRUE(View().ResumeListCtrl().isVisible());
}

} // namespace
