#pragma once

#include "settings/MediaItem.h"

#include <QString>

class CColorListCtrl;
class QWidget;
struct ViewState;

// The resume screen: the resume list's entries, newest first, with their positions and
// missing-file marks.
class ResumeScreen {
public:
    ResumeScreen(ViewState& state, CColorListCtrl& list, QWidget& view);

    // Rebuilds the list, marking each entry File or MissingFile anew, and selects the entry
    // whose path is exactly selectPath (else the newest).
    void FillResumeList(const QString& selectPath);

    int SelectedIndex() const;
    MediaItem* SelectedEntry();

private:
    ViewState& m_State;
    CColorListCtrl& m_List;
    QWidget& m_View; // its title follows the selected entry
};
