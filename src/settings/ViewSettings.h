#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// Shown in place of an empty stored extension list; the profile keeps the empty value.
inline constexpr QStringView DefaultExtFilterV = u"avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx";
inline constexpr QStringView DefaultExtFilterA = u"mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla";

// The view's preferences as loaded from the profile and edited by the settings dialog.
struct ViewSettings {
    int m_nFontSizeNormal = 2;
    int m_nFontSizeFull = 4;
    int m_nPadSize = 40;
    QString m_strCurrentFolder;
    bool m_bContinuousMode = true;
    int m_nSkipForwardSec = 12;
    int m_nSkipBackSec = 12;
    QString m_strExtFilterV;
    QString m_strExtFilterA;
    bool m_bAFNoResume = true;
    uint32_t m_nEndChkTimeout = 2200;
    uint32_t mplayerPrepCycleTime = 2000; // the player engine's readiness threshold

    bool operator==(const ViewSettings&) const = default;
};
