#include "settings/ResumeList.h"
#include "settings/SettingsStore.h"
#include "support/TempProfile.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

MediaItem Video(const QString& path, uint32_t position = 0) {
    return MediaItem{path, MediaItemKind::File, false, 4096, position};
}

QStringList Paths(const ResumeList& list) {
    QStringList paths;
    for (const MediaItem& entry : list.Entries())
        paths << entry.path;
    return paths;
}

// A list built the way playback builds it: each file registered with its number as position.
ResumeList Registered(const QStringList& newestFirst) {
    ResumeList list;
    for (auto it = newestFirst.crbegin(); it != newestFirst.crend(); ++it) {
        MediaItem item = Video(*it);
        list.RegisterResumeEntry(item, static_cast<uint32_t>(it->size()), true);
    }
    return list;
}

// The list as the next start of the program would load it.
ResumeList SavedAndLoaded(const ResumeList& list, TempProfile& profile) {
    SettingsStore store(profile.Path());
    list.Save(store);
    EXPECT_TRUE(store.Sync());
    ResumeList loaded;
    loaded.Load(*profile.Reloaded());
    return loaded;
}

TEST(ResumeList, KeepsTheThirtyNewestRegistrations) {
    ResumeList list;
    for (int i = 1; i <= 31; ++i) {
        MediaItem item = Video(QString("/films/f%1.avi").arg(i));
        list.RegisterResumeEntry(item, 100 + i, true);
        EXPECT_EQ(item.positionSec, uint32_t(100 + i));
    }
    EXPECT_EQ(list.Count(), ResumeList::ResumeCapacity);
    EXPECT_EQ(list.Entries().front().path, "/films/f31.avi");
    EXPECT_EQ(list.Entries().back().path, "/films/f2.avi");
    EXPECT_EQ(list.PositionsByPath().value("/films/f1.avi"), 0u);

    TempProfile profile;
    SettingsStore store(profile.Path());
    list.Save(store);
    ASSERT_TRUE(store.Sync());
    const auto reloaded = profile.Reloaded();
    EXPECT_EQ(reloaded->ReadString(u"Resume0"), "2|131|4096|/films/f31.avi");
    EXPECT_EQ(reloaded->ReadString(u"Resume29"), "2|102|4096|/films/f2.avi");
}

TEST(ResumeList, ReplayingAndRegisteringMovesTheFileToTheFront) {
    ResumeList list = Registered({"/a.avi", "/b.avi", "/c.avi"});
    MediaItem current = Video("/c.avi");
    list.DetachResumeEntry(current.path);
    EXPECT_TRUE(list.HasHeldEntry());
    list.RegisterResumeEntry(current, 77, true);
    EXPECT_EQ(Paths(list), QStringList({"/c.avi", "/a.avi", "/b.avi"}));
    EXPECT_EQ(list.PositionsByPath().value("/c.avi"), 77u);
    EXPECT_FALSE(list.HasHeldEntry());
}

TEST(ResumeList, StoppingWithoutRegistrationRestoresTheEntryInPlace) {
    const QStringList paths = {"/a.avi", "/b.avi", "/c.avi", "/d.avi"};
    for (int index = 0; index < paths.size(); ++index) {
        ResumeList list = Registered(paths);
        list.DetachResumeEntry(paths[index]);
        ASSERT_TRUE(list.HasHeldEntry());
        EXPECT_EQ(list.Count(), paths.size() - 1);
        list.RestoreDetachedEntry();
        EXPECT_EQ(Paths(list), paths);
        EXPECT_EQ(list.PositionsByPath().value(paths[index]), uint32_t(paths[index].size()));
        EXPECT_FALSE(list.HasHeldEntry());
    }
}

