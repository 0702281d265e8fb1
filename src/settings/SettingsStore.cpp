#include "settings/SettingsStore.h"

#include "settings/ProfileFormat.h"
#include "settings/ResumeList.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

namespace {

QString GroupKey(QStringView key) {
    QString groupKey = QStringLiteral("Settings/");
    groupKey += key;
    return groupKey;
}

std::unique_ptr<QSettings> OpenProfile(const QString& path) {
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    // Never fall back to rewriting the file in place, which a kill could leave truncated.
    settings->setAtomicSyncRequired(true);
    return settings;
}

} // namespace

SettingsStore::SettingsStore(const QString& iniPath)
    : m_Path(iniPath), m_Settings(OpenProfile(iniPath)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::DefaultProfilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quendal/Ravolo.ini");
}

uint32_t SettingsStore::ReadInt(QStringView key, uint32_t def) const {
    return ParseProfileInt(ReadString(key)).value_or(def);
}

void SettingsStore::WriteInt(QStringView key, int32_t value) {
    m_Settings->setValue(GroupKey(key), QString::number(value));
}

QString SettingsStore::ReadString(QStringView key) const {
    const QVariant value = m_Settings->value(GroupKey(key));
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return value.toStringList().join(QStringLiteral(", "));
    default:
        return value.canConvert<QString>() ? value.toString() : QString();
    }
}

void SettingsStore::WriteString(QStringView key, const QString& value) {
    m_Settings->setValue(GroupKey(key), value);
}

bool SettingsStore::Sync() {
    m_Settings->sync();
    if (m_Settings->status() == QSettings::NoError)
        return true;
    // QSettings keeps the first error it meets, and a damaged file read on the way reports a
    // format error that hides whether the write itself failed. A fresh object over the same
    // parsed file answers for this write alone.
    Reopen();
    m_Settings->sync();
    const bool written = m_Settings->status() == QSettings::NoError;
    if (!written)
        Reopen();
    return written;
}

void SettingsStore::Reopen() {
    // Made while the old object lives, the new one shares Qt's copy of the file, pending
    // changes included.
    std::unique_ptr<QSettings> fresh = OpenProfile(m_Path);
    m_Settings = std::move(fresh);
}

QString SettingsStore::ReadText(SettingKey key) const {
    return ReadString(Directive(key).name);
}

bool SettingsStore::ReadFlag(SettingKey key) const {
    return ReadInt(Directive(key).name, Directive(key).defaultValue) != 0;
}

uint32_t SettingsStore::ReadNumber(SettingKey key) const {
    const SettingDirective& directive = Directive(key);
    return ClampToRange(directive, ReadInt(directive.name, directive.defaultValue));
}

void SettingsStore::WriteText(SettingKey key, const QString& value) {
    WriteString(Directive(key).name, value);
}

void SettingsStore::WriteFlag(SettingKey key, bool on) {
    WriteInt(Directive(key).name, on ? 1 : 0);
}

void SettingsStore::WriteNumber(SettingKey key, int32_t value) {
    WriteInt(Directive(key).name, value);
}

VersionCheck SettingsStore::CheckVersion(const ProgramVersion& current) {
    const std::optional<ProgramVersion> stored = ParseVersion(ReadText(SettingKey::Version));
    if (stored == current)
        return VersionCheck::Same;
    // A new program may come with its own MPlayer, so the old path is searched for again.
    if (stored)
        WriteText(SettingKey::MPlayerPath, QString());
    // Written with the next write: at a first start that is the path of the MPlayer found, so
    // the start writes the profile once (a synced write is dear).
    WriteText(SettingKey::Version, current.Text());
    return stored ? VersionCheck::Different : VersionCheck::Absent;
}

QString SettingsStore::LoadPlayerPath() const {
    return ReadText(SettingKey::MPlayerPath);
}

void SettingsStore::SetPlayerPath(const QString& path) {
    WriteText(SettingKey::MPlayerPath, path);
}

bool SettingsStore::SavePlayerPath(const QString& path) {
    SetPlayerPath(path);
    return Sync();
}

void SettingsStore::LoadViewSettings(ViewSettings& settings) const {
    const FontSizeValues sizes = ParseFontSize(ReadText(SettingKey::FontSize));
    settings.m_nFontSizeNormal = sizes.normal;
    settings.m_nFontSizeFull = sizes.full;
    settings.m_nPadSize = sizes.pad;
    settings.m_strCurrentFolder = ReadText(SettingKey::CurrentFolder);
    settings.m_bContinuousMode = ReadFlag(SettingKey::ContinuousMode);
    settings.m_nSkipForwardSec = static_cast<int32_t>(ReadNumber(SettingKey::SkipForwardSec));
    settings.m_nSkipBackSec = static_cast<int32_t>(ReadNumber(SettingKey::SkipBackSec));
    settings.m_strExtFilterV = ReadText(SettingKey::ExtFilterV);
    settings.m_strExtFilterA = ReadText(SettingKey::ExtFilterA);
    settings.m_bAFNoResume = ReadFlag(SettingKey::AFNoResume);
    if (settings.m_strExtFilterV.isEmpty())
        settings.m_strExtFilterV = DefaultExtFilterV.toString();
    if (settings.m_strExtFilterA.isEmpty())
        settings.m_strExtFilterA = DefaultExtFilterA.toString();
    settings.m_nEndChkTimeout = ReadNumber(SettingKey::EndChkTimeout);
    settings.mplayerPrepCycleTime = ReadNumber(SettingKey::MPPrepCycleTime);
}

bool SettingsStore::SaveViewState(const QString& currentFolder, const ResumeList& resumeList,
                                  bool continuousMode) {
    WriteText(SettingKey::CurrentFolder, currentFolder);
    resumeList.Save(*this);
    WriteFlag(SettingKey::ContinuousMode, continuousMode);
    return Sync();
}

bool SettingsStore::WriteDialogSettings(const ViewSettings& settings) {
    WriteText(SettingKey::FontSize,
              FormatFontSize(
                  {settings.m_nFontSizeNormal, settings.m_nFontSizeFull, settings.m_nPadSize}));
    WriteText(SettingKey::ExtFilterV, settings.m_strExtFilterV);
    WriteText(SettingKey::ExtFilterA, settings.m_strExtFilterA);
    WriteFlag(SettingKey::AFNoResume, settings.m_bAFNoResume);
    WriteNumber(SettingKey::SkipForwardSec, settings.m_nSkipForwardSec);
    WriteNumber(SettingKey::SkipBackSec, settings.m_nSkipBackSec);
    WriteNumber(SettingKey::EndChkTimeout, static_cast<int32_t>(settings.m_nEndChkTimeout));
    WriteNumber(SettingKey::MPPrepCycleTime, static_cast<int32_t>(settings.mplayerPrepCycleTime));
    return Sync();
}

bool SettingsStore::ReadFullScreen() const {
    return ReadFlag(SettingKey::FullScreen);
}

std::optional<WindowPlacementValues> SettingsStore::ReadWindowPos() const {
    return ParseWindowPos(ReadText(SettingKey::WindowPos));
}

bool SettingsStore::WriteFrameState(bool fullScreen,
                                    const std::optional<WindowPlacementValues>& placement) {
    WriteFlag(SettingKey::FullScreen, fullScreen);
    if (placement)
        WriteText(SettingKey::WindowPos, FormatWindowPos(*placement));
    return Sync();
}
