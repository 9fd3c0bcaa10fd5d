#pragma once
// tdMain: the radio set's main window. The radio set (radioset::TRadioSet)
// holds the radio's state and rules; the window shows what it reports
// (IRadioSetView) and turns the user's clicks, keys and menu items into its
// calls. The window keeps only what is its own: the widgets and menus, the
// row of favorites on the buttons, MEM and CLR waiting for a button, the
// display mode and its place on the screen, the tray icon, and the dialog
// protocol's showing and hiding. Its code is split by concern:
//   main_window.cpp     construction of widgets, menus and tray
//   main_startup.cpp    start-up, the window's place, closing and saving
//   main_tuning.cpp     the tuner group and the readout
//   main_favorites.cpp  the favorite buttons and menus, presets files
//   main_volume.cpp     the volume group, mute, the mixer and signal dialogs
//   main_commands.cpp   the command table's dispatch, keys, the dialog
//                       protocol, show and hide, layouts, colours, help
//   main_dialogs.cpp    settings, jump, alarm, sleep, tip of the day, about
// The handlers keep the names the controls bind them by (btFMClick,
// Actions_TuneNext, ...), so tests drive them as a user's clicks would.

#include "app/window/command_table.h"
#include "app/window/remote_command.h"
#include "widgets/interaction.h"
#include "radioset/radio_set_view.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSlider;
class QWidget;

namespace tunevox::display {
class TRadioPanel;
}
namespace tunevox::radioset {
class TRadioSet;
struct tConfiguration;
}
namespace tunevox::widgets {
class TGlyphButton;
class TSpinButton;
class TGroupFrame;
}

namespace tunevox::app {

class TFavoritesMenus;
class TTrayIcon;
class THelpWindow;

struct tMainOptions {
    bool configureSwitch = false; // "\CONFIGURE" or --configure on the command line
    bool useTray = true;          // false in tests: no tray icon is created
};

class tdMain : public QMainWindow, private radioset::IRadioSetView {
    Q_OBJECT

public:
    tdMain(radioset::TRadioSet& set, widgets::IInteraction& ui, tMainOptions options, QWidget* parent = nullptr);
    ~tdMain() override;

    // The start-up of the window: the settings first when no card is
    // configured (or asked for), then the radio set's start, the layout,
    // the window's place and the tip of the day. The radio set must have
    // read its configuration. false: the user cancelled the first-run
    // settings, and the program ends without writing anything.
    bool Start();
    // Rewrites the configuration; false when it could not be written, after
    // telling the user in a box, or, when the session is ending, on standard
    // error with ExitCode 1.
    bool SaveConfiguration();
    // Ends the program along the session-end path: no question, the card
    // closed, the configuration saved.
    void EndSession();
    // What the program ends with: 0, or 1 when the last save failed at a
    // session end.
    int ExitCode() const { return exitCode_; }
    // The settings dialog, run through the dialog protocol when the window
    // is up (tests answer it here; empty: the real dialog).
    std::function<bool(radioset::tConfiguration&)> RunSetupDialog;
    // The random source of the tip of the day (tests make it predictable).
    std::function<int(int bound)> TipRandom;

    // --- tuning (main_tuning.cpp) ---
    void Actions_TunePrev();
    void Actions_TuneNext();
    void Actions_StepDec();
    void Actions_StepInc();
    void sStepChange(int value);
    void sFrequencyChange(int value);
    void EndSliding();
    void btFMClick();
    void btAMClick();
    void Actions_ScanPrev();
    void Actions_ScanNext();
    void Actions_StopScan();
    void Actions_Stereo();

    // --- favorites (main_favorites.cpp) ---
    void StoreFavorite(int n);  // asks the name, then stores the tuned station
    void RenameFavorite(int n); // asks the new name
    void ShowFavoritesRow(int row);
    void btRadioClick(int k); // k = 1..10, the button's position in the row
    void btNextPrevTopClick();
    void btNextPrevBottomClick();
    void Stations_Memory();
    void btClrClick();
    void Stations_Clear();
    void Stations_ClearAll();
    void Stations_Rename();
    void btMenuPopup(int k);
    void Popup_Memory();
    void Popup_Clear();
    void Popup_Rename();
    void FavMenu(int n);
    void File_LoadPresets();
    void ShowPresetsFile(); // the presets group's hint
    // --- scripts (main_script.cpp) ---
    void Actions_Prog();
    void File_LoadScript();

