#pragma once

#include <QStringView>
#include <array>
#include <cstddef>
#include <cstdint>

// Every key of the profile group "Settings" apart from the thirty resume keys, which the resume
// list names itself.
enum class SettingKey {
    Version,
    MPlayerPath,
    FullScreen,
    WindowPos,
    FontSize,
    CurrentFolder,
    ContinuousMode,
    SkipForwardSec,
    SkipBackSec,
    ExtFilterV,
    ExtFilterA,
    AFNoResume,
    EndChkTimeout,
    MPPrepCycleTime,
};

enum class SettingType {
    Text,   // default empty; an empty value counts as absent
    Flag,   // integer, non-zero means on, written as 0 or 1
    Number, // integer, clamped on load as its range says
};

// How a stored 32-bit word is compared with the bounds when loaded.
enum class SettingRange { None, Signed, Unsigned };

struct SettingDirective {
    SettingKey key;
    QStringView name;
    SettingType type;
    uint32_t defaultValue; // Flag and Number only
    SettingRange range;
    int64_t minimum;
    int64_t maximum;
};

// clang-format off
inline constexpr std::array<SettingDirective, 14> SettingTable{{
    // key                           name                 type                  default range                    min   max
    {SettingKey::Version,            u"Version",          SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::MPlayerPath,        u"MPlayerPath",      SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::FullScreen,         u"FullScreen",       SettingType::Flag,    0,      SettingRange::None,      0,    0},
    {SettingKey::WindowPos,          u"WindowPos",        SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::FontSize,           u"FontSize",         SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::CurrentFolder,      u"CurrentFolder",    SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::ContinuousMode,     u"ContinuousMode",   SettingType::Flag,    1,      SettingRange::None,      0,    0},
    {SettingKey::SkipForwardSec,     u"SkipForwardSec",   SettingType::Number,  12,     SettingRange::Signed,    1,    600},
    {SettingKey::SkipBackSec,        u"SkipBackSec",      SettingType::Number,  12,     SettingRange::Signed,    1,    600},
    {SettingKey::ExtFilterV,         u"ExtFilterV",       SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::ExtFilterA,         u"ExtFilterA",       SettingType::Text,    0,      SettingRange::None,      0,    0},
    {SettingKey::AFNoResume,         u"AFNoResume",       SettingType::Flag,    1,      SettingRange::None,      0,    0},
    {SettingKey::EndChkTimeout,      u"EndChkTimeout",    SettingType::Number,  2200,   SettingRange::Unsigned,  1000, 6000},
    {SettingKey::MPPrepCycleTime,    u"MPPrepCycleTime",  SettingType::Number,  2000,   SettingRange::Unsigned,  500,  50000},
}};
// clang-format on

// The parts of the text keys that the settings dialog edits.
inline constexpr int kFontSizeSteps = 5;   // 最小 .. 最大, stored in "FontSize"
inline constexpr int kPadSizeMinimum = 20; // percent of the pad's picture, in "FontSize"
inline constexpr int kPadSizeMaximum = 100;
inline constexpr int kExtensionListLength = 256; // "ExtFilterV", "ExtFilterA"

constexpr bool SettingTableInKeyOrder() {
    for (std::size_t i = 0; i < SettingTable.size(); ++i) {
        if (static_cast<std::size_t>(SettingTable[i].key) != i)
            return false;
    }
    return true;
}
static_assert(SettingTableInKeyOrder(), "SettingTable rows must follow SettingKey");

constexpr const SettingDirective& Directive(SettingKey key) {
    return SettingTable[static_cast<std::size_t>(key)];
}

// A stored word brought into the key's range (unchanged for keys without one).
constexpr uint32_t ClampToRange(const SettingDirective& directive, uint32_t stored) {
    int64_t value = stored;
    if (directive.range == SettingRange::None)
        return stored;
    if (directive.range == SettingRange::Signed)
        value = static_cast<int32_t>(stored);
    value = value < directive.minimum ? directive.minimum : value;
    value = value > directive.maximum ? directive.maximum : value;
    return static_cast<uint32_t>(value);
}
