#pragma once

#include <QString>
#include <cstdint>

// The texts of the Size and Position columns.
class MediaFormat {
public:
    // Bytes below 10240, else K, M or G with at least two digits, always rounded down.
    static QString FormatFileSize(uint64_t size);
    // "h:mm:ss"; the hours are not zero-filled and have no upper bound.
    static QString FormatPosition(uint32_t seconds);
};
