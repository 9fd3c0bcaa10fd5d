#pragma once
// tunevox-cli: a small front end to the card component, for scripts, cron
// and trying a receiver out.

#include <ostream>
#include <string>
#include <vector>

namespace tunevox::cli {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitHardware = 1; // no port access, COM port unopenable
constexpr int kExitUsage = 2;

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string Usage();

} // namespace tunevox::cli
