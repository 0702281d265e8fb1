#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The slave commands without an argument. Each is one row of SlaveProtocol::kFixedCommands.
enum class SlaveCmd {
    GetTimePos,
    GetTimeLength,
    Pause,
    FrameStep,
    MuteOn,
    MuteOff,
    MuteOffAtStart,
    ScaleTempoOn,
    ClearAudioFilters,
    SwitchAudio,
    SelectSubtitle,
    Stop,
};

// Every text that goes to or comes from MPlayer's slave mode, in one place.
namespace SlaveProtocol {

// A command line without arguments and the ticks it waits at the head of the queue.
struct FixedCommand {
    SlaveCmd id;
    std::string_view text;
    int delay;
};

// clang-format off
inline constexpr std::array<FixedCommand, 12> kFixedCommands{{
    // id                            text                       delay
    {SlaveCmd::GetTimePos,           "get_time_pos\r",          0},
    {SlaveCmd::GetTimeLength,        "get_time_length\r",       0},
    {SlaveCmd::Pause,                "pause\r",                 3},  // four ticks after the mute
    {SlaveCmd::FrameStep,            "frame_step\r",            0},
    {SlaveCmd::MuteOn,               "mute 1\r",                0},
    {SlaveCmd::MuteOff,              "mute 0\r",                40}, // once a speed change settled
    // At a start there is no speed change to settle, and a wait would hold the length query up.
    {SlaveCmd::MuteOffAtStart,       "mute 0\r",                0},
    {SlaveCmd::ScaleTempoOn,         "af_switch scaletempo\r",  0},
    {SlaveCmd::ClearAudioFilters,    "af_clr\r",                0},
    {SlaveCmd::SwitchAudio,          "switch_audio\r",          0},
    {SlaveCmd::SelectSubtitle,       "sub_select\r",            0},
    {SlaveCmd::Stop,                 "stop\r",                  0},
}};
// clang-format on

constexpr bool FixedCommandsInIdOrder() {
    for (std::size_t i = 0; i < kFixedCommands.size(); ++i) {
        if (static_cast<std::size_t>(kFixedCommands[i].id) != i)
            return false;
    }
    return true;
}
static_assert(FixedCommandsInIdOrder(), "kFixedCommands rows must follow SlaveCmd");

constexpr const FixedCommand& Fixed(SlaveCmd id) {
    return kFixedCommands[static_cast<std::size_t>(id)];
}

// Written directly, never queued.
inline constexpr std::string_view kQuit = "quit\r";

// Commands with an argument: prefix, argument, suffix. They wait no ticks, but for the speed,
// whose wait its caller gives.
inline constexpr int kArgumentCommandDelay = 0;
inline constexpr std::string_view kLoadFilePrefix = "loadfile \"";
inline constexpr std::string_view kLoadFileSuffix = "\"\r";
inline constexpr std::string_view kSpeedSetPrefix = "speed_set ";
inline constexpr int kSpeedFieldWidth = 6; // the number is right-aligned in six characters
inline constexpr std::string_view kSpeedSetSuffix = "\r";
inline constexpr std::string_view kSeekPrefix = "seek ";
inline constexpr std::string_view kSeekRelativeSuffix = " 0\r";
inline constexpr std::string_view kSeekAbsoluteSuffix = " 2\r";
inline constexpr std::string_view kOsdShowTextPrefix = "osd_show_text ";
inline constexpr std::string_view kOsdShowTextSuffix = " 1000\r";

// The longest command line MPlayer reads (terminator included); it drops longer ones unread.
inline constexpr int kMaxCommandLineBytes = 4095;

// Answer lines.
inline constexpr std::string_view kAnsTimePosition = "ANS_TIME_POSITION=";
inline constexpr std::string_view kAnsLength = "ANS_LENGTH=";

// The command line: these arguments, "-wid" with the window, "-colorkey" with the key.
inline constexpr std::string_view kModeArguments[] = {"-slave", "-idle", "-quiet", "-framedrop"};
inline constexpr std::string_view kWindowArgument = "-wid";
inline constexpr std::string_view kColorKeyArgument = "-colorkey";
inline constexpr uint32_t kColorKey = 0x030201; // RGB(1, 2, 3), the view's background

} // namespace SlaveProtocol
