#pragma once

#include "settings/MediaItem.h"
#include "settings/ResumeList.h"

#include <QString>

class CColorListCtrl;
class IBeeper;
class IPrompter;
class PlaybackSession;
class QWidget;
struct ViewSettings;
struct ViewState;

// The resume screen: the resume list's entries, newest first, with their positions and
// missing-file marks.
class ResumeScreen {
public:
    ResumeScreen(ViewSettings& settings, ViewState& state, CColorListCtrl& list, QWidget& view);

    // Rebuilds the list, marking each entry File or MissingFile anew, and selects the entry
    // whose path is exactly selectPath (else the newest).
    void FillResumeList(const QString& selectPath);

    int SelectedIndex() const;
    MediaItem* SelectedEntry();

    // Plays the selected entry from its position; a missing file beeps and is marked.
    void PlaySelected(PlaybackSession& session, IBeeper& beeper);
    // The folder screen is to show the selected entry's folder with the entry selected.
    void CarrySelection();
    // Asks, then removes the entry of path; false when nothing was removed.
    bool DeleteEntry(const QString& path, IPrompter& prompter, const PlaybackSession& session);

    ResumeList& List() { return m_ResumeList; }
    const ResumeList& List() const { return m_ResumeList; }

private:
    ViewSettings& m_Settings; // the folder of an entry played or carried becomes the current one
    ViewState& m_State;
    CColorListCtrl& m_List;
    QWidget& m_View; // its title follows the selected entry
    ResumeList m_ResumeList;
};
