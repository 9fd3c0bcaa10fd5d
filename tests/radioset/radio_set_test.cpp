// The radio set's rules without a window: the card set up from the
// configuration (non-default ports and lines included), the station it
// comes back to, the seek as a step machine, the mute state, the alarm and
// sleep rules, the dialog protocol's timers, and the commands' states.

#include "radio_set_fixture.h"

#include "emulator/serial_radio_emulator.h"
#include "platform/trace.h"
#include "radioset/card_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <chrono>
#include <cstdio>

namespace tunevox::radioset::test {
namespace {

using radio::bAM;
using radio::bFM;

// Every port write the card makes, as the hardware trace writes it.
class TracedWrites {
public:
    TracedWrites() : stream_(open_memstream(&buffer_, &size_)), sink_(std::make_unique<platform::TraceSink>(stream_)) {}
    ~TracedWrites() {
        sink_.reset();
        std::fclose(stream_);
        std::free(buffer_);
    }
    platform::TraceSink* Sink() { return sink_.get(); }
    std::string Text() {
        sink_->Flush();
        std::fflush(stream_);
        return std::string(buffer_, size_);
    }

private:
    char* buffer_ = nullptr;
    size_t size_ = 0;
    std::FILE* stream_;
    std::unique_ptr<platform::TraceSink> sink_;
};

TEST(RadioSetStart, ACardOnItsAlternatePortIsDrivenThereWithTheStoredStepAndStation) {
    TracedWrites trace;
    rig::tRigOptions o = RadioSetRig::Emulated();
    o.trace = trace.Sink();
    RadioSetRig r("[Configuration]\nHardware=8\nPort=2\nVolumeLine=1\n[Audio]\nVolume=168\n"
                  "[Frequency]\nFrequency=M 101.900\nTuneStep=4\n"
                  "[Presets]\nList=3,\nStation03=M 101.900 Dance\n",
                  o);
    r.Start();
    const std::string writes = trace.Text();
    EXPECT_EQ(r.Card().Port(), 2);
    EXPECT_NE(writes.find("W 0358"), std::string::npos) << "the card is driven at its alternate address";
    EXPECT_EQ(writes.find("W 0350"), std::string::npos) << "and never at the default one";
    EXPECT_DOUBLE_EQ(r.Set().FMTuneStep(), 0.1);
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 101.9, 1e-6);
    EXPECT_EQ(r.Set().CurrentFavorite(), 3) << "the tuned station is a favorite";
    EXPECT_EQ(r.view.station.caption, "101.9 MHz (Dance)");
    EXPECT_EQ(std::string(r.view.frequency.readout.chars.data(), 6), "101900");

    r.Set().TuneUp();
    std::string error;
    ASSERT_TRUE(r.Set().SaveConfiguration(&error)) << error;
    const std::string ini = r.Ini();
    EXPECT_NE(ini.find("Port=2"), std::string::npos);
    EXPECT_NE(ini.find("Frequency=M 102.000"), std::string::npos);
    EXPECT_NE(ini.find("TuneStep=4"), std::string::npos);
    EXPECT_NE(ini.find("Current=0"), std::string::npos);
}

TEST(RadioSetStart, ARadioIsHeardUnlessStartedMutedWhateverCarriesTheVolume) {
    // A hand-written file without VolumeLine: no line carries the volume,
    // and only the model's own unmute reaches the serial radio.
    RadioSetRig r("[Configuration]\nHardware=3\nPort=3\n[Frequency]\nFrequency=M 098.700\n");
    r.Start();
    EXPECT_EQ(r.Card().VolumeLine(), radio::vlNone);
    EXPECT_EQ(r.Card().Port(), 3) << "COM3, not the default COM2";
    auto* radio = r.rig->EmulatedSerialRadio(3);
    ASSERT_NE(radio, nullptr);
    // The tuning, its status request and the unmute.
    EXPECT_TRUE(radio->WaitForCommands(3, std::chrono::seconds(2)));
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn);
    EXPECT_FALSE(r.Set().MuteState());

    RadioSetRig m("[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\nStartMuted=1\n");
    m.Start();
    EXPECT_FALSE(m.rig->EmulatedReceiver()->audioOn);
    EXPECT_TRUE(m.Set().MuteState());
    EXPECT_TRUE(m.view.shownMuted);
}

