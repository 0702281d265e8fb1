// MPlayer killed under the real program's feet: the list comes back, the file's resume entry is
// not lost, and a new MPlayer plays the next file.
#include "support/RavoloDesktop.h"

#include <csignal>
#include <gtest/gtest.h>

TEST(PlayerDeath, TheListComesBackAndANewPlayerPlays) {
    RavoloDesktop desktop;
    const QString clip = desktop.MakeClip(QStringLiteral("clip.avi"), 20);
    ASSERT_FALSE(clip.isEmpty());
    const QString entry = RavoloDesktop::ResumeValue(clip, 3);
    desktop.WriteSetting(QStringLiteral("Resume0"), entry);
    ASSERT_TRUE(desktop.Start());

    desktop.Key(QStringLiteral("Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("clip.avi - Ravolo")));
    ASSERT_TRUE(desktop.WaitForVideo());
    const qint64 player = desktop.PlayerPid();
    ASSERT_NE(player, 0);
    ::kill(pid_t(player), SIGKILL);

    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("Ravolo")));
    ASSERT_TRUE(desktop.WaitForListScreen());
    // The entry taken aside while the file played is back in its place.
    EXPECT_EQ(desktop.StoredResumeList(), QStringList{entry});
    ASSERT_TRUE(desktop.WaitForNewPlayer(player));

    desktop.Key(QStringLiteral("Return"));
    EXPECT_TRUE(desktop.WaitForTitle(QStringLiteral("clip.avi - Ravolo")));
    EXPECT_TRUE(desktop.WaitForVideo());
}
