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

bool IsAscii(const char* text, qsizetype length) {
    return std::all_of(text, text + length, [](char c) { return c > 0; });
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
bool AppendName(QString& path, const char* rawName, qsizetype rawLength) {
    if (IsAscii(rawName, rawLength)) {
        path.append(QLatin1StringView(rawName, rawLength));
        return true;
    }
    const QString name = QString::fromUtf8(rawName, rawLength);
    if (name.contains(QChar::ReplacementCharacter) &&
        name.toUtf8() != QByteArrayView(rawName, rawLength))
        return false;
    path.append(name);
    return true;
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
        const MediaType media = MediaTypeOf(entry.d_name);
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

    MediaType MediaTypeOf(const char* name) {
        const char* dot = std::strrchr(name, '.');
        if (dot == nullptr)
            return MediaType::None;
        FoldExtension(dot + 1, m_extension);
        if (m_extensions.video.contains(m_extension))
            return MediaType::Video;
        if (m_extensions.audio.contains(m_extension))
            return MediaType::Audio;
        return MediaType::None;
    }

    void Append(std::vector<KeyedItem>& group, const char* rawName, MediaItemKind kind,
                MediaType media, uint64_t size) {
        const qsizetype rawLength = static_cast<qsizetype>(std::strlen(rawName));
        QString path;
        path.reserve(m_prefix.size() + rawLength);
        path.append(m_prefix);
        if (!AppendName(path, rawName, rawLength))
            return;
        const QStringView name = QStringView(path).sliced(m_prefix.size());
        KeyedItem keyed{NaturalSortKey(QString::fromRawData(name.data(), name.size())),
                        MediaItem{std::move(path), kind}};
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
    QString m_extension; // reused for every entry
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