    // --- volume (main_volume.cpp) ---
    void Volume_Up();
    void Volume_Down();
    void Volume_0();
    void Volume_Mute();
    void sVolumeChange(int value);
    void Volume_Mixer();
    void Options_SetSignalStrenght();

    // --- commands (main_commands.cpp) ---
    void KeyPress(QChar key);
    void RunCommand(radioset::tCommand command);
    void RunItem(tItem item);
    // The dialog protocol: timers stopped and given back, the tray menu
    // reduced to "Exit", the window hidden while HideMainForm is on.
    // `show` runs the dialog and acts on its answer before the window, the
    // tray menu and the timers are restored.
    int RunDialog(const std::function<int()>& show);
    void File_Exit();
    void TrayIconClick();
    void TrayIconDblClick();
    void Do_Show();
    // A command from the command line (this start's, or a later start's
    // handed over): refused in silence while the radio is busy, as the
    // keys are; a tuning or favorite the card cannot receive does nothing.
    void RunRemoteCommand(const tRemoteCommand& command);
    void Do_Hide();
    void Display_AlwaysOnTop();
    void Display_Complete();
    void Display_Minimal();
    void Display_MinTuner();
    void Display_MinPresets();
    void Display_MinVolBtn();
    void Display_MinVolBtnPre();
    void Help_Topics();
    void ShowHelp(const QString& topic);
    void ApplyLayout();
    void ApplyColors();

    // --- dialogs (main_dialogs.cpp) ---
    void Options_Settings();
    bool RunSettingsDialog(radioset::tConfiguration& config, bool firstRun);
    void Actions_Jump();
    void Stations_Scanner();
    void Stations_Organize();
    void Stations_EditPresets();
    void Actions_Alarm();
    void Actions_Sleep();
    void ShowTipOfTheDay();
    void Help_About();

    // --- what the tests read ---
    radioset::TRadioSet& Set() { return set_; }
    int FavoritesRow() const { return favoritesRow_; }
    bool MemArmed() const { return memArmed_; }
    bool ClrArmed() const { return clrArmed_; }
    bool Minimized() const { return minimized_; }
    QString ReadoutText() const; // the six cells as characters, point as '.'
    QString StatusText() const;  // the `Tuned` label
    QString StatusColor() const; // its colour, "#rrggbb"
    QString StationNumText() const;
    QString StationText() const;
    QString PresetsHint() const;
    QString TrayHint() const;
    TTrayIcon* Tray() const { return tray_; }
    // An item of the main menu (tray: of the tray menu); null when that
    // menu has no such item.
    QAction* MenuItem(tItem item, bool tray = false) const;
    // A menu item or control by its object name (for tests and tools; the
    // window itself keeps its items by the table).
    QAction* Action(const QString& objectName) const;
    QWidget* Control(const QString& objectName) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // IRadioSetView
    void ShowCard() override;
    void ShowBand(radio::tBand band) override;
    void ShowFrequency(const radioset::tFrequencyShown& shown) override;
    void ShowTunedStatus(int status) override;
    void ShowStation(const radioset::tStationShown& station) override;
    void ShowFavorites() override;
    void ShowStep() override;
    void ShowVolume() override;
    void ShowMute(bool shownMuted) override;
    void ShowTime(const radioset::tTimeOfDay& now) override;
    void ShowAlarm(bool on) override;
    void ShowSleep(bool on) override;
    void ShowProgramming(bool on) override;
    void ShowStereoWanted(bool on) override;
    void ShowSeek(int direction) override;
    void ShowCommands(const radioset::tCommandStates& states) override;
    void LongOperationEnded() override;
    void ReportProblem(const std::string& text) override;
    void CloseRequested() override;

