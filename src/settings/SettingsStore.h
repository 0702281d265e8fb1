#pragma once

#include "settings/ProgramVersion.h"
#include "settings/SettingKeys.h"
#include "settings/ViewSettings.h"
#include "settings/WindowPlacementValues.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>

class QSettings;
class ResumeList;

enum class VersionCheck {
    Same,      // the stored version is this program's: nothing written
    Different, // "MPlayerPath" emptied, then "Version" written
    Absent,    // missing or unreadable: "Version" written
};

// Typed access to the profile group "Settings", an INI file written through QSettings. Every
// write replaces the file atomically (a new file renamed over the old one), so a killed process
// leaves either the old profile or the new one. The functions that end a group of writes return
// Sync()'s result, so the caller can tell the user when the profile could not be written.
class SettingsStore {
public:
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // $XDG_CONFIG_HOME (or ~/.config) + "/Quendal/Ravolo.ini".
    static QString DefaultProfilePath();
    const QString& Path() const { return m_Path; }

    // Integers are stored as decimal text and read leniently as 32-bit words; absent, empty or
    // unreadable values give the default.
    uint32_t ReadInt(QStringView key, uint32_t def) const;
    void WriteInt(QStringView key, int32_t value);
    // Absent gives ""; a value that Qt reads back as a list is joined again with ", ", one that
    // is no text at all reads as "".
    QString ReadString(QStringView key) const;
    void WriteString(QStringView key, const QString& value);
    // Writes what is pending; false when the profile could not be written. Changes that failed
    // stay pending, so a later Sync() tries them again.
    bool Sync();

    // The keys of SettingTable, with their defaults and load ranges.
    QString ReadText(SettingKey key) const;
    bool ReadFlag(SettingKey key) const;
    uint32_t ReadNumber(SettingKey key) const; // clamped to the key's range
    void WriteText(SettingKey key, const QString& value);
    void WriteFlag(SettingKey key, bool on);
    void WriteNumber(SettingKey key, int32_t value);

    // The start-up version check with its writes; they go out with the next Sync.
    VersionCheck CheckVersion(const ProgramVersion& current);
    QString LoadPlayerPath() const;
    void SetPlayerPath(const QString& path); // goes out with the next Sync
    bool SavePlayerPath(const QString& path);

    // Everything but the player path and the resume list, in load order, clamped; empty
    // extension lists are replaced by the defaults in memory only.
    void LoadViewSettings(ViewSettings& settings) const;
    bool SaveViewState(const QString& currentFolder, const ResumeList& resumeList,
                       bool continuousMode);
    bool WriteDialogSettings(const ViewSettings& settings);

    // The main frame's keys.
    bool ReadFullScreen() const;
    std::optional<WindowPlacementValues> ReadWindowPos() const;
    bool WriteFrameState(bool fullScreen, const std::optional<WindowPlacementValues>& placement);

private:
    void Reopen();

    QString m_Path;
    std::unique_ptr<QSettings> m_Settings;
};
