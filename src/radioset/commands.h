#pragma once
// The command table: one identifier per user command, in the fixed order
// of the key string (the ordinal is the position in the string minus one).

#include <optional>
#include <string>
#include <string_view>

namespace tunevox::radioset {

enum tCommand : int {
    cmVolumeUp = 0, cmVolumeDown, cmVolumeTo0, cmMixer, cmMuteOnOff,
    cmDecFreq, cmIncFreq, cmDecStep, cmIncStep, cmSleepOnOff,
    cmAlarmOnOff, cmScanLeft, cmScanRight, cmStopScan, cmEditFavs,
    cmSetup, cmOrganize, cmProgr, cmExit, cmJump,
    cmOnTop, cmMinimal, cmMinimalTuner, cmMinimalFavs, cmStereo,
    cmComplete, cmClear, cmClearAll, cmMemory, cmRename,
    cmHelp, cmAbout,
    cmNoCommand = 32, // keeps its place in the key string, runs nothing
    cmLoadScript = 33, cmLoadPresets, cmMinimalVolBtn, cmMinimalVolBtnPre, cmScanner,
    cmSignalStrenght,
};
constexpr int kCommandCount = 39;

// 39 characters, no character twice.
bool IsValidKeyString(std::string_view keys);
// The command a typed character runs (upper-cased, first position wins);
// nullopt for a character not in the string and for ordinal 32.
std::optional<tCommand> CommandForKey(std::string_view keys, char typed);
// Identifier text ("cmVolumeUp") and back, compared without regard to case.
std::string CommandName(tCommand command);
std::optional<tCommand> CommandByName(std::string_view name);

} // namespace tunevox::radioset
