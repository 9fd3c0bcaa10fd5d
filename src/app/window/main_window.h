#pragma once
// tdMain: the radio set's main window. It owns the favorites bank, the
// timers, the display cells, the menus and the tray icon, and drives the one
// card object through its host. Its code is split by concern:
//   main_window.cpp     construction, widgets and layout
//   main_startup.cpp    reading and saving the configuration, closing
//   main_tuning.cpp     GoToFrequency, stepping, band switch, seek, status
//   main_favorites.cpp  the bank on the buttons and menus, presets files
//   main_volume.cpp     volume slider, mute and the indicators
//   main_commands.cpp   menus, keys, tray icon, the dialog protocol
// The handlers keep the names the controls bind them by (btFMClick,
// Actions_TuneNext, ...), so tests drive them as a user's clicks would.

#include "radioset/commands.h"
#include "radioset/configuration.h"
#include "radioset/favorites.h"
#include "radioset/file_locations.h"
#include "app/window/services.h"
#include "radio/radio_types.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QSlider;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace tunevox::display {
class TDisplay;
class TRadioPanel;
}
namespace tunevox::platform {
class TProfile;
}
namespace tunevox::setup {
struct tSetupEnvironment;
}
namespace tunevox::widgets {
class TGlyphButton;
class TSpinButton;
class TGroupFrame;
}

namespace tunevox::app {

// The window is built on the radio set core.
using namespace radioset;

using widgets::TGlyphButton;
using widgets::TSpinButton;
using widgets::TGroupFrame;
class TTrayIcon;
class THelpWindow;

struct tMainOptions {
    tFileLocations files;
    bool configureSwitch = false; // "\CONFIGURE" or --configure on the command line
    bool useTray = true;          // false in tests: no tray icon is created
};

class tdMain : public QMainWindow {
    Q_OBJECT

public:
    tdMain(ICardHost& host, IInteraction& ui, IClock& clock, tMainOptions options,
           QWidget* parent = nullptr);
    ~tdMain() override;

    // The start-up sequence of the window: read the configuration, set up
    // and open the card, restore the station, lay the window out. Returns
    // false when the user cancelled the first-run settings (the program
    // then ends without writing anything).
    bool ReadConfiguration();
    // Rewrites the configuration file; false (after telling the user) when
    // it could not be written.
    bool SaveConfiguration();
    // Ends the program along the session-end path: no question, the card
    // closed, the configuration saved.
    void EndSession();

    // Hooks later windows attach to: the first-run settings dialog (returns
    // true on OK after changing the configuration), run through the dialog
    // protocol.
    std::function<bool(tConfiguration&)> RunSetupDialog;

    // --- tuning (main_tuning.cpp) ---
    int GoToFrequency(radio::tBand band, bool quiet, double frequency);
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
    void TestTimer();
    void SetBandScale(radio::tBand band);
    void SetSliderRanges();
    void ShowFrequencyDigits();
    void UpdateTuneLimits();
    void UpdateStepMenus();
    void ShowTunedStatus(int status);
    QString FrequencyCaption(double frequency, radio::tBand band) const;
    QString FrequencyTextShown(double mhz) const; // "000.000" with the user's separator

    // --- favorites (main_favorites.cpp) ---
    void SelectFavorite(int n, bool tune);
    void MatchCurrentFavorite();
    bool IsCurrentStored() const;
    void StoreFavorite(int n);
    void ClearFavorite(int n);
    void RenameFavorite(int n);
    void ShowFavoritesRow(int row);
    void RebuildFavoritesMenus();
    void AddFavoriteMenuItems(int n);
    void EnableFavoriteMenuItems();
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

    // --- volume (main_volume.cpp) ---
    void Volume_Up();
    void Volume_Down();
    void Volume_0();
    void Volume_Mute();
    void sVolumeChange(int value);
    void RadioCardMixerChange(int volume, bool mute);
    void ShowVolumeSlider();
    void EnableVolumeGroup();
    void ShowMuteState();
    void ReportMixerError(const QString& text);
    void Volume_Mixer();
    void Options_SetSignalStrenght();