TEST(RadioSetStart, WhatAKilledSaveLeftBesideTheFilesIsRemovedAndOnlyThat) {
    RadioSetRig r("[Configuration]\nHardware=1\nPort=1\n");
    for (const char* name : {"Tunevox.ini.tmp123456", "Tunevox.ini.Ab3dE9", "Tunevox.db.tmp7", "Tunevox.ini.bak",
                             "Tunevox.ini.tmpx", "Other.ini.tmp1", "Tunevox.ini.Ab3dE9x"})
        tunevox::test::WriteTextFile(r.dir.File(name), "left");
    r.Start();
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(r.dir.Path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Other.ini.tmp1", "Tunevox.ini", "Tunevox.ini.Ab3dE9x", "Tunevox.ini.bak",
                                              "Tunevox.ini.tmpx"}));
}

TEST(RadioSetStart, TheStationComesBackByTheCurrentFavoriteTheStoredFrequencyOrTheBandsStart) {
    // A current favorite naming an empty slot: the FM band's start.
    RadioSetRig empty("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=M 098.700\n"
                      "[Presets]\nCurrent=7\nList=2,\nStation02=M 098.700 One\n");
    empty.Start();
    EXPECT_DOUBLE_EQ(empty.Card().Frequency(), 87.0);
    EXPECT_EQ(empty.Set().CurrentFavorite(), 0);

    // An AM favorite on a radio with AM comes back on AM.
    RadioSetRig am("[Configuration]\nHardware=4\nPort=2\n[Presets]\nCurrent=5\nList=5,\nStation05=K 000.693 Talk\n");
    am.Start();
    EXPECT_EQ(am.Card().Band(), bAM);
    EXPECT_DOUBLE_EQ(am.Card().Frequency(), 0.693);
    EXPECT_EQ(am.view.band, bAM);
    EXPECT_EQ(am.view.station.caption, "693 kHz (Talk)");

    // Without "tune to last station": the FM band's start, Japanese FM's here.
    RadioSetRig jp("[Configuration]\nHardware=6\nPort=2\nJapaneseFM=1\nLastStation=0\n"
                   "[Frequency]\nFrequency=M 080.000\n");
    jp.Start();
    EXPECT_DOUBLE_EQ(jp.Card().Frequency(), 76.0);
}

TEST(RadioSetSeek, StepsOnTheEventLoopRefusesTuningMeanwhileAndStopsBetweenSteps) {
    RadioSetRig r("[Configuration]\nHardware=1\nPort=2\n[Frequency]\nFrequency=M 098.000\nTuneStep=4\n"
                  "[Presets]\nList=1,\nStation01=M 090.000 Far\n");
    r.Start();
    TRadioSet& s = r.Set();
    s.Seek(+1);
    EXPECT_TRUE(s.Busy());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.0) << "nothing tunes inside the call";
    EXPECT_EQ(r.view.seeks, std::vector<int>{1});
    EXPECT_TRUE(r.view.commands.Enabled(cmStopScan));
    EXPECT_FALSE(r.view.commands.Enabled(cmScanRight));

    ASSERT_TRUE(r.RunOne());
    EXPECT_NEAR(r.Card().Frequency(), 98.1, 1e-9) << "one card step per event";
    // Commands that would tune or edit favorites return at once.
    s.TuneUp();
    s.RecallFavorite(1);
    s.StoreFavorite(5, "x");
    s.SwitchBand(bAM);
    s.Seek(-1);
    EXPECT_NEAR(r.Card().Frequency(), 98.1, 1e-9);
    EXPECT_FALSE(s.Favorites()[5].Used);

    // Up from 98.1 in 100 kHz steps the next station is 98.7.
    r.Drain();
    EXPECT_FALSE(s.Busy());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(r.view.status, 2);
    EXPECT_EQ(r.view.seeks, (std::vector<int>{1, 0}));
    EXPECT_EQ(r.view.operationsEnded, 1);
    EXPECT_FALSE(r.view.commands.Enabled(cmStopScan));

    // Stopped after two steps: the seek ends before a third card operation.
    s.Seek(+1);
    r.RunOne();
    r.RunOne();
    s.StopSeek();
    r.Drain();
    EXPECT_NEAR(r.Card().Frequency(), 98.9, 1e-9);
    EXPECT_EQ(r.view.status, 0);
    EXPECT_FALSE(s.Busy());

    // To the edge with nothing left to hear: it stops there, and a seek
    // towards the edge only refreshes the commands.
    s.GoToFrequency(bFM, false, 107.8);
    s.Seek(+1);
    r.Drain();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 108.0);
    EXPECT_FALSE(r.view.commands.Enabled(cmScanRight));
    EXPECT_TRUE(r.view.commands.Enabled(cmScanLeft));
    s.Seek(+1);
    EXPECT_FALSE(s.Busy());

    // A step still queued when the radio set goes away does nothing.
    s.Seek(-1);
    r.set.reset();
    EXPECT_NO_THROW(r.Drain());
}

