#pragma once

#include "settings/MediaItem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// Reads one folder level: its sub-folders and its media files.
class FolderScanner {
public:
    // The stored resume position of a file's full path (exact match), 0 when it has none.
    using ResumeLookup = std::function<uint32_t(const QString& path)>;

    // The non-empty runs between ";", in order and untrimmed (" mov" keeps its blank).
    static QStringList SplitExtensions(const QString& text);

    // The folders (Folder items), then the media files (File items) of folder, each group in
    // natural order of path. Hidden entries (a name beginning with ".") are skipped; a symbolic
    // link counts as what it points to, and one that leads nowhere is skipped. A file is media
    // when the text after the last "." of its name matches a token of extV (video, checked
    // first) or of extA (audio), ignoring letter case. Only regular files are listed, and only
    // names that convert to text and back to the same bytes. A folder that cannot be read gives
    // an empty list.
    static QList<MediaItem> ScanFolder(const QString& folder, const QString& extV,
                                       const QString& extA, const ResumeLookup& resumeLookup);
};
