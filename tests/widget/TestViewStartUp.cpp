// The view's start-up: the first screen, a stale folder, the wait dialog and the MPlayer path;
// and the layout of its lists at every size step.
#include "controls/CImageList.h"
#include "dialogs/CWaitDlg.h"
#include "resources/CommandIds.h"
#include "settings/ProgramVersion.h"
#include "settings/SettingsStore.h"
#include "support/MPlayerHome.h"
#include "support/QtPrinters.h"
#include "support/StoredResume.h"
#include "support/ViewFixture.h"
#include "support/ViewTestKit.h"
#include "view/PathParts.h"
#include "view/TitleGeometry.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QStandardPaths>
#include <QStyle>
#include <gtest/gtest.h>

using namespace ViewTestKit;
using Kind = ScriptedPrompter::Kind;

namespace {

const QString kNotFound = QStringLiteral("フォルダーが見つかりません。");

// ---- start-up ---------------------------------------------------------------------------

class ViewStartUp : public ViewFixture {};

TEST_F(ViewStartUp, AnEmptyProfileOpensTheFolderScreenWithTheDrivesHomeFirst) {
    CRavoloView& view = Start();
    EXPECT_EQ(h.frame.documentTitle, QString());
    EXPECT_FALSE(view.State().m_bResumeScreen);
    EXPECT_TRUE(view.Folder().AtDriveLevel());
    EXPECT_TRUE(view.FolderList().isVisible());
    EXPECT_FALSE(view.ResumeListCtrl().isVisible());
    ASSERT_FALSE(view.Folder().Items().isEmpty());
    EXPECT_EQ(PathParts::DriveRoot(view.Folder().Items()[0].path), QDir::homePath());
    EXPECT_EQ(view.FolderList().RowCount(), view.Folder().Items().size());
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(ViewStartUp, AStoredResumeEntryOpensTheResumeScreen) {
    const QString clip = h.MakeFile(QStringLiteral("a.avi"));
    h.StoreResume(0, StoredResume::Video(clip, 5));
    CRavoloView& view = Start();
    EXPECT_TRUE(view.State().m_bResumeScreen);
    EXPECT_TRUE(view.ResumeListCtrl().isVisible());
    EXPECT_FALSE(view.FolderList().isVisible());
    EXPECT_EQ(SelectedName(view.ResumeListCtrl()), QStringLiteral("a.avi"));
}

TEST_F(ViewStartUp, AStaleFolderAsksAgainWhileRetryFindsNothingAndCancelListsTheDrives) {
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/gone");
    h.prompter.retryAnswers = {true, true}; // then Cancel
    CRavoloView& view = Start();
    EXPECT_EQ(h.prompter.Texts(Kind::Retry), QStringList(3, kNotFound));
    EXPECT_TRUE(view.Folder().AtDriveLevel());
    EXPECT_GT(view.FolderList().RowCount(), 0);
}

TEST_F(ViewStartUp, RetryOnceTheFolderIsBackListsIt) {
    const QString folder = h.Folder() + "/back";
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), folder);
    h.prompter.retryAnswers = {true};
    h.prompter.onPrompt = [&](const ScriptedPrompter::Prompt&) {
        h.MakeFile(QStringLiteral("back/a.avi"));
    };
    CRavoloView& view = Start();
    EXPECT_EQ(h.prompter.Texts(Kind::Retry), QStringList{kNotFound});
    EXPECT_EQ(view.Settings().m_strCurrentFolder, folder);
    EXPECT_EQ(SelectedName(view.FolderList()), QStringLiteral("a.avi"));
}

TEST_F(ViewStartUp, WithTheResumeScreenFirstAStaleFolderIsReportedOnlyWhenSwitching) {
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/gone");
    h.StoreResume(0, StoredResume::Video(h.MakeFile(QStringLiteral("a.avi")), 5));
    CRavoloView& view = Start();
    EXPECT_TRUE(h.prompter.prompts.empty());
    view.OnCommand(ID_SWITCH_SCREEN);
    EXPECT_EQ(h.prompter.Texts(Kind::Retry), QStringList{kNotFound});
    EXPECT_TRUE(view.Folder().AtDriveLevel());
}

