#include "view/ResumeScreen.h"

#include "controls/CColorListCtrl.h"
#include "platform/IBeeper.h"
#include "platform/IPrompter.h"
#include "platform/RegularFile.h"
#include "settings/ViewSettings.h"
#include "view/MediaFormat.h"
#include "view/PathParts.h"
#include "view/PlaybackSession.h"
#include "view/ViewColors.h"
#include "view/ViewState.h"

#include <QFileInfo>
#include <QWidget>

ResumeScreen::ResumeScreen(ViewSettings& settings, ViewState& state, CColorListCtrl& list,
                           QWidget& view)
    : m_Settings(settings), m_State(state), m_List(list), m_View(view) {}

void ResumeScreen::FillResumeList(const QString& selectPath) {
    std::vector<CColorListCtrl::Row> rows;
    int selected = 0;
    ResumeList& resume = m_ResumeList;
    for (int i = 0; i < resume.Count(); ++i) {
        MediaItem& entry = resume.EntryAt(i);
        entry.kind = IsRegularFile(entry.path) ? MediaItemKind::File : MediaItemKind::MissingFile;
        if (entry.path == selectPath)
            selected = static_cast<int>(rows.size());
        CColorListCtrl::Row row;
        row.texts = {PathParts::FileNamePart(entry.path),
                     MediaFormat::FormatPosition(entry.positionSec)};
        row.iconIndex =
            (entry.isAudio ? 6 : 3) + (entry.kind == MediaItemKind::MissingFile ? 1 : 0);
        row.text = ViewColors::kRowText;
        row.background = ViewColors::kRowBackground;
        rows.push_back(std::move(row));
    }
    m_List.FillRows(std::move(rows));
    if (m_List.RowCount() > 0)
        m_List.SelectRow(selected, true);
    m_View.update();
}

int ResumeScreen::SelectedIndex() const {
    return m_List.SelectedRow();
}

MediaItem* ResumeScreen::SelectedEntry() {
    const int index = SelectedIndex();
    if (index < 0 || index >= m_ResumeList.Count())
        return nullptr;
    return &m_ResumeList.EntryAt(index);
}

void ResumeScreen::PlaySelected(PlaybackSession& session, IBeeper& beeper) {
    const MediaItem* entry = SelectedEntry();
    if (entry == nullptr)
        return;
    if (entry->kind != MediaItemKind::File) {
        beeper.Beep(BEEP_DEFAULT);
        return;
    }
    if (!IsRegularFile(entry->path)) {
        beeper.Beep(BEEP_DEFAULT);
        FillResumeList(QString());
        return;
    }
    const MediaItem item = *entry;
    m_Settings.m_strCurrentFolder = PathParts::FolderOf(item.path);
    if (!session.StartPlayback(item, item.positionSec))
        beeper.Beep(BEEP_DEFAULT);
}

void ResumeScreen::CarrySelection() {
    const MediaItem* entry = SelectedEntry();
    if (entry == nullptr || entry->kind != MediaItemKind::File)
        return;
    const QString folder = PathParts::FolderOf(entry->path);
    if (QFileInfo(folder).isDir()) {
        m_Settings.m_strCurrentFolder = folder;
        m_State.m_CurrentItem = *entry;
    }
}

bool ResumeScreen::DeleteEntry(const QString& path, IPrompter& prompter,
                               const PlaybackSession& session) {
    // Found again by its path after the question: the list may have changed while it waited.
    return prompter.ConfirmResumeDelete() && !session.IsPlaying() &&
           m_ResumeList.RemoveResumeEntryByPath(path);
}
