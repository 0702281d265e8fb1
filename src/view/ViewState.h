#pragma once

#include "settings/MediaItem.h"

// Which list screen the view shows, and the file carried between the screens. The settings, the
// lists, the playing flag, the player path, the full-screen choice, the title buttons and the
// open menu belong to their own units (the view, ResumeScreen, FolderScreen, PlaybackSession,
// PlayerSupervisor, ViewCommands, TitleArea, PointerKeeper).
struct ViewState {
    MediaItem m_CurrentItem; // the file played, or carried between the screens
    bool m_bResumeScreen = false;
};
