#pragma once

#include <Qt>

// Which of the view's three screens is shown.
enum class Screen { Folder, Resume, Playback };

// What a key, a system key or a pad code asks the view to do.
enum class ViewAction {
    None,
    Command,                  // run the handler of `command`, its guard included
    SpeedStepDown,            // playback screen only
    SpeedStepUp,              // playback screen only
    LeaveFullScreenIfNotUser, // Ctrl+3: leave full screen unless the user asked for it
    AltEnter,                 // windowed: enter full screen as the user's; else drop the user flag
    PostKeyToList,            // post `key` to the visible list, which handles it as a typed key
    HidePad,
    StopForShutdown, // stop with the position stored, then close
};

struct InputAction {
    ViewAction action = ViewAction::None;
    int command = 0; // a CommandId, for ViewAction::Command
    int key = 0;     // a Qt::Key, for ViewAction::PostKeyToList

    friend bool operator==(const InputAction&, const InputAction&) = default;
};

struct KeyOutcome {
    InputAction action;
    // Whether the key is passed on after the action (the event is ignored, not accepted). A list
    // that forwarded the key handles it as a list afterwards in any case.
    bool defaultProcessing = false;

    friend bool operator==(const KeyOutcome&, const KeyOutcome&) = default;
};

// The view's key map and the control pad's codes.
namespace InputMap {

Screen ScreenFor(bool playing, bool resumeScreen);

// A key press reaching the view, directly or forwarded by a list. Alt without Ctrl makes it a
// system key. Ctrl+T and Ctrl+R are accelerators: they act on every screen and on auto-repeat.
KeyOutcome KeyActionFor(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, Screen screen);

// A code from the control pad (0..20; anything else does nothing).
InputAction PadActionFor(int code, bool playing, bool resumeScreen);

} // namespace InputMap
