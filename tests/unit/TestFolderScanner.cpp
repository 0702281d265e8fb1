#include "view/FolderScanner.h"
#include "view/PathParts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kVideo = "avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx";
const QString kAudio = "mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla";

// A temporary folder to build levels in, addressed by relative paths.
class Level {
public:
    explicit Level(const QString& templatePath = QDir::tempPath() + "/ravolo-XXXXXX")
        : m_dir(templatePath) {
        EXPECT_TRUE(m_dir.isValid());
    }

    // QTemporaryDir cannot remove names that are not UTF-8.
    ~Level() {
        for (const QByteArray& rawPath : m_rawPaths)
            unlink(rawPath.constData());
    }

    QString Path(const QString& relative = QString()) const {
        return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
    }

    void Touch(const QString& relative, qint64 size = 0) const {
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
        ASSERT_TRUE(file.resize(size));
    }

    void TouchRaw(const QByteArray& rawName) {
        const QByteArray rawPath = QFile::encodeName(Path()) + '/' + rawName;
        const int fd = open(rawPath.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        close(fd);
        m_rawPaths.append(rawPath);
    }

    void MakeFolder(const QString& relative) const { ASSERT_TRUE(QDir().mkpath(Path(relative))); }

    void Link(const QString& target, const QString& relative) const {
        ASSERT_EQ(symlink(QFile::encodeName(target).constData(),
                          QFile::encodeName(Path(relative)).constData()),
                  0);
    }

    QList<MediaItem> Scan(const QString& extV = kVideo, const QString& extA = kAudio,
                          const FolderScanner::ResumeLookup& lookup = {}) const {
        return FolderScanner::ScanFolder(Path(), extV, extA, lookup);
    }

private:
    QTemporaryDir m_dir;
    QList<QByteArray> m_rawPaths;
};

QStringList Names(const QList<MediaItem>& items) {
    QStringList names;
    for (const MediaItem& item : items)
        names.append(PathParts::FileNamePart(item.path));
    return names;
}

const MediaItem* Find(const QList<MediaItem>& items, const QString& name) {
    for (const MediaItem& item : items) {
        if (PathParts::FileNamePart(item.path) == name)
            return &item;
    }
    return nullptr;
}

TEST(FolderScanner, SplitExtensionsKeepsNonEmptyUntrimmedRuns) {
    const std::pair<QString, QStringList> cases[] = {
        {"", {}},
        {";", {}},
        {"avi;mov", {"avi", "mov"}},
        {"avi;;mov", {"avi", "mov"}},
        {";avi;mov;", {"avi", "mov"}},
        {"avi; mov", {"avi", " mov"}},
        {" ; ", {" ", " "}},
        {"tar.gz", {"tar.gz"}},
    };
    for (const auto& [text, tokens] : cases)
        EXPECT_EQ(FolderScanner::SplitExtensions(text), tokens) << text.toStdString();
}

TEST(FolderScanner, ListsFoldersThenMediaFilesWithKindAndSize) {
    Level level;
    level.Touch("a.AVI", 12345);
    level.Touch("song.Mp3", 10240);
    level.Touch("a.tar");
    level.Touch("README");
    level.Touch("trailing.");
    level.MakeFolder("Sub");
    level.MakeFolder("Empty.avi"); // a folder named like media is a folder

    const QList<MediaItem> items = level.Scan();
    EXPECT_EQ(Names(items), (QStringList{"Empty.avi", "Sub", "a.AVI", "song.Mp3"}));
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0], (MediaItem{level.Path("Empty.avi"), MediaItemKind::Folder}));
    EXPECT_EQ(items[1], (MediaItem{level.Path("Sub"), MediaItemKind::Folder}));
    EXPECT_EQ(items[2], (MediaItem{level.Path("a.AVI"), MediaItemKind::File, false, 12345, 0}));
    EXPECT_EQ(items[3], (MediaItem{level.Path("song.Mp3"), MediaItemKind::File, true, 10240, 0}));
}

TEST(FolderScanner, HiddenEntriesAreSkipped) {
    Level level;
    level.Touch(".hidden.avi");
    level.MakeFolder(".hidden");
    level.Touch(".hidden/inside.avi");
    level.Touch("shown.avi");
    EXPECT_EQ(Names(level.Scan()), QStringList{"shown.avi"});
}

TEST(FolderScanner, ExtensionRules) {
    struct Case {
        QString extV;
        QString extA;
        QString file;
        bool listed;
        bool isAudio;
    };
    const Case cases[] = {
        {"avi;mp3", "mp3", "x.mp3", true, false}, // in both lists: video
        {"avi; mov", "", "x.mov", false, false},  // the token is " mov"
        {"avi;mov", "", "x.MOV", true, false},    {"", "FLAC", "x.flac", true, true},
        {"avi", "", "x.tar.avi", true, false}, // the text after the last dot
        {"tar.gz", "", "x.tar.gz", false, false}, {"avi", "", "avi", false, false}, // no dot
        {"ÄVI", "", "x.ävi", true, false},
    };
    for (const Case& c : cases) {
        Level level;
        level.Touch(c.file);
        const QList<MediaItem> items = level.Scan(c.extV, c.extA);
        ASSERT_EQ(items.size(), c.listed ? 1 : 0) << c.file.toStdString();
        if (c.listed) {
            EXPECT_EQ(items[0].isAudio, c.isAudio) << c.file.toStdString();
        }
    }
}

