// The folder and resume screens driven through the view: selection, icons, texts, switching,
// deleting, going up.
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/QtPrinters.h"
#include "support/StoredResume.h"
#include "support/ViewFixture.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"
#include "view/PathParts.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ViewTestKit;
using Kind = ScriptedPrompter::Kind;

namespace {

class ViewScreens : public ViewFixture {
protected:
    void SetUp() override {
        h.MakeFile(QStringLiteral("media/sub/x.avi"));
        m_A = h.MakeFile(QStringLiteral("media/a.avi"), 4096);
        h.MakeFile(QStringLiteral("media/b.mp3"), 10240);
        h.MakeFile(QStringLiteral("media/c.AVI"), 0);
        m_D = h.MakeFile(QStringLiteral("media/d.mp3"), 10239);
        h.MakeFile(QStringLiteral("media/notes.txt"));
        m_Media = h.OpenAt(QStringLiteral("media"));
    }

    QString m_Media;
    QString m_A;
    QString m_D;
};

TEST_F(ViewScreens, RowsShowNamesSizesPositionsAndTheIconOfEachKind) {
    const QString gone = h.Folder() + "/media/gone";
    h.StoreResume(0, StoredResume::Video(m_A, 754));
    h.StoreResume(1, StoredResume::Audio(m_D, 59, 10239));
    h.StoreResume(2, StoredResume::Video(gone + ".avi", 3725, 1));
    h.StoreResume(3, StoredResume::Audio(gone + ".mp3", 36000, 1));
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
    h.StoreResume(0, StoredResume::Video(upper, 10));
    h.StoreResume(1, StoredResume::Video(lower, 20));
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
    h.StoreResume(0, StoredResume::Video(h.Folder() + "/other/missing.avi", 10));
    h.StoreResume(1, StoredResume::Video(other, 20));
    h.StoreResume(2, StoredResume::Video(m_A, 30));
    CRavoloView& view = Start();
    // A missing file carries nothing: the folder screen keeps its folder.
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.Settings().m_strCurrentFolder, m_Media);
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    view.OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(view.ResumeListCtrl().SelectRow(1, true));
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.Settings().m_strCurrentFolder, h.Folder() + "/other");
    EXPECT_EQ(SelectedName(view.FolderList()), QStringLiteral("e.avi"));
    // The folder of a listed file vanishes before the switch: nothing is carried.
    view.OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(view.ResumeListCtrl().SelectRow(2, true));
    QDir(m_Media).removeRecursively();
    view.OnCommand(ID_SWITCH_SCREEN_CARRY);
    EXPECT_EQ(view.Settings().m_strCurrentFolder, h.Folder() + "/other");
}

TEST_F(ViewScreens, CarryingFromTheFolderScreenTakesOnlyAFileWithAResumeEntry) {
    h.StoreResume(0, StoredResume::Video(m_A, 10));
    h.StoreResume(1, StoredResume::Audio(m_D, 20, 10239));
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
    EXPECT_EQ(view.Settings().m_strCurrentFolder, m_Media);
}

TEST_F(ViewScreens, DeletingOnTheResumeScreenAsksAndWritesTheListAtOnce) {
    h.StoreResume(0, StoredResume::Video(m_A, 10));
    h.StoreResume(1, StoredResume::Audio(m_D, 20, 10239));
    h.prompter.resumeDeleteAnswers = {false, true};
    CRavoloView& view = Start();
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(h.prompter.Texts(Kind::ResumeDelete).size(), 1);
    EXPECT_EQ(view.Resume().List().Count(), 2);
    view.OnCommand(ID_RESUME_DELETE);
    ASSERT_EQ(view.Resume().List().Count(), 1);
    EXPECT_EQ(SelectedName(view.ResumeListCtrl()), QStringLiteral("d.mp3"));
    EXPECT_EQ(h.ResumeOnDisk(0), StoredResume::Audio(m_D, 20, 10239));
    EXPECT_EQ(h.ResumeOnDisk(1), QString());
    h.prompter.resumeDeleteAnswers = {true};
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(h.ResumeOnDisk(0), QString());
    // Nothing left to select: no question.
    view.OnCommand(ID_RESUME_DELETE);
    EXPECT_EQ(h.prompter.Texts(Kind::ResumeDelete).size(), 3);
    EXPECT_TRUE(view.ResumeListCtrl().isVisible());
}

TEST_F(ViewScreens, DeletingOnTheFolderScreenAsksOnlyForAFileWithAnEntry) {
    h.StoreResume(0, StoredResume::Audio(m_D, 20, 10239));
    h.StoreResume(1, StoredResume::Video(m_A, 10));
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
    EXPECT_EQ(view.Resume().List().Count(), 1);
    EXPECT_EQ(h.ResumeOnDisk(0), StoredResume::Audio(m_D, 20, 10239));
    EXPECT_EQ(h.ResumeOnDisk(1), QString());
}

