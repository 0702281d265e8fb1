#pragma once

#include "view/ICommandHandlers.h"
#include "view/SessionState.h"

// What a command does in a state of the playback session.
enum class Gate : unsigned char {
    Runs,    // at once
    Waits,   // once the stop under way has ended and the list is back
    Refused, // not at all: the command means nothing in this state
};

using CommandHandler = void (ICommandHandlers::*)(int id);

struct CommandRow {
    int id;
    Gate idle;
    Gate starting;
    Gate playing;
    Gate stopping;
    CommandHandler handler;

    Gate In(SessionState state) const;
};

// The one place that says which command runs in which session state, and by which handler.
namespace CommandTable {

// The row of a command id; nullptr for an id that names no command.
const CommandRow* Find(int id);

} // namespace CommandTable