TEST(ResumeList, AFileIsItsExactPath) {
    // Two files that differ only in case, each with its own entry (position = path length + n).
    const QStringList stored = {"/x/Film.mkv", "/x/film.mkv", "/x/film.mkv "};
    struct Row {
        const char* path;
        int index; // the entry every lookup by this path finds, -1 none
    };
    const Row rows[] = {
        {"/x/Film.mkv", 0},  {"/x/film.mkv", 1},  {"/x/film.mkv ", 2},
        {"/x/FILM.mkv", -1}, {"/X/film.mkv", -1}, {"/x/film.MKV", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const QString path = row.path;
        QStringList rest = stored;
        if (row.index >= 0)
            rest.removeAt(row.index);
        EXPECT_EQ(Registered(stored).PositionsByPath().value(path),
                  row.index < 0 ? 0u : uint32_t(stored[row.index].size()));
        ResumeList detached = Registered(stored);
        detached.DetachResumeEntry(path);
        EXPECT_EQ(detached.HasHeldEntry(), row.index >= 0);
        EXPECT_EQ(Paths(detached), rest);
        ResumeList removed = Registered(stored);
        EXPECT_EQ(removed.RemoveResumeEntryByPath(path), row.index >= 0);
        EXPECT_EQ(Paths(removed), rest);
    }
}

TEST(ResumeList, RemovingByIndexOutsideTheListRemovesNothing) {
    ResumeList list = Registered({"/a.avi"});
    list.RemoveResumeEntryAt(5);
    list.RemoveResumeEntryAt(-1);
    EXPECT_EQ(Paths(list), QStringList({"/a.avi"}));
    list.RemoveResumeEntryAt(0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ResumeList, AudioIsNotRegisteredWhenAFNoResumeIsOn) {
    ResumeList list = Registered({"/a.avi"});
    MediaItem song{"/music/s.mp3", MediaItemKind::File, true, 999, 0};
    list.RegisterResumeEntry(song, 30, false); // registered while the setting was off
    EXPECT_EQ(Paths(list), QStringList({"/music/s.mp3", "/a.avi"}));

    list.DetachResumeEntry(song.path);
    list.RegisterResumeEntry(song, 60, true);
    EXPECT_EQ(Paths(list), QStringList({"/a.avi"}));
    TempProfile profile;
    EXPECT_EQ(Paths(SavedAndLoaded(list, profile)), QStringList({"/a.avi"}));
}

TEST(ResumeList, LoadsWhatIsWellFormedAndSavesItCompactly) {
    TempProfile profile;
    profile.SetBytes("[Settings]\n"
                     "Resume0=2|10|100|/films/first.avi\n"
                     "Resume1=258|20|200|/music/second.mp3\n"
                     "Resume2=2|65|4096\n"
                     "Resume3=garbage\n"
                     "Resume4=2|1|18446744073709551616|/too/big.avi\n"
                     "Resume5=3|30|300|/films/a|b.avi\n"
                     "Resume6=2|40|400|\n"
                     "Resume30=2|1|1|/beyond/the/last/key.avi\n");
    ResumeList list;
    list.Load(*profile.Reloaded());
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Entries()[1],
              (MediaItem{"/music/second.mp3", MediaItemKind::File, true, 200, 20}));
    EXPECT_EQ(list.Entries()[2],
              (MediaItem{"/films/a|b.avi", MediaItemKind::MissingFile, false, 300, 30}));
    EXPECT_EQ(list.Entries()[3], (MediaItem{"", MediaItemKind::File, false, 400, 40}));
    list.EntryAt(0).kind = MediaItemKind::MissingFile;

    SettingsStore store(profile.Path());
    list.Save(store);
    ASSERT_TRUE(store.Sync());
    const auto reloaded = profile.Reloaded();
    const QStringList expected = {"3|10|100|/films/first.avi", "258|20|200|/music/second.mp3",
                                  "3|30|300|/films/a|b.avi", "2|40|400|"};
    for (int i = 0; i < ResumeList::ResumeCapacity; ++i)
        EXPECT_EQ(reloaded->ReadString(ResumeList::ResumeKey(i)), expected.value(i)) << i;
    EXPECT_TRUE(profile.Bytes().contains("\nResume29=\n"));
}

TEST(ResumeList, KeysZeroOneAndFiveLoadAsThreeEntries) {
    TempProfile profile;
    profile.SetBytes("[Settings]\nResume0=2|1|1|/a.avi\nResume1=2|2|2|/b.avi\n"
                     "Resume5=2|5|5|/c.avi\n");
    ResumeList list;
    list.Load(*profile.Reloaded());
    EXPECT_EQ(Paths(list), QStringList({"/a.avi", "/b.avi", "/c.avi"}));
    const ResumeList again = SavedAndLoaded(list, profile);
    EXPECT_EQ(again.Entries(), list.Entries());
    EXPECT_EQ(profile.Reloaded()->ReadString(u"Resume2"), "2|5|5|/c.avi");
    EXPECT_EQ(profile.Reloaded()->ReadString(u"Resume5"), "");
}

// While a file plays its entry is held outside the list; the profile keeps it in its place so a
// crash cannot lose it, and a stop decides what the next save writes.
TEST(ResumeList, TheHeldEntryIsSavedInItsPlaceUntilPlaybackDecides) {
    TempProfile profile;
    ResumeList list = Registered({"/a.avi", "/b.avi", "/c.avi"});
    list.DetachResumeEntry("/b.avi");
    EXPECT_EQ(Paths(SavedAndLoaded(list, profile)), QStringList({"/a.avi", "/b.avi", "/c.avi"}));
    EXPECT_EQ(Paths(list), QStringList({"/a.avi", "/c.avi"})) << "Save changed the list";
    EXPECT_TRUE(list.HasHeldEntry());

    MediaItem current = Video("/b.avi");
    list.RegisterResumeEntry(current, 99, true);
    EXPECT_EQ(Paths(SavedAndLoaded(list, profile)), QStringList({"/b.avi", "/a.avi", "/c.avi"}));

    list.DetachResumeEntry("/a.avi");
    list.ClearDetachedEntry(); // played to its end
    EXPECT_EQ(Paths(SavedAndLoaded(list, profile)), QStringList({"/b.avi", "/c.avi"}));
}

TEST(ResumeList, NamesWithBarsAndJapaneseRoundTrip) {
    TempProfile profile;
    ResumeList list = Registered({"/odd|name|.avi", QString::fromUtf8("/動画/第１話 | 完.mp4"),
                                  "/films/a, b.avi", "@Variant(x)"});
    EXPECT_EQ(SavedAndLoaded(list, profile).Entries(), list.Entries());
}

} // namespace
