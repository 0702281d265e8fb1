#pragma once

#include "settings/MediaItem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

class SettingsStore;

// The files whose playback was interrupted, most recently registered first, with the entry of
// the file that is playing held aside until the playback stops.
class ResumeList {
public:
    static constexpr int ResumeCapacity = 30;

    // "Resume0" .. "Resume29".
    static QString ResumeKey(int index);

    const QList<MediaItem>& Entries() const { return m_ResumeList; }
    MediaItem& EntryAt(int index) { return m_ResumeList[index]; }
    int Count() const { return static_cast<int>(m_ResumeList.size()); }

    // Malformed stored entries are skipped; the rest keep their order without gaps.
    void Load(const SettingsStore& store);
    // All thirty keys, empty beyond the end. A held entry is written back at its old place, so
    // the profile never loses it while its file plays; the list in memory is not changed.
    void Save(SettingsStore& store) const;

    // Takes the first entry whose path is exactly `path` aside.
    void DetachResumeEntry(const QString& path);
    void ClearDetachedEntry();
    // Puts `currentItem` at the front with `seconds` as its position, unless it is audio and
    // audio files are not registered. Either way the held entry is dropped, not restored.
    void RegisterResumeEntry(MediaItem& currentItem, uint32_t seconds, bool afNoResume);
    // Puts the held entry back where it was.
    void RestoreDetachedEntry();
    bool HasHeldEntry() const { return m_HeldResume.has_value(); }

    // The position stored for each path (letter case counts; the first entry where a path
    // repeats): one look-up per file when a large folder is listed.
    QHash<QString, uint32_t> PositionsByPath() const;
    void RemoveResumeEntryAt(int index); // an index outside the list removes nothing
    // Removes the first entry whose path is exactly `path`; false when none does.
    bool RemoveResumeEntryByPath(const QString& path);

private:
    int IndexOfPath(const QString& path) const;

    QList<MediaItem> m_ResumeList;
    std::optional<MediaItem> m_HeldResume;
    int m_nHeldResumeIndex = 0;
};
