// The emulators' station list (StationList::Parse, what --stations reads)
// on any bytes. Beyond not crashing, the result must agree with the errors
// (a list exactly when no line was reported bad), and every station taken
// must be one the receivers can use: inside its band, with a name.

#include "emulator/station_list.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace tunevox::emulator;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> errors;
    const auto list = StationList::Parse(std::string(reinterpret_cast<const char*>(data), size), &errors);
    if (list.has_value() != errors.empty()) __builtin_trap();
    if (!list) return 0;
    for (const Station& s : list->Stations()) {
        const bool inBand = s.band == Band::FM ? (s.frequencyMHz >= 50.0 && s.frequencyMHz <= 150.0)
                                               : (s.frequencyMHz >= 0.1 && s.frequencyMHz <= 2.0);
        if (!inBand || s.name.empty()) __builtin_trap();
    }
    return 0;
}
