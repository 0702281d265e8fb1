#include "view/InputMap.h"

#include "resources/CommandIds.h"

#include <array>

namespace {

enum class Mods {
    Plain,       // neither Ctrl nor Shift; with either the key does nothing at all
    Any,         // Ctrl and Shift do not matter
    CtrlOnly,    // Ctrl without Shift; otherwise the key is passed on
    Accelerator, // exactly Ctrl; translated before the key handler, auto-repeat included
};

struct KeyRow {
    int key;
    Mods mods;
    InputAction folder;
    InputAction resume;
    InputAction playback;
    bool thenDefault; // passed on after the action
};

struct PadRow {
    InputAction folder;
    InputAction resume;
    InputAction playback;
};

constexpr InputAction kNone{};
constexpr InputAction Cmd(int command) {
    return {ViewAction::Command, command, 0};
}
constexpr InputAction Do(ViewAction action) {
    return {action, 0, 0};
}
constexpr InputAction Post(Qt::Key key) {
    return {ViewAction::PostKeyToList, 0, key};
}
constexpr InputAction kLeaveFullScreen = Do(ViewAction::LeaveFullScreenIfNotUser);

// clang-format off
constexpr KeyRow kKeyRows[] = {
    // key                        mods            folder screen                   resume screen                   playback screen                  then default
    {Qt::Key_Backspace,           Mods::Plain,    Cmd(ID_RESUME_DELETE),          Cmd(ID_RESUME_DELETE),          Cmd(ID_SEEK_START),              false},
    {Qt::Key_Tab,                 Mods::Plain,    Cmd(ID_SWITCH_SCREEN_CARRY),    Cmd(ID_SWITCH_SCREEN_CARRY),    kNone,                           false},
    {Qt::Key_Return,              Mods::Plain,    Cmd(ID_PLAY),                   Cmd(ID_PLAY),                   Cmd(ID_FRAME_STEP),              false},
    {Qt::Key_Escape,              Mods::Plain,    Cmd(ID_FOLDER_TOP),             kNone,                          Cmd(ID_STOP_NO_REGISTER),        false},
    {Qt::Key_PageUp,              Mods::Any,      kNone,                          kNone,                          Cmd(ID_SWITCH_AUDIO),            false},
    {Qt::Key_PageDown,            Mods::Any,      kNone,                          kNone,                          Cmd(ID_SWITCH_SUBTITLE),         false},
    {Qt::Key_Left,                Mods::Plain,    Cmd(ID_FOLDER_UP),              kNone,                          Do(ViewAction::SpeedStepDown),   false},
    {Qt::Key_Right,               Mods::Plain,    kNone,                          kNone,                          Do(ViewAction::SpeedStepUp),     false},
    {Qt::Key_Up,                  Mods::Any,      kNone,                          kNone,                          kNone,                           false},
    {Qt::Key_Down,                Mods::Any,      kNone,                          kNone,                          kNone,                           false},
    {Qt::Key_VolumeMute,          Mods::Any,      kNone,                          kNone,                          kNone,                           false},
    {Qt::Key_VolumeDown,          Mods::Any,      kNone,                          kNone,                          kNone,                           false},
    {Qt::Key_VolumeUp,            Mods::Any,      kNone,                          kNone,                          kNone,                           false},
    {Qt::Key_3,                   Mods::CtrlOnly, kLeaveFullScreen,               kLeaveFullScreen,               kLeaveFullScreen,                false},
    {Qt::Key_F,                   Mods::CtrlOnly, Cmd(ID_VIEW_FULLSCREEN),        Cmd(ID_VIEW_FULLSCREEN),        Cmd(ID_VIEW_FULLSCREEN),         false},
    {Qt::Key_O,                   Mods::CtrlOnly, Cmd(ID_SWITCH_SCREEN),          Cmd(ID_SWITCH_SCREEN),          kNone,                           true},
    {Qt::Key_S,                   Mods::CtrlOnly, kNone,                          kNone,                          Cmd(ID_STOP_REGISTER),           true},
    {Qt::Key_MediaNext,           Mods::Any,      kNone,                          kNone,                          Cmd(ID_SKIP_FORWARD),            false},
    {Qt::Key_MediaPrevious,       Mods::Any,      Cmd(ID_SKIP_BACK),              kNone,                          Cmd(ID_SKIP_BACK),               false},
    {Qt::Key_MediaStop,           Mods::Any,      kNone,                          kNone,                          Cmd(ID_STOP_REGISTER),           false},
    {Qt::Key_MediaTogglePlayPause, Mods::Any,     Cmd(ID_PLAY),                   Cmd(ID_PLAY),                   Cmd(ID_PAUSE),                   false},
    {Qt::Key_T,                   Mods::Accelerator, Cmd(ID_SKIP_FORWARD),        Cmd(ID_SKIP_FORWARD),           Cmd(ID_SKIP_FORWARD),            false},
    {Qt::Key_R,                   Mods::Accelerator, Cmd(ID_SKIP_BACK),           Cmd(ID_SKIP_BACK),              Cmd(ID_SKIP_BACK),               false},
};

// Indexed by pad code: the cell at row r, column c sends r * 3 + c.
constexpr std::array<PadRow, 21> kPadRows = {{
    //  folder screen                    resume screen                    playback screen
    {Cmd(ID_APP_EXIT),                   Cmd(ID_APP_EXIT),                Do(ViewAction::StopForShutdown)},  //  0 exit
    {kNone,                              kNone,                           kNone},                            //  1 grip: the pad drags itself
    {Do(ViewAction::HidePad),            Do(ViewAction::HidePad),         Do(ViewAction::HidePad)},          //  2 close box
    {Cmd(ID_SKIP_BACK),                  Cmd(ID_SKIP_BACK),               Cmd(ID_SKIP_BACK)},                //  3 skip back
    {kNone,                              kNone,                           Cmd(ID_SKIP_FORWARD)},             //  4 skip forward
    {Cmd(ID_VIEW_FULLSCREEN),            Cmd(ID_VIEW_FULLSCREEN),         Cmd(ID_VIEW_FULLSCREEN)},          //  5 full screen
    {Cmd(ID_FOLDER_UP),                  kNone,                           Do(ViewAction::SpeedStepDown)},    //  6 fast rewind
    {kNone,                              kNone,                           Do(ViewAction::SpeedStepUp)},      //  7 fast forward
    {Post(Qt::Key_PageUp),               Post(Qt::Key_PageUp),            Cmd(ID_SWITCH_AUDIO)},             //  8 up on blue
    {Cmd(ID_PLAY),                       Cmd(ID_PLAY),                    Cmd(ID_PAUSE)},                    //  9 play/pause
    {kNone,                              kNone,                           Cmd(ID_STOP_REGISTER)},            // 10 stop
    {Post(Qt::Key_PageDown),             Post(Qt::Key_PageDown),          Cmd(ID_SWITCH_SUBTITLE)},          // 11 down on blue
    {Cmd(ID_SWITCH_SCREEN_CARRY),        Cmd(ID_SWITCH_SCREEN_CARRY),     kNone},                            // 12 Tab
    {Post(Qt::Key_Up),                   Post(Qt::Key_Up),                kNone},                            // 13 up arrow
    {Cmd(ID_RESUME_DELETE),              Cmd(ID_RESUME_DELETE),           Cmd(ID_SEEK_START)},               // 14 BS
    {Cmd(ID_FOLDER_UP),                  kNone,                           Do(ViewAction::SpeedStepDown)},    // 15 left arrow
    {Cmd(ID_PLAY),                       Cmd(ID_PLAY),                    Cmd(ID_FRAME_STEP)},               // 16 Enter
    {kNone,                              kNone,                           Do(ViewAction::SpeedStepUp)},      // 17 right arrow
    {Cmd(ID_SWITCH_SCREEN),              Cmd(ID_SWITCH_SCREEN),           kNone},                            // 18 open folder
    {Post(Qt::Key_Down),                 Post(Qt::Key_Down),              kNone},                            // 19 down arrow
    {Cmd(ID_FOLDER_TOP),                 kNone,                           Cmd(ID_STOP_NO_REGISTER)},         // 20 Esc
}};
// clang-format on

// Keys that act as another key: the keypad Enter, the separate play and pause media keys, and
// Shift+Tab, which Qt reports as a key of its own.
struct KeyAlias {
    int key;
    int actsAs;
    Qt::KeyboardModifiers addedModifiers;
};

constexpr KeyAlias kKeyAliases[] = {
    {Qt::Key_Enter, Qt::Key_Return, Qt::NoModifier},
    {Qt::Key_MediaPlay, Qt::Key_MediaTogglePlayPause, Qt::NoModifier},
    {Qt::Key_MediaPause, Qt::Key_MediaTogglePlayPause, Qt::NoModifier},
    {Qt::Key_Backtab, Qt::Key_Tab, Qt::ShiftModifier},
};

const InputAction& ForScreen(const auto& row, Screen screen) {
    switch (screen) {
    case Screen::Folder:
        return row.folder;
    case Screen::Resume:
        return row.resume;
    case Screen::Playback:
        break;
    }
    return row.playback;
}

const KeyRow* FindKeyRow(int key) {
    for (const KeyRow& row : kKeyRows) {
        if (row.key == key)
            return &row;
    }
    return nullptr;
}

constexpr KeyOutcome kPassOn{kNone, true};
constexpr KeyOutcome kSwallow{kNone, false};

} // namespace