TEST_F(ViewScreens, GoingUpSelectsTheFolderLeftAndOpeningThemRetracesTheWay) {
    const QString deep = h.OpenAt(QStringLiteral("media/sub/deeper"));
    CRavoloView& view = Start();
    auto selected = [&view] { return view.Folder().Items()[view.FolderList().SelectedRow()].path; };
    QStringList left{deep};
    while (!view.Folder().AtDriveLevel() && left.size() < 40) {
        SCOPED_TRACE(left.last().toStdString());
        PressKey(view, Qt::Key_Left);
        const QString now = view.Settings().m_strCurrentFolder;
        if (now.isEmpty()) {
            EXPECT_EQ(PathParts::DriveRoot(selected()), left.last());
        } else {
            EXPECT_EQ(now, PathParts::FolderOf(left.last()));
            EXPECT_EQ(PathParts::FileNamePart(selected()), PathParts::FileNamePart(left.last()));
            left << now;
        }
    }
    ASSERT_TRUE(view.Folder().AtDriveLevel());
    view.OnCommand(ID_FOLDER_UP); // nothing above the drives
    EXPECT_TRUE(view.Folder().AtDriveLevel());
    // Down again: the drive, then each folder left on the way up.
    view.OnCommand(ID_PLAY);
    EXPECT_EQ(view.Settings().m_strCurrentFolder, left.takeLast());
    while (!left.isEmpty()) {
        ASSERT_TRUE(SelectNamed(view.FolderList(), PathParts::FileNamePart(left.last())));
        view.OnCommand(ID_OPEN_FOLDER);
        EXPECT_EQ(view.Settings().m_strCurrentFolder, left.takeLast());
    }
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(ViewScreens, GoingToTheTopSelectsTheDriveThatHoldsTheFolder) {
    const QString deep = h.OpenAt(QStringLiteral("media/sub"));
    CRavoloView& view = Start();
    view.OnCommand(ID_FOLDER_TOP);
    ASSERT_TRUE(view.Folder().AtDriveLevel());
    const QString root =
        PathParts::DriveRoot(view.Folder().Items()[view.FolderList().SelectedRow()].path);
    EXPECT_TRUE(deep.startsWith(root)) << root.toStdString();
    view.OnCommand(ID_FOLDER_TOP);
    EXPECT_TRUE(view.Folder().AtDriveLevel());
    EXPECT_TRUE(h.prompter.prompts.empty());
}

TEST_F(ViewScreens, EveryNewFolderIsInTheProfileAtOnce) {
    const QString other = h.MakeFile(QStringLiteral("other/e.avi"));
    h.StoreResume(0, StoredResume::Video(other, 10));
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
        EXPECT_EQ(view.Settings().m_strCurrentFolder, step.folder);
        EXPECT_EQ(onDisk(), step.folder);
    }
}

TEST_F(ViewScreens, OpeningAMissingEntryBeepsAndMarksIt) {
    h.StoreResume(0, StoredResume::Video(m_A, 10));
    h.StoreResume(1, StoredResume::Audio(h.Folder() + "/gone.mp3", 20, 10239));
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
    EXPECT_EQ(view.Resume().List().Entries()[0].kind, MediaItemKind::MissingFile);
    EXPECT_FALSE(view.Session().IsPlaying());
    EXPECT_TRUE(QueuedCommands(view).isEmpty());
}

TEST_F(ViewScreens, AFileThatVanishedBeforeOpeningMakesTheLevelReadAgainAndPlaysNothing) {
    CRavoloView& view = Start();
    ASSERT_TRUE(h.WaitForReady());
    ASSERT_TRUE(SelectNamed(view.FolderList(), QStringLiteral("b.mp3")));
    QFile::remove(h.Folder() + "/media/b.mp3");
    PressKey(view, Qt::Key_Return);
    EXPECT_FALSE(view.Session().IsPlaying());
    EXPECT_EQ(RowNamed(view.FolderList(), QStringLiteral("b.mp3")), -1);
    EXPECT_EQ(view.FolderList().SelectedRow(), 0);
    EXPECT_TRUE(h.beeper.beeps.empty());
    EXPECT_TRUE(h.prompter.prompts.empty());
    EXPECT_TRUE(QueuedCommands(view).isEmpty());
}

TEST_F(ViewScreens, TheSwitchedToListTakesTheKeyboardFocus) {
    h.StoreResume(0, StoredResume::Video(m_A, 10));
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