    // main_window.cpp
    void BuildWidgets();
    void BuildTuner();
    void BuildPresets();
    void BuildVolumeAndButtons();
    void BuildMenus();
    void BuildMenu(QMenu* top, std::span<const tMenuEntry> layout, bool tray);
    void BuildTray();
    widgets::TGlyphButton* CommandButton(QWidget* parent, const QString& name, const QString& caption,
                                         const QRect& at, const QString& hint, radioset::tCommand command);
    // main_startup.cpp
    bool AskFirstSettings();
    void PlaceWindow();
    void RememberPlace();
    bool AskExitQuestion(); // true: go on closing
    // main_favorites.cpp
    void ShowFavoriteButton(int n, bool on);
    bool AskName(int n, QString& name, const std::string& offered = {});
    widgets::TGlyphButton* FavoriteButton(int n) const; // null when n is not on the row shown
    // main_volume.cpp
    void ShowVolumeGroup();
    void UpdateVolumeHint();
    // main_commands.cpp
    void SetDisplayMode(int mode);
    void UpdateButtonGlyphs();
    void ShowWindowItems();
    void SetGlyph(widgets::TGlyphButton* button, bool on);

    radioset::TRadioSet& set_;
    widgets::IInteraction& ui_;
    tMainOptions options_;
    char separator_ = '.';

    int favoritesRow_ = 1;
    int shownFavorite_ = 0; // the favorite whose button shows "ON"
    bool memArmed_ = false;
    bool clrArmed_ = false;
    int popupSlot_ = 0;
    bool minimized_ = false;
    bool started_ = false;    // the configuration is read and will be written once
    bool exitPending_ = false; // an exit waits for a long operation to end
    bool sessionEnding_ = false;
    int exitCode_ = 0;
    bool frequencyHandlerAttached_ = true;
    bool sliderDragging_ = false;
    radioset::tCommandStates commands_;

    // display panel
    display::TRadioPanel* panel_ = nullptr;
    // tuner
    widgets::TGroupFrame* gpTuner = nullptr;
    QSlider* sFrequency = nullptr;
    std::array<QLabel*, 12> Freq{};
    widgets::TGlyphButton* btTunePrev = nullptr;
    widgets::TGlyphButton* btTuneNext = nullptr;
    widgets::TGlyphButton* btScanPrev = nullptr;
    widgets::TGlyphButton* btScanNext = nullptr;
    widgets::TGlyphButton* btStopScan = nullptr;
    widgets::TGlyphButton* btJump = nullptr;
    QLabel* LScan = nullptr;
    QSlider* sStep = nullptr;
    widgets::TSpinButton* btSpinStep = nullptr;
    QLabel* Step = nullptr;
    QLabel* LStep = nullptr;
    widgets::TGlyphButton* btFM = nullptr;
    widgets::TGlyphButton* btAM = nullptr;
    // presets
    widgets::TGroupFrame* gpPresets = nullptr;
    std::array<widgets::TGlyphButton*, 10> btRadio{};
    widgets::TSpinButton* btNextPrev = nullptr;
    QMenu* btMenu = nullptr;
    QAction* pmMemory = nullptr;
    QAction* pmClear = nullptr;
    QAction* pmClearAll = nullptr;
    QAction* pmRename = nullptr;
    QSlider* Temp = nullptr; // takes the focus after a favorite click
    // volume and function buttons
    widgets::TGroupFrame* gpVolume = nullptr;
    QSlider* sVolume = nullptr;
    widgets::TGlyphButton* btMixer = nullptr;
    QLabel* VcDisabled = nullptr;
    widgets::TGlyphButton* btMute = nullptr;
    widgets::TGlyphButton* btAlarm = nullptr;
    widgets::TGlyphButton* btSleep = nullptr;
    widgets::TGlyphButton* btProg = nullptr;
    widgets::TGlyphButton* OnOff = nullptr;
    widgets::TGlyphButton* btClr = nullptr;
    widgets::TGlyphButton* btMem = nullptr;
    widgets::TGlyphButton* btStr = nullptr;
    // menus and tray: one action per item and menu place
    std::array<QAction*, kItemCount> mainItems_{};
    std::array<QAction*, kItemCount> trayItems_{};
    std::unique_ptr<TFavoritesMenus> favoritesMenus_;
    QMenu* TrayMenu = nullptr;
    QMenu* TrayMenuAlt = nullptr;
    TTrayIcon* tray_ = nullptr;

    QPointer<THelpWindow> help_;
};

} // namespace tunevox::app
