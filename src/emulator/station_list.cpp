#include "station_list.h"

#include <cerrno>
#include <cmath>
#include <cctype>
#include <cstring>
#include <sstream>

#include "platform/number_text.h"
#include "platform/text_lines.h"

namespace tunevox::emulator {

StationList StationList::BuiltIn() {
    return StationList({
        {Band::FM, 88.100, true, "Classic 88"},
        {Band::FM, 89.300, false, "Campus Radio"},
        {Band::FM, 90.500, true, "Jazz FM"},
        {Band::FM, 91.800, true, "City Hits"},
        {Band::FM, 93.200, false, "Talk Radio"},
        {Band::FM, 94.600, true, "Rock 94"},
        {Band::FM, 96.100, true, "Public Radio One"},
        {Band::FM, 98.700, true, "Radio One"},
        {Band::FM, 100.300, false, "News Now"},
        {Band::FM, 101.900, true, "Dance 102"},
        {Band::FM, 103.500, true, "Country Road"},
        {Band::FM, 105.700, false, "Sports Live"},
        {Band::FM, 107.200, true, "Night Owl"},
        {Band::AM, 0.531, false, "Longwave Talk"},
        {Band::AM, 0.693, false, "World Service"},
        {Band::AM, 0.909, false, "Gold AM"},
        {Band::AM, 1.215, false, "Sports AM"},
    });
}

namespace {

// Unsigned decimal, "." or "," as the separator, whatever the locale.
bool ParseNumber(const std::string& s, double& out) {
    if (s.empty() || s.front() == '+' || s.front() == '-') return false;
    auto v = platform::ParseReal(s);
    if (!v) return false;
    out = *v;
    return true;
}

} // namespace

std::optional<StationList> StationList::Parse(const std::string& text, std::vector<std::string>* errors) {
    std::vector<Station> stations;
    bool ok = true;
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        ok = false;
        if (errors) errors->push_back("line " + std::to_string(number) + ": " + why);
    };
    // LF, CR LF or CR line ends, with or without a byte-order mark.
    for (std::string& raw : platform::SplitTextLines(text)) {
        line = std::move(raw);
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream fields(line);
        std::string band, freq, mode;
        if (!(fields >> band)) continue; // blank or comment only
        if (!(fields >> freq >> mode)) {
            fail("expected: band frequency S|M name");
            continue;
        }
        std::string name;
        std::getline(fields, name);
        name.erase(0, name.find_first_not_of(" \t"));
        name.erase(name.find_last_not_of(" \t") + 1);
        Station s;
        if (band == "M") s.band = Band::FM;
        else if (band == "K") s.band = Band::AM;
        else {
            fail("band must be M (FM) or K (AM), not \"" + band + "\"");
            continue;
        }
        double value = 0;
        if (!ParseNumber(freq, value)) {
            fail("bad frequency \"" + freq + "\"");
            continue;
        }
        s.frequencyMHz = s.band == Band::AM ? value / 1000.0 : value;
        bool inRange = s.band == Band::FM ? (value >= 50.0 && value <= 150.0) : (value >= 100.0 && value <= 2000.0);
        if (!inRange) {
            fail("frequency " + freq + (s.band == Band::FM ? " MHz" : " kHz") + " is outside the band");
            continue;
        }
        if (mode == "S") s.stereo = true;
        else if (mode == "M") s.stereo = false;
        else {
            fail("mode must be S (stereo) or M (mono), not \"" + mode + "\"");
            continue;
        }
        if (name.empty()) {
            fail("station has no name");
            continue;
        }
        s.name = name;
        stations.push_back(std::move(s));
    }
    if (!ok) return std::nullopt;
    return StationList(std::move(stations));
}

std::optional<StationList> StationList::Load(const std::string& path, std::vector<std::string>* errors) {
    int error = 0;
    auto text = platform::ReadWholeFile(path, &error);
    if (!text) {
        if (errors) errors->push_back(std::string("cannot read the station file: ") + std::strerror(error));
        return std::nullopt;
    }
    return Parse(*text, errors);
}

Reception StationList::Receive(Band band, double frequencyMHz, bool stereoWanted) const {
    const double width = band == Band::FM ? kFmCaptureWidth : kAmCaptureWidth;
    Reception r;
    double best = width + 1e-9;
    for (const auto& s : stations_) {
        if (s.band != band) continue;
        double d = std::fabs(s.frequencyMHz - frequencyMHz);
        if (d <= best) {
            best = d;
            r.station = &s;
        }
    }
    if (r.station && band == Band::FM)
        r.stereo = r.station->stereo && stereoWanted && best <= kFmStereoWidth + 1e-9;
    return r;
}

} // namespace tunevox::emulator
