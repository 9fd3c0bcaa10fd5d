#pragma once
// A radio set on emulated hardware whose waits return at once, with its
// files in a folder of the test's own, timers and a clock the test drives,
// and a view that keeps what it was told. No widgets.

#include "platform/event_queue.h"
#include "platform/tone.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "radioset/rig_card_host.h"
#include "rig/hardware_rig.h"
#include "support/manual_seams.h"
#include "support/temp_dir.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tunevox::radioset::test {

using tunevox::test::ManualClock;
using tunevox::test::ManualTimer;
using tunevox::test::ManualTimers;

// Keeps the last of every notice.
class RecordingView final : public IRadioSetView {
public:
    void ShowCard() override { ++cards; }
    void ShowBand(radio::tBand b) override { band = b; }
    void ShowFrequency(const tFrequencyShown& s) override { frequency = s; }
    void ShowTunedStatus(int s) override { status = s; }
    void ShowStation(const tStationShown& s) override { station = s; }
    void ShowFavorites() override { ++favoriteChanges; }
    void ShowStep() override {}
    void ShowVolume() override {}
    void ShowMute(bool m) override { shownMuted = m; }
    void ShowTime(const tTimeOfDay& t) override { time = t; }
    void ShowAlarm(bool on) override { alarm = on; }
    void ShowSleep(bool on) override { sleep = on; }
    void ShowProgramming(bool on) override { programming = on; }
    void ShowStereoWanted(bool) override {}
    void ShowSeek(int direction) override { seeks.push_back(direction); }
    void ShowCommands(const tCommandStates& s) override { commands = s; }
    void LongOperationEnded() override { ++operationsEnded; }
    void ReportProblem(const std::string& text) override { problems.push_back(text); }
    void CloseRequested() override { ++closeRequests; }

    int cards = 0;
    radio::tBand band = radio::bFM;
    tFrequencyShown frequency;
    int status = -1;
    tStationShown station;
    int favoriteChanges = 0;
    bool shownMuted = false;
    tTimeOfDay time;
    bool alarm = false;
    bool sleep = false;
    bool programming = false;
    std::vector<int> seeks;
    tCommandStates commands;
    int operationsEnded = 0;
    std::vector<std::string> problems;
    int closeRequests = 0;
};

class RadioSetRig {
public:
    // `ini` becomes Tunevox.ini before the radio set reads it.
    explicit RadioSetRig(const std::string& ini, rig::tRigOptions options = Emulated()) {
        if (!ini.empty()) tunevox::test::WriteTextFile(dir.File("Tunevox.ini"), ini);
        rig = std::make_unique<rig::THardwareRig>(std::move(options));
        host = std::make_unique<TRigCardHost>(*rig);
        tRadioSetOptions o;
        o.files.configDir = dir.Path();
        o.files.dataDir = dir.Path();
        o.tone = &tone;
        o.remedies = {"tunevox", "start Tunevox with --virtual", "choose the other port in the settings",
                      "choose another port in the settings"};
        set = std::make_unique<TRadioSet>(*host, clock, timers, o);
        set->SetView(&view);
    }
    static rig::tRigOptions Emulated() {
        rig::tRigOptions o;
        o.emulated = true;
        o.waits = rig::tWaits::kVirtual;
        return o;
    }
    // Reads the configuration and starts the card without asking anything.
    void Start() {
        set->LoadConfiguration();
        set->Start();
        Drain();
    }
    // Runs what is queued on the event loop: mixer notices, reports, and
    // every step of a long operation.
    void Drain() { rig->OwnEvents()->Drain(); }
    // Runs one queued task (one step of a long operation).
    bool RunOne() { return rig->OwnEvents()->RunOne(); }
    std::string Ini() const { return tunevox::test::ReadTextFile(dir.File("Tunevox.ini")); }

    radio::TRadioCard& Card() { return host->Card(); }
    TRadioSet& Set() { return *set; }

    tunevox::test::TempDir dir;
    std::unique_ptr<rig::THardwareRig> rig;
    std::unique_ptr<TRigCardHost> host;
    ManualClock clock;
    ManualTimers timers;
    RecordingView view;
    platform::RecordingTone tone;
    std::unique_ptr<TRadioSet> set;
};

} // namespace tunevox::radioset::test