TEST(RadioSetAudio, MuteFollowsTheVolumeTheTrayAndTheSleepTimer) {
    RadioSetRig r("[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                  "[Frequency]\nFrequency=M 098.700\n");
    r.Start();
    TRadioSet& s = r.Set();
    s.ToggleMute();
    EXPECT_TRUE(s.MuteState());
    EXPECT_TRUE(r.view.commands.Checked(cmMuteOnOff));
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn);
    s.ToggleMute();
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn);

    // At volume 0 the radio is shown muted, and the mute button cannot
    // "unmute" it; raising the volume brings it back.
    s.VolumeToZero();
    EXPECT_TRUE(r.view.shownMuted);
    EXPECT_FALSE(r.view.commands.Enabled(cmVolumeDown));
    s.ToggleMute();
    EXPECT_TRUE(r.view.shownMuted);
    s.VolumeUp();
    EXPECT_FALSE(r.view.shownMuted);
    EXPECT_FALSE(s.MuteState());

    // The tray click toggles, except while a dialog is open.
    s.BeginDialog();
    s.ToggleMuteFromTray();
    EXPECT_FALSE(s.MuteState());
    s.EndDialog();
    s.ToggleMuteFromTray();
    EXPECT_TRUE(s.MuteState());
    s.ToggleMuteFromTray();

    // Sleep mutes at its expiry, but not while programming mode runs.
    s.StartSleep(15);
    EXPECT_EQ(r.timers["TSleep"].Interval(), 15 * 60000);
    s.SetProgramming(true);
    r.timers["TSleep"].Fire();
    EXPECT_TRUE(s.SleepOn());
    EXPECT_FALSE(s.MuteState());
    s.SetProgramming(false);
    r.timers["TSleep"].Fire();
    EXPECT_FALSE(s.SleepOn());
    EXPECT_TRUE(s.MuteState());
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn);
    EXPECT_FALSE(r.timers["TSleep"].Active());
}

TEST(RadioSetClock, TheAlarmComparesHourAndMinuteEachByItself) {
    RadioSetRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 087.000\n"
                  "[Presets]\nList=9,\nStation09=M 098.700 Radio One\n");
    r.Start();
    TRadioSet& s = r.Set();
    auto tickAt = [&](int h, int m) {
        r.clock.now = {h, m, 0};
        r.timers["Clock"].Fire();
    };
    // 23:59 set at 23:00: rings at 23:59 and is then off.
    s.SetAlarm(23, 59, 9);
    tickAt(23, 58);
    EXPECT_TRUE(s.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    tickAt(23, 59);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(s.CurrentFavorite(), 9);
    EXPECT_FALSE(s.AlarmOn());
    EXPECT_FALSE(r.view.alarm);
    EXPECT_EQ(r.view.time.minute, 59);

    // 00:15 set at 23:30: the next tick switches it off without ringing.
    s.GoToFrequency(bFM, false, 90.0);
    s.SetAlarm(0, 15, 9);
    tickAt(23, 30);
    EXPECT_FALSE(s.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 90.0);

    // 07:30 set at 08:10 waits until 08:30 and ends there, silent.
    s.SetAlarm(7, 30, 9);
    tickAt(8, 10);
    EXPECT_TRUE(s.AlarmOn());
    tickAt(8, 30);
    EXPECT_FALSE(s.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 90.0);

    // In programming mode the script owns the minute: no alarm at all.
    s.SetAlarm(8, 31, 9);
    s.SetProgramming(true);
    tickAt(8, 31);
    EXPECT_TRUE(s.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 90.0);
}

