#include "settings/ResumeList.h"
#include "support/StoredSettings.h"
#include "support/TempProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace StoredSettings;

namespace {

ino_t Inode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

TEST(SettingsStore, ReadsStoredValuesLeniently) {
    TempProfile profile;
    profile.SetBytes(Ini("A=12\nB=-1\nC=junk\nD=\nE=\"a, b\"\nF=a, b\nG=@Rect(1 2 3 4)\n"
                         "H=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1agarbage)\nI=@ByteArray(abc)\n"
                         "J=5, 6\nK=  +8 \n"));
    const SettingsStore store(profile.Path());
    const struct {
        const char* key;
        uint32_t number;
        const char* text;
    } cases[] = {
        {"A", 12, "12"},   {"B", 0xFFFFFFFF, "-1"}, {"C", 77, "junk"}, {"D", 77, ""},
        {"E", 77, "a, b"}, {"F", 77, "a, b"},       {"G", 77, ""},     {"H", 77, ""},
        {"I", 77, "abc"},  {"J", 5, "5, 6"},        {"K", 8, "+8"},    {"Absent", 77, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store.ReadInt(QString::fromLatin1(c.key), 77), c.number) << c.key;
        EXPECT_EQ(store.ReadString(QString::fromLatin1(c.key)), QString::fromLatin1(c.text))
            << c.key;
    }
}

TEST(SettingsStore, TextsAndNumbersSurviveARestart) {
    TempProfile profile;
    const QString texts[] = {
        "@Variant(x)",
        "a, b",
        " lead and trail ",
        "line\nbreak\r\n",
        "\"quoted\" ; # = [x]",
        "back\\slash",
        QString::fromUtf8("/動画/第１話|x.mp4"),
        QString(1 << 20, u'é') + ",z",
    };
    SettingsStore store(profile.Path());
    for (int i = 0; i < int(std::size(texts)); ++i)
        store.WriteString(QString("T%1").arg(i), texts[i]);
    store.WriteInt(u"N", -5);
    ASSERT_TRUE(store.Sync());
    const auto reloaded = profile.Reloaded();
    for (int i = 0; i < int(std::size(texts)); ++i)
        EXPECT_EQ(reloaded->ReadString(QString("T%1").arg(i)), texts[i]) << i;
    EXPECT_EQ(reloaded->ReadInt(u"N", 0), 0xFFFFFFFBu);
    EXPECT_EQ(reloaded->ReadString(u"N"), "-5");
}

TEST(SettingsStore, LoadsViewSettingsWithTheirRanges) {
    const struct {
        QByteArray line;
        std::function<void(ViewSettings&)> expect;
    } cases[] = {
        {"", [](ViewSettings&) {}},
        {"SkipForwardSec=0", [](ViewSettings& s) { s.m_nSkipForwardSec = 1; }},
        {"SkipForwardSec=900", [](ViewSettings& s) { s.m_nSkipForwardSec = 600; }},
        {"SkipForwardSec=-1", [](ViewSettings& s) { s.m_nSkipForwardSec = 1; }},
        {"SkipForwardSec=4294967295", [](ViewSettings& s) { s.m_nSkipForwardSec = 1; }},
        {"SkipForwardSec=600", [](ViewSettings& s) { s.m_nSkipForwardSec = 600; }},
        {"SkipForwardSec=junk", [](ViewSettings&) {}},
        {"SkipBackSec=-5", [](ViewSettings& s) { s.m_nSkipBackSec = 1; }},
        {"SkipBackSec=30", [](ViewSettings& s) { s.m_nSkipBackSec = 30; }},
        {"EndChkTimeout=-1", [](ViewSettings& s) { s.m_nEndChkTimeout = 6000; }},
        {"EndChkTimeout=4294967295", [](ViewSettings& s) { s.m_nEndChkTimeout = 6000; }},
        {"EndChkTimeout=999", [](ViewSettings& s) { s.m_nEndChkTimeout = 1000; }},
        {"EndChkTimeout=3000", [](ViewSettings& s) { s.m_nEndChkTimeout = 3000; }},
        {"MPPrepCycleTime=499", [](ViewSettings& s) { s.mplayerPrepCycleTime = 500; }},
        {"MPPrepCycleTime=50001", [](ViewSettings& s) { s.mplayerPrepCycleTime = 50000; }},
        {"MPPrepCycleTime=-1", [](ViewSettings& s) { s.mplayerPrepCycleTime = 50000; }},
        {"ContinuousMode=0", [](ViewSettings& s) { s.m_bContinuousMode = false; }},
        {"ContinuousMode=2", [](ViewSettings&) {}},
        {"AFNoResume=0", [](ViewSettings& s) { s.m_bAFNoResume = false; }},
        {"FontSize=3:1",
         [](ViewSettings& s) {
             s.m_nFontSizeNormal = 3;
             s.m_nFontSizeFull = 1;
         }},
        {"FontSize=3", [](ViewSettings&) {}},
        {"FontSize=0:9:150",
         [](ViewSettings& s) {
             s.m_nFontSizeNormal = 0;
             s.m_nFontSizeFull = 9;
             s.m_nPadSize = 150;
         }},
        {"CurrentFolder=/home/me/films",
         [](ViewSettings& s) { s.m_strCurrentFolder = "/home/me/films"; }},
        {"ExtFilterV=mkv", [](ViewSettings& s) { s.m_strExtFilterV = "mkv"; }},
        {"ExtFilterV=\nExtFilterA=", [](ViewSettings&) {}},
    };
    for (const auto& c : cases) {
        ViewSettings expected = Defaults();
        c.expect(expected);
        EXPECT_EQ(LoadFrom(Ini(c.line + "\n")), expected) << c.line.toStdString();
    }
}

TEST(SettingsStore, DefaultExtensionsStayOutOfTheProfile) {
    TempProfile profile;
    profile.SetBytes(Ini("ExtFilterV=\nExtFilterA=\n"));
    const QByteArray before = profile.Bytes();
    SettingsStore store(profile.Path());
    EXPECT_EQ(Load(store).m_strExtFilterV, DefaultExtFilterV.toString());
    EXPECT_TRUE(store.Sync());
    EXPECT_EQ(profile.Bytes(), before);
}

TEST(SettingsStore, VersionCheckWritesOnlyWhatItMust) {
    const ProgramVersion current{0x00010005, 0};
    const struct {
        QByteArray ini;
        VersionCheck outcome;
        const char* version;
        const char* player;
    } cases[] = {
        {"", VersionCheck::Absent, "1.5.0.0", ""},
        {Ini("MPlayerPath=/usr/bin/mplayer\n"), VersionCheck::Absent, "1.5.0.0",
         "/usr/bin/mplayer"},
        {Ini("Version=1.5\nMPlayerPath=/usr/bin/mplayer\n"), VersionCheck::Absent, "1.5.0.0",
         "/usr/bin/mplayer"},
        {Ini("Version=1.4.0.0\nMPlayerPath=/usr/bin/mplayer\n"), VersionCheck::Different, "1.5.0.0",
         ""},
        {Ini("Version=1.5.0.1\nMPlayerPath=/usr/bin/mplayer\n"), VersionCheck::Different, "1.5.0.0",
         ""},
        {Ini("Version=1.5.0.0\nMPlayerPath=/usr/bin/mplayer\n"), VersionCheck::Same, "1.5.0.0",
         "/usr/bin/mplayer"},
        {Ini("Version=1.5.0.0.3\nMPlayerPath=/usr/bin/mplayer\n"), VersionCheck::Same, "1.5.0.0.3",
         "/usr/bin/mplayer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        TempProfile profile;
        if (!c.ini.isEmpty())
            profile.SetBytes(c.ini);
        const QByteArray before = profile.Bytes();
        const ino_t inode = Inode(profile.Path());
        SettingsStore store(profile.Path());
        EXPECT_EQ(store.CheckVersion(current), c.outcome);
        EXPECT_TRUE(store.Sync());
        if (c.outcome == VersionCheck::Same) {
            EXPECT_EQ(Inode(profile.Path()), inode) << "the profile was rewritten";
            EXPECT_EQ(profile.Bytes(), before);
        }
        const auto reloaded = profile.Reloaded();
        EXPECT_EQ(reloaded->ReadText(SettingKey::Version), c.version);
        EXPECT_EQ(reloaded->LoadPlayerPath(), c.player);
    }
}

TEST(SettingsStore, DefaultProfileFollowsXdgConfigHome) {
    struct EnvironmentGuard {
        const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        const QByteArray old = qgetenv("XDG_CONFIG_HOME");
        ~EnvironmentGuard() {
            wasSet ? qputenv("XDG_CONFIG_HOME", old) : qunsetenv("XDG_CONFIG_HOME");
        }
    } guard;
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString expected = config.path() + "/Quendal/Ravolo.ini";
    EXPECT_EQ(SettingsStore::DefaultProfilePath(), expected);
    SettingsStore store(SettingsStore::DefaultProfilePath());
    EXPECT_TRUE(store.SavePlayerPath("/usr/bin/mplayer"));
    EXPECT_TRUE(QFileInfo(expected).isFile());
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsStore::DefaultProfilePath(),
              QDir::homePath() + "/.config/Quendal/Ravolo.ini");
}

TEST(SettingsStore, DialogSettingsAreWrittenAsTheyLoad) {
    TempProfile profile;
    ViewSettings settings = Defaults();
    settings.m_nFontSizeNormal = 1;
    settings.m_nFontSizeFull = 3;
    settings.m_nPadSize = 70;
    settings.m_strExtFilterV = "mkv;avi";
    settings.m_strExtFilterA = "ogg";
    settings.m_bAFNoResume = false;
    settings.m_nSkipForwardSec = 30;
    settings.m_nSkipBackSec = 5;
    settings.m_nEndChkTimeout = 5000;
    settings.mplayerPrepCycleTime = 40000;
    SettingsStore store(profile.Path());
    EXPECT_TRUE(store.WriteDialogSettings(settings));
    const auto reloaded = profile.Reloaded();
    EXPECT_EQ(reloaded->ReadString(u"FontSize"), "1:3:70");
    EXPECT_EQ(reloaded->ReadString(u"AFNoResume"), "0");
    EXPECT_EQ(reloaded->ReadString(u"EndChkTimeout"), "5000");
    EXPECT_EQ(reloaded->ReadString(u"MPPrepCycleTime"), "40000");
    EXPECT_EQ(Load(*reloaded), settings);
}

TEST(SettingsStore, ViewStateIsWrittenWholeAndSynced) {
    TempProfile profile;
    profile.SetBytes(Ini("Resume3=2|1|1|/old/stale.avi\n"));
    ResumeList resumeList;
    MediaItem item{"/films/a.avi", MediaItemKind::File, false, 4096, 0};
    resumeList.RegisterResumeEntry(item, 65, true);
    SettingsStore store(profile.Path());
    EXPECT_TRUE(store.SaveViewState("/films", resumeList, false));
    const auto reloaded = profile.Reloaded();
    EXPECT_EQ(reloaded->ReadText(SettingKey::CurrentFolder), "/films");
    EXPECT_EQ(reloaded->ReadString(u"Resume0"), "2|65|4096|/films/a.avi");
    EXPECT_EQ(reloaded->ReadString(u"Resume3"), "");
    EXPECT_FALSE(reloaded->ReadFlag(SettingKey::ContinuousMode));
    EXPECT_EQ(reloaded->ReadString(u"ContinuousMode"), "0");
}

TEST(SettingsStore, FrameStateRoundTrips) {
    TempProfile profile;
    SettingsStore store(profile.Path());
    EXPECT_FALSE(store.ReadFullScreen());
    EXPECT_EQ(store.ReadWindowPos(), std::nullopt);
    EXPECT_TRUE(store.WriteFrameState(true, std::nullopt));
    auto reloaded = profile.Reloaded();
    EXPECT_TRUE(reloaded->ReadFullScreen());
    EXPECT_EQ(reloaded->ReadString(u"WindowPos"), "");
    const WindowPlacementValues placement{2, 3, -1, -1, -8, -31, 100, 80, 740, 560};
    EXPECT_TRUE(store.WriteFrameState(false, placement));
    reloaded = profile.Reloaded();
    EXPECT_FALSE(reloaded->ReadFullScreen());
    EXPECT_EQ(reloaded->ReadString(u"WindowPos"), "2:3:-1:-1:-8:-31:100:80:740:560");
    EXPECT_EQ(reloaded->ReadWindowPos(), placement);
}

} // namespace
