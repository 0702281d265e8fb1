// The file system at its worst under the folder screen: huge folders, very long paths, names
// with control characters, quotes and bytes that are not UTF-8, link loops, folders that turn
// unreadable or vanish. Never a crash, never the wrong file played, never a command slipped into
// MPlayer's input: the fake player records the exact bytes it received.
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/AsNobody.h"
#include "support/FakePlayer.h"
#include "support/HungMount.h"
#include "support/QtPrinters.h"
#include "support/TmpfsMount.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kAnswers = "on get_time_length reply ANS_LENGTH=120.00\n"
                            "on get_time_pos reply ANS_TIME_POSITION=65.4\n";
const QString kFolderMissing = QStringLiteral("フォルダーが見つかりません。");

// Makes a file by its raw name bytes, which need not be UTF-8.
bool MakeRawFile(const QByteArray& path, int size = 4096) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray bytes(size, 'x');
    const bool written = ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    ::close(fd);
    return written;
}

// Removes files by their raw names when it goes.
struct RawFiles {
    std::vector<QByteArray> paths;
    ~RawFiles() {
        for (const QByteArray& path : paths)
            ::unlink(path.constData());
    }
};

class FaultFileSystem : public testing::Test {
protected:
    // Starts on the folder screen of `folder` with a ready fake player.
    void StartIn(const QString& folder) {
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), folder);
        m_Player = std::make_unique<FakePlayer>(kAnswers);
        h.Start(FakePlayer::Program());
        ASSERT_TRUE(h.WaitForReady());
        if (View().State().m_bResumeScreen)
            View().OnCommand(ID_SWITCH_SCREEN);
    }
    CRavoloView& View() { return h.View(); }
    QStringList Names() {
        QStringList names;
        for (int row = 0; row < View().FolderList().RowCount(); ++row)
            names << View().FolderList().ItemText(row, 0);
        return names;
    }
    int RowOf(const QString& name) { return static_cast<int>(Names().indexOf(name)); }
    QList<QByteArray> Loads() {
        QList<QByteArray> loads = m_Player->Record().CommandTexts();
        loads.removeIf([](const QByteArray& text) { return !text.startsWith("loadfile"); });
        return loads;
    }
    // Plays the row and stops it again; the load MPlayer received, or "" when none was sent.
    QByteArray PlayRow(int row) {
        const qsizetype loads = Loads().size();
        View().FolderList().SelectRow(row, true);
        View().PlaySelectedItem();
        if (!View().Session().IsPlaying()) {
            QTest::qWait(150); // three ticks: anything queued would have been written
            return Loads().size() == loads ? QByteArray() : Loads().last();
        }
        EXPECT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); }));
        View().OnCommand(ID_STOP_REGISTER);
        EXPECT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
        return Loads().size() > loads ? Loads().last() : QByteArray();
    }

    ViewHarness h;
    std::unique_ptr<FakePlayer> m_Player;
};

TEST_F(FaultFileSystem, AHundredThousandEntriesListAndTheLastOnePlays) {
    // memory-backed where there is one: making 100,000 files on a disk takes long
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir big(QFileInfo(shm).isWritable() ? shm + "/ravolo-XXXXXX"
                                                  : QDir::tempPath() + "/ravolo-XXXXXX");
    ASSERT_TRUE(big.isValid());
    constexpr int kFiles = 100000;
    const QByteArray folder = QFile::encodeName(big.path()) + '/';
    for (int n = 0; n < kFiles; ++n)
        ASSERT_TRUE(MakeRawFile(folder + "clip " + QByteArray::number(n) + ".avi", 1));
    StartIn(big.path());
    ASSERT_EQ(View().FolderList().RowCount(), kFiles);
    EXPECT_EQ(View().FolderList().ItemText(kFiles - 1, 0), QStringLiteral("clip 99999.avi"));
    EXPECT_EQ(PlayRow(kFiles - 1), "loadfile \"" + folder + "clip 99999.avi\"");
    EXPECT_EQ(View().FolderList().SelectedRow(), kFiles - 1);
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(big.path()).constData(), ignored); // Qt is slow
    QDir().mkpath(big.path());
}

TEST_F(FaultFileSystem, VeryLongPathsPlayWhileTheyFitAndAreRefusedBeyond) {
    // Folders of up to 200 characters down to 3850, the rest of 4000 (or 4090) in the name.
    constexpr int kFolderLength = 3850;
    QString folder = h.Folder();
    while (folder.size() < kFolderLength - 1) {
        folder += '/' + QString(std::min<qsizetype>(200, kFolderLength - folder.size() - 1),
                                QLatin1Char('d'));
        ASSERT_TRUE(QDir().mkdir(folder)) << folder.size();
    }
    const auto fileOf = [&](int length) {
        return folder + '/' + QString(length - folder.size() - 5, QLatin1Char('f')) + ".avi";
    };
    const QString fits = fileOf(4000);
    const QString tooLong = fileOf(4090);
    ASSERT_TRUE(MakeRawFile(QFile::encodeName(fits)));
    ASSERT_TRUE(MakeRawFile(QFile::encodeName(tooLong)));
    StartIn(folder);
    ASSERT_EQ(View().FolderList().RowCount(), 2);
    EXPECT_EQ(PlayRow(RowOf(fits.section('/', -1))), "loadfile \"" + fits.toUtf8() + "\"");
    EXPECT_TRUE(h.beeper.beeps.empty());
    // Longer than one command line of MPlayer: refused like an unreadable file.
    EXPECT_EQ(PlayRow(RowOf(tooLong.section('/', -1))), QByteArray());
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
    ASSERT_EQ(View().Resume().List().Count(), 1);
    EXPECT_EQ(View().Resume().List().Entries()[0].path, fits);
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              QStringLiteral("2|65|4096|") + fits);
}

