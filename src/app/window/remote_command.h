#pragma once
// Commands given on the command line to the running program: a launcher,
// a script or a key of the desktop runs `tunevox --preset 3`, and the copy
// that runs already carries it out. Given when none runs, the program
// starts and carries it out once it has started.
//
// They travel over the single-instance socket as one line each:
//   "tune 98.7"  "tune 0.531"  "preset 3"  "mute"  "unmute"  "next"
//   "previous"   and "show" (a plain second start)
// A frequency travels in MHz on both bands, written with ".".

#include "radio/radio_types.h"

#include <optional>
#include <string>
#include <string_view>

namespace tunevox::app {

struct tRemoteCommand {
    enum tKind { Show, Tune, Preset, Mute, Unmute, Next, Previous } kind = Show;
    radio::tBand band = radio::bFM; // Tune
    double mhz = 0.0;               // Tune
    int favorite = 0;               // Preset, 1..100
    bool operator==(const tRemoteCommand&) const = default;
};

// What --tune takes, as the jump dialog does: MHz on FM (76 to 108), kHz
// on AM (531 to 1620); "." or "," alike. nullopt, with the reason in
// `error`, for anything else: "98.7" -> FM 98.7, "1215" -> AM 1.215.
std::optional<tRemoteCommand> ParseTuneValue(std::string_view text, std::string* error);
// What --preset takes: a favorite's number, 1 to 100.
std::optional<tRemoteCommand> ParsePresetValue(std::string_view text, std::string* error);

// The line that carries a command, and back; nullopt for a line that is
// no command (from another program on the socket, or a newer version).
std::string FormatRemoteCommand(const tRemoteCommand& command);
std::optional<tRemoteCommand> ParseRemoteCommand(std::string_view line);

} // namespace tunevox::app