TEST(RadioSetClock, TheAlarmArmsAtStartOnlyForAFavoriteTheBandCanReceive) {
    const std::string base = "[Configuration]\nHardware=3\nPort=2\nLaunchAlarm=1\n[Alarm]\nStation=4\n"
                             "[Presets]\nList=4,\nStation04=M 091.500 Edge\n";
    RadioSetRig wide(base);
    wide.Start();
    EXPECT_TRUE(wide.Set().AlarmOn());
    EXPECT_TRUE(wide.view.alarm);
    RadioSetRig japanese(base + "[Configuration]\nJapaneseFM=1\n");
    japanese.Start();
    EXPECT_FALSE(japanese.Set().AlarmOn()) << "91.5 MHz lies above Japanese FM";
}

TEST(RadioSetDialogs, TimersStopForADialogAndComeBackFromTheirFullInterval) {
    RadioSetRig r("[Configuration]\nHardware=1\nPort=1\nCheckIfTuned=1\nCheckIfTunedSec=5\n");
    r.Start();
    TRadioSet& s = r.Set();
    ASSERT_TRUE(r.timers["Clock"].Active());
    ASSERT_EQ(r.timers["Test"].Interval(), 5000);
    s.StartSleep(10);
    const int sleepStarts = r.timers["TSleep"].starts;
    s.BeginDialog();
    s.BeginDialog(); // a dialog opened from a dialog
    EXPECT_TRUE(s.ModalOpen());
    for (const char* name : {"Clock", "Test", "Beeper", "TSleep"}) EXPECT_FALSE(r.timers[name].Active()) << name;
    s.EndDialog();
    EXPECT_FALSE(r.timers["Clock"].Active()) << "until the outer dialog closes";
    s.EndDialog();
    EXPECT_FALSE(s.ModalOpen());
    EXPECT_TRUE(r.timers["Clock"].Active());
    EXPECT_TRUE(r.timers["Test"].Active());
    EXPECT_FALSE(r.timers["Beeper"].Active()) << "a timer that was off stays off";
    EXPECT_EQ(r.timers["TSleep"].starts, sleepStarts + 1) << "the sleep interval starts again";
    EXPECT_EQ(r.timers["TSleep"].Interval(), 10 * 60000);
    s.EndDialog(); // one too many changes nothing
    EXPECT_TRUE(r.timers["Clock"].Active());
}

TEST(RadioSetCommands, EnablingFollowsTheBandEdgesTheStepTheBankAndTheCard) {
    RadioSetRig r("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=K 000.531\nTuneStep=1\n"
                  "[Presets]\nList=2,\nStation02=K 000.531 Local\n");
    r.Start();
    const tCommandStates& c = r.view.commands;
    EXPECT_FALSE(c.Enabled(cmDecFreq));
    EXPECT_TRUE(c.Enabled(cmIncFreq));
    // The step items follow the step's multiple on AM as on FM.
    EXPECT_TRUE(c.Enabled(cmDecStep));
    EXPECT_FALSE(c.Enabled(cmIncStep));
    r.Set().StepLarger();
    EXPECT_TRUE(r.view.commands.Enabled(cmIncStep));
    EXPECT_FALSE(r.view.commands.Enabled(cmMemory)) << "the station is stored";
    EXPECT_TRUE(r.view.commands.Enabled(cmClear)) << "and current";
    EXPECT_FALSE(r.view.commands.Enabled(cmVolumeUp)) << "a serial radio has no volume";
    EXPECT_FALSE(r.view.commands.Enabled(cmStereo));
    r.Set().TuneUp();
    EXPECT_TRUE(r.view.commands.Enabled(cmMemory));
    EXPECT_FALSE(r.view.commands.Enabled(cmClear));
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 0.540) << "AM steps by its 9 kHz grid";
}