TEST_F(ViewStartUp, TheWaitDialogShowsFromTheLaunchUntilMPlayerIsReady) {
    CRavoloView& view = Start();
    ASSERT_TRUE(view.WaitDialog().isVisible());
    // The fork waits for the event loop, which first runs once the window is up.
    EXPECT_EQ(view.Engine().ProcessId(), 0);
    EXPECT_EQ(view.WaitDialog().windowTitle(), QStringLiteral("お待ちください"));
    EXPECT_EQ(view.WaitDialog().findChild<QLabel*>(CWaitDlg::kTextId)->text(),
              QStringLiteral("MPlayer の準備中"));
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !view.WaitDialog().isVisible(); }));
    EXPECT_EQ(view.Engine().GetPrepState(), PrepState::Ready);
}

TEST_F(ViewStartUp, APlayerPathNamingAFolderOpensTheChooserAndStoresTheChoice) {
    h.prompter.executableAnswers = {FakePlayer::Program()};
    CRavoloView& view = h.Start(h.Folder());
    ASSERT_EQ(h.prompter.prompts.size(), 1u);
    EXPECT_EQ(h.prompter.prompts[0].kind, Kind::Executable);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("MPlayerPath")), FakePlayer::Program());
    EXPECT_EQ(view.Supervisor().PlayerPath(), FakePlayer::Program());
    EXPECT_TRUE(view.WaitDialog().isVisible());
    EXPECT_TRUE(h.WaitForReady());
}

TEST_F(ViewStartUp, APlayerThatCannotBeLaunchedIsReportedAndTheListsStillWork) {
    // A regular file that is not executable.
    CRavoloView& view = h.Start(h.MakeFile(QStringLiteral("not-a-player"), 16));
    EXPECT_EQ(h.prompter.Texts(Kind::Message), QStringList{"MPlayer を起動できませんでした。"});
    EXPECT_FALSE(view.WaitDialog().isVisible());
    EXPECT_TRUE(view.FolderList().isVisible());
    EXPECT_GT(view.FolderList().RowCount(), 0);
}

TEST_F(ViewStartUp, ACancelledChooserLeavesTheStoredPathAndReportsTheFailedLaunch) {
    CRavoloView& view = h.Start(h.Folder());
    EXPECT_EQ(h.prompter.Texts(Kind::Executable).size(), 1);
    EXPECT_EQ(h.prompter.Texts(Kind::Message), QStringList{"MPlayer を起動できませんでした。"});
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("MPlayerPath")), h.Folder());
    EXPECT_FALSE(view.WaitDialog().isVisible());
}

TEST_F(ViewStartUp, ThePathCommandStartsTheChosenMPlayerWithTheWaitDialog) {
    CRavoloView& view = Start();
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return !view.WaitDialog().isVisible(); }));
    view.OnCommand(ID_MPLAYER_PATH); // cancelled: nothing changes
    ASSERT_EQ(h.prompter.prompts.size(), 1u);
    EXPECT_EQ(h.prompter.prompts[0].initialDir, QFileInfo(FakePlayer::Program()).path());
    EXPECT_EQ(h.prompter.prompts[0].initialName, QStringLiteral("mplayer"));
    EXPECT_FALSE(view.WaitDialog().isVisible());
    EXPECT_EQ(view.Engine().GetPrepState(), PrepState::Ready);

    const QString chosen = h.Folder() + "/mplayer";
    ASSERT_TRUE(QFile::link(FakePlayer::Program(), chosen));
    h.prompter.executableAnswers = {chosen};
    view.OnCommand(ID_MPLAYER_PATH);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("MPlayerPath")), chosen);
    EXPECT_TRUE(view.WaitDialog().isVisible());
    EXPECT_TRUE(ViewHarness::WaitFor([&] { return !view.WaitDialog().isVisible(); }));
    EXPECT_EQ(view.Engine().GetPrepState(), PrepState::Ready);
    EXPECT_EQ(h.prompter.Texts(Kind::Message), QStringList());
}

TEST(ViewStartUpWithMPlayer, TheWaitDialogShowsUntilTheRealMPlayerIsReady) {
    MPlayerHome home;
    ASSERT_TRUE(home.IsValid());
    ViewHarness h;
    CRavoloView& view = h.Start(QStringLiteral("/usr/bin/mplayer"));
    EXPECT_TRUE(h.prompter.prompts.empty());
    ASSERT_TRUE(view.WaitDialog().isVisible());
    ASSERT_TRUE(h.WaitForReady(20000));
    EXPECT_TRUE(ViewHarness::WaitFor([&] { return !view.WaitDialog().isVisible(); }));
}

