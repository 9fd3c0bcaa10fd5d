#include "radioset/commands.h"

#include <array>
#include <bitset>

namespace tunevox::radioset {

namespace {

// In ordinal order; ordinal 32 has no command and no name.
constexpr std::array<const char*, kCommandCount> kNames = {
    "cmVolumeUp", "cmVolumeDown", "cmVolumeTo0", "cmMixer", "cmMuteOnOff",
    "cmDecFreq", "cmIncFreq", "cmDecStep", "cmIncStep", "cmSleepOnOff",
    "cmAlarmOnOff", "cmScanLeft", "cmScanRight", "cmStopScan", "cmEditFavs",
    "cmSetup", "cmOrganize", "cmProgr", "cmExit", "cmJump",
    "cmOnTop", "cmMinimal", "cmMinimalTuner", "cmMinimalFavs", "cmStereo",
    "cmComplete", "cmClear", "cmClearAll", "cmMemory", "cmRename",
    "cmHelp", "cmAbout", "", "cmLoadScript", "cmLoadPresets",
    "cmMinimalVolBtn", "cmMinimalVolBtnPre", "cmScanner", "cmSignalStrenght",
};

// Letter case without the locale: the key string is plain ASCII.
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

} // namespace

bool IsValidKeyString(std::string_view keys) {
    if (keys.size() != static_cast<size_t>(kCommandCount)) return false;
    std::bitset<256> seen;
    for (char c : keys) {
        const auto b = static_cast<unsigned char>(c);
        if (seen[b]) return false;
        seen[b] = true;
    }
    return true;
}

std::optional<tCommand> CommandForKey(std::string_view keys, char typed) {
    const size_t p = keys.find(AsciiUpper(typed));
    if (p == std::string_view::npos || p >= static_cast<size_t>(kCommandCount)) return std::nullopt;
    if (p == static_cast<size_t>(cmNoCommand)) return std::nullopt;
    return static_cast<tCommand>(p);
}

std::string CommandName(tCommand command) {
    const int ordinal = static_cast<int>(command);
    if (ordinal < 0 || ordinal >= kCommandCount) return {};
    return kNames[static_cast<size_t>(ordinal)];
}

std::optional<tCommand> CommandByName(std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (int i = 0; i < kCommandCount; ++i) {
        if (i != cmNoCommand && SameIgnoringCase(name, kNames[static_cast<size_t>(i)])) {
            return static_cast<tCommand>(i);
        }
    }
    return std::nullopt;
}

} // namespace tunevox::radioset
