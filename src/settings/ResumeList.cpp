#include "settings/ResumeList.h"

#include "settings/ProfileFormat.h"
#include "settings/SettingsStore.h"

#include <algorithm>

QString ResumeList::ResumeKey(int index) {
    return QStringLiteral("Resume") + QString::number(index);
}

void ResumeList::Load(const SettingsStore& store) {
    m_ResumeList.clear();
    m_HeldResume.reset();
    for (int i = 0; i < ResumeCapacity; ++i) {
        if (std::optional<MediaItem> entry = ParseResumeEntry(store.ReadString(ResumeKey(i))))
            m_ResumeList.append(std::move(*entry));
    }
}

void ResumeList::Save(SettingsStore& store) const {
    QList<MediaItem> saved = m_ResumeList;
    if (m_HeldResume)
        saved.insert(std::min(m_nHeldResumeIndex, Count()), *m_HeldResume);
    for (int i = 0; i < ResumeCapacity; ++i)
        store.WriteString(ResumeKey(i), i < saved.size() ? FormatResumeEntry(saved[i]) : QString());
}

void ResumeList::DetachResumeEntry(const QString& path) {
    ClearDetachedEntry();
    const int index = IndexOfPath(path);
    if (index < 0)
        return;
    m_HeldResume = m_ResumeList.takeAt(index);
    m_nHeldResumeIndex = index;
}

void ResumeList::ClearDetachedEntry() {
    m_HeldResume.reset();
}

void ResumeList::RegisterResumeEntry(MediaItem& currentItem, uint32_t seconds, bool afNoResume) {
    // The file's old entry must not come back beside the new one when the list is saved.
    ClearDetachedEntry();
    if (currentItem.isAudio && afNoResume)
        return;
    currentItem.positionSec = seconds;
    m_ResumeList.prepend(currentItem);
    while (Count() > ResumeCapacity)
        m_ResumeList.removeLast();
}

void ResumeList::RestoreDetachedEntry() {
    if (!m_HeldResume)
        return;
    m_ResumeList.insert(std::min(m_nHeldResumeIndex, Count()), *m_HeldResume);
    m_HeldResume.reset();
}

QHash<QString, uint32_t> ResumeList::PositionsByPath() const {
    QHash<QString, uint32_t> positions;
    positions.reserve(m_ResumeList.size());
    for (auto entry = m_ResumeList.crbegin(); entry != m_ResumeList.crend(); ++entry)
        positions.insert(entry->path, entry->positionSec);
    return positions;
}

void ResumeList::RemoveResumeEntryAt(int index) {
    if (index >= 0 && index < Count())
        m_ResumeList.removeAt(index);
}

bool ResumeList::RemoveResumeEntryByPath(const QString& path) {
    const int index = IndexOfPath(path);
    RemoveResumeEntryAt(index);
    return index >= 0;
}

// A file is its exact path: on Linux "film.mkv" and "Film.mkv" are two files.
int ResumeList::IndexOfPath(const QString& path) const {
    for (int i = 0; i < Count(); ++i) {
        if (m_ResumeList[i].path == path)
            return i;
    }
    return -1;
}
