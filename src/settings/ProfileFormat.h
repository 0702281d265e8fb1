#pragma once

#include "settings/MediaItem.h"
#include "settings/ProgramVersion.h"
#include "settings/WindowPlacementValues.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// The text formats of the profile's values. Numbers are read the way scanf reads "%d" and "%u":
// optional blanks, an optional sign, decimal digits, the value wrapped to 32 bits; reading stops
// at the first number that is missing and whatever follows the last one read is ignored.

// One 32-bit word; nullopt when the text does not start with a number.
std::optional<uint32_t> ParseProfileInt(QStringView text);

// "major.minor.build.revision": nullopt unless all four numbers are read.
std::optional<ProgramVersion> ParseVersion(QStringView text);

struct FontSizeValues {
    int32_t normal = 2; // size step when windowed
    int32_t full = 4;   // size step in full screen
    int32_t pad = 40;   // control pad scale in percent

    bool operator==(const FontSizeValues&) const = default;
};

// "normal:full:pad"; at least two numbers, else all three defaults. Not clamped.
FontSizeValues ParseFontSize(QStringView text);
QString FormatFontSize(const FontSizeValues& values);

// Ten numbers separated by ':'; nullopt unless all ten are read.
std::optional<WindowPlacementValues> ParseWindowPos(QStringView text);
QString FormatWindowPos(const WindowPlacementValues& values);

// "packedKind|positionSec|fileSize|path", packedKind being the kind plus 256 for audio. The path
// is everything after the '|' that ends the third number, so a path may itself hold '|'.
// nullopt for a malformed entry: fewer than three numbers, no '|' right after the third, or a
// size beyond 64 bits.
std::optional<MediaItem> ParseResumeEntry(QStringView text);
QString FormatResumeEntry(const MediaItem& item);
