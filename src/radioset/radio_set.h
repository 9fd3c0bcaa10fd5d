#pragma once
// TRadioSet: the radio set below every window. It owns what the radio is:
// the configuration and its file, the card session (one set-up path for the
// start and for new settings), the favorites bank and the current favorite,
// the mute state, the stereo wish, the tuning step, the long operations and
// their busy flag, the alarm, the sleep timer and programming mode with
// their rules, the clock tick and the timers' part of the dialog protocol.
// The main window shows it through IRadioSetView and calls it from its
// handlers; the scanner, organizer, presets editor and script runner work
// against it too. No widgets, no Qt: the seams (seams.h) bring the card,
// the time of day, the timers and the event loop.
//
// Its code is split by concern:
//   radio_set.cpp            construction, start-up, settings, saving
//   radio_set_tuning.cpp     GoToFrequency, stepping, band, seek, status
//   radio_set_favorites.cpp  the bank, the current favorite, presets files
//   radio_set_audio.cpp      volume and mute
//   radio_set_clock.cpp      the clock tick, alarm, sleep, dialog timers
//   radio_set_script.cpp     the internal script and programming mode
//   radio_set_windows.cpp    the windows that edit the bank and tune the
//                            card themselves (scanner, organizer)
//
// Commands that would tune or edit favorites return at once while a long
// operation runs (Busy()); the window refuses the commands that would open
// a window.

#include "radio/radio_types.h"
#include "radioset/card_setup.h"
#include "radioset/configuration.h"
#include "radioset/favorites.h"
#include "radioset/file_locations.h"
#include "radioset/long_operation.h"
#include "radioset/presets_file.h"
#include "radioset/radio_set_view.h"
#include "radioset/view_group.h"
#include "radioset/seams.h"
#include "script/script.h"

#include <array>
#include <memory>
#include <string>

namespace tunevox::platform {
class ITone;
class TProfile;
}
namespace tunevox::radio {
class TRadioCard;
}

namespace tunevox::radioset {

struct tRadioSetOptions {
    tFileLocations files;
    // Where a script's beeps sound; null: nowhere.
    platform::ITone* tone = nullptr;
    char separator = '.'; // the user's decimal separator, for captions only
    tRemedies remedies;   // how messages name the program's remedies
};

class TRadioSet {
public:
    TRadioSet(ICardHost& host, IClock& clock, ITimerFactory& timers, tRadioSetOptions options);
    ~TRadioSet();
    TRadioSet(const TRadioSet&) = delete;
    TRadioSet& operator=(const TRadioSet&) = delete;

    // The window that shows the radio set; null: none (notices are dropped).
    void SetView(IRadioSetView* view);
    // Followers of the state beside the view (the desktop's media
    // controls); they must leave before they go.
    void AddObserver(IRadioSetView* observer);
    void RemoveObserver(IRadioSetView* observer);

    // --- start-up, settings, shutdown (radio_set.cpp) ---
    // Reads Tunevox.ini, once; the document is kept until it is saved, so
    // sections of others survive. Also maps the COM ports it names.
    void LoadConfiguration();
    // No card or no port configured yet, or the user asked for the
    // settings: they must be shown before the card can start.
    bool NeedsSettings(bool configureSwitch) const;
    // What the first-run settings open with: the configuration, its port
    // replaced by the model's default where none is stored.
    tConfiguration SettingsProposal() const;
    // The first-run answer: the configuration to start the card with.
    void TakeFirstSettings(const tConfiguration& edited);
    bool FirstRun() const { return firstRun_; }
    // Sets up and opens the card, reads the favorites, restores the last
    // station, starts the clock and the reception test, arms the alarm.
    void Start();
    // New settings for the running radio: the card reopened when its model
    // or port changed, Japanese FM, the volume line, the timers.
    void ApplySettings(const tConfiguration& next);
    // On its first run a new set looks for a station by itself.
    void SeekFirstStation();
    // Rewrites Tunevox.ini atomically; false with the reason.
    bool SaveConfiguration(std::string* error);
    // Closes the card (which mutes it where the model does so).
    void CloseCard();

    // --- tuning (radio_set_tuning.cpp) ---
    // The one tuning entry: switches the band when needed, tunes (a
    // frequency <= 0 keeps the band's last one), looks up the favorites
    // unless quiet, and returns the tuned status (0 when quiet).
    int GoToFrequency(radio::tBand band, bool quiet, double frequency);
    void TuneDown(); // one tuning step: AM's grid, FMTuneStep on FM
    void TuneUp();
    void StepLarger(); // FMTuneStep one card step larger ("Step +")
    void StepSmaller();
    // The step slider: FMTuneStep = k card steps (refused while busy).
    void SetStepMultiple(int k);
    void SwitchBand(radio::tBand band); // the band buttons
    // The slider: tunes quietly while dragged; ShowStatus when let go.
    void TuneFromSlider(double mhz, bool dragging);
    // Asks the card for the reception status and shows it (not while a
    // long operation has the card).
    void ShowStatus();
    // Seek down (-1) or up (+1) on FM, a step machine on the event loop.
    void Seek(int direction);
    void StopSeek(); // FM only
    // Stops whatever long operation runs; LongOperationEnded follows.
    void RequestStop() { operation_.RequestStop(); }
    void ToggleStereo();

