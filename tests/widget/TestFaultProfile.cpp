// The profile at its worst under the view: garbage, overlong and out-of-range values, a missing
// group, duplicate keys; a profile that cannot be written because it is a folder, read-only or
// on a full disk. The view starts with defaults or clamped values, tells the user once when it
// cannot write, and never leaves a truncated file.
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/QtPrinters.h"
#include "support/TmpfsMount.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// Readable failures: every field by name.
void PrintTo(const ViewSettings& s, std::ostream* out) {
    *out << "{font " << s.m_nFontSizeNormal << '/' << s.m_nFontSizeFull << " pad " << s.m_nPadSize
         << " folder " << s.m_strCurrentFolder.size() << " chars, continuous "
         << s.m_bContinuousMode << " skip " << s.m_nSkipForwardSec << '/' << s.m_nSkipBackSec
         << " extV " << s.m_strExtFilterV.left(40).toStdString() << " extA "
         << s.m_strExtFilterA.left(40).toStdString() << " afNoResume " << s.m_bAFNoResume
         << " endChk " << s.m_nEndChkTimeout << " prep " << s.mplayerPrepCycleTime << '}';
}

namespace {

const QString kWriteFailed = QStringLiteral("設定ファイルに書き込めませんでした。");
const QByteArray kAnswers = "on get_time_length reply ANS_LENGTH=120.00\n"
                            "on get_time_pos reply ANS_TIME_POSITION=65.4\n";

QByteArray Settings(const QByteArray& lines) {
    return "[Settings]\nVersion=" + ProgramVersion::FromBuild().Text().toUtf8() + "\n" + lines;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FaultProfile : public testing::Test {
protected:
    // A view on the profile at `path`, with the fake player ready.
    CRavoloView& StartOn(const QString& path) {
        m_Harness = std::make_unique<ViewHarness>(path);
        m_Player = std::make_unique<FakePlayer>(kAnswers);
        CRavoloView& view = m_Harness->Start(FakePlayer::Program());
        EXPECT_TRUE(m_Harness->WaitForReady());
        return view;
    }
    ViewHarness& H() { return *m_Harness; }
    // The view writes its state when it goes: before the folder of its profile goes, or the
    // write would make that folder again.
    auto ReleaseViewFirst() {
        return qScopeGuard([this] {
            m_Harness.reset();
            m_Player.reset();
        });
    }
    CRavoloView& View() { return m_Harness->View(); }
    int WriteFailures() const {
        int count = 0;
        for (const QString& text : m_Harness->prompter.Texts(ScriptedPrompter::Kind::Message)) {
            EXPECT_TRUE(text.startsWith(kWriteFailed)) << text.toStdString();
            count += text.startsWith(kWriteFailed) ? 1 : 0;
        }
        return count;
    }
    // Deletes the first resume entry, confirmed.
    void DeleteFirstEntry() {
        if (!View().State().m_bResumeScreen)
            View().OnCommand(ID_SWITCH_SCREEN);
        ASSERT_TRUE(View().ResumeListCtrl().SelectRow(0, true));
        H().prompter.resumeDeleteAnswers.push_back(true);
        View().OnCommand(ID_RESUME_DELETE);
    }
    QByteArray ThreeEntries() const {
        const QByteArray folder = QFile::encodeName(m_Media.path());
        return Settings("CurrentFolder=" + folder + "\nResume0=2|1|4096|" + folder +
                        "/a.avi\nResume1=2|2|4096|" + folder + "/b.avi\nResume2=2|3|4096|" +
                        folder + "/c.avi\n");
    }

    // Unwritable in three ways, each told once per run of failures.
    void ExpectToldOncePerRunOfFailures(const QString& profile,
                                        const std::function<void(bool)>& setWritable) {
        ASSERT_TRUE(WriteBytes(profile, ThreeEntries()));
        setWritable(false);
        const QByteArray before = ReadBytes(profile);
        StartOn(profile);
        ASSERT_EQ(View().Resume().List().Count(), 3);
        DeleteFirstEntry();
        DeleteFirstEntry();
        EXPECT_EQ(WriteFailures(), 1);
        EXPECT_EQ(ReadBytes(profile), before) << "a failed write changed the file";
        EXPECT_EQ(View().Resume().List().Count(), 1);

        setWritable(true);
        DeleteFirstEntry();
        EXPECT_EQ(WriteFailures(), 1);
        EXPECT_EQ(H().ProfileOnDisk()->ReadString(QStringLiteral("Resume0")), QString());
        EXPECT_EQ(H().ProfileOnDisk()->ReadText(SettingKey::MPlayerPath), FakePlayer::Program());

        setWritable(false);
        View().OnCommand(ID_CONTINUOUS_MODE);
        H().prompter.executableAnswers.push_back(FakePlayer::Program());
        View().OnCommand(ID_MPLAYER_PATH);
        EXPECT_EQ(WriteFailures(), 2);
        EXPECT_TRUE(H().WaitForReady());
    }

    QTemporaryDir m_Media;
    std::unique_ptr<ViewHarness> m_Harness;
    std::unique_ptr<FakePlayer> m_Player;
};

TEST_F(FaultProfile, BadValuesGiveDefaultsOrClampedValues) {
    const QByteArray huge(1 << 20, '7');
    const QByteArray folder = QFile::encodeName(m_Media.path());
    const struct {
        const char* name;
        QByteArray bytes;
        std::function<void(ViewSettings&)> expect;
        int entries;
    } cases[] = {
        {"garbage in every key",
         Settings("FontSize=big\nCurrentFolder=\x01\xff[x]\nContinuousMode=yes\n"
                  "SkipForwardSec=far\nSkipBackSec=\"\"\nExtFilterV=\";;;\"\nExtFilterA===\n"
                  "AFNoResume=no\nEndChkTimeout=soon\nMPPrepCycleTime=0x10\n"
                  "Resume0=garbage\nResume1=2|x|1|/a\nResume2=|||\nResume3=2|3\n"),
         [](ViewSettings& s) {
             s.m_strExtFilterV = ";;;";
             s.m_strExtFilterA = "==";
             s.mplayerPrepCycleTime = 500;
         },
         0},
        {"negative numbers",
         Settings("FontSize=-1:-7:-40\nContinuousMode=-1\nSkipForwardSec=-5\n"
                  "SkipBackSec=-2147483648\nEndChkTimeout=-1\nMPPrepCycleTime=-1\nAFNoResume=0\n"
                  "Resume0=-1|-1|-1|/x/neg.avi\n"),
         [](ViewSettings& s) {
             s.m_nFontSizeNormal = -1;
             s.m_nFontSizeFull = -7;
             s.m_nPadSize = -40;
             s.m_nSkipForwardSec = 1;
             s.m_nSkipBackSec = 1;
             s.m_nEndChkTimeout = 6000;
             s.mplayerPrepCycleTime = 50000;
             s.m_bAFNoResume = false;
         },
         1},
        {"huge numbers",
         Settings("FontSize=2147483647:99999999999:2147483647\nSkipForwardSec=4294967295\n"
                  "SkipBackSec=99999999999999999999\nEndChkTimeout=4294967296\n"
                  "MPPrepCycleTime=4294967295\n"
                  "Resume0=2|5|18446744073709551616|/x/overflow.avi\n"
                  "Resume1=2|5|18446744073709551615|/x/largest.avi\n"
                  "Resume2=2|99999999999|1|/x/far.avi\n"),
         [](ViewSettings& s) {
             s.m_nFontSizeNormal = 2147483647;
             s.m_nFontSizeFull = 1215752191; // 99999999999 wrapped to 32 bits
             s.m_nPadSize = 2147483647;
             s.m_nSkipForwardSec = 1;   // all bits set: -1
             s.m_nSkipBackSec = 600;    // wrapped to 1661992959
             s.m_nEndChkTimeout = 1000; // wrapped to 0
             s.mplayerPrepCycleTime = 50000;
         },
         2},
        {"1 MB in every key",
         Settings("FontSize=" + huge + "\nCurrentFolder=/" + huge + "\nContinuousMode=" + huge +
                  "\nSkipForwardSec=" + huge + "\nExtFilterV=" + huge + "\nExtFilterA=" + huge +
                  "\nEndChkTimeout=" + huge + "\nResume0=2|5|1|" + folder + "/" + huge +
                  "\nResume1=2|" + huge + "|" + huge + "|/x/y.avi\n"),
         [&](ViewSettings& s) {
             s.m_strExtFilterV = QString::fromLatin1(huge);
             s.m_strExtFilterA = QString::fromLatin1(huge);
             s.m_nSkipForwardSec = 600;
             s.m_nEndChkTimeout = 6000;
         },
         1},
        {"no group Settings", "[General]\nSkipForwardSec=5\nResume0=2|5|1|/x/y.avi\n", {}, 0},
        {"duplicate keys",
         Settings("SkipForwardSec=5\nSkipForwardSec=7\nResume0=2|1|1|/x/a.avi\n"
                  "Resume0=2|2|1|/x/b.avi\n[Settings]\nSkipForwardSec=9\n"),
         {},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const auto release = ReleaseViewFirst();
        const QString profile = dir.filePath(QStringLiteral("Ravolo.ini"));
        ASSERT_TRUE(WriteBytes(profile, c.bytes));
        CRavoloView& view = StartOn(profile);
        ViewSettings expected;
        expected.m_strExtFilterV = DefaultExtFilterV.toString();
        expected.m_strExtFilterA = DefaultExtFilterA.toString();
        if (c.expect)
            c.expect(expected);
        ViewSettings loaded = view.Settings();
        // Where the folder cannot be found the view asks, and starts at the drives.
        loaded.m_strCurrentFolder.clear();
        if (c.name != std::string("duplicate keys")) {
            EXPECT_EQ(loaded, expected);
        } else {
            EXPECT_GE(loaded.m_nSkipForwardSec, 5);
            EXPECT_LE(loaded.m_nSkipForwardSec, 9);
        }
        EXPECT_EQ(view.Resume().List().Count(), c.entries);
        EXPECT_EQ(WriteFailures(), 0);
        // Painted and laid out with what was loaded, whatever it is.
        EXPECT_FALSE(view.grab().isNull());
        view.OnCommand(ID_SWITCH_SCREEN);
        EXPECT_FALSE(view.grab().isNull());
        // The next write leaves a profile that reads back.
        view.SaveViewState();
        EXPECT_EQ(H().ProfileOnDisk()->ReadText(SettingKey::Version),
                  ProgramVersion::FromBuild().Text());
    }
}

TEST_F(FaultProfile, AProfileThatIsAFolderStartsWithDefaultsAndIsToldOnce) {
    QTemporaryDir dir;
    const auto release = ReleaseViewFirst();
    const QString profile = dir.filePath(QStringLiteral("Ravolo.ini"));
    ASSERT_TRUE(QDir().mkdir(profile));
    const QString clip = m_Media.filePath(QStringLiteral("a.avi"));
    ASSERT_TRUE(WriteBytes(clip, QByteArray(4096, 'x')));
    m_Harness = std::make_unique<ViewHarness>(profile);
    H().Profile().WriteString(QStringLiteral("CurrentFolder"), m_Media.path());
    m_Player = std::make_unique<FakePlayer>(kAnswers);
    H().Start(FakePlayer::Program());
    ASSERT_TRUE(H().WaitForReady());
    EXPECT_EQ(WriteFailures(), 1);
    for (int round = 0; round < 2; ++round) {
        View().FolderList().SelectRow(0, true);
        View().PlaySelectedItem();
        ASSERT_TRUE(View().Session().IsPlaying());
        ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); }));
        View().OnCommand(ID_STOP_REGISTER);
        ASSERT_TRUE(ViewHarness::WaitFor([&] { return !View().Session().Stopping(); }));
    }
    EXPECT_EQ(View().Resume().List().Count(), 1);
    EXPECT_EQ(WriteFailures(), 1);
    EXPECT_TRUE(QFileInfo(profile).isDir());
}

TEST_F(FaultProfile, AReadOnlyProfileIsToldOncePerRunOfFailuresAndKeptWhole) {
    TmpfsMount disk(256);
    if (!disk.IsMounted())
        GTEST_SKIP() << "no right to mount a file system here";
    const auto release = ReleaseViewFirst();
    ExpectToldOncePerRunOfFailures(disk.Path() + "/Ravolo.ini", [&](bool writable) {
        ASSERT_TRUE(disk.SetReadOnly(!writable));
    });
}

TEST_F(FaultProfile, AFullDiskIsToldOncePerRunOfFailuresAndNeverTruncatesTheProfile) {
    TmpfsMount disk(64);
    if (!disk.IsMounted())
        GTEST_SKIP() << "no right to mount a file system here";
    const auto release = ReleaseViewFirst();
    ExpectToldOncePerRunOfFailures(disk.Path() + "/Ravolo.ini", [&](bool writable) {
        ASSERT_TRUE(writable ? disk.Unfill() : disk.Fill());
    });
}

} // namespace
