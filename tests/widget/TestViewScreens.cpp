// The view's start-up, the layout of its lists at every size step, and the folder and resume
// screens driven through the view: selection, icons, texts, switching, deleting, going up.
#include "controls/CImageList.h"
#include "dialogs/CWaitDlg.h"
#include "resources/CommandIds.h"
#include "settings/ProgramVersion.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/MPlayerHome.h"
#include "support/QtPrinters.h"
#include "support/ViewHarness.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"
#include "view/PathParts.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QStandardPaths>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

using namespace ViewTestKit;
using Kind = ScriptedPrompter::Kind;

namespace {

const QString kNotFound = QStringLiteral("フォルダーが見つかりません。");

// ---- start-up ---------------------------------------------------------------------------

class ViewStartUp : public testing::Test {
protected:
    FakePlayer m_Player{""};
    ViewHarness h;
};

TEST_F(ViewStartUp, AnEmptyProfileOpensTheFolderScreenWithTheDrivesHomeFirst) {
    CRavoloView& view = h.Start(FakePlayer::Program());
    EXPECT_EQ(h.frame.documentTitle, QString());
    EXPECT_FALSE(view.State().m_bResumeScreen);
    EXPECT_TRUE(view.State().AtDriveLevel());
    EXPECT_TRUE(view.FolderList().isVisible());
    EXPECT_FALSE(view.ResumeListCtrl().isVisible());
    ASSERT_FALSE(view.State().m_FolderItems.isEmpty());
    EXPECT_EQ(PathParts::DriveRoot(view.State().m_FolderItems[0].path), QDir::homePath());
    EXPECT_EQ(view.FolderList().RowCount(), view.State().m_FolderItems.size());
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(ViewStartUp, AStoredResumeEntryOpensTheResumeScreen) {
    const QString clip = h.MakeFile(QStringLiteral("a.avi"));
    h.Profile().WriteString(QStringLiteral("Resume0"), ResumeEntry(2, 5, 4096, clip));
    CRavoloView& view = h.Start(FakePlayer::Program());
    EXPECT_TRUE(view.State().m_bResumeScreen);
    EXPECT_TRUE(view.ResumeListCtrl().isVisible());
    EXPECT_FALSE(view.FolderList().isVisible());
    EXPECT_EQ(SelectedName(view.ResumeListCtrl()), QStringLiteral("a.avi"));
}

TEST_F(ViewStartUp, AStaleFolderAsksAgainWhileRetryFindsNothingAndCancelListsTheDrives) {
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/gone");
    h.prompter.retryAnswers = {true, true}; // then Cancel
    CRavoloView& view = h.Start(FakePlayer::Program());
    EXPECT_EQ(h.prompter.Texts(Kind::Retry), QStringList(3, kNotFound));
    EXPECT_TRUE(view.State().AtDriveLevel());
    EXPECT_GT(view.FolderList().RowCount(), 0);
}

TEST_F(ViewStartUp, RetryOnceTheFolderIsBackListsIt) {
    const QString folder = h.Folder() + "/back";
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), folder);
    h.prompter.retryAnswers = {true};
    h.prompter.onPrompt = [&](const ScriptedPrompter::Prompt&) {
        h.MakeFile(QStringLiteral("back/a.avi"));
    };
    CRavoloView& view = h.Start(FakePlayer::Program());
    EXPECT_EQ(h.prompter.Texts(Kind::Retry), QStringList{kNotFound});
    EXPECT_EQ(view.State().m_strCurrentFolder, folder);
    EXPECT_EQ(SelectedName(view.FolderList()), QStringLiteral("a.avi"));
}

TEST_F(ViewStartUp, WithTheResumeScreenFirstAStaleFolderIsReportedOnlyWhenSwitching) {
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/gone");
    h.Profile().WriteString(QStringLiteral("Resume0"),
                            ResumeEntry(2, 5, 4096, h.MakeFile(QStringLiteral("a.avi"))));
    CRavoloView& view = h.Start(FakePlayer::Program());
    EXPECT_TRUE(h.prompter.prompts.empty());
    view.OnCommand(ID_SWITCH_SCREEN);
    EXPECT_EQ(h.prompter.Texts(Kind::Retry), QStringList{kNotFound});
    EXPECT_TRUE(view.State().AtDriveLevel());
}