TEST(RadioSetSettings, ANewModelOrPortReopensTheCardAndAClosedCardIsTriedAgain) {
    RadioSetRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
                  "[Frequency]\nFrequency=M 098.700\n[Presets]\nList=4,\nStation04=M 098.700 One\n");
    r.Start();
    tConfiguration next = r.Set().Config();
    next.Hardware = ModelCode(radio::mZoltrix);
    next.Port = 2;
    next.VolumeLine = radio::vlLineIn;
    r.Set().ApplySettings(next);
    EXPECT_EQ(r.Card().Model(), radio::mZoltrix);
    EXPECT_EQ(r.Card().Caps().PortValue, 0x20C);
    EXPECT_TRUE(r.Card().Active());
    EXPECT_EQ(r.Card().VolumeLine(), radio::vlLineIn);
    EXPECT_EQ(r.Set().Config().VolumeLine, radio::vlLineIn);
    EXPECT_EQ(r.Set().CurrentFavorite(), 4) << "the current favorite is tuned again";
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 98.7, 1e-6);
    EXPECT_DOUBLE_EQ(r.Set().FMTuneStep(), 0.005) << "one step of the new card";

    // A card that could not open at the start opens when the settings are
    // confirmed again, once its port works.
    r.Card().Close();
    r.Set().ApplySettings(r.Set().Config());
    EXPECT_TRUE(r.Card().Active());
}

TEST(RadioSetSettings, AMissingSerialDeviceIsToldWithTheSystemsCause) {
    rig::tRigOptions real;
    real.emulated = false;
    real.withSound = false;
    real.waits = rig::tWaits::kVirtual;
    RadioSetRig r("[Configuration]\nHardware=3\nPort=2\n[ComPorts]\nCom2=/nonexistent/ttyUSB7\n", real);
    r.Start();
    ASSERT_EQ(r.view.problems.size(), 1u);
    const std::string& text = r.view.problems[0];
    EXPECT_NE(text.find("cannot open COM2 (/nonexistent/ttyUSB7): no such device"), std::string::npos) << text;
    EXPECT_NE(text.find("choose another port in the settings"), std::string::npos) << text;
}

TEST(CardSetup, PortsLinesAndTheAdviceForAMachineWithoutPortAccess) {
    const radio::tDevCaps table = radio::DefaultModelTable();
    EXPECT_EQ(EffectivePort(table[radio::mAztech], 2), 2);
    EXPECT_EQ(EffectivePort(table[radio::mAztech], 0), 1);
    EXPECT_EQ(EffectivePort(table[radio::mWizard], 9), 2);
    EXPECT_TRUE(NeedsPortAccess(table[radio::mZoltrix]));
    EXPECT_FALSE(NeedsPortAccess(table[radio::mRajikoma]));

    const tRemedies remedies{"/usr/bin/tunevox", "start Tunevox with --virtual", "choose the other port",
                             "name the device"};
    platform::tPortAccessError none;
    none.ioperm = ENOSYS;
    none.devPort = ENOENT;
    const std::string unsupported = PortAccessMessage(0x350, 8, none, remedies);
    EXPECT_NE(unsupported.find("this system offers no I/O port access"), std::string::npos) << unsupported;
    EXPECT_EQ(unsupported.find("setcap"), std::string::npos) << "no permission would help";
    platform::tPortAccessError denied;
    denied.ioperm = EPERM;
    denied.devPort = EACCES;
    EXPECT_NE(PortAccessMessage(0x30C, 1, denied, remedies).find("setcap cap_sys_rawio+ep /usr/bin/tunevox"),
              std::string::npos);

    // A mixer line this computer lacks falls back to the card's own controls.
    rig::tRigOptions o = RadioSetRig::Emulated();
    o.withSound = false;
    RadioSetRig r("", o);
    r.Card().SetModel(radio::mAztech);
    EXPECT_EQ(SetUsableVolumeLine(r.Card(), radio::vlCd), radio::vlNative);
}

} // namespace
} // namespace tunevox::radioset::test

