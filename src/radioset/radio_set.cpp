// TRadioSet: construction, reading the configuration, setting the card up
// (at the start and for new settings), restoring the station, saving, and
// the commands' states.

#include "radioset/radio_set.h"

#include "platform/radio_device.h"

#include "mixer/mixer.h"
#include "platform/event_queue.h"
#include "platform/profile.h"
#include "platform/text_lines.h"
#include "radio/radio_card.h"
#include "platform/atomic_file.h"
#include "radioset/tuning_rules.h"

#include <algorithm>

namespace tunevox::radioset {

using radio::bAM;
using radio::bFM;

TRadioSet::TRadioSet(ICardHost& host, IClock& clock, ITimerFactory& timers, tRadioSetOptions options)
    : host_(host), card_(host.Card()), clock_(clock), timerFactory_(timers), options_(std::move(options)),
      operation_(host.Events()) {
    ClearBank(favorites_);
    timers_[tmClock] = timers.MakeTimer("Clock", [this] { ClockTick(); });
    timers_[tmTest] = timers.MakeTimer("Test", [this] { TestTick(); });
    timers_[tmBeeper] = timers.MakeTimer("Beeper", [this] { BeeperTick(); });
    timers_[tmSleep] = timers.MakeTimer("TSleep", [this] { SleepExpired(); });
    rdsTimer_ = timers.MakeTimer("Rds", [this] { RdsTick(); });
    card_.OnMixerChange = [this](radio::TRadioCard&, int volume, bool mute) { MixerChanged(volume, mute); };
    card_.OnMixerError = [this](radio::TRadioCard&, const mixer::eMMError& e) { Report(e.what()); };
    card_.OnDeviceError = [this](radio::TRadioCard&, const std::string& message) { Report(message); };
}

TRadioSet::~TRadioSet() {
    card_.OnMixerChange = nullptr;
    card_.OnMixerError = nullptr;
    card_.OnDeviceError = nullptr;
}

void TRadioSet::SetView(IRadioSetView* view) {
    views_.main = view;
    view_ = views_.Empty() ? nullptr : &views_;
}

void TRadioSet::AddObserver(IRadioSetView* observer) {
    views_.Add(observer);
    view_ = &views_;
}

void TRadioSet::RemoveObserver(IRadioSetView* observer) {
    views_.Remove(observer);
    view_ = views_.Empty() ? nullptr : &views_;
}

void TRadioSet::Report(const std::string& text) {
    // Told from inside a card operation: the user hears of it once the
    // operation is over, never from inside it.
    std::weak_ptr<int> alive = alive_;
    host_.Events().Post([this, alive, text] {
        if (alive.lock() && view_) view_->ReportProblem(text);
    });
}

// --- start-up ---

void TRadioSet::LoadConfiguration() {
    // One copy runs per set of files: what a save killed half-way left
    // beside them is nobody's now.
    platform::RemoveStaleTemporaries(options_.files.IniPath());
    platform::RemoveStaleTemporaries(options_.files.ArchivePath());
    profile_ = std::make_unique<platform::TProfile>();
    if (auto bytes = platform::ReadWholeFile(options_.files.IniPath())) profile_->LoadText(*bytes);
    config_ = ReadConfiguration(*profile_);
    firstRun_ = config_.Hardware == 0;
    if (!host_.Emulated()) {
        for (int n = 1; n <= 8; ++n)
            if (config_.ComPorts[n - 1]) host_.SetComDevicePath(n, *config_.ComPorts[n - 1]);
    }
}

bool TRadioSet::NeedsSettings(bool configureSwitch) const {
    // A radio device is given by its node, not by a port.
    const bool portless = card_.GetCaps(config_.Model()).PortKind == radio::kDeviceNode;
    return config_.Hardware == 0 || (config_.Port == 0 && !portless) || configureSwitch;
}

tConfiguration TRadioSet::SettingsProposal() const {
    tConfiguration proposal = config_;
    if (proposal.Port == 0) proposal.Port = card_.GetCaps(proposal.Model()).DefaultPort;
    return proposal;
}

void TRadioSet::TakeFirstSettings(const tConfiguration& edited) {
    config_ = edited;
    if (config_.Hardware == 0) config_.Hardware = ModelCode(config_.Model());
    // A radio switched on for the first time should be heard: half volume
    // rather than the silent 0 of an empty configuration.
    if (firstRun_ && config_.Volume == 0) config_.Volume = 128;
}

void TRadioSet::Start() {
    ConfigureCard(config_, true);
    fmTuneStep_ = TuneStepFor(config_.TuneStep, card_.Caps().FMStep);
    if (config_.Band == bAM) card_.SetLastAM(config_.Frequency);
    else card_.SetLastFM(config_.Frequency);

    ReadFavorites(*profile_, favorites_);
    const int n = config_.Current;
    currentFavorite_ = n >= 1 && n <= kFavoriteCount && favorites_[n].Used ? n : 0;
    if (currentFavorite_) favorites_[currentFavorite_].Active = true;

    if (view_) {
        view_->ShowCard();
        view_->ShowFavorites();
        view_->ShowStep();
        view_->ShowStereoWanted(stereoWanted_);
        view_->ShowProgramming(programming_);
    }
    RestoreStation();
    timers_[tmClock]->Start(1000);
    if (view_) view_->ShowTime(clock_.Now());
    RestartTest();
    RestartRds();
    ArmAlarmAtStart();
    if (view_) view_->ShowSleep(sleepOn_);
    PublishCommands();
}

// The one set-up path. At the start the card is closed and set up whole;
// with new settings it is closed and opened again only when its model or
// port changed (or it is not open: a port freed meanwhile is tried again),
// and the volume line moves with the volume the radio had.
void TRadioSet::ConfigureCard(const tConfiguration& c, bool starting) {
    const int volumeBefore = card_.Volume();
    const radio::tVolumeLine lineBefore = card_.VolumeLine();
    const radio::tModel model = c.Model();
    const int port = EffectivePort(card_.GetCaps(model), c.Port);
    const bool reopen = starting || model != card_.Model() || port != card_.Port() || !card_.Active() ||
                        (model == radio::mV4L2 && c.RadioDevice != card_.DevicePath());

    card_.SetMutedStartup(starting && c.StartMuted);
    if (reopen) {
        CloseCard();
        card_.SetModel(model);
        card_.SetPort(port);
        card_.SetDevicePath(c.RadioDevice);
    }
    SetUsableVolumeLine(card_, c.VolumeLine);
    card_.SetJapaneseFM(c.JapaneseFM);
    if (reopen) {
        card_.SetMuteOnExit(false);
        // Another model starts as at start-up: in stereo unless forced off
        // (a card without a stereo switch had answered "no stereo").
        card_.SetStereo(!c.ForceStereoOff);
        stereoWanted_ = card_.Stereo();
        if (starting) {
            muteState_ = c.StartMuted;
            if (c.StartMuted && card_.VolumeLine() >= radio::vlLineIn) card_.MuteOn();
        }
        OpenCard();
        if (!starting && card_.Caps().OpenDelay) host_.Wait(600);
    }
    if (starting) {
        card_.StoreVolume(c.Volume);
    } else if (card_.VolumeLine() != lineBefore) {
        if (card_.VolumeLine() >= radio::vlLineIn) card_.MuteOff();
        else if (card_.VolumeLine() == radio::vlNative) card_.NativeUnmute();
        card_.ApplyVolume(volumeBefore);
        // The slider and the mute indicator follow the line as it is.
        card_.ReadMixerLine();
        muteState_ = card_.Muted();
    }
}

// A quarter of a second: a name is whole after two rounds of its four
// segments, about a second of RDS, and is shown soon after.
void TRadioSet::RestartRds() {
    rdsTimer_->Stop();
    if (card_.Active() && card_.Caps().Rds) rdsTimer_->Start(250);
}

void TRadioSet::RdsTick() {
    if (card_.PollRds()) ShowStation();
}

void TRadioSet::OpenCard() {
    const radio::tDevCap& caps = card_.Caps();
    const std::string radio = "The radio (" + caps.DevMaker + " " + caps.DevName + ") ";
    try {
        card_.Open();
    } catch (const radio::eNoPortAccess& e) {
        Report(radio + PortAccessMessage(e.Base(), e.Count(), e.Error(), options_.remedies) + ".");
    } catch (const radio::eRadioDeviceError& e) {
        Report("The radio (" + caps.DevMaker + " " + caps.DevName + ") " +
               platform::RadioDeviceMessage(e.Path(), e.Error()) + ".");
    } catch (const radio::ePortAlreayOpen&) {
        // The window comes up all the same; the user picks another port in
        // the settings.
        Report(radio + ComPortMessage(card_.Port(), card_.SerialDevicePath(), card_.SerialOpenError(),
                                      options_.remedies) +
               ".");
    } catch (const std::exception& e) {
        std::string why = e.what();
        if (why.empty()) why = "the device could not be opened";
        Report(radio + "could not be opened: " + why + ".");
    }
}

void TRadioSet::RestoreStation() {
    const radio::tDevCap& caps = card_.Caps();
    if (config_.LastStation) {
        const int n = config_.Current;
        if (n >= 1 && n <= kFavoriteCount) {
            // A current favorite; an empty slot holds no station of any
            // band, and the radio goes to the FM band's start.
            const tFavorite& f = favorites_[n];
            if (f.Used && ((f.Band == bFM && caps.HasFM) || (f.Band == bAM && caps.HasAM)))
                SelectFavorite(n, true);
            else GoToFrequency(bFM, false, card_.FMMin());
        } else if ((config_.Band == bFM && caps.HasFM) || (config_.Band == bAM && caps.HasAM)) {
            GoToFrequency(config_.Band, false, config_.Frequency);
        } else {
            // Nothing is tuned, but the window still shows where the card is.
            SetBandScale(card_.Band());
            ShowFrequency();
            MatchCurrentFavorite();
        }
    } else {
        GoToFrequency(bFM, false, card_.FMMin());
    }
    // Heard unless started muted, whatever carries the volume: without a
    // volume line only the model's own unmute reaches the radio.
    if (!config_.StartMuted) {
        if (card_.VolumeLine() == radio::vlNone) card_.NativeUnmute();
        else card_.MuteOff();
    }
    muteState_ = card_.Muted();
    ShowMute();
}

void TRadioSet::ArmAlarmAtStart() {
    alarmOn_ = false;
    const int n = config_.AlarmStation;
    if (config_.LaunchAlarm && n >= 1 && n <= kFavoriteCount && favorites_[n].Used)
        alarmOn_ = CanReceive(favorites_[n], card_.Caps().HasAM, card_.Caps().HasFM, card_.FMMin(), card_.FMMax());
    if (view_) view_->ShowAlarm(alarmOn_);
}

void TRadioSet::SeekFirstStation() {
    if (firstRun_ && card_.Band() == bFM && lastStatus_ == 0) Seek(+1);
}

// --- settings ---

void TRadioSet::ApplySettings(const tConfiguration& next) {
    const bool japaneseChanged = next.JapaneseFM != card_.JapaneseFM();
    ConfigureCard(next, false);
    if (japaneseChanged) {
        SetBandScale(card_.Band());
        if (card_.Band() == bFM) GoToFrequency(bFM, false, card_.FMMin());
    }
    fmTuneStep_ = card_.Caps().FMStep;
    const int current = currentFavorite_;
    config_ = next;
    config_.Port = card_.Port();
    config_.JapaneseFM = card_.JapaneseFM();
    config_.VolumeLine = card_.VolumeLine();
    if (view_) {
        view_->ShowCard();
        view_->ShowStep();
        view_->ShowStereoWanted(stereoWanted_);
    }
    if (current) SelectFavorite(current, true);
    else GoToFrequency(card_.Band(), false, card_.Frequency());
    RestartRds();
    if (view_) {
        view_->ShowFavorites();
        view_->ShowVolume();
    }
    ShowMute();
    RestartTest();
    PublishCommands();
}

void TRadioSet::RestartTest() {
    timers_[tmTest]->Stop();
    if (config_.CheckIfTuned) timers_[tmTest]->Start(std::max(1, config_.CheckIfTunedSec) * 1000);
}

// --- shutdown ---

bool TRadioSet::SaveConfiguration(std::string* error) {
    if (!profile_) profile_ = std::make_unique<platform::TProfile>();
    config_.Volume = card_.Volume();
    config_.Band = card_.Band();
    config_.Frequency = card_.Frequency();
    config_.TuneStep = radioset::StepMultiple(fmTuneStep_, card_.Caps().FMStep);
    config_.Current = currentFavorite_;
    WriteConfiguration(*profile_, config_, favorites_);
    return EnsureConfigDir(options_.files, error) &&
           platform::WriteFileAtomically(options_.files.IniPath(), profile_->ToText(), error);
}

void TRadioSet::CloseCard() {
    try {
        card_.Close();
    } catch (const std::exception&) {
        // The card ends closed whatever a step of its close met; there is
        // nothing left to do about a radio that would not mute.
    }
}

// --- notices ---

tCommandStates TRadioSet::CommandStates() const {
    tCommandStates s;
    s.enabled.set();
    auto enable = [&s](tCommand c, bool on) { s.enabled[static_cast<size_t>(c)] = on; };
    auto check = [&s](tCommand c, bool on) { s.checked[static_cast<size_t>(c)] = on; };
    const radio::tDevCap& caps = card_.Caps();
    const double f = card_.Frequency();
    const bool down = f > card_.MinFrequency();
    const bool up = f < card_.MaxFrequency();
    enable(cmDecFreq, down);
    enable(cmIncFreq, up);
    // While a seek runs only its stop is offered.
    enable(cmScanLeft, down && !Busy());
    enable(cmScanRight, up && !Busy());
    enable(cmStopScan, Busy());
    const int k = StepMultiple();
    enable(cmDecStep, k < MaxStepMultiple()); // "Step +": a larger step
    enable(cmIncStep, k > 1);
    const bool level = VolumeControllable();
    enable(cmVolumeUp, level && card_.Volume() < card_.MaxVolume());
    enable(cmVolumeDown, level && card_.Volume() > 0);
    enable(cmMuteOnOff, caps.HasMute);
    enable(cmMixer, card_.HasSoundCard());
    enable(cmSignalStrenght, caps.SignalStrength);
    enable(cmStereo, caps.HasStereo);
    enable(cmMemory, !IsCurrentStored());
    enable(cmClear, currentFavorite_ != 0);
    check(cmStereo, stereoWanted_);
    check(cmMuteOnOff, muteState_);
    check(cmAlarmOnOff, alarmOn_);
    check(cmSleepOnOff, sleepOn_);
    check(cmProgr, programming_);
    return s;
}

void TRadioSet::PublishCommands() {
    if (view_) view_->ShowCommands(CommandStates());
}

int TRadioSet::StepMultiple() const { return radioset::StepMultiple(fmTuneStep_, card_.Caps().FMStep); }

int TRadioSet::MaxStepMultiple() const { return radioset::MaxStepMultiple(card_.Caps().FMStep); }

std::string TRadioSet::FrequencyCaption(double mhz, radio::tBand band) const {
    return radioset::FrequencyCaption(mhz, band, options_.separator);
}

} // namespace tunevox::radioset
