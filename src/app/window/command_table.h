#pragma once
// The main window's commands as one table: each item's handler, its key
// ordinal, the captions of its main-menu and tray items (whose object names
// are "ms" and "tsm" + the handler's name), whether it is checkable, and
// whether it waits for nothing while a long operation runs. The menus are
// data too: the order of items, separators and submenus of the main menu
// and of the tray menu. tdMain builds one QAction per menu place from
// these, keeps them by item, and never looks an item up by name.

#include "radioset/commands.h"

#include <array>
#include <optional>
#include <span>

namespace tunevox::app {

class tdMain;
using tHandler = void (tdMain::*)();

// Every item of the two menus, in the main menu's order; the tray's own
// Show and Hide last.
enum tItem : int {
    iFile_LoadScript, iFile_LoadPresets, iFile_Exit,
    iActions_Jump, iActions_TunePrev, iActions_TuneNext, iActions_StepDec, iActions_StepInc,
    iActions_ScanPrev, iActions_ScanNext, iActions_StopScan,
    iActions_Sleep, iActions_Alarm, iActions_Prog, iActions_Stereo,
    iVolume_Up, iVolume_Down, iVolume_Mute, iVolume_Mixer, iVolume_0,
    iOptions_Settings, iOptions_SetSignalStrenght,
    iDisplay_AlwaysOnTop, iDisplay_Complete, iDisplay_Minimal, iDisplay_MinTuner, iDisplay_MinPresets,
    iDisplay_MinVolBtn, iDisplay_MinVolBtnPre,
    iStations_Organize, iStations_EditPresets, iStations_Scanner,
    iStations_Clear, iStations_ClearAll, iStations_Memory, iStations_Rename,
    iHelp_Topics, iHelp_About,
    iDo_Show, iDo_Hide,
    kItemCount
};

struct tCommandItem {
    tItem item;
    std::optional<radioset::tCommand> command; // its key ordinal; none for Show and Hide
    const char* name;        // the handler's name: "Actions_TuneNext"
    tHandler handler;        // null: its window is not part of the program yet
    const char* mainCaption; // null: not in the main menu
    const char* trayCaption; // null: not in the tray menu
    bool checkable;
    // Refused while a long operation runs: it would tune, edit favorites
    // or open a window.
    bool refusedWhileBusy;
};

// Indexed by tItem.
const std::array<tCommandItem, kItemCount>& CommandItems();
// The item a command's key runs; nullopt for ordinal 32.
std::optional<tItem> ItemOfCommand(radioset::tCommand command);

// A menu laid out as data: items, separators, submenus (opened by a title,
// closed by kEnd) and the place of the favorites submenu "Presets".
struct tMenuEntry {
    enum tKind { kItem, kSeparator, kSubmenu, kEnd, kFavorites } kind;
    tItem item = kItemCount;
    const char* title = nullptr; // kSubmenu
};
// The main menu bar: each top-level entry is a kSubmenu.
std::span<const tMenuEntry> MainMenuLayout();
std::span<const tMenuEntry> TrayMenuLayout();

} // namespace tunevox::app