TEST_F(FaultFileSystem, OddNamesReachMPlayerEscapedOrNotAtAll) {
    const QByteArray folder = QFile::encodeName(h.Folder()) + '/';
    const struct {
        QByteArray name;
        QByteArray sent; // what MPlayer must receive after "loadfile ", or "" for nothing
    } cases[] = {
        {"cr\rquit.avi", ""},
        {"lf\nrun rm.avi", ""},
        {"tab\there.avi", ""},
        {"del\x7f.avi", ""},
        {"q\"uote.avi", "\"" + folder + "q\\\"uote.avi\""},
        {"back\\slash.avi", "\"" + folder + "back\\\\slash.avi\""},
        {"tail\\\\.avi", "\"" + folder + "tail\\\\\\\\.avi\""},
        {"pi|pe.avi", "\"" + folder + "pi|pe.avi\""},
        {"semi;colon $(x) 'q'.avi", "\"" + folder + "semi;colon $(x) 'q'.avi\""},
        {"日本語 ファイル.avi", "\"" + folder + "日本語 ファイル.avi\""},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(MakeRawFile(folder + c.name)) << c.name.constData();
    // Names that are no UTF-8 cannot be told apart as text: never listed, never played. Qt
    // cannot remove them either.
    const RawFiles notUtf8{{folder + "latin1 \xe9t\xe9.avi", folder + "broken \xff\xfe.avi"}};
    for (const QByteArray& path : notUtf8.paths)
        ASSERT_TRUE(MakeRawFile(path));
    StartIn(h.Folder());
    EXPECT_EQ(Names().size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.constData());
        const int row = RowOf(QString::fromUtf8(c.name));
        ASSERT_GE(row, 0);
        const size_t beeps = h.beeper.beeps.size();
        EXPECT_EQ(PlayRow(row), c.sent.isEmpty() ? QByteArray() : "loadfile " + c.sent);
        EXPECT_EQ(h.beeper.beeps.size(), beeps + (c.sent.isEmpty() ? 1 : 0));
    }
    // Every command MPlayer got is one of ours: nothing split off a name.
    for (const QByteArray& text : m_Player->Record().CommandTexts()) {
        EXPECT_TRUE(text.startsWith("loadfile \"") || text == "get_time_length" ||
                    text == "get_time_pos" || text == "stop")
            << text.constData();
    }
    // The names with a bar, quotes and backslashes come back from the profile as they were.
    const std::unique_ptr<SettingsStore> disk = h.ProfileOnDisk();
    ResumeList stored;
    stored.Load(*disk);
    QStringList paths;
    for (const MediaItem& entry : stored.Entries())
        paths << entry.path;
    EXPECT_TRUE(paths.contains(h.Folder() + "/pi|pe.avi"));
    EXPECT_TRUE(paths.contains(h.Folder() + "/back\\slash.avi"));
    EXPECT_TRUE(paths.contains(h.Folder() + "/q\"uote.avi"));
}

TEST_F(FaultFileSystem, LinkLoopsAreSkippedAndALinkToItselfOpens) {
    h.MakeFile(QStringLiteral("clip.avi"));
    const QByteArray folder = QFile::encodeName(h.Folder()) + '/';
    ASSERT_EQ(::symlink(".", folder + "self"), 0);
    ASSERT_EQ(::symlink("loop b.avi", folder + "loop a.avi"), 0);
    ASSERT_EQ(::symlink("loop a.avi", folder + "loop b.avi"), 0);
    ASSERT_EQ(::symlink("loop dir", folder + "loop dir"), 0);
    StartIn(h.Folder());
    EXPECT_EQ(Names(), (QStringList{"self", "clip.avi"}));
    View().FolderList().SelectRow(0, true);
    View().PlaySelectedItem();
    EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder() + "/self");
    EXPECT_EQ(Names(), (QStringList{"self", "clip.avi"}));
    EXPECT_EQ(PlayRow(1), "loadfile \"" + folder + "self/clip.avi\"");
}