namespace tunevox::radioset::test {
namespace {

TEST(BankEditing, HeldStoredAndClearedByTheRulesEveryBankWindowShares) {
    tFavorites bank{};
    bank[4] = {"Jazz", 90.5, radio::bFM, false, true};
    bank[9] = {"Talk", 0.693, radio::bAM, true, true};
    EXPECT_EQ(HeldByFavorite(bank, 90.5004, radio::bFM), 4) << "the same to the kHz";
    EXPECT_EQ(HeldByFavorite(bank, 90.501, radio::bFM), 0);
    EXPECT_EQ(HeldByFavorite(bank, 0.693, radio::bFM), 0) << "another band";
    bank[4].Used = false;
    EXPECT_EQ(HeldByFavorite(bank, 90.5, radio::bFM), 0) << "an empty slot holds nothing";

    // Storing makes the slot current and takes the mark from the former one.
    EXPECT_EQ(StoreAsFavorite(bank, 9, 100, 107.2, radio::bFM, "  Night Owl  "), 100);
    EXPECT_TRUE(bank[100].Active);
    EXPECT_EQ(bank[100].Name, "Night Owl");
    EXPECT_FALSE(bank[9].Active);
    EXPECT_EQ(StoreAsFavorite(bank, 100, 101, 88.1, radio::bFM, "x"), 100) << "no slot 101";

    ClearAllFavorites(bank, false, true);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        EXPECT_FALSE(bank[n].Used);
        EXPECT_EQ(bank[n].Band, radio::bFM);
        EXPECT_DOUBLE_EQ(bank[n].Frequency, 76.0) << "Japanese FM only: its lower edge";
    }
    ClearAllFavorites(bank, false, false);
    EXPECT_EQ(bank[1].Band, radio::bAM);
    EXPECT_DOUBLE_EQ(bank[1].Frequency, 0.531);
}

TEST(RadioSetWindows, ABankWindowHoldsAlarmAndSleepAndTheRadioComesBackToTheCurrentFavorite) {
    RadioSetRig r("[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\nLaunchAlarm=1\n[Audio]\nVolume=168\n"
                  "[Alarm]\nStation=2\nTime=07:00\n"
                  "[Presets]\nCurrent=2\nList=2,5,\nStation02=M 098.700 One\nStation05=M 101.900 Dance\n");
    r.Start();
    TRadioSet& s = r.Set();
    s.StartSleep(30);
    ASSERT_TRUE(s.AlarmOn());
    auto window = [&](const std::function<void()> inside) {
        s.BeginDialog();
        s.BeginBankWindow();
        EXPECT_FALSE(s.AlarmOn());
        EXPECT_FALSE(s.SleepOn());
        EXPECT_TRUE(r.view.alarm) << "the lamps stay as they are";
        s.CardForWindows().TuneTo(true, radio::bFM, 93.2); // the window listens elsewhere
        inside();
        s.EndDialog();
        EXPECT_TRUE(s.AlarmOn());
        EXPECT_TRUE(s.SleepOn());
        EXPECT_TRUE(r.timers["TSleep"].Active());
    };

    // Cancelled: the radio set's own bank, its current favorite tuned again.
    window([&] { s.EndBankWindow(nullptr, 0); });
    EXPECT_EQ(s.CurrentFavorite(), 2);
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 98.7, 1e-6);

    // Accepted with a new current favorite.
    tFavorites edited = s.Favorites();
    const int current = StoreAsFavorite(edited, 2, 7, 105.7, radio::bFM, "Sports");
    window([&] { s.EndBankWindow(&edited, current); });
    EXPECT_EQ(s.CurrentFavorite(), 7);
    EXPECT_TRUE(s.Favorites()[7].Used);
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 105.7, 1e-6);
    EXPECT_EQ(r.view.station.caption, "105.7 MHz (Sports)");

    // Its current favorite cleared in the window: the radio stays on its
    // band, with no current favorite; none at all: the band's start. A
    // radio shown muted ends muted, even when the window let it play.
    s.ToggleMute();
    edited = s.Favorites();
    ClearSlot(edited[7]);
    window([&] {
        s.CardForWindows().MuteOff();
        s.EndBankWindow(&edited, 7);
    });
    EXPECT_EQ(s.CurrentFavorite(), 0);
    EXPECT_FALSE(s.Favorites()[7].Active);
    window([&] { s.EndBankWindow(&edited, 0); });
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    EXPECT_TRUE(r.Card().Muted());
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn);
}

} // namespace
} // namespace tunevox::radioset::test