TEST_F(ViewStartUp, TheWaitDialogShowsFromTheLaunchUntilMPlayerIsReady) {
    CRavoloView& view = h.Start(FakePlayer::Program());
    ASSERT_TRUE(view.WaitDialog().isVisible());
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
    EXPECT_EQ(view.State().m_strPlayerPath, FakePlayer::Program());
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
    CRavoloView& view = h.Start(FakePlayer::Program());
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

struct SizeStepLook {
    int titleHeight;
    int rowFontPx;
    int headerFontPx;
    int iconSize;
    int minSizeColumn;
};
constexpr SizeStepLook kSteps[5] = {{37, 16, 12, 20, 80},
                                    {48, 23, 16, 28, 112},
                                    {68, 34, 23, 40, 160},
                                    {96, 48, 34, 56, 224},
                                    {136, 70, 48, 80, 320}};

void ExpectLaidOut(CRavoloView& view, CColorListCtrl& list, int step) {
    const SizeStepLook& look = kSteps[step];
    EXPECT_EQ(list.geometry(),
              QRect(0, look.titleHeight, view.width(), view.height() - look.titleHeight));
    const int usable = view.width() - view.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sizeWidth = std::max(usable / 6, look.minSizeColumn);
    EXPECT_EQ(list.ColumnWidth(0), usable - sizeWidth - 3);
    EXPECT_EQ(list.ColumnWidth(1), sizeWidth);
    EXPECT_EQ(list.RowHeight(), look.rowFontPx * 5 / 4 + 2);
    EXPECT_EQ(list.font().pixelSize(), look.rowFontPx);
    EXPECT_EQ(list.header()->font().pixelSize(), look.headerFontPx);
    ASSERT_NE(list.StateImageList(), nullptr);
    EXPECT_EQ(list.StateImageList()->ImageWidth(), look.iconSize);
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

TEST(ViewLayout, ANewSizeStepScrollsBackToTheTopThenShowsTheSelectionAgain) {
    FakePlayer player("");
    ViewHarness h;
    for (int i = 0; i < 100; ++i)
        h.MakeFile(QStringLiteral("many/clip%1.avi").arg(i, 2, 10, QLatin1Char('0')));
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/many");
    h.Profile().WriteString(QStringLiteral("FontSize"), QStringLiteral("0:4:40"));
    CRavoloView& view = h.Start(FakePlayer::Program());
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

// ---- folder and resume screens ----------------------------------------------------------

class ViewScreens : public testing::Test {
protected:
    void SetUp() override {
        m_Media = h.Folder() + "/media";
        h.MakeFile(QStringLiteral("media/sub/x.avi"));
        m_A = h.MakeFile(QStringLiteral("media/a.avi"), 4096);
        h.MakeFile(QStringLiteral("media/b.mp3"), 10240);
        h.MakeFile(QStringLiteral("media/c.AVI"), 0);
        m_D = h.MakeFile(QStringLiteral("media/d.mp3"), 10239);
        h.MakeFile(QStringLiteral("media/notes.txt"));
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), m_Media);
    }
    void Resume(int index, const QString& entry) {
        h.Profile().WriteString(QStringLiteral("Resume%1").arg(index), entry);
    }
    CRavoloView& Start() { return h.Start(FakePlayer::Program()); }
    QString OnDisk(int index) const {
        return h.ProfileOnDisk()->ReadString(QStringLiteral("Resume%1").arg(index));
    }

    FakePlayer m_Player{""};
    ViewHarness h;
    QString m_Media;
    QString m_A;
    QString m_D;
};

TEST_F(ViewScreens, RowsShowNamesSizesPositionsAndTheIconOfEachKind) {
    const QString gone = h.Folder() + "/media/gone";
    Resume(0, ResumeEntry(2, 754, 4096, m_A));
    Resume(1, ResumeEntry(258, 59, 10239, m_D));
    Resume(2, ResumeEntry(2, 3725, 1, gone + ".avi"));
    Resume(3, ResumeEntry(258, 36000, 1, gone + ".mp3"));
    CRavoloView& view = Start();
    struct Row {
        const char* name;
        const char* second; // size or position
        int icon;
    };
    const Row resumeRows[] = {{"a.avi", "0:12:34", 3},
                              {"d.mp3", "0:00:59", 6},
                              {"gone.avi", "1:02:05", 4},
                              {"gone.mp3", "10:00:00", 7}};
    const Row folderRows[] = {{"sub", "", 1},
                              {"a.avi", "4096", 3},
                              {"b.mp3", "10 K", 5},
                              {"c.AVI", "0", 2},
                              {"d.mp3", "10239", 6}};
    auto expectRows = [](const CColorListCtrl& list, const auto& rows) {
        ASSERT_EQ(list.RowCount(), static_cast<int>(std::size(rows)));
        for (int i = 0; i < list.RowCount(); ++i) {
            SCOPED_TRACE(rows[i].name);
            EXPECT_EQ(list.ItemText(i, 0), QString::fromUtf8(rows[i].name));
            EXPECT_EQ(list.ItemText(i, 1), QString::fromUtf8(rows[i].second));
            EXPECT_EQ(list.IconIndex(i), rows[i].icon);
        }
    };
    expectRows(view.ResumeListCtrl(), resumeRows);
    view.OnCommand(ID_SWITCH_SCREEN);
    expectRows(view.FolderList(), folderRows);
}

TEST_F(ViewScreens, BothScreensSelectByTheExactName) {
    const QString upper = h.MakeFile(QStringLiteral("media/B.avi"));
    const QString lower = h.MakeFile(QStringLiteral("media/b.avi"));
    Resume(0, ResumeEntry(2, 10, 4096, upper));
    Resume(1, ResumeEntry(2, 20, 4096, lower));
    CRavoloView& view = Start();
    ASSERT_EQ(view.ResumeListCtrl().SelectedRow(), 0);
    // Nothing carried yet: the folder screen selects its first row.
    view.OnCommand(ID_SWITCH_SCREEN);
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    view.OnCommand(ID_SWITCH_SCREEN);
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(SelectedName(view.FolderList()), QStringLiteral("B.avi"));
    // B.avi and b.avi are two files: the carried one comes back selected.
    view.OnCommand(ID_SWITCH_SCREEN);
    EXPECT_EQ(view.ResumeListCtrl().SelectedRow(), 0);
    ASSERT_TRUE(view.ResumeListCtrl().SelectRow(1, true));
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(SelectedName(view.FolderList()), QStringLiteral("b.avi"));
    view.OnCommand(ID_SWITCH_SCREEN);
    EXPECT_EQ(view.ResumeListCtrl().SelectedRow(), 1);
}

TEST_F(ViewScreens, CarryingFromTheResumeScreenOpensTheEntrysFolderOnlyForAnExistingFile) {
    const QString other = h.MakeFile(QStringLiteral("other/e.avi"));
    Resume(0, ResumeEntry(2, 10, 4096, h.Folder() + "/other/missing.avi"));
    Resume(1, ResumeEntry(2, 20, 4096, other));
    Resume(2, ResumeEntry(2, 30, 4096, m_A));
    CRavoloView& view = Start();
    // A missing file carries nothing: the folder screen keeps its folder.
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.State().m_strCurrentFolder, m_Media);
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    view.OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(view.ResumeListCtrl().SelectRow(1, true));
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.State().m_strCurrentFolder, h.Folder() + "/other");
    EXPECT_EQ(SelectedName(view.FolderList()), QStringLiteral("e.avi"));
    // The folder of a listed file vanishes before the switch: nothing is carried.
    view.OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(view.ResumeListCtrl().SelectRow(2, true));
    QDir(m_Media).removeRecursively();
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.State().m_strCurrentFolder, h.Folder() + "/other");
}

