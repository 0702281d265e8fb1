// What the real program leaves in its profile when playback ends in every way a user or the
// system can end it: stop with and without registration, the end of the file, SIGKILL, SIGTERM
// and the window manager's close.
#include "support/RavoloDesktop.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kPlainTitle = QStringLiteral("Ravolo");
constexpr int kClipSeconds = 20;

QString Entry(int index) {
    return QStringLiteral("Resume%1").arg(index);
}

// "2|<seconds>|<size>|<path>" of a video file, with the seconds within the clip's length.
bool IsEntryOf(const QString& value, const QString& path) {
    const QRegularExpression pattern(QStringLiteral("^2\\|(\\d+)\\|%1\\|%2$")
                                         .arg(QFileInfo(path).size())
                                         .arg(QRegularExpression::escape(path)));
    const QRegularExpressionMatch match = pattern.match(value);
    return match.hasMatch() && match.captured(1).toInt() <= kClipSeconds;
}

} // namespace

class ResumeOnDisk : public testing::Test {
protected:
    // The folder screen on the media folder, and its one clip playing and showing its picture.
    bool StartPlaying() {
        clip = desktop.MakeClip(QStringLiteral("clip.avi"), kClipSeconds);
        desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
        if (clip.isEmpty() || !desktop.Start())
            return false;
        desktop.Key(QStringLiteral("Return"));
        return desktop.WaitForTitle(QStringLiteral("clip.avi - Ravolo")) && desktop.WaitForVideo();
    }

    bool WaitForClipEntryFirst() const {
        return RavoloDesktop::WaitUntil(
            [&] { return IsEntryOf(desktop.ReadSetting(Entry(0)), clip); }, RavoloDesktop::kWaitMs);
    }

    RavoloDesktop desktop;
    QString clip;
};

TEST_F(ResumeOnDisk, CtrlSStopsAndRegistersThePosition) {
    ASSERT_TRUE(StartPlaying());

    desktop.Key(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(desktop.WaitForTitle(kPlainTitle));
    EXPECT_TRUE(WaitForClipEntryFirst()) << desktop.ReadSetting(Entry(0)).toStdString();
    EXPECT_EQ(desktop.StoredResumeList().size(), 1);
}

TEST_F(ResumeOnDisk, EscStopsWithoutAnEntry) {
    ASSERT_TRUE(StartPlaying());

    desktop.Key(QStringLiteral("Escape"));
    ASSERT_TRUE(desktop.WaitForTitle(kPlainTitle));
    // The list screen comes back once MPlayer has answered the stop.
    ASSERT_TRUE(desktop.WaitForListScreen());
    desktop.Process().Terminate();
    ASSERT_TRUE(desktop.WaitForExit());
    EXPECT_TRUE(desktop.StoredResumeList().isEmpty());
}

TEST_F(ResumeOnDisk, AClipPlayedToItsEndLeavesTheListAndTheNextOneStarts) {
    const QString first = desktop.MakeClip(QStringLiteral("a.avi"), 2);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(desktop.MakeClip(QStringLiteral("b.avi"), kClipSeconds).isEmpty());
    desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
    desktop.WriteSetting(Entry(0), RavoloDesktop::ResumeValue(first, 0));
    // The resume screen opens with the clip's entry selected.
    ASSERT_TRUE(desktop.Start());

    desktop.Key(QStringLiteral("Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("a.avi - Ravolo")));
    // Continuous mode (on by default) starts the next file of the folder.
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("b.avi - Ravolo")));
    EXPECT_TRUE(desktop.WaitForSetting(Entry(0), QString()));
}

TEST_F(ResumeOnDisk, SigkillDuringPlaybackKeepsTheEntriesOfTheFileAndTheOthers) {
    QStringList stored;
    for (const QString& name :
         {QStringLiteral("x.avi"), QStringLiteral("clip.avi"), QStringLiteral("y.avi")}) {
        const QString path = desktop.MakeClip(name, name == QStringLiteral("clip.avi") ? 20 : 1);
        ASSERT_FALSE(path.isEmpty());
        stored << RavoloDesktop::ResumeValue(path, 3);
        desktop.WriteSetting(Entry(int(stored.size()) - 1), stored.last());
    }
    ASSERT_TRUE(desktop.Start());

    // The second entry of the resume screen: the one taken aside while it plays.
    desktop.Key(QStringLiteral("Down Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("clip.avi - Ravolo")));
    ASSERT_TRUE(desktop.WaitForVideo());
    const qint64 player = desktop.PlayerPid();
    ::kill(pid_t(desktop.Process().Pid()), SIGKILL);
    ASSERT_TRUE(desktop.WaitForExit());

    EXPECT_EQ(desktop.StoredResumeList(), stored);
    EXPECT_TRUE(RavoloDesktop::WaitForProcessGone(player));
}

TEST_F(ResumeOnDisk, SigtermDuringPlaybackStoresThePositionAndEndsCleanly) {
    ASSERT_TRUE(StartPlaying());
    const qint64 player = desktop.PlayerPid();

    desktop.Process().Terminate();
    ASSERT_TRUE(desktop.WaitForExit());
    EXPECT_TRUE(desktop.Process().EndedCleanly());
    EXPECT_EQ(desktop.Process().ExitCode(), 0);
    EXPECT_TRUE(IsEntryOf(desktop.ReadSetting(Entry(0)), clip))
        << desktop.ReadSetting(Entry(0)).toStdString();
    EXPECT_TRUE(RavoloDesktop::WaitForProcessGone(player));
}

TEST_F(ResumeOnDisk, AltF4DuringPlaybackStoresThePositionAndThenEnds) {
    ASSERT_TRUE(StartPlaying());

    // openbox turns Alt+F4 into a close request to the active window.
    desktop.Key(QStringLiteral("alt+F4"));
    ASSERT_TRUE(desktop.WaitForExit());
    EXPECT_TRUE(desktop.Process().EndedCleanly());
    EXPECT_EQ(desktop.Process().ExitCode(), 0);
    EXPECT_TRUE(IsEntryOf(desktop.ReadSetting(Entry(0)), clip))
        << desktop.ReadSetting(Entry(0)).toStdString();
}

TEST_F(ResumeOnDisk, MPlayerDoesNotOutliveAKilledProgram) {
    ASSERT_TRUE(desktop.Start());
    // Idle, MPlayer writes nothing, so no broken pipe would end it.
    const qint64 player = desktop.PlayerPid();
    ASSERT_NE(player, 0);
    ::kill(pid_t(desktop.Process().Pid()), SIGKILL);
    ASSERT_TRUE(desktop.WaitForExit());
    const bool gone = RavoloDesktop::WaitForProcessGone(player, 5000);
    EXPECT_TRUE(gone);
    if (!gone)
        ::kill(pid_t(player), SIGKILL);
}
