// Presets files (ParsePresets) on any bytes. Beyond not crashing, a file
// that was accepted must survive being written again: FormatPresets of the
// bank it gave must parse, and give the same bank (used slots, names,
// bands, frequencies to the kHz), or exporting what was imported would
// produce a file the program refuses or one with other stations.

#include "radio/frequency.h"
#include "radioset/presets_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace tunevox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    radioset::tFavorites bank{};
    if (radioset::ParsePresets(std::string_view(reinterpret_cast<const char*>(data), size), bank) !=
        radioset::prOk)
        return 0;

    radioset::tFavorites again{};
    if (radioset::ParsePresets(radioset::FormatPresets(bank), again) != radioset::prOk) __builtin_trap();
    for (size_t n = 1; n < bank.size(); ++n) {
        if (bank[n].Used != again[n].Used) __builtin_trap();
        if (!bank[n].Used) continue;
        if (bank[n].Name != again[n].Name || bank[n].Band != again[n].Band ||
            radio::FrequencyText(bank[n].Frequency) != radio::FrequencyText(again[n].Frequency))
            __builtin_trap();
    }
    return 0;
}