TEST_F(ViewScreens, CarryingFromTheFolderScreenTakesOnlyAFileWithAResumeEntry) {
    Resume(0, ResumeEntry(2, 10, 4096, m_A));
    Resume(1, ResumeEntry(258, 20, 10239, m_D));
    CRavoloView& view = Start();
    view.OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(SelectNamed(view.FolderList(), QStringLiteral("d.mp3")));
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    ASSERT_TRUE(view.State().m_bResumeScreen);
    EXPECT_EQ(view.ResumeListCtrl().SelectedRow(), 1);
    EXPECT_EQ(view.State().m_CurrentItem.path, m_D);
    // A file without an entry: the last carried file stays selected on the resume screen.
    view.OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(SelectNamed(view.FolderList(), QStringLiteral("b.mp3")));
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.ResumeListCtrl().SelectedRow(), 1);
    EXPECT_EQ(view.State().m_CurrentItem.path, m_D);
    EXPECT_EQ(view.State().m_strCurrentFolder, m_Media);
}

TEST_F(ViewScreens, DeletingOnTheResumeScreenAsksAndWritesTheListAtOnce) {
    Resume(0, ResumeEntry(2, 10, 4096, m_A));
    Resume(1, ResumeEntry(258, 20, 10239, m_D));
    h.prompter.resumeDeleteAnswers = {false, true};
    CRavoloView& view = Start();
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(h.prompter.Texts(Kind::ResumeDelete).size(), 1);
    EXPECT_EQ(view.State().m_ResumeList.Count(), 2);
    view.OnCommand(ID_RESUME_DELETE);
    ASSERT_EQ(view.State().m_ResumeList.Count(), 1);
    EXPECT_EQ(SelectedName(view.ResumeListCtrl()), QStringLiteral("d.mp3"));
    EXPECT_EQ(OnDisk(0), ResumeEntry(258, 20, 10239, m_D));
    EXPECT_EQ(OnDisk(1), QString());
    h.prompter.resumeDeleteAnswers = {true};
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(OnDisk(0), QString());
    // Nothing left to select: no question.
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(h.prompter.Texts(Kind::ResumeDelete).size(), 3);
    EXPECT_TRUE(view.ResumeListCtrl().isVisible());
}

