#pragma once

#include "settings/ProfileFormat.h"
#include "settings/SettingKeys.h"

#include <QString>
#include <QStringView>
#include <cstdint>

// Shown in place of an empty stored extension list; the profile keeps the empty value.
inline constexpr QStringView DefaultExtFilterV = u"avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx";
inline constexpr QStringView DefaultExtFilterA = u"mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla";

// The view's preferences as loaded from the profile and edited by the settings dialog. The
// defaults are the profile's own: a missing key reads as its table default.
struct ViewSettings {
    int m_nFontSizeNormal = FontSizeValues{}.normal;
    int m_nFontSizeFull = FontSizeValues{}.full;
    int m_nPadSize = FontSizeValues{}.pad;
    QString m_strCurrentFolder;
    bool m_bContinuousMode = Directive(SettingKey::ContinuousMode).defaultValue != 0;
    int m_nSkipForwardSec = static_cast<int>(Directive(SettingKey::SkipForwardSec).defaultValue);
    int m_nSkipBackSec = static_cast<int>(Directive(SettingKey::SkipBackSec).defaultValue);
    QString m_strExtFilterV;
    QString m_strExtFilterA;
    bool m_bAFNoResume = Directive(SettingKey::AFNoResume).defaultValue != 0;
    uint32_t m_nEndChkTimeout = Directive(SettingKey::EndChkTimeout).defaultValue;
    uint32_t mplayerPrepCycleTime =
        Directive(SettingKey::MPPrepCycleTime).defaultValue; // readiness threshold

    bool operator==(const ViewSettings&) const = default;
};
