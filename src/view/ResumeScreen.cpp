#include "view/ResumeScreen.h"

#include "controls/CColorListCtrl.h"
#include "platform/RegularFile.h"
#include "view/MediaFormat.h"
#include "view/PathParts.h"
#include "view/ViewColors.h"
#include "view/ViewState.h"

#include <QWidget>

ResumeScreen::ResumeScreen(ViewState& state, CColorListCtrl& list, QWidget& view)
    : m_State(state), m_List(list), m_View(view) {}

void ResumeScreen::FillResumeList(const QString& selectPath) {
    std::vector<CColorListCtrl::Row> rows;
    int selected = 0;
    ResumeList& resume = m_State.m_ResumeList;
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
    if (index < 0 || index >= m_State.m_ResumeList.Count())
        return nullptr;
    return &m_State.m_ResumeList.EntryAt(index);
}
