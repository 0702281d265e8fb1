#pragma once

#include <QString>
#include <cstdint>

enum class MediaItemKind : int32_t { Drive = 0, Folder = 1, File = 2, MissingFile = 3 };

// One drive, folder or media file: the folder entries, the resume entries, the held entry and
// the item being played all use this record.
struct MediaItem {
    QString path; // a drive: "root|display name"; otherwise the full path
    MediaItemKind kind = MediaItemKind::MissingFile;
    bool isAudio = false;
    uint64_t fileSize = 0;
    uint32_t positionSec = 0; // 0: no stored position

    bool operator==(const MediaItem&) const = default;
};
