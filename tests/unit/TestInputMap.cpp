#include "resources/CommandIds.h"
#include "view/InputMap.h"

#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const InputAction& a, std::ostream* os) {
    *os << "{action " << static_cast<int>(a.action) << ", command " << a.command << ", key 0x"
        << std::hex << a.key << std::dec << "}";
}

void PrintTo(const KeyOutcome& o, std::ostream* os) {
    PrintTo(o.action, os);
    *os << (o.defaultProcessing ? " passed on" : " kept");
}

namespace {

using InputMap::KeyActionFor;
using InputMap::PadActionFor;

constexpr InputAction kNone{};
InputAction Cmd(int command) {
    return {ViewAction::Command, command, 0};
}
InputAction Do(ViewAction action) {
    return {action, 0, 0};
}
InputAction Post(int key) {
    return {ViewAction::PostKeyToList, 0, key};
}

const KeyOutcome kPassOn{kNone, true};
const KeyOutcome kSwallow{kNone, false};

constexpr Screen kScreens[] = {Screen::Folder, Screen::Resume, Screen::Playback};
const char* Name(Screen s) {
    return s == Screen::Folder ? "folder" : s == Screen::Resume ? "resume" : "playback";
}

enum class Listed { Plain, Any, CtrlOnly };

struct KeyCase {
    int key;
    Listed mods;
    InputAction onScreen[3]; // folder, resume, playback
    bool thenDefault;
};

// Rows of the key map chosen for what sets them apart: each kind of modifier rule, a command
// that differs on every screen, nothing on a screen, passed on after the action, and keys that
// act as another key. The view tests walk every row through the real view.
const KeyCase kKeyCases[] = {
    {Qt::Key_Backspace,
     Listed::Plain,
     {Cmd(ID_RESUME_DELETE), Cmd(ID_RESUME_DELETE), Cmd(ID_SEEK_START)},
     false},
    {Qt::Key_Escape, Listed::Plain, {Cmd(ID_FOLDER_TOP), kNone, Cmd(ID_STOP_NO_REGISTER)}, false},
    {Qt::Key_Left, Listed::Plain, {Cmd(ID_FOLDER_UP), kNone, Do(ViewAction::SpeedStepDown)}, false},
    {Qt::Key_PageUp, Listed::Any, {kNone, kNone, Cmd(ID_SWITCH_AUDIO)}, false},
    {Qt::Key_Up, Listed::Any, {kNone, kNone, kNone}, false},
    {Qt::Key_MediaPrevious, Listed::Any, {Cmd(ID_SKIP_BACK), kNone, Cmd(ID_SKIP_BACK)}, false},
    {Qt::Key_3,
     Listed::CtrlOnly,
     {Do(ViewAction::LeaveFullScreenIfNotUser), Do(ViewAction::LeaveFullScreenIfNotUser),
      Do(ViewAction::LeaveFullScreenIfNotUser)},
     false},
    {Qt::Key_O, Listed::CtrlOnly, {Cmd(ID_SWITCH_SCREEN), Cmd(ID_SWITCH_SCREEN), kNone}, true},
    {Qt::Key_S, Listed::CtrlOnly, {kNone, kNone, Cmd(ID_STOP_REGISTER)}, true},
    {Qt::Key_Enter, Listed::Plain, {Cmd(ID_PLAY), Cmd(ID_PLAY), Cmd(ID_FRAME_STEP)}, false},
    {Qt::Key_MediaPause, Listed::Any, {Cmd(ID_PLAY), Cmd(ID_PLAY), Cmd(ID_PAUSE)}, false},
};

TEST(InputMap, EveryRowOnEveryScreenWithItsOwnModifiers) {
    for (const KeyCase& c : kKeyCases) {
        const Qt::KeyboardModifiers mods =
            c.mods == Listed::CtrlOnly ? Qt::ControlModifier : Qt::NoModifier;
        for (int s = 0; s < 3; ++s) {
            EXPECT_EQ(KeyActionFor(c.key, mods, false, kScreens[s]),
                      (KeyOutcome{c.onScreen[s], c.thenDefault}))
                << "key 0x" << std::hex << c.key << " on " << Name(kScreens[s]);
        }
    }
}

// Plain keys with Ctrl or Shift do nothing at all; "any" keys ignore them; Ctrl keys without
// Ctrl or with Shift are passed on.
TEST(InputMap, ModifierRules) {
    const Qt::KeyboardModifiers others[] = {Qt::ShiftModifier, Qt::ControlModifier,
                                            Qt::ControlModifier | Qt::ShiftModifier};
    for (const KeyCase& c : kKeyCases) {
        for (int s = 0; s < 3; ++s) {
            for (Qt::KeyboardModifiers mods : others) {
                if (c.mods == Listed::CtrlOnly && mods == Qt::ControlModifier)
                    continue;
                KeyOutcome expected = kSwallow;
                if (c.mods == Listed::Any)
                    expected = {c.onScreen[s], c.thenDefault};
                else if (c.mods == Listed::CtrlOnly)
                    expected = kPassOn;
                EXPECT_EQ(KeyActionFor(c.key, mods, false, kScreens[s]), expected)
                    << "key 0x" << std::hex << c.key << " mods " << mods.toInt() << " on "
                    << Name(kScreens[s]);
            }
            if (c.mods == Listed::CtrlOnly) {
                EXPECT_EQ(KeyActionFor(c.key, Qt::NoModifier, false, kScreens[s]), kPassOn);
            }
        }
    }
}

TEST(InputMap, HoldingAKeyActsOnce) {
    for (const KeyCase& c : kKeyCases) {
        const Qt::KeyboardModifiers mods =
            c.mods == Listed::CtrlOnly ? Qt::ControlModifier : Qt::NoModifier;
        for (Screen screen : kScreens)
            EXPECT_EQ(KeyActionFor(c.key, mods, true, screen), kPassOn) << std::hex << c.key;
    }
}

TEST(InputMap, CtrlTAndCtrlRAreAcceleratorsOnEveryScreenAlsoWhenHeld) {
    for (Screen screen : kScreens) {
        for (bool repeat : {false, true}) {
            EXPECT_EQ(KeyActionFor(Qt::Key_T, Qt::ControlModifier, repeat, screen),
                      (KeyOutcome{Cmd(ID_SKIP_FORWARD), false}));
            EXPECT_EQ(KeyActionFor(Qt::Key_R, Qt::ControlModifier, repeat, screen),
                      (KeyOutcome{Cmd(ID_SKIP_BACK), false}));
        }
        for (Qt::KeyboardModifiers mods :
             {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier}) {
            EXPECT_EQ(KeyActionFor(Qt::Key_T, mods, false, screen), kPassOn);
            EXPECT_EQ(KeyActionFor(Qt::Key_R, mods, false, screen), kPassOn);
        }
    }
}

TEST(InputMap, UnlistedKeysArePassedOn) {
    for (int key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Home, Qt::Key_End, Qt::Key_F5, Qt::Key_4,
                    Qt::Key_Delete, Qt::Key_NumberSign}) {
        for (Screen screen : kScreens) {
            EXPECT_EQ(KeyActionFor(key, Qt::NoModifier, false, screen), kPassOn) << std::hex << key;
            EXPECT_EQ(KeyActionFor(key, Qt::ControlModifier, false, screen), kPassOn)
                << std::hex << key;
        }
    }
}

