#include "app/window/remote_command.h"

#include "platform/number_text.h"
#include "radio/frequency.h"

#include <cmath>

namespace tunevox::app {

namespace {

// Whole kHz, so that 1620 is within the band and 87.5 is exactly 87500.
long long KHz(double mhz) { return radio::RoundEvenToInt(mhz * 1000.0); }

std::string Trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) return {};
    const auto end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}

} // namespace

std::optional<tRemoteCommand> ParseTuneValue(std::string_view text, std::string* error) {
    const std::string value = Trimmed(text);
    const std::optional<double> number = platform::ParseReal(value);
    tRemoteCommand c;
    c.kind = tRemoteCommand::Tune;
    if (number && std::isfinite(*number)) {
        if (KHz(*number) >= KHz(radio::kJapaneseFMLower) && KHz(*number) <= KHz(radio::kFMUpper)) {
            c.band = radio::bFM;
            c.mhz = *number;
            return c;
        }
        const double mhz = *number / 1000.0;
        if (KHz(mhz) >= KHz(radio::kAMLower) && KHz(mhz) <= KHz(radio::kAMUpper)) {
            c.band = radio::bAM;
            c.mhz = mhz;
            return c;
        }
    }
    if (error)
        *error = "--tune " + value + ": not a frequency of the FM band (76 to 108, in MHz) or the AM band "
                                     "(531 to 1620, in kHz)";
    return std::nullopt;
}

std::optional<tRemoteCommand> ParsePresetValue(std::string_view text, std::string* error) {
    const std::string value = Trimmed(text);
    const std::optional<long long> n = platform::ParseInteger(value);
    if (n && *n >= 1 && *n <= 100) {
        tRemoteCommand c;
        c.kind = tRemoteCommand::Preset;
        c.favorite = static_cast<int>(*n);
        return c;
    }
    if (error) *error = "--preset " + value + ": not a favorite's number (1 to 100)";
    return std::nullopt;
}

std::string FormatRemoteCommand(const tRemoteCommand& c) {
    switch (c.kind) {
    case tRemoteCommand::Show: return "show";
    case tRemoteCommand::Tune: return "tune " + radio::FrequencyText(c.mhz);
    case tRemoteCommand::Preset: return "preset " + std::to_string(c.favorite);
    case tRemoteCommand::Mute: return "mute";
    case tRemoteCommand::Unmute: return "unmute";
    case tRemoteCommand::Next: return "next";
    case tRemoteCommand::Previous: return "previous";
    }
    return "show";
}

std::optional<tRemoteCommand> ParseRemoteCommand(std::string_view line) {
    const std::string text = Trimmed(line);
    const auto space = text.find(' ');
    const std::string word = text.substr(0, space);
    const std::string value = space == std::string::npos ? std::string() : Trimmed(text.substr(space + 1));
    tRemoteCommand c;
    if (word == "show" && value.empty()) return c;
    if (word == "tune") {
        const std::optional<double> mhz = radio::ParseFrequencyText(value);
        if (!mhz) return std::nullopt;
        // Back to what --tune takes: the band follows from the value.
        return ParseTuneValue(*mhz < 2.0 ? std::to_string(KHz(*mhz)) : value, nullptr);
    }
    if (word == "preset") return ParsePresetValue(value, nullptr);
    if (!value.empty()) return std::nullopt;
    if (word == "mute") c.kind = tRemoteCommand::Mute;
    else if (word == "unmute") c.kind = tRemoteCommand::Unmute;
    else if (word == "next") c.kind = tRemoteCommand::Next;
    else if (word == "previous") c.kind = tRemoteCommand::Previous;
    else return std::nullopt;
    return c;
}

} // namespace tunevox::app
