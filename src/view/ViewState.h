#pragma once

#include "settings/MediaItem.h"
#include "settings/ResumeList.h"
#include "settings/ViewSettings.h"

#include <QList>
#include <QString>

// The view's shared state: the settings it loaded and the screen model. The view's units
// (folder screen, resume screen, playback session) read and change it on the UI thread only.
struct ViewState : ViewSettings {
    QString m_strPlayerPath;
    bool m_bFullScreen = false; // the user's own full-screen choice (Ctrl+F, Alt+Enter)
    MediaItem m_CurrentItem;    // the file played, or carried between the screens
    bool m_bPlaying = false;    // the playback screen is shown
    bool m_bResumeScreen = false;
    bool m_bClosing = false; // close the main window when the current stop completes
    bool m_bMenuOpen = false;
    int m_nPressedButton = -1; // title-area button held down, -1 none
    QList<MediaItem> m_FolderItems;
    ResumeList m_ResumeList;

    bool AtDriveLevel() const { return m_strCurrentFolder.isEmpty(); }
};