// A new version looks for MPlayer again. The synced write of what it found waits until the
// window is up, then runs by itself.
TEST(ViewStartUpWithMPlayer, TheFoundPathIsWrittenOnceTheWindowIsUp) {
    MPlayerHome home;
    ASSERT_TRUE(home.IsValid());
    ViewHarness h;
    h.Profile().WriteText(SettingKey::Version, QStringLiteral("1.4.0.0"));
    h.Start(QStringLiteral("/nowhere/mplayer"));
    EXPECT_EQ(h.ProfileOnDisk()->ReadText(SettingKey::Version), QStringLiteral("1.4.0.0"));
    EXPECT_TRUE(ViewHarness::WaitFor([&] {
        return h.ProfileOnDisk()->ReadText(SettingKey::MPlayerPath) ==
               QStandardPaths::findExecutable(QStringLiteral("mplayer"));
    }));
    EXPECT_EQ(h.ProfileOnDisk()->ReadText(SettingKey::Version), ProgramVersion::FromBuild().Text());
    EXPECT_TRUE(h.WaitForReady(20000));
}

// ---- layout -----------------------------------------------------------------------------

void ExpectLaidOut(CRavoloView& view, CColorListCtrl& list, int index) {
    const SizeStep step = TitleGeometry::SizeStepFor(index);
    EXPECT_EQ(list.geometry(),
              QRect(0, step.titleHeight, view.width(), view.height() - step.titleHeight));
    const int usable = view.width() - view.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sizeWidth = std::max(usable / 6, step.minSizeColumn);
    EXPECT_EQ(list.ColumnWidth(0), usable - sizeWidth - 3);
    EXPECT_EQ(list.ColumnWidth(1), sizeWidth);
    EXPECT_EQ(list.RowHeight(), step.rowFontPx * 5 / 4 + 2);
    EXPECT_EQ(list.font().pixelSize(), step.rowFontPx);
    EXPECT_EQ(list.header()->font().pixelSize(), step.headerFontPx);
    ASSERT_NE(list.StateImageList(), nullptr);
    EXPECT_EQ(list.StateImageList()->ImageWidth(), step.iconSize);
}

TEST(ViewLayout, BothListsTakeTheSizeStepOfTheWindowAndOfFullScreen) {
    struct Case {
        const char* stored; // "FontSize": normal, full, pad
        int windowed;
        int fullScreen;
    };
    // Steps outside 0..4 (a hand-edited profile) look like step 0.
    const Case cases[] = {{"0:2:40", 0, 2}, {"1:3:40", 1, 3}, {"2:4:40", 2, 4},
                          {"3:0:40", 3, 0}, {"4:1:40", 4, 1}, {"7:4294967295:40", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        FakePlayer player("");
        ViewHarness h;
        h.Profile().WriteString(QStringLiteral("FontSize"), QString::fromLatin1(c.stored));
        CRavoloView& view = h.Start(FakePlayer::Program());
        ASSERT_EQ(view.size(), QSize(800, 600));
        ExpectLaidOut(view, view.FolderList(), c.windowed);
        ExpectLaidOut(view, view.ResumeListCtrl(), c.windowed);
        h.frame.fullScreen = true;
        h.frame.window.resize(1000, 700); // the size change that entering full screen brings
        ExpectLaidOut(view, view.FolderList(), c.fullScreen);
        ExpectLaidOut(view, view.ResumeListCtrl(), c.fullScreen);
    }
}

TEST_F(ViewStartUp, ANewSizeStepScrollsBackToTheTopThenShowsTheSelectionAgain) {
    for (int i = 0; i < 100; ++i)
        h.MakeFile(QStringLiteral("many/clip%1.avi").arg(i, 2, 10, QLatin1Char('0')));
    h.OpenAt(QStringLiteral("many"));
    h.Profile().WriteString(QStringLiteral("FontSize"), QStringLiteral("0:4:40"));
    CRavoloView& view = Start();
    CColorListCtrl& list = view.FolderList();
    list.SelectRow(40, true);
    list.scrollTo(list.model()->index(38, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(list.TopIndex(), 38);
    // The same step: only the place and the column widths change.
    h.frame.window.resize(820, 640);
    EXPECT_EQ(list.TopIndex(), 38);
    // Another step: from the first row down to where the selected row just shows.
    h.frame.fullScreen = true;
    h.frame.window.resize(1000, 700);
    EXPECT_LT(list.TopIndex(), 38);
    EXPECT_EQ(list.SelectedRow(), 40);
    EXPECT_TRUE(list.viewport()->rect().contains(list.GetRowRect(40)));
    EXPECT_FALSE(list.viewport()->rect().contains(list.GetRowRect(41)));
}

} // namespace