TEST(FolderScanner, NaturalOrderIgnoringCase) {
    Level level;
    for (const char* name : {"clip10.mp4", "clip2.mp4", "Clip1.mp4", "b.mp3", "A.wav"})
        level.Touch(name);
    for (const char* name : {"Season 10", "season 9", "Extras"})
        level.MakeFolder(name);
    EXPECT_EQ(Names(level.Scan()), (QStringList{"Extras", "season 9", "Season 10", "A.wav", "b.mp3",
                                                "Clip1.mp4", "clip2.mp4", "clip10.mp4"}));
}

// Bytes above 0x7F are no ASCII wherever char is unsigned (ARM): these names decode as UTF-8.
TEST(FolderScanner, JapaneseNamesListSortAndNameTheirFiles) {
    Level level;
    for (const char* name : {"第10話", "第2話", "あ"})
        level.MakeFolder(name);
    for (const char* name : {"映画10.mp4", "映画2.MP4", "予告.動画"})
        level.Touch(name);
    const QList<MediaItem> items = level.Scan(kVideo + ";動画");
    EXPECT_EQ(Names(items),
              (QStringList{"あ", "第2話", "第10話", "予告.動画", "映画2.MP4", "映画10.mp4"}));
    for (const MediaItem& item : items)
        EXPECT_TRUE(QFileInfo::exists(item.path)) << item.path.toStdString();
}

TEST(FolderScanner, NumbersOrderByValue) {
    const QStringList expected = {"a1.mp4",
                                  "ab.mp4",
                                  "clip 7a.mp4",
                                  "clip 007b.mp4",
                                  "clip 9.mp4",
                                  "clip 10.mp4",
                                  "clip 99999999999999999999.mp4",
                                  "clip 100000000000000000000.mp4",
                                  "Été 2.mp4",
                                  "été 10.mp4"};
    Level level;
    for (auto name = expected.rbegin(); name != expected.rend(); ++name)
        level.Touch(*name);
    EXPECT_EQ(Names(level.Scan()), expected);
}

TEST(FolderScanner, ResumePositionsByExactPath) {
    Level level;
    level.Touch("a.avi");
    level.Touch("b.avi");
    level.Touch("c.avi");
    const QHash<QString, uint32_t> resume = {
        {level.Path("a.avi"), 90}, {level.Path("B.avi"), 5}, {level.Path("c.avi "), 7}};
    QStringList asked;
    const QList<MediaItem> items = level.Scan(kVideo, kAudio, [&](const QString& path) {
        asked.append(path);
        return resume.value(path, 0);
    });
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].positionSec, 90u);
    EXPECT_EQ(items[1].positionSec, 0u);
    EXPECT_EQ(items[2].positionSec, 0u);
    asked.sort();
    EXPECT_EQ(asked, (QStringList{level.Path("a.avi"), level.Path("b.avi"), level.Path("c.avi")}));
}

TEST(FolderScanner, TrailingSlashGivesNoDoubleSlash) {
    Level level;
    level.Touch("a.avi");
    const QList<MediaItem> items =
        FolderScanner::ScanFolder(level.Path() + "/", kVideo, kAudio, {});
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].path, level.Path("a.avi"));
    for (const MediaItem& item : FolderScanner::ScanFolder("/", kVideo, kAudio, {})) {
        EXPECT_TRUE(item.path.startsWith('/')) << item.path.toStdString();
        EXPECT_FALSE(item.path.startsWith("//")) << item.path.toStdString();
    }
}

TEST(FolderScanner, OddNamesRoundTripToTheirFiles) {
    Level level;
    const QStringList names = {"say \"hi\".avi",   "back\\slash.avi", "bar|name.avi",
                               "日本語の動画.mp4", "cr\rname.avi",    "lf\nname.avi",
                               "tab\tname.avi",    "semi;colon.mp3",  "replacement\uFFFD.avi"};
    for (const QString& name : names)
        level.Touch(name);
    const QList<MediaItem> items = level.Scan();
    QStringList listed = Names(items);
    listed.sort();
    QStringList expected = names;
    expected.sort();
    EXPECT_EQ(listed, expected);
    for (const MediaItem& item : items)
        EXPECT_TRUE(QFile::exists(item.path)) << item.path.toStdString();
}

TEST(FolderScanner, NamesThatAreNotUtf8NeverNameAnotherFile) {
    Level level;
    level.TouchRaw("bad\xff.avi");
    level.TouchRaw("bad\xef\xbf\xbd.avi"); // what the bad name would decode to
    level.TouchRaw("good.avi");
    const QList<MediaItem> items = level.Scan();
    EXPECT_TRUE(Find(items, "good.avi"));
    // the bad name is skipped; the file named by its decoded text is listed once, as itself
    EXPECT_EQ(items.size(), 2);
    EXPECT_TRUE(Find(items, "bad\uFFFD.avi"));
    for (const MediaItem& item : items)
        EXPECT_TRUE(QFile::exists(item.path)) << item.path.toStdString();
}

