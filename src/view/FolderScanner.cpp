#include "view/FolderScanner.h"

#include "platform/NaturalCompare.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

enum class MediaType : uint8_t { None, Video, Audio };

struct ExtensionSets {
    QSet<QString> video;
    QSet<QString> audio;
};

// One entry as read: where its name and its natural-order key (computed once, so that sorting
// compares keys only) lie in the level's text buffers. Sorting these small records over two
// contiguous buffers, and making the paths only afterwards, in order, keeps a large folder's
// sort within a few megabytes of memory. The records are kept small because the sort moves them
// many times: a name has at most 255 bytes and its key a few times as many code units.
struct LevelEntry {
    uint64_t fileSize;
    uint32_t nameStart;
    uint32_t keyStart;
    uint16_t nameLength;
    uint16_t keyLength;
    MediaType media;
};
// Where the buffers stop growing: beyond this, offsets would not fit a record (billions of names).
constexpr qsizetype kMaxBufferUnits = std::numeric_limits<uint32_t>::max() - 1024;

QSet<QString> FoldedTokens(const QString& text) {
    QSet<QString> tokens;
    for (const QString& token : FolderScanner::SplitExtensions(text))
        tokens.insert(token.toCaseFolded());
    return tokens;
}

// By value, not by sign: char is unsigned on ARM, PowerPC and s390x.
bool IsAscii(const char* text, qsizetype length) {
    return std::all_of(text, text + length,
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The extension folded into buffer: ASCII directly, which keeps the per-file work free of
// allocations; anything else through Qt's case folding.
void FoldExtension(const char* extension, QString& buffer) {
    const qsizetype length = static_cast<qsizetype>(std::strlen(extension));
    if (IsAscii(extension, length)) {
        buffer.resize(length);
        std::transform(extension, extension + length, buffer.begin(), [](char c) {
            return QChar(static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        });
    } else {
        buffer = QString::fromUtf8(extension, length).toCaseFolded();
    }
}

// Names are UTF-8 (Qt's file name encoding on Linux). One that is not would decode to text
// naming other bytes, so it is refused rather than open a different file or none.
bool AppendName(QString& text, const char* rawName, qsizetype rawLength) {
    if (IsAscii(rawName, rawLength)) {
        text.append(QLatin1StringView(rawName, rawLength));
        return true;
    }
    const QString name = QString::fromUtf8(rawName, rawLength);
    if (name.contains(QChar::ReplacementCharacter) &&
        name.toUtf8() != QByteArrayView(rawName, rawLength))
        return false;
    text.append(name);
    return true;
}

class LevelReader {
public:
    LevelReader(const QString& folder, ExtensionSets extensions,
                const FolderScanner::ResumeLookup& resumeLookup)
        : m_Prefix(folder.endsWith(u'/') ? folder : folder + u'/'),
          m_Extensions(std::move(extensions)), m_resumeLookup(resumeLookup) {}

    void Read(DIR* dir) {
        const int dirFd = dirfd(dir);
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                ReadEntry(dirFd, *entry);
        }
    }

    QList<MediaItem> TakeSorted() {
        SortByKey(m_Folders);
        SortByKey(m_Files);
        QList<MediaItem> items;
        items.reserve(static_cast<qsizetype>(m_Folders.size() + m_Files.size()));
        for (const LevelEntry& entry : m_Folders)
            items.append(MediaItem{PathOf(entry), MediaItemKind::Folder});
        for (const LevelEntry& entry : m_Files) {
            MediaItem item{PathOf(entry), MediaItemKind::File};
            item.isAudio = entry.media == MediaType::Audio;
            item.fileSize = entry.fileSize;
            if (m_resumeLookup)
                item.positionSec = m_resumeLookup(item.path);
            items.append(std::move(item));
        }
        return items;
    }

private:
    void ReadEntry(int dirFd, const dirent& entry) {
        const unsigned char type = entry.d_type;
        if (type == DT_DIR) {
            Append(m_Folders, entry.d_name, MediaType::None, 0);
            return;
        }
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
            return; // devices, pipes and sockets are no media
        const MediaType media = MediaTypeOf(entry.d_name);
        if (type == DT_REG && media == MediaType::None)
            return;
        // Follows links: a link counts as its target; a dangling link or a loop fails here.
        struct stat status {};
        if (fstatat(dirFd, entry.d_name, &status, 0) != 0)
            return;
        if (S_ISDIR(status.st_mode))
            Append(m_Folders, entry.d_name, MediaType::None, 0);
        else if (S_ISREG(status.st_mode) && media != MediaType::None)
            Append(m_Files, entry.d_name, media, static_cast<uint64_t>(status.st_size));
    }

    MediaType MediaTypeOf(const char* name) {
        const char* dot = std::strrchr(name, '.');
        if (dot == nullptr)
            return MediaType::None;
        FoldExtension(dot + 1, m_Extension);
        if (m_Extensions.video.contains(m_Extension))
            return MediaType::Video;
        if (m_Extensions.audio.contains(m_Extension))
            return MediaType::Audio;
        return MediaType::None;
    }

    void Append(std::vector<LevelEntry>& group, const char* rawName, MediaType media,
                uint64_t size) {
        if (m_Names.size() > kMaxBufferUnits || m_Keys.size() > kMaxBufferUnits)
            return;
        const qsizetype nameStart = m_Names.size();
        if (!AppendName(m_Names, rawName, static_cast<qsizetype>(std::strlen(rawName))))
            return;
        const qsizetype nameLength = m_Names.size() - nameStart;
        const qsizetype keyStart = m_Keys.size();
        // Folded straight into the key buffer: a copy, so m_Keys never points into m_Names,
        // which moves as it grows.
        AppendNaturalSortKey(m_Keys, QStringView(m_Names).sliced(nameStart, nameLength));
        group.push_back({size, static_cast<uint32_t>(nameStart), static_cast<uint32_t>(keyStart),
                         static_cast<uint16_t>(nameLength),
                         static_cast<uint16_t>(m_Keys.size() - keyStart), media});
    }

    QString PathOf(const LevelEntry& entry) const {
        QString path;
        path.reserve(m_Prefix.size() + entry.nameLength);
        path.append(m_Prefix);
        path.append(QStringView(m_Names).sliced(entry.nameStart, entry.nameLength));
        return path;
    }

    // Paths share the folder, so ordering the names orders the paths.
    void SortByKey(std::vector<LevelEntry>& group) const {
        const QStringView keys(m_Keys);
        std::stable_sort(group.begin(), group.end(),
                         [keys](const LevelEntry& a, const LevelEntry& b) {
                             return NaturalCompareKeys(keys.sliced(a.keyStart, a.keyLength),
                                                       keys.sliced(b.keyStart, b.keyLength)) < 0;
                         });
    }

    const QString m_Prefix;
    const ExtensionSets m_Extensions;
    QString m_Extension; // reused for every entry
    const FolderScanner::ResumeLookup& m_resumeLookup;
    QString m_Names; // every name read, one after the other
    QString m_Keys;  // their keys, likewise
    std::vector<LevelEntry> m_Folders;
    std::vector<LevelEntry> m_Files;
};

} // namespace

QStringList FolderScanner::SplitExtensions(const QString& text) {
    return text.split(u';', Qt::SkipEmptyParts);
}

QList<MediaItem> FolderScanner::ScanFolder(const QString& folder, const QString& extV,
                                           const QString& extA, const ResumeLookup& resumeLookup) {
    const int fd = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return {};
    }
    LevelReader reader(folder, {FoldedTokens(extV), FoldedTokens(extA)}, resumeLookup);
    reader.Read(dir);
    closedir(dir);
    return reader.TakeSorted();
}
