#pragma once

#include <cstdint>
#include <string_view>

// Every text that goes to or comes from MPlayer's slave mode, in one place.
namespace SlaveProtocol {

// A command line without arguments and the ticks it waits at the head of the queue.
struct FixedCommand {
    std::string_view text;
    int delay;
};

inline constexpr FixedCommand kGetTimePos{"get_time_pos\r", 0};
inline constexpr FixedCommand kGetTimeLength{"get_time_length\r", 0};
inline constexpr FixedCommand kPause{"pause\r", 3};
inline constexpr FixedCommand kFrameStep{"frame_step\r", 0};
inline constexpr FixedCommand kMuteOn{"mute 1\r", 0};
inline constexpr FixedCommand kMuteOff{"mute 0\r", 40};
// At a start there is no speed change to settle, and a wait would hold the length query up.
inline constexpr FixedCommand kMuteOffAtStart{"mute 0\r", 0};
inline constexpr FixedCommand kScaleTempoOn{"af_switch scaletempo\r", 0};
inline constexpr FixedCommand kClearAudioFilters{"af_clr\r", 0};
inline constexpr FixedCommand kSwitchAudio{"switch_audio\r", 0};
inline constexpr FixedCommand kSelectSubtitle{"sub_select\r", 0};
inline constexpr FixedCommand kStop{"stop\r", 0};

// Written directly, never queued.
inline constexpr std::string_view kQuit = "quit\r";

// Commands with an argument: prefix, argument, suffix. All of them wait no ticks.
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
