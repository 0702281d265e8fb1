#pragma once

#include "settings/SettingsStore.h"
#include "support/TempProfile.h"

#include <QByteArray>

// Profile texts and what the store loads from them.
namespace StoredSettings {

// The text of a profile whose group "Settings" holds `body`.
inline QByteArray Ini(const QByteArray& body) {
    return "[Settings]\n" + body;
}
// What loading an empty profile gives.
inline ViewSettings Defaults() {
    ViewSettings settings;
    settings.m_strExtFilterV = DefaultExtFilterV.toString();
    settings.m_strExtFilterA = DefaultExtFilterA.toString();
    return settings;
}
// Loads into a struct whose every field differs from the defaults, so a field the loader forgets
// shows.
inline ViewSettings Load(const SettingsStore& store) {
    ViewSettings settings{9, 9, 9, "stale", false, 9, 9, "stale", "stale", false, 9, 9};
    store.LoadViewSettings(settings);
    return settings;
}
inline ViewSettings LoadFrom(const QByteArray& ini) {
    TempProfile profile;
    profile.SetBytes(ini);
    return Load(SettingsStore(profile.Path()));
}

} // namespace StoredSettings
