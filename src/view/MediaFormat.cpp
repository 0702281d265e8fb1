#include "view/MediaFormat.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

// Made in one piece: a large folder formats a size for every file.
QString SizeText(uint64_t value, std::string_view unit) {
    char text[32]; // 20 digits at most, and the unit
    char* end = std::to_chars(text, text + 20, value).ptr;
    end = std::copy(unit.begin(), unit.end(), end);
    return QString::fromLatin1(text, end - text);
}

} // namespace

QString MediaFormat::FormatFileSize(uint64_t size) {
    constexpr uint64_t kKiB = 1024;
    constexpr uint64_t kMiB = kKiB * 1024;
    constexpr uint64_t kGiB = kMiB * 1024;
    if (size < 10 * kKiB)
        return SizeText(size, "");
    if (size < 10 * kMiB)
        return SizeText(size >> 10, " K");
    if (size < 10 * kGiB)
        return SizeText(size >> 20, " M");
    return SizeText(size >> 30, " G");
}

QString MediaFormat::FormatPosition(uint32_t seconds) {
    return QString::asprintf("%u:%02u:%02u", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}
