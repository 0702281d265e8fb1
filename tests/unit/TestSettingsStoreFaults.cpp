// Profiles at their worst: damaged text, a folder or a file in the way, no write permission, a
// writer killed halfway. The store reads what it can and tells the truth about its writes.
#include "settings/ResumeList.h"
#include "support/StoredSettings.h"
#include "support/TempProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace StoredSettings;

namespace {

QByteArray RandomBytes(int size) {
    std::mt19937 generator(20150101);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

// Whatever the file holds, loading gives sane values and the next write replaces it.
TEST(SettingsStore, DamagedProfilesLoadAndAreRepairedByTheNextWrite) {
    const QByteArray hugeFolder = "/" + QByteArray(1 << 20, 'f');
    const struct {
        const char* name;
        QByteArray bytes;
        std::function<void(ViewSettings&)> expect;
    } cases[] = {
        {"random bytes", RandomBytes(8192), [](ViewSettings&) {}},
        {"binary junk", QByteArray("\0\xff\xfe[\n=\n===\n[[]]\n\x01", 17), [](ViewSettings&) {}},
        {"empty", "", [](ViewSettings&) {}},
        {"cut in a value", Ini("SkipBackSec=4"), [](ViewSettings& s) { s.m_nSkipBackSec = 4; }},
        {"cut in the group", "[Setti", [](ViewSettings&) {}},
        {"no group", "SkipBackSec=5\n[General]\nSkipBackSec=6\n", [](ViewSettings&) {}},
        {"lines without =", Ini("noequals\nSkipBackSec=7\n[Broken\n"),
         [](ViewSettings& s) { s.m_nSkipBackSec = 7; }},
        {"duplicate keys", Ini("SkipBackSec=5\nSkipBackSec=700\n"),
         [](ViewSettings& s) { s.m_nSkipBackSec = 600; }},
        {"byte order mark", "\xef\xbb\xbf" + Ini("SkipBackSec=8\n"),
         [](ViewSettings& s) { s.m_nSkipBackSec = 8; }},
        {"1 MB value", Ini("CurrentFolder=" + hugeFolder + "\n"),
         [&](ViewSettings& s) { s.m_strCurrentFolder = QString::fromLatin1(hugeFolder); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempProfile profile;
        profile.SetBytes(c.bytes);
        SettingsStore store(profile.Path());
        ViewSettings expected = Defaults();
        c.expect(expected);
        EXPECT_EQ(Load(store), expected);
        ResumeList resumeList;
        resumeList.Load(store);
        EXPECT_EQ(resumeList.Count(), 0);
        store.WriteText(SettingKey::MPlayerPath, "/usr/bin/mplayer");
        EXPECT_TRUE(store.Sync());
        EXPECT_EQ(profile.Reloaded()->LoadPlayerPath(), "/usr/bin/mplayer");
    }
}

// QSettings keeps the first error it meets: a format error found while reading must neither be
// reported as a failed write nor hide a real one.
TEST(SettingsStore, FormatErrorsDoNotMaskTheWriteResult) {
    const QByteArray damaged = Ini("noequals\n[Broken\n");
    TempProfile probe;
    probe.SetBytes(damaged);
    QSettings raw(probe.Path(), QSettings::IniFormat);
    raw.value("Settings/SkipBackSec");
    ASSERT_EQ(raw.status(), QSettings::FormatError) << "the damaged profile no longer trips Qt";

    TempProfile written;
    written.SetBytes(damaged);
    SettingsStore store(written.Path());
    Load(store);
    EXPECT_TRUE(store.SavePlayerPath("/usr/bin/mplayer"));
    EXPECT_EQ(written.Reloaded()->LoadPlayerPath(), "/usr/bin/mplayer");

    TempProfile failing;
    failing.SetBytes(damaged);
    SettingsStore failingStore(failing.Path());
    Load(failingStore);
    ASSERT_TRUE(QFile::remove(failing.Path()) && QDir().mkdir(failing.Path()));
    EXPECT_FALSE(failingStore.SavePlayerPath("/usr/bin/mplayer"));
}

TEST(SettingsStore, AProfileThatIsAFolderReadsDefaultsAndRefusesWrites) {
    TempProfile profile;
    ASSERT_TRUE(QDir().mkdir(profile.Path()));
    SettingsStore store(profile.Path());
    EXPECT_EQ(Load(store), Defaults());
    EXPECT_EQ(store.CheckVersion(ProgramVersion::FromBuild()), VersionCheck::Absent);
    EXPECT_FALSE(store.SavePlayerPath("/usr/bin/mplayer"));
    EXPECT_FALSE(store.Sync()) << "a failed write must stay failed until it is written";
    EXPECT_TRUE(QFileInfo(profile.Path()).isDir());

    // Once the way is clear, the changes that failed go out with the next write.
    ASSERT_TRUE(QDir(profile.Path()).removeRecursively());
    EXPECT_TRUE(store.Sync());
    const auto reloaded = profile.Reloaded();
    EXPECT_EQ(reloaded->LoadPlayerPath(), "/usr/bin/mplayer");
    EXPECT_EQ(reloaded->ReadText(SettingKey::Version), ProgramVersion::FromBuild().Text());
}

TEST(SettingsStore, AProfileBelowAFileRefusesWrites) {
    TempProfile profile;
    profile.SetBytes(Ini("SkipBackSec=5\n"));
    SettingsStore store(profile.Path() + "/Ravolo.ini");
    EXPECT_EQ(Load(store), Defaults());
    EXPECT_FALSE(store.SavePlayerPath("/usr/bin/mplayer"));
    EXPECT_EQ(profile.Bytes(), Ini("SkipBackSec=5\n"));
}

// Whether a read-only profile can be replaced depends on who runs the program; either way the
// values are read, the old file stays whole when the write fails, and Sync() tells which it was.
TEST(SettingsStore, AReadOnlyProfileIsReadAndSyncTellsTheTruth) {
    TempProfile profile;
    profile.SetBytes(Ini("SkipBackSec=5\n"));
    const QByteArray before = profile.Bytes();
    ASSERT_EQ(::chmod(QFile::encodeName(profile.Path()).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(profile.DirPath()).constData(), 0555), 0);
    bool written = false;
    {
        SettingsStore store(profile.Path());
        EXPECT_EQ(Load(store).m_nSkipBackSec, 5);
        store.WriteNumber(SettingKey::SkipBackSec, 9);
        written = store.Sync();
    }
    const QByteArray after = profile.Bytes();
    ::chmod(QFile::encodeName(profile.DirPath()).constData(), 0755);
    EXPECT_EQ(written, after != before);
    if (!written) {
        EXPECT_EQ(after, before);
    }
    if (::geteuid() != 0) {
        EXPECT_FALSE(written);
    }
}

void WriteAllResumeKeys(SettingsStore& store, char fill) {
    for (int i = 0; i < ResumeList::ResumeCapacity; ++i)
        store.WriteString(ResumeList::ResumeKey(i), QString(3000, QChar::fromLatin1(fill)));
}

// Runs in a child process that SIGALRM ends in the middle of whatever it is doing.
[[noreturn]] void WriteUntilKilled(const QString& path, int delayUs) {
    SettingsStore store(path);
    itimerval timer{};
    timer.it_value.tv_usec = delayUs;
    setitimer(ITIMER_REAL, &timer, nullptr);
    for (char fill = 'y';; fill = fill == 'y' ? 'x' : 'y') {
        WriteAllResumeKeys(store, fill);
        store.Sync();
    }
}

TEST(SettingsStoreDeathTest, AKilledWriterLeavesTheOldOrTheNewProfile) {
    TempProfile profile;
    {
        SettingsStore store(profile.Path());
        WriteAllResumeKeys(store, 'x');
        ASSERT_TRUE(store.Sync());
    }
    const QByteArray oldBytes = profile.Bytes();
    const QByteArray newBytes = QByteArray(oldBytes).replace('x', 'y');
    for (int round = 0; round < 12; ++round) {
        EXPECT_EXIT(WriteUntilKilled(profile.Path(), 1000 + round * 9000),
                    testing::KilledBySignal(SIGALRM), "");
        const QByteArray bytes = profile.Bytes();
        ASSERT_TRUE(bytes == oldBytes || bytes == newBytes)
            << "round " << round << ": " << bytes.size() << " of " << oldBytes.size() << " bytes";
    }
    // The killed writer's lock file is no obstacle.
    SettingsStore store(profile.Path());
    EXPECT_TRUE(store.SavePlayerPath("/usr/bin/mplayer"));
}

} // namespace
