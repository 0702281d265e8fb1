// MPlayer dying under the view, in every state a session can be in: the view comes back to its
// list, starts a new MPlayer, plays again, and the resume entry of the file survives.
#include "dialogs/CWaitDlg.h"
#include "platform/AppEvents.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QByteArray kAnswers = "on get_time_length reply ANS_LENGTH=120.00\n"
                            "on get_time_pos reply ANS_TIME_POSITION=65.4\n";
const QString kEntry = QStringLiteral("2|754|4096|");

class FaultPlayerDeath : public testing::Test {
protected:
    void SetUp() override {
        m_Clip = h.MakeFile(QStringLiteral("clips/a clip.avi"), 4096);
        h.MakeFile(QStringLiteral("clips/b clip.avi"), 4096);
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/clips");
        h.Profile().WriteString(QStringLiteral("Resume0"), kEntry + m_Clip);
        h.Profile().Sync();
    }

    // The first MPlayer runs `script`; every later one answers normally.
    void StartWith(const QByteArray& script, bool waitForReady = true) {
        m_Player = std::make_unique<FakePlayer>(script);
        h.Start(FakePlayer::Program());
        m_LaterScript.Set("RAVOLO_FAKE_SCRIPT", kAnswers);
        if (waitForReady) {
            ASSERT_TRUE(h.WaitForReady());
        }
    }
    void PlayAndConfirm() {
        View().PlaySelectedItem();
        ASSERT_TRUE(View().Session().IsPlaying());
        ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); }));
    }
    bool WaitForCommand(const QByteArray& text) {
        return ViewHarness::WaitFor(
            [&] { return m_Player->Record().CommandTextsOfLaunch(0).contains(text); });
    }
    void KillPlayer() {
        const pid_t pid = View().Engine().ProcessId();
        ASSERT_GT(pid, 0);
        ASSERT_EQ(kill(pid, SIGKILL), 0);
    }

    // Back on the resume screen, a new MPlayer up, the entry as it was, and a new play works.
    void ExpectRecovery(bool wasPlaying) {
        ASSERT_TRUE(ViewHarness::WaitFor([&] { return m_Player->Record().Pids().size() >= 2; }));
        ASSERT_TRUE(h.WaitForReady());
        EXPECT_FALSE(View().Session().IsPlaying());
        EXPECT_FALSE(View().Session().Stopping());
        EXPECT_TRUE(View().ResumeListCtrl().isVisible());
        EXPECT_FALSE(h.frame.playbackActive);
        EXPECT_EQ(h.beeper.beeps,
                  wasPlaying ? std::vector<BeepType>{BEEP_DEFAULT} : std::vector<BeepType>{});
        ASSERT_EQ(View().Resume().List().Count(), 1);
        EXPECT_EQ(View().Resume().List().Entries()[0].positionSec, 754u);
        EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")), kEntry + m_Clip);

        ASSERT_TRUE(View().ResumeListCtrl().SelectRow(0, true));
        PlayAndConfirm();
        // Nothing queued for the dead MPlayer reaches the new one.
        EXPECT_EQ(m_Player->Record().CommandTextsOfLaunch(1).value(0),
                  "loadfile \"" + m_Clip.toUtf8() + "\"");
        View().OnCommand(ID_STOP_REGISTER);
        ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
        EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
                  QStringLiteral("2|65|4096|") + m_Clip);
        EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume1")), QString());
    }

    CRavoloView& View() { return h.View(); }

    ViewHarness h;
    std::unique_ptr<FakePlayer> m_Player;
    ScopedEnvironment m_LaterScript;
    QString m_Clip;
};

TEST_F(FaultPlayerDeath, KilledWhileIdle) {
    StartWith(kAnswers);
    KillPlayer();
    ExpectRecovery(false);
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(FaultPlayerDeath, KilledWhilePreparing) {
    StartWith("mode busy\n", false);
    ASSERT_TRUE(ViewHarness::WaitFor(
        [&] { return View().Engine().GetPrepState() == PrepState::Preparing; }));
    EXPECT_TRUE(View().WaitDialog().isVisible());
    KillPlayer();
    ExpectRecovery(false);
    EXPECT_FALSE(View().WaitDialog().isVisible());
}

TEST_F(FaultPlayerDeath, KilledWhileAFilePlays) {
    StartWith(kAnswers);
    PlayAndConfirm();
    ASSERT_TRUE(WaitForCommand("seek 754 2"));
    EXPECT_EQ(View().Resume().List().Count(), 0) << "the entry is held while its file plays";
    KillPlayer();
    ExpectRecovery(true);
}

TEST_F(FaultPlayerDeath, KilledWhilePaused) {
    StartWith(kAnswers);
    PlayAndConfirm();
    View().OnCommand(ID_PAUSE);
    ASSERT_TRUE(WaitForCommand("pause"));
    KillPlayer();
    ExpectRecovery(true);
}

// The fake player exits on "mute 1", so the "pause" queued after it is still waiting.
TEST_F(FaultPlayerDeath, DeadWhileCommandsWaitLeavesNoneForTheNextMPlayer) {
    StartWith(kAnswers + "on mute exit 9\n");
    PlayAndConfirm();
    View().OnCommand(ID_PAUSE);
    ExpectRecovery(true);
}

TEST_F(FaultPlayerDeath, KilledWhileAStopWaitsForThePosition) {
    StartWith("on get_time_length reply ANS_LENGTH=120.00\n");
    PlayAndConfirm();
    View().OnCommand(ID_STOP_REGISTER);
    ASSERT_TRUE(WaitForCommand("get_time_pos"));
    ASSERT_EQ(View().Session().PendingStop(), StopReason::Register);
    KillPlayer();
    ExpectRecovery(true);
}

TEST_F(FaultPlayerDeath, KilledWhileAStopForClosingWaitsClosesTheWindow) {
    StartWith("on get_time_length reply ANS_LENGTH=120.00\n");
    PlayAndConfirm();
    View().StopForShutdown();
    ASSERT_TRUE(WaitForCommand("get_time_pos"));
    KillPlayer();
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return h.frame.closeRequests == 1; }));
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")), kEntry + m_Clip);
}

// A death noticed for an MPlayer that a path change or restart has already replaced.
TEST_F(FaultPlayerDeath, AStaleDeathNoticeLeavesTheRunningPlayerAlone) {
    StartWith(kAnswers);
    const pid_t pid = View().Engine().ProcessId();
    QCoreApplication::postEvent(&View(),
                                new CAppEvent(WM_MP_EXITED, View().Engine().LaunchNumber() - 1));
    QCoreApplication::sendPostedEvents(&View());
    EXPECT_EQ(View().Engine().ProcessId(), pid);
    EXPECT_EQ(View().Engine().GetPrepState(), PrepState::Ready);
}

} // namespace