    // --- commands (main_commands.cpp) ---
    void KeyPress(QChar key);
    void RunCommand(tCommand command);
    int RunDialog(const std::function<int()>& show); // the dialog protocol
    void File_Exit();
    void TrayIconClick();
    void TrayIconDblClick();
    void Do_Show();
    void Do_Hide();
    void Display_AlwaysOnTop();
    void Help_Topics();
    void ShowHelp(const QString& topic);
    void ApplyLayout();
    void ApplyColors();
    void UpdateButtonGlyphs(bool withFavorites);

    // --- dialogs, clock, alarm, sleep (main_dialogs.cpp) ---
    void Options_Settings();
    void ApplySettings(const tConfiguration& next);
    bool RunSettingsDialog(tConfiguration& config, bool firstRun);
    void Actions_Jump();
    void ClockTimer();
    void Actions_Alarm();
    void Actions_Sleep();
    void TSleepTimer();
    void ShowAlarmState();
    void ShowSleepState();
    void ShowTipOfTheDay();
    void Help_About();
    bool AlarmOn() const { return alarmOn_; }
    bool SleepOn() const { return sleepOn_; }
    int SleepMinutes() const { return sleepMinutes_; }
    // Programming mode (the script runner sets it): the alarm and the sleep
    // expiry stand aside while it is on.
    void SetProgramming(bool on) { programming_ = on; }
    // The random source of the tip of the day (tests make it predictable).
    std::function<int(int bound)> TipRandom;

    // --- state the tests read ---
    const tConfiguration& Config() const { return config_; }
    tConfiguration& Config() { return config_; }
    const tFavorites& Favorites() const { return favorites_; }
    int CurrentFavorite() const { return currentFavorite_; }
    int FavoritesRow() const { return favoritesRow_; }
    double FMTuneStep() const { return fmTuneStep_; }
    bool Scanning() const { return scanning_; }
    bool MemArmed() const { return memArmed_; }
    bool ClrArmed() const { return clrArmed_; }
    bool MuteState() const { return muteState_; }
    bool StereoWanted() const { return stereoWanted_; }
    bool ModalOpen() const { return modalOpen_; }
    QString ReadoutText() const;      // the six cells as characters, point as '.'
    QString StatusText() const;       // the `Tuned` label
    QString StatusColor() const;      // its colour, "#rrggbb"
    QString StationNumText() const;
    QString StationText() const;
    QString PresetsHint() const;
    QString TrayHint() const;
    TTrayIcon* Tray() const { return tray_; }
    QAction* Action(const QString& objectName) const; // a menu item by name
    QWidget* Control(const QString& objectName) const; // a control by name
    // Called between seek steps so the tests can press stop mid-seek.
    std::function<void()> OnSeekStep;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class tdMainTestAccess;

    // main_window.cpp
    void BuildWidgets();
    void BuildPanel();
    void BuildTuner();
    void BuildPresets();
    void BuildVolumeAndButtons();
    void BuildMenus();
    void BuildTray();
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                     void (tdMain::*handler)());
    void SetCaption(const QString& caption);
    void SetIndicator(QLabel* label, const QString& word, bool on);

    // main_dialogs.cpp
    setup::tSetupEnvironment SetupEnvironment(bool firstRun);
    void ArmAlarmAtStart();

    // main_startup.cpp
    void SetUpCard();
    void OpenCard();
    void PlaceWindow();
    void RememberPlace();
    void RestoreStation();
    void RefreshAfterCardChange();
    bool AskExitQuestion(); // true: go on closing
    void LoadIni(platform::TProfile& into);

    // main_tuning.cpp
    void Seek(int direction);
    void SetFrequencySlider(double mhz);

