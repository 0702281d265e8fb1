#pragma once

#include "view/Transport.h"

#include <QMenu>
#include <memory>

struct MediaItem;

// The three context menus (folder 312, resume 313, playback 314) and the enable and check
// rules applied just before one is shown.
class ViewMenus {
public:
    struct MenuState {
        bool resumeScreen = false;
        bool fullScreen = false;
        bool continuousMode = false;
        bool atDriveLevel = true;
        int level = Transport::Paused;       // the speed level while playing
        const MediaItem* selected = nullptr; // the selected item of the visible list
    };

    // Every action carries its command id as data; submenus are plain nested menus.
    static std::unique_ptr<QMenu> Build(int menuId, QWidget* parent);
    static void ApplyRules(QMenu& menu, const MenuState& state);
};