TEST_F(ViewScreens, DeletingOnTheFolderScreenAsksOnlyForAFileWithAnEntry) {
    Resume(0, ResumeEntry(258, 20, 10239, m_D));
    Resume(1, ResumeEntry(2, 10, 4096, m_A));
    CRavoloView& view = Start();
    view.OnCommand(ID_SWITCH_SCREEN);
    CColorListCtrl& list = view.FolderList();
    for (const char* name : {"sub", "b.mp3"}) {
        ASSERT_TRUE(SelectNamed(list, QString::fromLatin1(name)));
        view.OnCommand(ID_RESUME_DELETE);
    }
    EXPECT_TRUE(h.prompter.prompts.empty());
    ASSERT_TRUE(SelectNamed(list, QStringLiteral("a.avi")));
    view.OnCommand(ID_RESUME_DELETE); // answered no
    EXPECT_EQ(list.IconIndex(RowNamed(list, QStringLiteral("a.avi"))), 3);
    h.prompter.resumeDeleteAnswers = {true};
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(h.prompter.Texts(Kind::ResumeDelete).size(), 2);
    EXPECT_EQ(list.IconIndex(RowNamed(list, QStringLiteral("a.avi"))), 2);
    EXPECT_EQ(view.State().m_ResumeList.Count(), 1);
    EXPECT_EQ(OnDisk(0), ResumeEntry(258, 20, 10239, m_D));
    EXPECT_EQ(OnDisk(1), QString());
}

TEST_F(ViewScreens, GoingUpSelectsTheFolderLeftAndOpeningThemRetracesTheWay) {
    const QString deep = h.Folder() + "/media/sub/deeper";
    QDir().mkpath(deep);
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), deep);
    CRavoloView& view = Start();
    auto selected = [&view] {
        return view.State().m_FolderItems[view.FolderList().SelectedRow()].path;
    };
    QStringList left{deep};
    while (!view.State().AtDriveLevel() && left.size() < 40) {
        SCOPED_TRACE(left.last().toStdString());
        PressKey(view, Qt::Key_Left);
        const QString now = view.State().m_strCurrentFolder;
        if (now.isEmpty()) {
            EXPECT_EQ(PathParts::DriveRoot(selected()), left.last());
        } else {
            EXPECT_EQ(now, PathParts::FolderOf(left.last()));
            EXPECT_EQ(PathParts::FileNamePart(selected()), PathParts::FileNamePart(left.last()));
            left << now;
        }
    }
    ASSERT_TRUE(view.State().AtDriveLevel());
    view.OnCommand(ID_FOLDER_UP); // nothing above the drives
    EXPECT_TRUE(view.State().AtDriveLevel());
    // Down again: the drive, then each folder left on the way up.
    view.OnCommand(ID_PLAY);
    EXPECT_EQ(view.State().m_strCurrentFolder, left.takeLast());
    while (!left.isEmpty()) {
        ASSERT_TRUE(SelectNamed(view.FolderList(), PathParts::FileNamePart(left.last())));
        view.OnCommand(ID_OPEN_FOLDER);
        EXPECT_EQ(view.State().m_strCurrentFolder, left.takeLast());
    }
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(ViewScreens, GoingToTheTopSelectsTheDriveThatHoldsTheFolder) {
    const QString deep = h.Folder() + "/media/sub";
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), deep);
    CRavoloView& view = Start();
    view.OnCommand(ID_FOLDER_TOP);
    ASSERT_TRUE(view.State().AtDriveLevel());
    const QString root =
        PathParts::DriveRoot(view.State().m_FolderItems[view.FolderList().SelectedRow()].path);
    EXPECT_TRUE(deep.startsWith(root)) << root.toStdString();
    view.OnCommand(ID_FOLDER_TOP);
    EXPECT_TRUE(view.State().AtDriveLevel());
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(ViewScreens, EveryNewFolderIsInTheProfileAtOnce) {
    const QString other = h.MakeFile(QStringLiteral("other/e.avi"));
    Resume(0, ResumeEntry(2, 10, 4096, other));
    CRavoloView& view = Start();
    auto onDisk = [&] { return h.ProfileOnDisk()->ReadString(QStringLiteral("CurrentFolder")); };
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(onDisk(), h.Folder() + "/other");
    struct Step {
        int key;
        QString folder;
    };
    const Step steps[] = {{Qt::Key_Left, h.Folder()}, // selects "other"
                          {Qt::Key_Up, h.Folder()},   // selects "media"
                          {Qt::Key_Return, m_Media},  // selects "sub"
                          {Qt::Key_Return, m_Media + "/sub"},
                          {Qt::Key_Escape, QString()}};
    for (const Step& step : steps) {
        PressKey(view, step.key);
        EXPECT_EQ(view.State().m_strCurrentFolder, step.folder);
        EXPECT_EQ(onDisk(), step.folder);
    }
}

