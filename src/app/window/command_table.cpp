#include "app/window/command_table.h"

#include "app/window/main_window.h"

namespace tunevox::app {

using namespace radioset;

namespace {

// One row per item: item, command, handler name, handler, main caption,
// tray caption, checkable, refused while busy.
#define ROW(item, command, handler, main, tray, checkable, busy) \
    tCommandItem{i##item, command, #item, handler, main, tray, checkable, busy}

const std::array<tCommandItem, kItemCount> kItems = {{
    ROW(File_LoadScript, cmLoadScript, &tdMain::File_LoadScript, "Load script", nullptr, false, true),
    ROW(File_LoadPresets, cmLoadPresets, &tdMain::File_LoadPresets, "Load presets", nullptr, false, true),
    ROW(File_Exit, cmExit, &tdMain::File_Exit, "Exit", "Exit", false, false),
    ROW(Actions_Jump, cmJump, &tdMain::Actions_Jump, "Jump to", "Jump to", false, true),
    ROW(Actions_TunePrev, cmDecFreq, &tdMain::Actions_TunePrev, "Tune left", "Tune left", false, true),
    ROW(Actions_TuneNext, cmIncFreq, &tdMain::Actions_TuneNext, "Tune right", "Tune right", false, true),
    ROW(Actions_StepDec, cmDecStep, &tdMain::Actions_StepDec, "Step +", "Step +", false, true),
    ROW(Actions_StepInc, cmIncStep, &tdMain::Actions_StepInc, "Step -", "Step -", false, true),
    ROW(Actions_ScanPrev, cmScanLeft, &tdMain::Actions_ScanPrev, "Scan left", "Scan left", false, true),
    ROW(Actions_ScanNext, cmScanRight, &tdMain::Actions_ScanNext, "Scan right", "Scan right", false, true),
    ROW(Actions_StopScan, cmStopScan, &tdMain::Actions_StopScan, "Scan stop", "Scan stop", false, false),
    ROW(Actions_Sleep, cmSleepOnOff, &tdMain::Actions_Sleep, "Sleep", "Sleep", true, true),
    ROW(Actions_Alarm, cmAlarmOnOff, &tdMain::Actions_Alarm, "Alarm", "Alarm", true, true),
    ROW(Actions_Prog, cmProgr, &tdMain::Actions_Prog, "Scripting", "Scripting", true, true),
    // Forced stereo only re-tunes where the radio is, so a seek goes on.
    ROW(Actions_Stereo, cmStereo, &tdMain::Actions_Stereo, "Stereo", "Stereo", true, false),
    ROW(Volume_Up, cmVolumeUp, &tdMain::Volume_Up, "Up", "Up", false, false),
    ROW(Volume_Down, cmVolumeDown, &tdMain::Volume_Down, "Down", "Down", false, false),
    ROW(Volume_Mute, cmMuteOnOff, &tdMain::Volume_Mute, "Mute", "Mute", true, false),
    ROW(Volume_Mixer, cmMixer, &tdMain::Volume_Mixer, "Mixer", "Mixer", false, true),
    ROW(Volume_0, cmVolumeTo0, &tdMain::Volume_0, "Reset", "Reset", false, true),
    ROW(Options_Settings, cmSetup, &tdMain::Options_Settings, "&Settings", "Setup", false, true),
    ROW(Options_SetSignalStrenght, cmSignalStrenght, &tdMain::Options_SetSignalStrenght, "Set signal strenght",
        "Set signal strenght", false, true),
    ROW(Display_AlwaysOnTop, cmOnTop, &tdMain::Display_AlwaysOnTop, "Always on top", "Always on top", true, false),
    ROW(Display_Complete, cmComplete, &tdMain::Display_Complete, "Complete", "Complete", true, false),
    ROW(Display_Minimal, cmMinimal, &tdMain::Display_Minimal, "Display", "Display", true, false),
    ROW(Display_MinTuner, cmMinimalTuner, &tdMain::Display_MinTuner, "Display + tuner", "Display + tuner", true,
        false),
    ROW(Display_MinPresets, cmMinimalFavs, &tdMain::Display_MinPresets, "Display + presets", "Display + presets",
        true, false),
    ROW(Display_MinVolBtn, cmMinimalVolBtn, &tdMain::Display_MinVolBtn, "Display + volume + buttons",
        "Display + volume + buttons", true, false),
    ROW(Display_MinVolBtnPre, cmMinimalVolBtnPre, &tdMain::Display_MinVolBtnPre,
        "Display + volume + buttons + presets", "Display + volume + buttons + presets", true, false),
    ROW(Stations_Organize, cmOrganize, &tdMain::Stations_Organize, "Organize", "Organize", false, true),
    ROW(Stations_EditPresets, cmEditFavs, &tdMain::Stations_EditPresets, "Edit presets", "Edit presets", false, true),
    ROW(Stations_Scanner, cmScanner, &tdMain::Stations_Scanner, "Scanner", "Scanner", false, true),
    ROW(Stations_Clear, cmClear, &tdMain::Stations_Clear, "Clear", "Clear", false, true),
    ROW(Stations_ClearAll, cmClearAll, &tdMain::Stations_ClearAll, "Clear all", "Clear all", false, true),
    ROW(Stations_Memory, cmMemory, &tdMain::Stations_Memory, "Memory", "Memory", false, true),
    ROW(Stations_Rename, cmRename, &tdMain::Stations_Rename, "Rename", "Rename", false, true),
    ROW(Help_Topics, cmHelp, &tdMain::Help_Topics, "Help topics", "Help topics", false, false),
    ROW(Help_About, cmAbout, &tdMain::Help_About, "About", "About", false, true),
    ROW(Do_Show, std::nullopt, &tdMain::Do_Show, nullptr, "Show", false, false),
    ROW(Do_Hide, std::nullopt, &tdMain::Do_Hide, nullptr, "Hide", false, false),
}};

#undef ROW

using E = tMenuEntry;
constexpr E Sub(const char* title) { return {E::kSubmenu, kItemCount, title}; }
constexpr E Item(tItem item) { return {E::kItem, item, nullptr}; }
constexpr E kSep{E::kSeparator};
constexpr E kEndSub{E::kEnd};
constexpr E kPresets{E::kFavorites};

constexpr E kMain[] = {
    Sub("&File"), Item(iFile_LoadScript), Item(iFile_LoadPresets), kSep, Item(iFile_Exit), kEndSub,
    Sub("&Actions"), Item(iActions_Jump), Item(iActions_TunePrev), Item(iActions_TuneNext), kSep,
    Item(iActions_StepDec), Item(iActions_StepInc), kSep,
    Item(iActions_ScanPrev), Item(iActions_ScanNext), Item(iActions_StopScan), kSep,
    // The main menu lists sleep before alarm, the tray menu alarm before sleep.
    Item(iActions_Sleep), Item(iActions_Alarm), Item(iActions_Prog), Item(iActions_Stereo), kEndSub,
    Sub("&Volume"), Item(iVolume_Up), Item(iVolume_Down), Item(iVolume_Mute), kSep,
    Item(iVolume_Mixer), Item(iVolume_0), kEndSub,
    Sub("&Options"), Item(iOptions_Settings), Item(iOptions_SetSignalStrenght),
    Sub("D&isplay"), Item(iDisplay_AlwaysOnTop), Item(iDisplay_Complete), Item(iDisplay_Minimal),
    Item(iDisplay_MinTuner), Item(iDisplay_MinPresets), Item(iDisplay_MinVolBtn), Item(iDisplay_MinVolBtnPre),
    kEndSub, kEndSub,
    Sub("&Stations"), Item(iStations_Organize), Item(iStations_EditPresets), Item(iStations_Scanner), kSep,
    Item(iStations_Clear), Item(iStations_ClearAll), Item(iStations_Memory), Item(iStations_Rename), kSep,
    kPresets, kEndSub,
    Sub("&Help"), Item(iHelp_Topics), Item(iHelp_About), kEndSub,
};

constexpr E kTray[] = {
    Sub("Actions"), Item(iActions_Jump), Item(iActions_TunePrev), Item(iActions_TuneNext), kSep,
    Item(iActions_StepDec), Item(iActions_StepInc), kSep,
    Item(iActions_ScanPrev), Item(iActions_ScanNext), Item(iActions_StopScan), kSep,
    Item(iActions_Alarm), Item(iActions_Sleep), Item(iActions_Prog), Item(iActions_Stereo), kEndSub,
    Sub("Volume"), Item(iVolume_Up), Item(iVolume_Down), Item(iVolume_Mute), kSep,
    Item(iVolume_Mixer), Item(iVolume_0), kEndSub,
    kSep,
    Item(iOptions_Settings), Item(iOptions_SetSignalStrenght),
    Sub("Display"), Item(iDisplay_AlwaysOnTop), kSep, Item(iDisplay_Complete), Item(iDisplay_Minimal),
    Item(iDisplay_MinTuner), Item(iDisplay_MinPresets), Item(iDisplay_MinVolBtn), Item(iDisplay_MinVolBtnPre),
    kEndSub,
    kSep,
    Item(iStations_Organize), Item(iStations_EditPresets), Item(iStations_Scanner), Item(iStations_Clear),
    Item(iStations_ClearAll), Item(iStations_Memory), Item(iStations_Rename), kPresets,
    kSep,
    Sub("Help"), Item(iHelp_Topics), Item(iHelp_About), kEndSub,
    kSep,
    Item(iDo_Show), Item(iDo_Hide),
    kSep,
    Item(iFile_Exit),
};

} // namespace

const std::array<tCommandItem, kItemCount>& CommandItems() { return kItems; }

std::optional<tItem> ItemOfCommand(tCommand command) {
    for (const tCommandItem& row : kItems)
        if (row.command == command) return row.item;
    return std::nullopt;
}

std::span<const tMenuEntry> MainMenuLayout() { return kMain; }
std::span<const tMenuEntry> TrayMenuLayout() { return kTray; }

} // namespace tunevox::app
