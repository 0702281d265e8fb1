#pragma once

#include "settings/MediaItem.h"

// Which list screen the view shows, and the file carried between the screens. The settings, the
// lists, the playing flag, the player path, the full-screen choice and the title buttons belong to
// their own units (the view, ResumeScreen, FolderScreen, PlaybackSession, PlayerSupervisor,
// ViewCommands, TitleArea).
struct ViewState {
    MediaItem m_CurrentItem; // the file played, or carried between the screens
    bool m_bResumeScreen = false;
    bool m_bMenuOpen = false;
};