TEST_F(FaultFileSystem, AFolderThatTurnsUnreadableListsNothingAndPlaysNothing) {
    h.MakeFile(QStringLiteral("locked/clip.avi"));
    const QString locked = h.Folder() + "/locked";
    StartIn(locked);
    ASSERT_EQ(Names(), QStringList{"clip.avi"});
    ASSERT_EQ(::chmod(QFile::encodeName(h.Folder()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    {
        AsNobody nobody;
        ASSERT_TRUE(nobody.IsBound());
        EXPECT_EQ(PlayRow(0), QByteArray());
        EXPECT_TRUE(Names().isEmpty());
        EXPECT_TRUE(h.prompter.prompts.empty());
        View().OnCommand(ID_FOLDER_UP);
        EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder());
        EXPECT_EQ(Names(), QStringList{"locked"});
    }
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_TRUE(h.beeper.beeps.empty());
}

TEST_F(FaultFileSystem, AFileReplacedByAFolderIsNeverPlayed) {
    const QString clip = h.MakeFile(QStringLiteral("clip.avi"));
    h.Profile().WriteString(QStringLiteral("Resume0"), QStringLiteral("2|30|4096|") + clip);
    StartIn(h.Folder());
    ASSERT_EQ(Names(), QStringList{"clip.avi"});
    ASSERT_TRUE(QFile::remove(clip) && QDir().mkdir(clip));
    // The folder screen reads the folder again and shows what is there now.
    EXPECT_EQ(PlayRow(0), QByteArray());
    EXPECT_EQ(Names(), QStringList{"clip.avi"});
    EXPECT_EQ(View().Folder().Items().value(0).kind, MediaItemKind::Folder);
    // The resume screen beeps and refreshes.
    View().OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(View().ResumeListCtrl().SelectRow(0, true));
    View().PlaySelectedItem();
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
    QTest::qWait(150);
    EXPECT_TRUE(Loads().isEmpty());
}

TEST_F(FaultFileSystem, AResumeEntryThatBecameANamedPipeBeepsInsteadOfWaitingForAWriter) {
    const QString clip = h.Folder() + QStringLiteral("/clip.avi");
    h.Profile().WriteString(QStringLiteral("Resume0"), QStringLiteral("2|30|4096|") + clip);
    ASSERT_EQ(::mkfifo(QFile::encodeName(clip).constData(), 0600), 0);
    StartIn(h.Folder());
    View().OnCommand(ID_SWITCH_SCREEN);
    ASSERT_TRUE(View().ResumeListCtrl().SelectRow(0, true));
    View().PlaySelectedItem();
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_EQ(h.beeper.beeps, std::vector<BeepType>{BEEP_DEFAULT});
}

// A listed folder disappears: its drive unmounted, or the folder removed.
TEST_F(FaultFileSystem, AVanishedFolderAsksAndFallsBackToTheDrives) {
    for (const bool unmount : {true, false}) {
        SCOPED_TRACE(unmount ? "unmounted" : "removed");
        ViewHarness harness;
        TmpfsMount drive(1024);
        if (unmount && !drive.IsMounted())
            GTEST_SKIP() << "no right to mount a file system here";
        const QString root = unmount ? drive.Path() : harness.Folder() + "/drive";
        ASSERT_TRUE(QDir().mkpath(root + "/films"));
        ASSERT_TRUE(MakeRawFile(QFile::encodeName(root + "/films/clip.avi")));
        harness.Profile().WriteString(QStringLiteral("CurrentFolder"), root + "/films");
        FakePlayer player(kAnswers);
        harness.Start(FakePlayer::Program());
        ASSERT_TRUE(harness.WaitForReady());
        CRavoloView& view = harness.View();
        ASSERT_EQ(view.FolderList().RowCount(), 1);
        if (unmount)
            drive.Unmount();
        else
            ASSERT_TRUE(QDir(root).removeRecursively());
        harness.prompter.retryAnswers = {true, false};
        view.FolderList().SelectRow(0, true);
        view.PlaySelectedItem();
        EXPECT_FALSE(view.Session().IsPlaying());
        EXPECT_EQ(harness.prompter.Texts(ScriptedPrompter::Kind::Retry),
                  (QStringList{kFolderMissing, kFolderMissing}));
        EXPECT_TRUE(view.Folder().AtDriveLevel());
        EXPECT_GT(view.FolderList().RowCount(), 0);
        QTest::qWait(150);
        EXPECT_TRUE(player.Record().CommandTexts().isEmpty());
    }
}

// A mounted share that stopped answering: moving up and to the top never asks it, and the drive
// level lists it by its root after a short wait.
class FaultFileSystemMachineWide : public FaultFileSystem {};

TEST_F(FaultFileSystemMachineWide, AShareThatHangsNeverFreezesTheFolderScreen) {
    const HungMount share;
    if (!share.IsMounted())
        GTEST_SKIP() << "cannot mount a FUSE file system here (needs root and /dev/fuse)";
    ASSERT_TRUE(QDir(h.Folder()).mkdir("sub"));
    StartIn(h.Folder() + "/sub");
    View().OnCommand(ID_FOLDER_UP);
    EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder());
    View().OnCommand(ID_FOLDER_TOP);
    EXPECT_TRUE(View().Folder().AtDriveLevel());
    EXPECT_TRUE(Names().contains(share.Path()));
    EXPECT_FALSE(share.GaveUp()) << "the folder screen waited for the share";
}

} // namespace
