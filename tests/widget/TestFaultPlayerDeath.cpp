// MPlayer dying under the view, in every state a session can be in: the view comes back to its
// list, starts a new MPlayer, plays again, and the resume entry of the file survives.
#include "dialogs/CWaitDlg.h"
#include "platform/AppEvents.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/StoredResume.h"
#include "support/ViewFixture.h"
#include "view/CRavoloView.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class FaultPlayerDeath : public ViewFixture {
protected:
    void SetUp() override {
        m_Clip = h.MakeFile(QStringLiteral("clips/a clip.avi"), 4096);
        h.MakeFile(QStringLiteral("clips/b clip.avi"), 4096);
        h.OpenAt(QStringLiteral("clips"));
        h.StoreResume(0, Entry());
        h.Profile().Sync();
    }

    // The first MPlayer runs `script`; every later one answers normally.
    void StartWith(const QByteArray& script, bool waitForReady = true) {
        UsePlayer(script);
        Start();
        // The first MPlayer is spawned once events run.
        ASSERT_TRUE(ViewHarness::WaitFor([&] { return View().Engine().ProcessId() != 0; }));
        m_LaterScript.Set("RAVOLO_FAKE_SCRIPT", kAnswers);
        if (waitForReady) {
            ASSERT_TRUE(h.WaitForReady());
        }
    }
    void PlayAndConfirm() {
        View().PlaySelectedItem();
        ASSERT_TRUE(View().Session().IsPlaying());
        ASSERT_TRUE(WaitUntilConfirmed());
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
        EXPECT_EQ(h.ResumeOnDisk(0), Entry());

        ASSERT_TRUE(View().ResumeListCtrl().SelectRow(0, true));
        PlayAndConfirm();
        // Nothing queued for the dead MPlayer reaches the new one.
        EXPECT_EQ(m_Player->Record().CommandTextsOfLaunch(1).value(0),
                  "loadfile \"" + m_Clip.toUtf8() + "\"");
        View().OnCommand(ID_STOP_REGISTER);
        ASSERT_TRUE(WaitUntilStopped());
        EXPECT_EQ(h.ResumeOnDisk(0), StoredResume::Video(m_Clip, 65));
        EXPECT_EQ(h.ResumeOnDisk(1), QString());
    }

    // The one entry, of the first clip.
    QString Entry() const { return StoredResume::Video(m_Clip, 754); }

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
    EXPECT_EQ(h.ResumeOnDisk(0), Entry());
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
