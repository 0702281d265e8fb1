#pragma once

#include <QString>
#include <cstdint>

// A resume entry as the profile stores it: "kind|seconds|size|path". The kind is a file's (2),
// with the audio flag (256) added for an audio file.
namespace StoredResume {

inline QString Entry(int kind, const QString& path, uint32_t positionSec, uint64_t fileSize) {
    return QStringLiteral("%1|%2|%3|%4").arg(kind).arg(positionSec).arg(fileSize).arg(path);
}
inline QString Video(const QString& path, uint32_t positionSec, uint64_t fileSize = 4096) {
    return Entry(2, path, positionSec, fileSize);
}
inline QString Audio(const QString& path, uint32_t positionSec, uint64_t fileSize = 4096) {
    return Entry(2 | 0x100, path, positionSec, fileSize);
}

} // namespace StoredResume
