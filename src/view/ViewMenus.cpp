#include "view/ViewMenus.h"

#include "resources/CommandIds.h"
#include "settings/MediaItem.h"
#include "view/Transport.h"

namespace {

struct Item {
    int id; // 0: separator; -1: the start of a submenu named by text; -2: its end
    const char* text;
    const char* hint;
};

// The menus' items in the order shown; both list screens' menus end alike.
const Item kListMenuEnd[] = {
    {0, nullptr, nullptr},
    {ID_CONTINUOUS_MODE, "連続再生モード", nullptr},
    {ID_VIEW_FULLSCREEN, "Full Screen 切替", "Ctrl+F"},
    {0, nullptr, nullptr},
    {ID_MPLAYER_PATH, "MPlayer パス設定 ...", nullptr},
    {ID_SETTINGS, "設定 ...", nullptr},
    {ID_APP_ABOUT, "Ravoloについて ...", nullptr},
    {0, nullptr, nullptr},
    {ID_APP_EXIT, "終了", "Alt+F4"},
};

const Item kFolderMenu[] = {
    {ID_PLAY, "再生", "Enter"},
    {ID_OPEN_FOLDER, "Folderの展開", "Enter"},
    {ID_FOLDER_UP, "上位Folderへ", "←"},
    {ID_FOLDER_TOP, "最上位Folderへ", "Esc"},
    {0, nullptr, nullptr},
    {ID_SWITCH_SCREEN_CARRY, "Resume画面へ(選択継承)", "Tab"},
    {ID_SWITCH_SCREEN, "Resume画面へ(選択無視)", "Ctrl+O"},
    {ID_RESUME_DELETE, "Resume登録削除", "Backspace"},
};

const Item kResumeMenu[] = {
    {ID_PLAY, "再生", "Enter"},
    {0, nullptr, nullptr},
    {ID_SWITCH_SCREEN_CARRY, "Folder画面へ(選択継承)", "Tab"},
    {ID_SWITCH_SCREEN, "Folder画面へ(選択無視)", "Ctrl+O"},
    {ID_RESUME_DELETE, "Resume登録削除", "Backspace"},
};

const Item kPlaybackMenu[] = {
    {ID_PAUSE, "一時停止", nullptr},
    {ID_FRAME_STEP, "1フレーム送る", "Enter"},
    {ID_SPEED_NORMAL, "標準スピード", nullptr},
    {-1, "スピード", nullptr},
    {ID_SPEED_X1_20, "x 1/20", nullptr},
    {ID_SPEED_X1_10, "x 1/10", nullptr},
    {ID_SPEED_X1_5TH, "x 1/5", nullptr},
    {ID_SPEED_X1_2, "x 1/2", nullptr},
    {ID_SPEED_X1_5, "x 1.5", nullptr},
    {ID_SPEED_X2, "x 2", nullptr},
    {-2, nullptr, nullptr},
    {-1, "早送り", nullptr},
    {ID_FF_X4, "FF x 4", nullptr},
    {ID_FF_X12, "FF x 12", nullptr},
    {ID_FF_X40, "FF x 40", nullptr},
    {ID_FF_X120, "FF x 120", nullptr},
    {-2, nullptr, nullptr},
    {-1, "巻戻し", nullptr},
    {ID_REW_X4, "REW x 4", nullptr},
    {ID_REW_X12, "REW x 12", nullptr},
    {ID_REW_X40, "REW x 40", nullptr},
    {ID_REW_X120, "REW x 120", nullptr},
    {-2, nullptr, nullptr},
    {0, nullptr, nullptr},
    {ID_SKIP_FORWARD, "スキップ送り", "Ctrl+T"},
    {ID_SKIP_BACK, "スキップ戻り", "Ctrl+R"},
    {ID_SEEK_START, "先頭に戻る", "Backspace"},
    {0, nullptr, nullptr},
    {ID_SWITCH_AUDIO, "音声切替", "PageUp"},
    {ID_SWITCH_SUBTITLE, "字幕切替", "PageDown"},
    {0, nullptr, nullptr},
    {ID_VIEW_FULLSCREEN, "Full Screen 切替", "Ctrl+F"},
    {0, nullptr, nullptr},
    {ID_STOP_REGISTER, "Resume登録して停止", "Ctrl+S"},
    {ID_STOP_NO_REGISTER, "Resume登録せずに停止", "Esc"},
};

template <size_t N> void Fill(QMenu& top, const Item (&items)[N]) {
    QMenu* menu = &top;
    for (const Item& item : items) {
        if (item.id == 0) {
            menu->addSeparator();
        } else if (item.id == -1) {
            menu = top.addMenu(QString::fromUtf8(item.text));
        } else if (item.id == -2) {
            menu = &top;
        } else {
            QString text = QString::fromUtf8(item.text);
            if (item.hint != nullptr)
                text += QLatin1Char('\t') + QString::fromUtf8(item.hint);
            menu->addAction(text)->setData(item.id);
        }
    }
}

bool Is(const MediaItem* item, std::initializer_list<MediaItemKind> kinds) {
    if (item == nullptr)
        return false;
    for (MediaItemKind kind : kinds)
        if (item->kind == kind)
            return true;
    return false;
}

void Apply(QAction& action, const ViewMenus::MenuState& s) {
    const int id = action.data().toInt();
    bool enabled = true;
    bool checked = false;
    switch (id) {
    case ID_VIEW_FULLSCREEN:
        checked = s.fullScreen;
        break;
    case ID_PLAY:
        enabled = Is(s.selected, {MediaItemKind::File});
        break;
    case ID_OPEN_FOLDER:
        enabled = Is(s.selected, {MediaItemKind::Drive, MediaItemKind::Folder});
        break;
    case ID_FOLDER_UP:
    case ID_FOLDER_TOP:
        enabled = !s.atDriveLevel;
        break;
    case ID_RESUME_DELETE:
        enabled = s.resumeScreen
                      ? s.selected != nullptr
                      : Is(s.selected, {MediaItemKind::File}) && s.selected->positionSec != 0;
        break;
    case ID_SEEK_START:
    case ID_SKIP_FORWARD:
    case ID_SKIP_BACK:
    case ID_SWITCH_AUDIO:
    case ID_SWITCH_SUBTITLE:
        enabled = s.level == Transport::Normal;
        break;
    case ID_PAUSE:
        enabled = s.level == Transport::Normal;
        checked = s.level == Transport::Paused;
        break;
    case ID_SPEED_NORMAL:
        enabled = s.level != Transport::Normal;
        checked = s.level == Transport::Normal;
        break;
    case ID_FRAME_STEP:
        enabled = s.level == Transport::Paused;
        break;
    case ID_CONTINUOUS_MODE:
        checked = s.continuousMode;
        break;
    default:
        checked = Transport::LevelForCommand(id) == s.level;
        break;
    }
    action.setEnabled(enabled);
    action.setCheckable(checked);
    action.setChecked(checked);
}

} // namespace

std::unique_ptr<QMenu> ViewMenus::Build(int menuId, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(QStringLiteral("PopMenu"), parent);
    if (menuId == IDR_MENU_PLAYBACK) {
        Fill(*menu, kPlaybackMenu);
        return menu;
    }
    if (menuId == IDR_MENU_FOLDER)
        Fill(*menu, kFolderMenu);
    else
        Fill(*menu, kResumeMenu);
    Fill(*menu, kListMenuEnd);
    return menu;
}

void ViewMenus::ApplyRules(QMenu& menu, const MenuState& state) {
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr)
            ApplyRules(*action->menu(), state);
        else if (!action->isSeparator())
            Apply(*action, state);
    }
}