    // main_favorites.cpp
    QString FavoriteHint(int n) const;
    void ShowFavoriteButton(int n, bool on);
    bool AskName(int n, QString& name);
    void SetClearItemsEnabled();
    void SetMemoryItemsEnabled(bool on);
    TGlyphButton* FavoriteButton(int n) const; // null when n is not on the row shown

    // main_volume.cpp
    void UpdateVolumeHint();
    bool SilentByVolume() const;
    void GuardAudio(const std::function<void()>& action);

    ICardHost& host_;
    radio::TRadioCard& card_;
    IInteraction& ui_;
    IClock& clock_;
    tMainOptions options_;

    tConfiguration config_;
    std::unique_ptr<platform::TProfile> profile_; // kept from reading to saving
    tFavorites favorites_{};
    int currentFavorite_ = 0;
    int favoritesRow_ = 1;
    double fmTuneStep_ = 0.1;
    bool scanning_ = false;
    bool stopRequested_ = false;
    bool memArmed_ = false;
    bool clrArmed_ = false;
    bool muteState_ = false;
    bool stereoWanted_ = true;
    bool modalOpen_ = false;
    bool minimized_ = false;
    bool closing_ = false;
    bool sessionEnding_ = false;
    bool configRead_ = false;
    int popupSlot_ = 0;
    int lastStatus_ = 0;
    QString presetsFile_;
    char separator_ = '.';

    // display panel
    display::TRadioPanel* panel_ = nullptr;
    // tuner
    TGroupFrame* gpTuner = nullptr;
    QSlider* sFrequency = nullptr;
    std::array<QLabel*, 12> Freq{};
    TGlyphButton* btTunePrev = nullptr;
    TGlyphButton* btTuneNext = nullptr;
    TGlyphButton* btScanPrev = nullptr;
    TGlyphButton* btScanNext = nullptr;
    TGlyphButton* btStopScan = nullptr;
    TGlyphButton* btJump = nullptr;
    QLabel* LScan = nullptr;
    QSlider* sStep = nullptr;
    TSpinButton* btSpinStep = nullptr;
    QLabel* Step = nullptr;
    QLabel* LStep = nullptr;
    TGlyphButton* btFM = nullptr;
    TGlyphButton* btAM = nullptr;
    // presets
    TGroupFrame* gpPresets = nullptr;
    std::array<TGlyphButton*, 10> btRadio{};
    TSpinButton* btNextPrev = nullptr;
    QMenu* btMenu = nullptr;
    QSlider* Temp = nullptr; // takes the focus after a favorite click
    // volume and function buttons
    TGroupFrame* gpVolume = nullptr;
    QSlider* sVolume = nullptr;
    TGlyphButton* btMixer = nullptr;
    QLabel* VcDisabled = nullptr;
    TGlyphButton* btMute = nullptr;
    TGlyphButton* btAlarm = nullptr;
    TGlyphButton* btSleep = nullptr;
    TGlyphButton* btProg = nullptr;
    TGlyphButton* OnOff = nullptr;
    TGlyphButton* btClr = nullptr;
    TGlyphButton* btMem = nullptr;
    TGlyphButton* btStr = nullptr;
    // menus and tray
    QMenu* mPresets = nullptr;
    QMenu* tsmPresets = nullptr;
    QMenu* TrayMenu = nullptr;
    QMenu* TrayMenuAlt = nullptr;
    TTrayIcon* tray_ = nullptr;
    // timers
    QTimer* Clock = nullptr;
    QTimer* Test = nullptr;
    QTimer* Beeper = nullptr;
    QTimer* TSleep = nullptr;

    QPointer<THelpWindow> help_;
    bool alarmOn_ = false;
    bool sleepOn_ = false;
    int sleepMinutes_ = 0;
    bool programming_ = false;
    bool frequencyHandlerAttached_ = true;
    bool sliderDragging_ = false;
};

} // namespace tunevox::app
