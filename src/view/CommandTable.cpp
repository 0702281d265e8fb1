#include "view/CommandTable.h"

#include "resources/CommandIds.h"

namespace {

constexpr Gate Runs = Gate::Runs;
constexpr Gate Waits = Gate::Waits;
constexpr Gate Refused = Gate::Refused;
using H = ICommandHandlers;

// A stop waits at most the judgement time for MPlayer's answer. What acts on the lists or the
// resume entries waits for it: run at once, a play would take over the stopped file's held
// entry, and a delete would pick a row of a list about to change.
// clang-format off
constexpr CommandRow kCommandRows[] = {
    // command                 idle     starting  playing  stopping  handler
    {ID_VIEW_FULLSCREEN,       Runs,    Runs,     Runs,    Runs,     &H::OnFullScreen},
    {ID_CONTINUOUS_MODE,       Runs,    Runs,     Runs,    Runs,     &H::OnContinuousMode},
    {ID_APP_ABOUT,             Runs,    Runs,     Runs,    Runs,     &H::OnAbout},
    // while playing the frame stops with the position stored, then closes
    {ID_APP_EXIT,              Runs,    Runs,     Runs,    Waits,    &H::OnExit},
    {ID_PLAY,                  Runs,    Refused,  Refused, Waits,    &H::OnPlay},
    {ID_OPEN_FOLDER,           Runs,    Refused,  Refused, Waits,    &H::OnPlay},
    {ID_RESUME_DELETE,         Runs,    Refused,  Refused, Waits,    &H::OnResumeDelete},
    {ID_SWITCH_SCREEN_CARRY,   Runs,    Refused,  Refused, Waits,    &H::OnSwitchScreenCarry},
    {ID_SWITCH_SCREEN,         Runs,    Refused,  Refused, Waits,    &H::OnSwitchScreen},
    {ID_FOLDER_UP,             Runs,    Refused,  Refused, Waits,    &H::OnFolderUp},
    {ID_FOLDER_TOP,            Runs,    Refused,  Refused, Waits,    &H::OnFolderTop},
    {ID_SETTINGS,              Runs,    Refused,  Refused, Waits,    &H::OnSettings},
    {ID_MPLAYER_PATH,          Runs,    Refused,  Refused, Waits,    &H::OnPlayerPath},
    // up one folder on the folder screen, a skip back while playing
    {ID_SKIP_BACK,             Runs,    Runs,     Runs,    Waits,    &H::OnSkipBack},
    {ID_STOP_REGISTER,         Refused, Runs,     Runs,    Refused,  &H::OnStop},
    {ID_STOP_NO_REGISTER,      Refused, Runs,     Runs,    Refused,  &H::OnStop},
    {ID_SEEK_START,            Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_PAUSE,                 Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_FRAME_STEP,            Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SKIP_FORWARD,          Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SWITCH_AUDIO,          Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SWITCH_SUBTITLE,       Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_X1_20,           Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_X1_10,           Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_X1_5TH,          Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_X1_2,            Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_NORMAL,          Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_X1_5,            Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_SPEED_X2,              Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_FF_X4,                 Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_FF_X12,                Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_FF_X40,                Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_FF_X120,               Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_REW_X4,                Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_REW_X12,               Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_REW_X40,               Refused, Runs,     Runs,    Refused,  &H::OnTransport},
    {ID_REW_X120,              Refused, Runs,     Runs,    Refused,  &H::OnTransport},
};
// clang-format on

} // namespace

Gate CommandRow::In(SessionState state) const {
    switch (state) {
    case SessionState::Idle:
        return idle;
    case SessionState::Starting:
        return starting;
    case SessionState::Playing:
        return playing;
    case SessionState::Stopping:
        break;
    }
    return stopping;
}

namespace CommandTable {

const CommandRow* Find(int id) {
    for (const CommandRow& row : kCommandRows) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

} // namespace CommandTable
