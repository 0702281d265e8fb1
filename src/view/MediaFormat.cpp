#include "view/MediaFormat.h"

QString MediaFormat::FormatFileSize(uint64_t size) {
    constexpr uint64_t kKiB = 1024;
    constexpr uint64_t kMiB = kKiB * 1024;
    constexpr uint64_t kGiB = kMiB * 1024;
    if (size < 10 * kKiB)
        return QString::number(size);
    if (size < 10 * kMiB)
        return QString::number(size >> 10) + QStringLiteral(" K");
    if (size < 10 * kGiB)
        return QString::number(size >> 20) + QStringLiteral(" M");
    return QString::number(size >> 30) + QStringLiteral(" G");
}

QString MediaFormat::FormatPosition(uint32_t seconds) {
    return QString::asprintf("%u:%02u:%02u", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}