TEST_F(ViewScreens, OpeningAMissingEntryBeepsAndMarksIt) {
    Resume(0, ResumeEntry(2, 10, 4096, m_A));
    Resume(1, ResumeEntry(258, 20, 10239, h.Folder() + "/gone.mp3"));
    CRavoloView& view = Start();
    ASSERT_TRUE(h.WaitForReady());
    CColorListCtrl& list = view.ResumeListCtrl();
    ASSERT_TRUE(list.SelectRow(1, true));
    PressKey(view, Qt::Key_Return); // already marked missing: a beep, nothing else
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
    EXPECT_EQ(list.SelectedRow(), 1);
    // Gone since the list was filled: a beep, and the list is filled anew.
    QFile::remove(m_A);
    ASSERT_TRUE(list.SelectRow(0, true));
    PressKey(view, Qt::Key_Return);
    EXPECT_EQ(h.beeper.beeps, (std::vector<BeepType>{BEEP_DEFAULT, BEEP_DEFAULT}));
    EXPECT_EQ(list.IconIndex(0), 4);
    EXPECT_EQ(list.SelectedRow(), 0);
    EXPECT_EQ(view.State().m_ResumeList.Entries()[0].kind, MissingFile);
    EXPECT_FALSE(view.State().m_bPlaying);
    EXPECT_TRUE(QueuedCommands(view).isEmpty());
}

TEST_F(ViewScreens, AFileThatVanishedBeforeOpeningMakesTheLevelReadAgainAndPlaysNothing) {
    CRavoloView& view = Start();
    ASSERT_TRUE(h.WaitForReady());
    ASSERT_TRUE(SelectNamed(view.FolderList(), QStringLiteral("b.mp3")));
    QFile::remove(h.Folder() + "/media/b.mp3");
    PressKey(view, Qt::Key_Return);
    EXPECT_FALSE(view.State().m_bPlaying);
    EXPECT_EQ(RowNamed(view.FolderList(), QStringLiteral("b.mp3")), -1);
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    EXPECT_TRUE(h.beeper.beeps.empty());
    EXPECT_TRUE(h.prompter.prompts.empty());
    EXPECT_TRUE(QueuedCommands(view).isEmpty());
}

TEST_F(ViewScreens, TheSwitchedToListTakesTheKeyboardFocus) {
    Resume(0, ResumeEntry(2, 10, 4096, m_A));
    CRavoloView& view = Start();
    h.frame.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&h.frame.window));
    EXPECT_EQ(QApplication::focusWidget(), &view.ResumeListCtrl());
    view.OnCommand(ID_SWITCH_SCREEN);
    EXPECT_EQ(QApplication::focusWidget(), &view.FolderList());
    // The view hands the focus on to the visible list.
    view.setFocus();
    EXPECT_EQ(QApplication::focusWidget(), &view.FolderList());
}

} // namespace
