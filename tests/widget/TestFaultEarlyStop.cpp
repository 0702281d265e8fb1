// A stop given before MPlayer's first answer: the answers that come after it still belong to
// the stopped file, and the resume list ends with exactly one entry for it.
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <gtest/gtest.h>

namespace {

TEST(FaultEarlyStop, AStopBeforeTheFirstAnswerLeavesOneEntry) {
    const struct {
        int command;
        uint32_t position; // of the one entry afterwards
    } cases[] = {{ID_STOP_REGISTER, 65}, {ID_STOP_NO_REGISTER, 754}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ViewHarness h;
        const QString clip = h.MakeFile(QStringLiteral("a clip.avi"));
        h.Profile().WriteString(QStringLiteral("Resume0"), QStringLiteral("2|9|1|/x/other.avi"));
        h.Profile().WriteString(QStringLiteral("Resume1"), QStringLiteral("2|754|4096|") + clip);
        // The length answer comes after the stop, and before the position.
        FakePlayer player("on get_time_length after 300 reply ANS_LENGTH=120\n"
                          "on get_time_pos after 600 reply ANS_TIME_POSITION=65.4\n");
        CRavoloView& view = h.Start(FakePlayer::Program());
        ASSERT_TRUE(h.WaitForReady());
        ASSERT_TRUE(view.ResumeListCtrl().SelectRow(1, true));
        view.PlaySelectedItem();
        ASSERT_TRUE(view.Session().IsPlaying());
        view.OnCommand(c.command);
        ASSERT_TRUE(view.Session().StartCheckArmed());
        ASSERT_TRUE(ViewHarness::WaitFor(
            [&] { return !view.Session().Stopping() && view.ResumeListCtrl().isVisible(); }));

        const QList<MediaItem>& entries = view.Resume().List().Entries();
        ASSERT_EQ(entries.size(), 2);
        const int own = c.command == ID_STOP_REGISTER ? 0 : 1;
        EXPECT_EQ(entries[own].path, clip);
        EXPECT_EQ(entries[own].positionSec, c.position);
        EXPECT_EQ(entries[1 - own].path, QStringLiteral("/x/other.avi"));
        EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume2")), QString());
    }
}

} // namespace