namespace InputMap {

Screen ScreenFor(bool playing, bool resumeScreen) {
    if (playing)
        return Screen::Playback;
    return resumeScreen ? Screen::Resume : Screen::Folder;
}

KeyOutcome KeyActionFor(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, Screen screen) {
    for (const KeyAlias& alias : kKeyAliases) {
        if (alias.key == key) {
            key = alias.actsAs;
            modifiers |= alias.addedModifiers;
        }
    }
    // The keypad's digits are keys of their own, not the digit keys of the map.
    if (modifiers.testFlag(Qt::KeypadModifier) && key >= Qt::Key_0 && key <= Qt::Key_9)
        return kPassOn;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);

    if (alt && !ctrl) {
        if (key == Qt::Key_Return && !autoRepeat)
            return {Do(ViewAction::AltEnter), false};
        return kPassOn;
    }
    const KeyRow* row = FindKeyRow(key);
    if (row && row->mods == Mods::Accelerator && ctrl && !shift && !alt)
        return {ForScreen(*row, screen), false};
    // Holding a key down acts once.
    if (autoRepeat || !row || row->mods == Mods::Accelerator)
        return kPassOn;
    if (row->mods == Mods::Plain && (ctrl || shift))
        return kSwallow;
    if (row->mods == Mods::CtrlOnly && (!ctrl || shift))
        return kPassOn;
    return {ForScreen(*row, screen), row->thenDefault};
}

InputAction PadActionFor(int code, bool playing, bool resumeScreen) {
    if (code < 0 || code >= static_cast<int>(kPadRows.size()))
        return kNone;
    return ForScreen(kPadRows[code], ScreenFor(playing, resumeScreen));
}

} // namespace InputMap