    // --- favorites (radio_set_favorites.cpp) ---
    void SelectFavorite(int n, bool tune);
    // A favorite button or menu item: recalls n when the card can receive
    // its band and the slot is used.
    void RecallFavorite(int n);
    // Whether the card can receive n's band (a button of a band it lacks
    // does nothing, not even what MEM or CLR armed).
    bool CanReceiveBand(int n) const;
    bool IsCurrentStored() const;
    void StoreFavorite(int n, const std::string& name);
    void ClearFavorite(int n);
    void ClearCurrentFavorite();
    void RenameFavorite(int n, const std::string& name);
    void ClearAllFavorites();
    // Replaces the bank from a presets file; the bank is untouched unless
    // the whole file is good. The radio then goes to the band's start.
    tPresetsResult LoadPresets(const std::string& path);
    bool AnyFavorite() const;
    // Whether n's menu items are enabled: the card can receive it.
    bool FavoriteReceivable(int n) const;
    // "98.7 MHz (Radio One)": n's hint.
    std::string FavoriteCaption(int n) const;

    // --- audio (radio_set_audio.cpp) ---
    void VolumeUp();
    void VolumeDown();
    void VolumeToZero();
    void SetVolume(int volume);
    // The mute button and command: nothing where the card has no mute, or
    // while the radio is silent at volume 0.
    void ToggleMute();
    // A click on the tray icon: toggles what the window shows, not while a
    // dialog is open.
    void ToggleMuteFromTray();
    void SetSignalThreshold(int threshold);

    // --- clock, alarm, sleep, dialogs (radio_set_clock.cpp) ---
    void ClockTick();
    void SwitchAlarmOff();
    void SetAlarm(int hour, int minute, int favorite);
    void StartSleep(int minutes);
    void SwitchSleepOff();
    void SleepExpired();
    // Programming mode (the script runner): the alarm and the sleep expiry
    // stand aside while it is on.
    void SetProgramming(bool on);

    // --- the internal script and its runner (radio_set_script.cpp) ---
    // The script programming mode carries out; empty at start.
    const script::tScript& Script() const { return script_; }
    // The file last loaded, or the name the script editor last used.
    const std::string& ScriptFile() const { return scriptFile_; }
    void SetScriptFile(std::string path) { scriptFile_ = std::move(path); }
    // "Programming mode on/off (empty)", "(internal)" or "(<file>)".
    std::string ScriptHint() const;
    // The script editor's OK: its script becomes the internal one and
    // programming mode starts.
    void TakeScript(script::tScript script);
    // Loads a script file: programming mode stops first; on success the
    // file's script replaces the internal one and the mode starts; on
    // failure the internal script stays as it was and the mode stays off.
    script::tScriptResult LoadScript(const std::string& path);
    // What the clock tick runs while programming mode is on: the action of
    // the current minute, once; the end of the mode after the last.
    void RunScript(const tTimeOfDay& now);
    // One action, as its minute comes.
    void PerformAction(const script::zAction& action);
    // The time key of the last action performed, kept across runs.
    const std::string& LastRunKey() const { return lastRunKey_; }
    // The timers' part of the dialog protocol: stopped while a window
    // opened from the main window is up, each given back its state after.
    // Nested openings count.
    void BeginDialog();
    void EndDialog();
    bool ModalOpen() const { return modalDepth_ > 0; }
    // Only the timers stopped and given back (a message box).
    void PauseTimers();
    void ResumeTimers();

    // --- windows that edit a copy of the bank and drive the card
    //     themselves while they are open (radio_set_windows.cpp) ---
    // Called inside the dialog protocol before such a window shows: the
    // alarm and the sleep stand aside meanwhile (their lamps stay lit), so
    // no timed action touches the card while the window has it.
    void BeginBankWindow();
    // After it closed: the bank and current favorite it hands back (null:
    // cancelled, the radio set's own stay), the alarm and sleep as before,
    // the current favorite tuned again (or the band's start when there is
    // none), and the radio heard again unless it is shown muted. The timers
    // come back after, with the dialog protocol's end.
    void EndBankWindow(const tFavorites* bank, int current);
    // For a window that edits the bank in place (the organizer): each of
    // its changes is the radio set's at once, kept whichever way the window
    // closes and saved with the configuration even if the program ends
    // while the window is open. Nothing is tuned.
    void SetBankFromWindow(const tFavorites& bank, int current);
    // Timers of those windows' own (the presets editor's preview), from the
    // same factory as the radio set's, so tests drive them alike.
    ITimerFactory& TimerFactory() { return timerFactory_; }
    // Where beeps sound (null: nowhere), and the time of day, for the
    // script editor's previews and new actions.
    platform::ITone* Tone() const { return options_.tone; }
    tTimeOfDay Now() const { return clock_.Now(); }
    // The card, for those windows (the scanner's sweep and its listening).
    radio::TRadioCard& CardForWindows() { return card_; }
    // A long operation of such a window (the scanner's sweep): Busy()
    // while it runs, LongOperationEnded when it ends, stopped by
    // RequestStop. false while another runs.
    bool StartLongOperation(TLongOperation::tStep step, TLongOperation::tFinish finish);

