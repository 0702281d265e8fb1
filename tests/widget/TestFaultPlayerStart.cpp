// MPlayer paths that cannot work and players that never get ready: the view says what the
// program says, refuses to play with the default beep, and stays usable for browsing.
#include "dialogs/CWaitDlg.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/QtPrinters.h"
#include "support/ViewFixture.h"
#include "view/CRavoloView.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kLaunchFailed = QStringLiteral("MPlayer を起動できませんでした。");
// Three readiness windows of 400 ms: long enough for a player that could get ready to do so.
constexpr int kSeveralWindowsMs = 1300;

class FaultPlayerStart : public ViewFixture {
protected:
    void SetUp() override {
        m_Clip = h.MakeFile(QStringLiteral("clips/a clip.avi"));
        h.MakeFile(QStringLiteral("clips/inner/b clip.avi"));
        h.OpenAt(QStringLiteral("clips"));
    }

    QStringList Messages() const { return h.prompter.Texts(ScriptedPrompter::Kind::Message); }
    int Choosers() const {
        return static_cast<int>(h.prompter.Texts(ScriptedPrompter::Kind::Executable).size());
    }

    // A play is refused with the default beep; folders open and close as ever.
    void ExpectBrowsingWithoutPlayback() {
        const size_t beeps = h.beeper.beeps.size();
        ASSERT_TRUE(View().FolderList().isVisible());
        ASSERT_EQ(View().FolderList().RowCount(), 2); // "inner", then "a clip.avi"
        View().FolderList().SelectRow(1, true);
        View().PlaySelectedItem();
        EXPECT_FALSE(View().Session().IsPlaying());
        ASSERT_EQ(h.beeper.beeps.size(), beeps + 1);
        EXPECT_EQ(h.beeper.beeps.back(), BEEP_DEFAULT);
        View().FolderList().SelectRow(0, true);
        View().PlaySelectedItem();
        EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder() + "/clips/inner");
        EXPECT_EQ(View().FolderList().RowCount(), 1);
        View().OnCommand(ID_FOLDER_UP);
        EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder() + "/clips");
        View().OnCommand(ID_SWITCH_SCREEN);
        EXPECT_TRUE(View().ResumeListCtrl().isVisible());
        View().OnCommand(ID_SWITCH_SCREEN);
        EXPECT_TRUE(View().FolderList().isVisible());
    }

    // The path command with the fake player chosen brings playback back.
    void ExpectThePathCommandRecovers() {
        UsePlayer(kAnswers);
        h.prompter.executableAnswers.push_back(FakePlayer::Program());
        View().OnCommand(ID_MPLAYER_PATH);
        ASSERT_TRUE(h.WaitForReady());
        View().FolderList().SelectRow(1, true);
        View().PlaySelectedItem();
        EXPECT_TRUE(View().Session().IsPlaying());
        EXPECT_EQ(h.ProfileOnDisk()->LoadPlayerPath(), FakePlayer::Program());
    }

    // An executable shell script that counts its starts in a file beside it.
    QString FailingScript() {
        const QString path = h.MakeFile(QStringLiteral("bin/failing player"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\necho started >> \"$0.starts\"\nexit 1\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    static int LineCount(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count('\n')) : 0;
    }

    QString m_Clip;
};

using FaultPlayerPath = FaultPlayerStart;
using FaultMisbehavingPlayerView = FaultPlayerStart;

TEST_F(FaultPlayerPath, AFolderOpensTheChooserAndCancellingItFailsTheStart) {
    const QString folder = h.Folder() + "/clips/inner";
    h.Start(folder);
    ASSERT_EQ(Choosers(), 1);
    EXPECT_EQ(h.prompter.prompts[0].initialDir, h.Folder() + "/clips");
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
    EXPECT_FALSE(View().WaitDialog().isVisible());
    EXPECT_EQ(View().Engine().GetPrepState(), PrepState::NotStarted);
    ExpectBrowsingWithoutPlayback();
    ExpectThePathCommandRecovers();
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
}

TEST_F(FaultPlayerPath, AFolderThenAChosenPlayerStartsOnce) {
    UsePlayer(kAnswers);
    h.prompter.executableAnswers.push_back(FakePlayer::Program());
    h.Start(h.Folder());
    ASSERT_TRUE(h.WaitForReady());
    EXPECT_EQ(Choosers(), 1);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(m_Player->Record().Pids().size(), 1);
    EXPECT_EQ(h.ProfileOnDisk()->LoadPlayerPath(), FakePlayer::Program());
}

TEST_F(FaultPlayerPath, AFileThatIsNotExecutableFailsTheStart) {
    const QString plain = h.MakeFile(QStringLiteral("bin/mplayer"));
    h.Start(plain);
    EXPECT_EQ(Choosers(), 0);
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
    EXPECT_FALSE(View().WaitDialog().isVisible());
    ExpectBrowsingWithoutPlayback();
}

// Executable, but no program: its exec fails once the event loop runs, after the wait dialog.
TEST_F(FaultPlayerPath, AnExecutableThatIsNoProgramFailsTheStartAndHidesTheWaitDialog) {
    const QString plain = h.MakeFile(QStringLiteral("bin/mplayer"));
    QFile::setPermissions(plain, QFile::permissions(plain) | QFileDevice::ExeOwner);
    h.Start(plain);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(View().WaitDialog().isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
    EXPECT_FALSE(View().WaitDialog().isVisible());
    EXPECT_EQ(View().Engine().ProcessId(), 0);
    ExpectBrowsingWithoutPlayback();
}

TEST_F(FaultPlayerPath, AScriptThatFailsAtOnceIsGivenUpAfterAFewStarts) {
    const QString script = FailingScript();
    h.Start(script);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !Messages().isEmpty(); }));
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
    const int starts = LineCount(script + ".starts");
    EXPECT_GE(starts, 2);
    EXPECT_LE(starts, 3);
    QTest::qWait(kSeveralWindowsMs);
    EXPECT_EQ(LineCount(script + ".starts"), starts) << "the program keeps starting it";
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
    EXPECT_FALSE(View().WaitDialog().isVisible());
    ExpectBrowsingWithoutPlayback();
    ExpectThePathCommandRecovers();
}

