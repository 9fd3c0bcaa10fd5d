#pragma once
// What the radio set tells the window that shows it. The radio set decides
// (what is tuned, which favorite is current, whether the radio is muted,
// which commands can run); the view only shows, and reads the radio set's
// state when a notice says something changed. Every notice comes on the
// radio set's thread, after the state it reports is in place.

#include "radio/radio_types.h"
#include "radioset/commands.h"
#include "radioset/seams.h"
#include "radioset/tuning_rules.h"

#include <bitset>
#include <string>

namespace tunevox::radioset {

// Enabled and checked state of every command (indexed by tCommand). The
// radio set fills in what it rules; the view adds what it owns itself (the
// display modes, always on top).
struct tCommandStates {
    std::bitset<kCommandCount> enabled;
    std::bitset<kCommandCount> checked;
    bool Enabled(tCommand c) const { return enabled[static_cast<size_t>(c)]; }
    bool Checked(tCommand c) const { return checked[static_cast<size_t>(c)]; }
    bool operator==(const tCommandStates&) const = default;
};

// Where the radio is, as shown.
struct tFrequencyShown {
    radio::tBand band = radio::bFM;
    double frequency = 0.0; // MHz, on the card's grid
    tReadout readout;       // the six display cells and the point
    std::string caption;    // "98.7 MHz", "1620 kHz" (FrequencyCaption)
};

// The station shown: the current favorite (0: none), its name, and the
// caption for the window title and the tray ("98.7 MHz (Radio One)").
struct tStationShown {
    int favorite = 0;
    std::string name;
    std::string caption;
};

class IRadioSetView {
public:
    virtual ~IRadioSetView() = default;
    // The card was set up anew (start-up, settings): its bands, stereo
    // switch, volume controls and ranges, the band scale and sliders.
    virtual void ShowCard() = 0;
    // The band changed: its scale, its controls (seek and step exist on FM
    // only), the frequency slider's range.
    virtual void ShowBand(radio::tBand band) = 0;
    virtual void ShowFrequency(const tFrequencyShown& shown) = 0;
    // 0 nothing received ("?????", dim), 1 tuned, 2 stereo, 3 mono.
    virtual void ShowTunedStatus(int status) = 0;
    virtual void ShowStation(const tStationShown& station) = 0;
    // The bank changed: both favorites menus and the buttons.
    virtual void ShowFavorites() = 0;
    // The FM tuning step changed (FMTuneStep, its multiple of the card step).
    virtual void ShowStep() = 0;
    // The volume, its maximum or its step changed.
    virtual void ShowVolume() = 0;
    // shownMuted: muted, or silent at volume 0 where there is a volume.
    virtual void ShowMute(bool shownMuted) = 0;
    virtual void ShowTime(const tTimeOfDay& now) = 0;
    virtual void ShowAlarm(bool on) = 0;
    virtual void ShowSleep(bool on) = 0;
    virtual void ShowProgramming(bool on) = 0;
    virtual void ShowStereoWanted(bool on) = 0;
    // A seek started (direction -1 down, +1 up) or ended (0).
    virtual void ShowSeek(int direction) = 0;
    virtual void ShowCommands(const tCommandStates& states) = 0;
    // A long operation ended (a seek, a sweep): commands that waited for it
    // (the exit) may go on now.
    virtual void LongOperationEnded() = 0;
    // A failure the user must hear of (the sound card's mixer refused a
    // change), told once the operation that met it is over.
    virtual void ReportProblem(const std::string& text) = 0;
    // A script's "Off": the program ends along its shutdown path (the card
    // is muted already).
    virtual void CloseRequested() = 0;
};

} // namespace tunevox::radioset
