#pragma once

// Where the one playback is. Starting and Playing show the playback screen; Stopping keeps it
// (lists hidden) until MPlayer tells the position or the judgement time runs out.
enum class SessionState { Idle, Starting, Playing, Stopping };

// What the stop under way does with the resume position once it is known.
enum class StopReason {
    None,     // no stop under way
    Register, // store the file at the front with the position
    Restore,  // put the file's former entry back where it was
};
