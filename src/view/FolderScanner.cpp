#include "view/FolderScanner.h"

#include "platform/NaturalCompare.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

enum class MediaType { None, Video, Audio };

struct ExtensionSets {
    QSet<QString> video;
    QSet<QString> audio;
};

// An item with its natural-order key, computed once so that sorting compares keys only.
struct KeyedItem {
    QString key;
    MediaItem item;
};

QSet<QString> FoldedTokens(const QString& text) {
    QSet<QString> tokens;
    for (const QString& token : FolderScanner::SplitExtensions(text))
        tokens.insert(token.toCaseFolded());
    return tokens;
}

MediaType MediaTypeOf(const char* name, const ExtensionSets& extensions) {
    const char* dot = std::strrchr(name, '.');
    if (dot == nullptr)
        return MediaType::None;
    const QString extension = QString::fromUtf8(dot + 1).toCaseFolded();
    if (extensions.video.contains(extension))
        return MediaType::Video;
    if (extensions.audio.contains(extension))
        return MediaType::Audio;
    return MediaType::None;
}

// The name as text, or "" when the text would name other bytes (not UTF-8): listing such a
// name would open a different file or none.
QString DecodeName(const char* name) {
    const QString text = QFile::decodeName(name);
    if (text.contains(QChar::ReplacementCharacter) && QFile::encodeName(text) != name)
        return QString();
    return text;
}

class LevelReader {
public:
    LevelReader(const QString& folder, ExtensionSets extensions,
                const FolderScanner::ResumeLookup& resumeLookup)
        : m_prefix(folder.endsWith(u'/') ? folder : folder + u'/'),
          m_extensions(std::move(extensions)), m_resumeLookup(resumeLookup) {}

    void Read(DIR* dir) {
        const int dirFd = dirfd(dir);
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                ReadEntry(dirFd, *entry);
        }
    }

    QList<MediaItem> TakeSorted() {
        SortByKey(m_folders);
        SortByKey(m_files);
        QList<MediaItem> items;
        items.reserve(static_cast<qsizetype>(m_folders.size() + m_files.size()));
        for (KeyedItem& keyed : m_folders)
            items.append(std::move(keyed.item));
        for (KeyedItem& keyed : m_files)
            items.append(std::move(keyed.item));
        return items;
    }

private:
    void ReadEntry(int dirFd, const dirent& entry) {
        const unsigned char type = entry.d_type;
        if (type == DT_DIR) {
            Append(m_folders, entry.d_name, Folder, MediaType::None, 0);
            return;
        }
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
            return; // devices, pipes and sockets are no media
        const MediaType media = MediaTypeOf(entry.d_name, m_extensions);
        if (type == DT_REG && media == MediaType::None)
            return;
        // Follows links: a link counts as its target; a dangling link or a loop fails here.
        struct stat status {};
        if (fstatat(dirFd, entry.d_name, &status, 0) != 0)
            return;
        if (S_ISDIR(status.st_mode))
            Append(m_folders, entry.d_name, Folder, MediaType::None, 0);
        else if (S_ISREG(status.st_mode) && media != MediaType::None)
            Append(m_files, entry.d_name, File, media, static_cast<uint64_t>(status.st_size));
    }

    void Append(std::vector<KeyedItem>& group, const char* rawName, MediaItemKind kind,
                MediaType media, uint64_t size) {
        const QString name = DecodeName(rawName);
        if (name.isEmpty())
            return;
        KeyedItem keyed{NaturalSortKey(name), MediaItem{m_prefix + name, kind}};
        if (kind == File) {
            keyed.item.isAudio = media == MediaType::Audio;
            keyed.item.fileSize = size;
            if (m_resumeLookup)
                keyed.item.positionSec = m_resumeLookup(keyed.item.path);
        }
        group.push_back(std::move(keyed));
    }

    // Paths share the folder, so ordering the names orders the paths.
    static void SortByKey(std::vector<KeyedItem>& group) {
        std::stable_sort(group.begin(), group.end(), [](const KeyedItem& a, const KeyedItem& b) {
            return NaturalCompareFolded(a.key, b.key) < 0;
        });
    }

    const QString m_prefix;
    const ExtensionSets m_extensions;
    const FolderScanner::ResumeLookup& m_resumeLookup;
    std::vector<KeyedItem> m_folders;
    std::vector<KeyedItem> m_files;
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
