// The real MPlayer killed while it plays a file for the view: the view returns to its list,
// starts MPlayer again, keeps the file's resume entry, and plays again.
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/MPlayerHome.h"
#include "support/Patience.h"
#include "support/TestMedia.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr char kMPlayer[] = "/usr/bin/mplayer";
constexpr int kWaitMs = kPatienceMs;

TEST(FaultRealMPlayer, KilledWhileAFilePlays) {
    MPlayerHome home;
    ASSERT_TRUE(home.IsValid());
    ViewHarness h;
    const QString clip = h.Folder() + "/clip.avi";
    ASSERT_TRUE(TestMedia::MakeClip(clip, 20));
    const QString entry =
        QStringLiteral("2|3|%1|").arg(QFileInfo(clip).size()) + clip; // resume at 3 s
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder());
    h.Profile().WriteString(QStringLiteral("Resume0"), entry);
    CRavoloView& view = h.Start(kMPlayer);
    ASSERT_TRUE(h.WaitForReady(kWaitMs));
    ASSERT_TRUE(view.State().m_bResumeScreen);

    view.PlaySelectedItem();
    ASSERT_TRUE(view.Session().IsPlaying());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !view.Session().StartCheckArmed(); }, kWaitMs));
    ASSERT_TRUE(view.Engine().Queue().Pending().empty() ||
                ViewHarness::WaitFor([&] { return view.Engine().Queue().Pending().empty(); }));
    const pid_t first = view.Engine().ProcessId();
    ASSERT_EQ(kill(first, SIGKILL), 0);

    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !view.Session().IsPlaying(); }, kWaitMs));
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
    EXPECT_TRUE(view.ResumeListCtrl().isVisible());
    ASSERT_EQ(view.Resume().List().Count(), 1);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")), entry);
    ASSERT_TRUE(h.WaitForReady(kWaitMs));
    EXPECT_NE(view.Engine().ProcessId(), first);

    // The new MPlayer plays the file, and a stop stores the position it reports.
    ASSERT_TRUE(view.ResumeListCtrl().SelectRow(0, true));
    view.PlaySelectedItem();
    ASSERT_TRUE(view.Session().IsPlaying());
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !view.Session().StartCheckArmed(); }, kWaitMs));
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return view.Engine().Queue().Pending().empty(); }));
    view.OnCommand(ID_STOP_REGISTER);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !view.Session().Stopping(); }, kWaitMs));
    ASSERT_EQ(view.Resume().List().Count(), 1);
    EXPECT_GE(view.Resume().List().Entries()[0].positionSec, 3u);
    EXPECT_TRUE(h.prompter.prompts.empty());
}

} // namespace
