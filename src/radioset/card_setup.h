#pragma once
// The rules that turn the configuration into a card that plays, shared by
// the start-up, applying the settings, the settings dialog and the
// command-line tool, and the messages that tell the user why a card cannot
// be reached, in the system's own words and with the remedy that fits the
// cause.

#include "radio/radio_types.h"

#include <string>

namespace tunevox::platform {
struct tPortAccessError;
}
namespace tunevox::radio {
class TRadioCard;
}

namespace tunevox::radioset {

// The port index to use for a model: the configured one when the model has
// it, else the model's default (a stored 0 means "none chosen").
//   EffectivePort(RadioTrack, 2) == 2; EffectivePort(RadioTrack, 0) == 1;
//   EffectivePort(Wizard, 9) == 2 (COM2, the serial radios' default)
int EffectivePort(const radio::tDevCap& caps, int port);

// Whether a model is reached through the processor's I/O ports, which on
// Linux needs root or CAP_SYS_RAWIO (the serial radios need neither).
inline bool NeedsPortAccess(const radio::tDevCap& caps) { return caps.PortKind == radio::kIOPort; }

// Sets the card's volume line: the one asked for when the computer has it,
// else the card's own controls. A mixer line this computer lacks (the file
// came from another machine, the sound card is gone) would leave the radio
// without any volume or mute. Returns the line set.
radio::tVolumeLine SetUsableVolumeLine(radio::TRadioCard& card, radio::tVolumeLine line);

// How a front end names its remedies in the messages below.
struct tRemedies {
    std::string program;    // what CAP_SYS_RAWIO is given to: "tunevox-cli", or a full path
    std::string useVirtual; // "use --virtual"
    std::string choosePort; // "choose the port with --port"
    std::string nameDevice; // "name the device with --com-device"
};

// "0x30C" for one port, "0x350-0x357" for a range.
std::string PortRangeText(uint16_t base, unsigned count);

// Why ports [base, base + count) cannot be reached, and what helps:
//   cannot reach I/O port 0x30C (ioperm: Operation not permitted; /dev/port:
//   Permission denied); run as root or grant CAP_SYS_RAWIO (sudo setcap
//   cap_sys_rawio+ep tunevox-cli), or use --virtual
// On a system without any port access no permission helps, and the advice
// says so instead of suggesting setcap.
std::string PortAccessMessage(uint16_t base, unsigned count, const platform::tPortAccessError& why,
                              const tRemedies& remedies);

// Why COM n (path) cannot be opened, told apart by the system's error:
// missing, busy, not permitted, not a serial port.
//   cannot open COM2 (/dev/ttyS1): it is in use by another program (Device
//   or resource busy)
std::string ComPortMessage(int com, const std::string& path, int error, const tRemedies& remedies);

} // namespace tunevox::radioset