    // --- state ---
    bool Busy() const { return operation_.Running(); }
    const tConfiguration& Config() const { return config_; }
    // The keys the window owns (display mode, position, always on top, the
    // tip of the day) are written here directly.
    tConfiguration& WindowConfig() { return config_; }
    const radio::TRadioCard& Card() const { return card_; }
    const tFavorites& Favorites() const { return favorites_; }
    int CurrentFavorite() const { return currentFavorite_; }
    double FMTuneStep() const { return fmTuneStep_; }
    int StepMultiple() const;
    int MaxStepMultiple() const;
    bool MuteState() const { return muteState_; }
    bool ShownMuted() const;
    bool StereoWanted() const { return stereoWanted_; }
    int LastStatus() const { return lastStatus_; }
    bool AlarmOn() const { return alarmOn_; }
    bool SleepOn() const { return sleepOn_; }
    int SleepMinutes() const { return sleepMinutes_; }
    bool Programming() const { return programming_; }
    int SeekDirection() const { return seekDirection_; }
    // Where the volume can be set (slider, Up and Down).
    bool VolumeControllable() const;
    // The file the bank was last loaded from; empty: the configuration's.
    const std::string& PresetsFile() const { return presetsFile_; }
    // The file the presets editor's bank came from or went to (empty: the
    // favorites are the configuration's own).
    void SetPresetsFile(std::string path) { presetsFile_ = std::move(path); }
    const tFileLocations& Files() const { return options_.files; }
    std::string FrequencyCaption(double mhz, radio::tBand band) const;
    tCommandStates CommandStates() const;
    ICardHost& Host() { return host_; }
    char Separator() const { return options_.separator; }

private:
    enum tTimer { tmClock, tmTest, tmBeeper, tmSleep, kTimerCount };

    // radio_set.cpp
    void ConfigureCard(const tConfiguration& c, bool starting);
    void OpenCard();
    void RestoreStation();
    void ArmAlarmAtStart();
    void RestartTest();
    // radio_set_tuning.cpp
    void ShowFrequency();
    void ShowTunedStatus(int status);
    void SetBandScale(radio::tBand band);
    bool AtEdge(int direction) const;
    bool SeekStep(int direction);
    void SeekEnded();
    void TestTick();
    // radio_set_favorites.cpp
    void MatchCurrentFavorite();
    void ShowStation();
    // radio_set_audio.cpp
    bool SilentByVolume() const;
    void VolumeChanged();
    void MixerChanged(int volume, bool mute);
    void ShowMute();
    // notices
    void PublishCommands();
    void Report(const std::string& text);

    ICardHost& host_;
    radio::TRadioCard& card_;
    IClock& clock_;
    ITimerFactory& timerFactory_;
    tRadioSetOptions options_;
    IRadioSetView* view_ = nullptr; // &views_ while anyone looks
    TViewGroup views_;
    TLongOperation operation_;
    std::array<std::unique_ptr<ITimer>, kTimerCount> timers_;
    std::array<bool, kTimerCount> timersWereActive_{};
    // Reads the station's RDS name while the card offers one; it stands
    // outside the dialog protocol, as it only ever shows a name.
    std::unique_ptr<ITimer> rdsTimer_;
    void RestartRds();
    void RdsTick();
    int modalDepth_ = 0;
    int pauseDepth_ = 0;
    // Queued notices of a destroyed radio set find this expired.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);

    tConfiguration config_;
    std::unique_ptr<platform::TProfile> profile_;
    bool firstRun_ = false;
    tFavorites favorites_{};
    int currentFavorite_ = 0;
    double fmTuneStep_ = 0.1;
    bool muteState_ = false;
    bool stereoWanted_ = true;
    int lastStatus_ = 0;
    int seekDirection_ = 0;
    bool alarmOn_ = false;
    bool sleepOn_ = false;
    int sleepMinutes_ = 0;
    bool programming_ = false;
    script::tScript script_;
    std::string scriptFile_;
    enum class eScriptSource { Empty, File, Internal } scriptSource_ = eScriptSource::Empty;
    std::string lastRunKey_;
    // The beeps of a Beep action, one a second from the beeper timer.
    struct tBeepRun {
        int count = 0, frequency = 0, duration = 0, index = 1;
    } beepRun_;
    void BeeperTick();
    void ApplyStereoChoice(bool stereo);
    // The alarm and sleep while a bank window has the card.
    bool alarmAside_ = false;
    bool sleepAside_ = false;
    std::string presetsFile_;
};

} // namespace tunevox::radioset