TEST(FolderScanner, SymbolicLinksCountAsTheirTargets) {
    Level level;
    level.MakeFolder("real");
    level.Touch("real/clip.avi", 2048);
    level.Link(level.Path("real"), "linked folder");
    level.Link("real/clip.avi", "linked.avi");
    level.Link("nowhere.avi", "dangling.avi");
    level.Link("loop2.avi", "loop1.avi");
    level.Link("loop1.avi", "loop2.avi");
    level.Link("self.avi", "self.avi");
    level.Link(".", "dot link"); // a folder linking to itself is listed once, not walked
    const QList<MediaItem> items = level.Scan();
    EXPECT_EQ(Names(items), (QStringList{"dot link", "linked folder", "real", "linked.avi"}));
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[1].kind, MediaItemKind::Folder);
    EXPECT_EQ(items[3], (MediaItem{level.Path("linked.avi"), MediaItemKind::File, false, 2048, 0}));
}

TEST(FolderScanner, OnlyRegularFilesAreMedia) {
    Level level;
    ASSERT_EQ(mkfifo(QFile::encodeName(level.Path("pipe.avi")).constData(), 0644), 0);
    level.Link("pipe.avi", "pipe link.avi");
    level.Touch("plain.avi");
    EXPECT_EQ(Names(level.Scan()), QStringList{"plain.avi"});
}

TEST(FolderScanner, AFolderThatCannotBeReadGivesNothing) {
    Level level;
    level.Touch("file.avi");
    EXPECT_TRUE(FolderScanner::ScanFolder(level.Path("missing"), kVideo, kAudio, {}).isEmpty());
    EXPECT_TRUE(FolderScanner::ScanFolder(level.Path("file.avi"), kVideo, kAudio, {}).isEmpty());
    EXPECT_TRUE(FolderScanner::ScanFolder("", kVideo, kAudio, {}).isEmpty());
    // a pipe is refused as a folder without waiting for a writer
    ASSERT_EQ(mkfifo(QFile::encodeName(level.Path("pipe")).constData(), 0644), 0);
    EXPECT_TRUE(FolderScanner::ScanFolder(level.Path("pipe"), kVideo, kAudio, {}).isEmpty());
}

// Scans the readable and the locked folder as an ordinary user: permissions do not bind root.
// Bit 0 of the exit code: the readable folder was listed; bit 1: the locked one gave nothing.
int ScanAsNobody(const QString& readable, const QString& locked) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(100);
        int bits = FolderScanner::ScanFolder(readable, kVideo, kAudio, {}).size() == 1 ? 1 : 0;
        bits |= FolderScanner::ScanFolder(locked, kVideo, kAudio, {}).isEmpty() ? 2 : 0;
        _exit(bits);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(FolderScanner, AFolderWithoutReadPermissionGivesNothing) {
    Level level;
    level.MakeFolder("open");
    level.Touch("open/a.avi");
    level.MakeFolder("locked");
    level.Touch("locked/a.avi");
    ASSERT_EQ(chmod(QFile::encodeName(level.Path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(level.Path("locked")).constData(), 0), 0);
    const QString locked = level.Path("locked");
    if (geteuid() != 0) {
        EXPECT_TRUE(FolderScanner::ScanFolder(locked, kVideo, kAudio, {}).isEmpty());
    } else {
        const int bits = ScanAsNobody(level.Path("open"), locked);
        if (bits == 100 || (bits >= 0 && (bits & 1) == 0))
            GTEST_SKIP() << "running as root and no ordinary user can reach the temporary folder";
        EXPECT_EQ(bits, 3);
    }
    chmod(QFile::encodeName(locked).constData(), 0755);
}

TEST(FolderScanner, AHundredThousandEntriesAreListedCompletely) {
    // memory-backed where there is one: making 100,000 files on a disk takes long
    const QString shm = "/dev/shm";
    Level level(QFileInfo(shm).isWritable() ? shm + "/ravolo-XXXXXX"
                                            : QDir::tempPath() + "/ravolo-XXXXXX");
    constexpr int kFiles = 100000;
    const QByteArray folder = QFile::encodeName(level.Path()) + '/';
    for (int n = 0; n < kFiles; ++n) {
        const QByteArray name = folder + "clip " + QByteArray::number(n) + ".mp4";
        const int fd = open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    level.MakeFolder("sub");
    const QList<MediaItem> items = level.Scan();
    ASSERT_EQ(items.size(), kFiles + 1);
    EXPECT_EQ(items[0].kind, MediaItemKind::Folder);
    for (int n = 0; n < kFiles; ++n) {
        ASSERT_EQ(items[n + 1].path, level.Path(QStringLiteral("clip %1.mp4").arg(n)));
    }
}

} // namespace