TEST_F(FaultPlayerPath, APathWithSpacesAndJapaneseRuns) {
    UsePlayer(kAnswers);
    const QString dir = h.Folder() + QStringLiteral("/プレーヤー の 置き場");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString link = dir + QStringLiteral("/m player 再生");
    ASSERT_TRUE(QFile::link(FakePlayer::Program(), link));
    h.Start(link);
    ASSERT_TRUE(h.WaitForReady());
    EXPECT_TRUE(h.prompter.prompts.empty());
    EXPECT_EQ(h.ProfileOnDisk()->LoadPlayerPath(), link);
    View().FolderList().SelectRow(1, true);
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitUntilConfirmed());
    EXPECT_TRUE(View().Session().IsPlaying());
}

// ---- players that never get ready ----------------------------------------------------------

TEST_F(FaultMisbehavingPlayerView, NeverReadyKeepsTheWaitDialogAndBeepsOnPlay) {
    const struct {
        const char* name;
        QByteArray script;
        PrepState state;
    } cases[] = {
        {"busy", "mode busy\n", PrepState::Preparing},
        {"silent", "mode silent\n", PrepState::NotStarted},
        {"busy with an endless line without a line feed", "mode busy\nmode stream\n",
         PrepState::Preparing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewHarness harness;
        harness.MakeFile(QStringLiteral("a clip.avi"));
        harness.Profile().WriteString(QStringLiteral("CurrentFolder"), harness.Folder());
        FakePlayer player(c.script);
        harness.Start(FakePlayer::Program());
        CRavoloView& view = harness.View();
        // A busy machine may hold the player back from its first output for a while.
        ASSERT_TRUE(ViewHarness::WaitFor([&] {
            return !player.Record().Pids().isEmpty() && view.Engine().GetPrepState() == c.state;
        }));
        QTest::qWait(kSeveralWindowsMs);
        EXPECT_EQ(view.Engine().GetPrepState(), c.state);
        EXPECT_TRUE(view.WaitDialog().isVisible());
        view.PlaySelectedItem();
        EXPECT_FALSE(view.Session().IsPlaying());
        EXPECT_EQ(harness.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
        EXPECT_TRUE(player.Record().CommandTexts().isEmpty());
        EXPECT_TRUE(harness.prompter.prompts.empty());
    }
}

// Whether a player that only streams is ready depends on how much CPU its writing costs; either
// way a play gets the reaction the rules give it.
TEST_F(FaultMisbehavingPlayerView, AnEndlessLineWithoutLineFeedStartsNothing) {
    UsePlayer("mode stream\n");
    Start();
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !m_Player->Record().Pids().isEmpty(); }));
    QTest::qWait(kSeveralWindowsMs);
    View().FolderList().SelectRow(1, true);
    View().PlaySelectedItem();
    if (!View().Session().IsPlaying()) {
        EXPECT_TRUE(View().WaitDialog().isVisible());
        EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
        return;
    }
    // Ready, but no answer ever ends its line.
    ASSERT_TRUE(WaitForCommands(2));
    h.clock.Advance(2200);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().IsPlaying(); }));
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_HAND});
    EXPECT_TRUE(View().FolderList().isVisible());
}

TEST_F(FaultMisbehavingPlayerView, JunkBeforeTheAnswersIsSurvived) {
    UsePlayer("flood 1048576\n" + kAnswers);
    Start();
    ASSERT_TRUE(h.WaitForReady(30000));
    View().FolderList().SelectRow(1, true);
    View().PlaySelectedItem();
    ASSERT_TRUE(WaitUntilConfirmed());
    View().OnCommand(ID_STOP_REGISTER);
    ASSERT_TRUE(WaitUntilStopped());
    ASSERT_EQ(View().Resume().List().Count(), 1);
    EXPECT_EQ(View().Resume().List().Entries()[0].positionSec, 65u);
    EXPECT_TRUE(h.beeper.beeps.empty());
}

TEST_F(FaultMisbehavingPlayerView, APlayerThatExitsAtOnceIsGivenUpWithOneMessage) {
    UsePlayer("mode exit-at-once\n");
    Start();
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !Messages().isEmpty(); }));
    const qsizetype starts = m_Player->Record().Pids().size();
    EXPECT_LE(starts, 3);
    QTest::qWait(kSeveralWindowsMs);
    EXPECT_EQ(m_Player->Record().Pids().size(), starts);
    EXPECT_EQ(Messages(), QStringList{kLaunchFailed});
    EXPECT_FALSE(View().WaitDialog().isVisible());
    ExpectBrowsingWithoutPlayback();
}

} // namespace
