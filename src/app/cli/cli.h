#pragma once
// tunevox-cli: a small front end to the card component, for scripts, cron
// and trying a receiver out.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/port_io.h"

namespace tunevox::cli {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitHardware = 1; // no port access, COM port or radio device unopenable, a device request failed
constexpr int kExitUsage = 2;

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string Usage();

// Messages of the hardware errors, naming the system's cause, with the
// tool's remedies (radioset/card_setup.h has the rules of these messages).
// No I/O port access: a missing permission only when the system said so;
// a system without port access at all is told as such.
std::string PortAccessMessage(uint16_t base, unsigned count, const platform::tPortAccessError& why);
// A COM port that would not open: missing, busy, not permitted (only then
// the dialout group), not a serial port; `error` is the errno.
std::string ComPortMessage(int comNumber, const std::string& path, int error);

} // namespace tunevox::cli
