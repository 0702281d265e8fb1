#pragma once

// Command ids shared by the menus, keys, pad codes and title-area buttons.
enum CommandId : int {
    ID_VIEW_FULLSCREEN = 32771,        // "Full Screen 切替"
    ID_MPLAYER_PATH = 32777,           // "MPlayer パス設定 ..."
    ID_PLAY = 32778,                   // "再生"
    ID_STOP_REGISTER = 32779,          // "Resume登録して停止"
    ID_SETTINGS = 32780,               // "設定 ..."
    ID_OPEN_FOLDER = 32786,            // "Folderの展開" (same handler as ID_PLAY)
    ID_FOLDER_UP = 32787,              // "上位Folderへ"
    ID_RESUME_DELETE = 32789,          // "Resume登録削除"
    ID_SWITCH_SCREEN_CARRY = 32791,    // "Resume画面へ(選択継承)" / "Folder画面へ(選択継承)"
    ID_SEEK_START = 32795,             // "先頭に戻る"
    ID_PAUSE = 32799,                  // "一時停止"
    ID_SPEED_X1_5 = 32801,             // "x 1.5"
    ID_SPEED_NORMAL = 32818,           // "標準スピード"
    ID_FRAME_STEP = 32819,             // "1フレーム送る"
    ID_SPEED_X1_20 = 32820,            // "x 1/20"
    ID_SPEED_X1_5TH = 32823,           // "x 1/5"
    ID_SPEED_X1_2 = 32824,             // "x 1/2"
    ID_SPEED_X2 = 32826,               // "x 2"
    ID_FF_X4 = 32828,                  // "FF x 4"
    ID_FF_X12 = 32829,                 // "FF x 12"
    ID_FF_X40 = 32830,                 // "FF x 40"
    ID_FF_X120 = 32832,                // "FF x 120"
    ID_REW_X4 = 32833,                 // "REW x 4"
    ID_REW_X12 = 32834,                // "REW x 12"
    ID_REW_X40 = 32835,                // "REW x 40"
    ID_REW_X120 = 32836,               // "REW x 120"
    ID_APP_EXIT = 32838,               // "終了"
    ID_FOLDER_TOP = 32840,             // "最上位Folderへ"
    ID_CONTINUOUS_MODE = 32842,        // "連続再生モード"
    ID_SWITCH_SCREEN = 32853,          // "Resume画面へ(選択無視)" / "Folder画面へ(選択無視)"
    ID_SKIP_FORWARD = 32858,           // "スキップ送り" (Ctrl+T)
    ID_SKIP_BACK = 32859,              // "スキップ戻り" (Ctrl+R)
    ID_SPEED_X1_10 = 32860,            // "x 1/10"
    ID_SWITCH_AUDIO = 32862,           // "音声切替"
    ID_SWITCH_SUBTITLE = 32864,        // "字幕切替"
    ID_STOP_NO_REGISTER = 32866,       // "Resume登録せずに停止"
    ID_APP_ABOUT = 57664,              // "Ravoloについて ..."
};

// Resource ids of the menus, dialogs and pictures built in code: each keeps one fixed number.
enum ResourceId : int {
    IDD_ABOUTBOX = 100,
    IDR_MAINFRAME = 128,
    IDR_MENU_FOLDER = 312,
    IDR_MENU_RESUME = 313,
    IDR_MENU_PLAYBACK = 314,
    IDD_SETTING = 319,
    IDR_PAD_PICTURE = 322,
    IDD_CONTROL_PAD = 323,
    IDD_INQ_RESUME_DELETE = 324,
    IDD_WAIT = 325,
};

// Both lists carry the same control id.
inline constexpr int IDC_LIST = 1001;
