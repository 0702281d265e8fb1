#pragma once

#include "settings/MediaItem.h"

// Which screen the view shows and what it plays. The settings, the lists, the player path and
// the title buttons belong to their own units (the view, ResumeScreen, FolderScreen,
// PlayerSupervisor, TitleArea).
struct ViewState {
    bool m_bFullScreen = false; // the user's own full-screen choice (Ctrl+F, Alt+Enter)
    MediaItem m_CurrentItem;    // the file played, or carried between the screens
    bool m_bPlaying = false;    // the playback screen is shown
    bool m_bResumeScreen = false;
    bool m_bClosing = false; // close the main window when the current stop completes
    bool m_bMenuOpen = false;
};