TEST(InputMap, SystemKeys) {
    for (Screen screen : kScreens) {
        for (int enter : {Qt::Key_Return, Qt::Key_Enter}) {
            EXPECT_EQ(KeyActionFor(enter, Qt::AltModifier, false, screen),
                      (KeyOutcome{Do(ViewAction::AltEnter), false}));
            EXPECT_EQ(KeyActionFor(enter, Qt::AltModifier, true, screen), kPassOn);
        }
        // Alt+F4 must reach the window's close handling.
        for (int key : {Qt::Key_F4, Qt::Key_Left, Qt::Key_Backspace, Qt::Key_F, Qt::Key_MediaStop})
            EXPECT_EQ(KeyActionFor(key, Qt::AltModifier, false, screen), kPassOn)
                << std::hex << key;
    }
}

TEST(InputMap, ShiftTabComesAsBacktabAndDoesNothing) {
    for (Screen screen : kScreens)
        EXPECT_EQ(KeyActionFor(Qt::Key_Backtab, Qt::ShiftModifier, false, screen), kSwallow);
}

TEST(InputMap, ShiftEnterAndCtrlBackspaceDoNothing) {
    EXPECT_EQ(KeyActionFor(Qt::Key_Return, Qt::ShiftModifier, false, Screen::Folder), kSwallow);
    EXPECT_EQ(KeyActionFor(Qt::Key_Backspace, Qt::ControlModifier, false, Screen::Resume),
              kSwallow);
}

TEST(InputMap, KeypadDigitsAreNotTheDigitKeys) {
    EXPECT_EQ(
        KeyActionFor(Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier, false, Screen::Playback),
        kPassOn);
    EXPECT_EQ(KeyActionFor(Qt::Key_Left, Qt::KeypadModifier, false, Screen::Playback),
              (KeyOutcome{Do(ViewAction::SpeedStepDown), false}));
}

TEST(InputMap, ScreenModelTestsPlayingFirst) {
    EXPECT_EQ(InputMap::ScreenFor(false, false), Screen::Folder);
    EXPECT_EQ(InputMap::ScreenFor(false, true), Screen::Resume);
    EXPECT_EQ(InputMap::ScreenFor(true, false), Screen::Playback);
    EXPECT_EQ(InputMap::ScreenFor(true, true), Screen::Playback);
}

// Codes chosen for what sets them apart: a different action while playing, the grip that does
// nothing, the close box on every screen, a key posted to the list, the resume screen's gaps.
TEST(InputMap, PadCodes) {
    struct PadCase {
        int code;
        InputAction folder, resume, playing;
    };
    const PadCase cases[] = {
        {0, Cmd(ID_APP_EXIT), Cmd(ID_APP_EXIT), Do(ViewAction::StopForShutdown)},
        {1, kNone, kNone, kNone},
        {2, Do(ViewAction::HidePad), Do(ViewAction::HidePad), Do(ViewAction::HidePad)},
        {8, Post(Qt::Key_PageUp), Post(Qt::Key_PageUp), Cmd(ID_SWITCH_AUDIO)},
        {14, Cmd(ID_RESUME_DELETE), Cmd(ID_RESUME_DELETE), Cmd(ID_SEEK_START)},
        {20, Cmd(ID_FOLDER_TOP), kNone, Cmd(ID_STOP_NO_REGISTER)},
    };
    for (const PadCase& c : cases) {
        EXPECT_EQ(PadActionFor(c.code, false, false), c.folder) << "code " << c.code;
        EXPECT_EQ(PadActionFor(c.code, false, true), c.resume) << "code " << c.code;
        EXPECT_EQ(PadActionFor(c.code, true, false), c.playing) << "code " << c.code;
        EXPECT_EQ(PadActionFor(c.code, true, true), c.playing) << "code " << c.code;
    }
}

TEST(InputMap, PadCodesOutsideTheGridDoNothing) {
    for (int code : {21, 22, 100, -1, -2147483647 - 1}) {
        for (bool playing : {false, true})
            EXPECT_EQ(PadActionFor(code, playing, false), kNone) << code;
    }
}

} // namespace
