#pragma once
// The stations an emulated receiver can hear. Written independently of the
// card component: the emulators have their own band type and never call the
// protocol code.

#include <optional>
#include <string>
#include <vector>

namespace tunevox::emulator {

enum class Band { AM, FM };

struct Station {
    Band band = Band::FM;
    double frequencyMHz = 0.0; // AM too: 531 kHz is 0.531
    bool stereo = false;
    std::string name;
};

// What a receiver tuned to a frequency hears.
struct Reception {
    const Station* station = nullptr; // null: nothing received
    bool stereo = false;              // station is stereo, the receiver asked
                                      // for stereo and is tuned close enough
};

class StationList {
public:
    // A station is heard when the tuned frequency lies within this distance
    // of it; stereo decoding needs the tighter width. Values in MHz.
    static constexpr double kFmCaptureWidth = 0.075;
    static constexpr double kFmStereoWidth = 0.030;
    static constexpr double kAmCaptureWidth = 0.004;

    StationList() = default;
    explicit StationList(std::vector<Station> stations) : stations_(std::move(stations)) {}

    // A dozen FM stations and a few AM stations.
    static StationList BuiltIn();

    // Parses a station file: one station a line,
    //   <band> <frequency> <S|M> <name>
    // band M (FM, frequency in MHz) or K (AM, frequency in kHz), e.g.
    //   M 098.700 S Radio One
    //   K 531 M Talk AM
    // '#' starts a comment, blank lines are skipped. Lines may end in LF,
    // CR LF or CR, and a UTF-8 byte-order mark may come first; the
    // frequency's separator may be "." or ",". Returns nullopt and fills
    // errors ("line 3: ...") when any line is bad.
    static std::optional<StationList> Parse(const std::string& text, std::vector<std::string>* errors);
    static std::optional<StationList> Load(const std::string& path, std::vector<std::string>* errors);

    const std::vector<Station>& Stations() const { return stations_; }

    // The nearest station within the capture width, if any.
    Reception Receive(Band band, double frequencyMHz, bool stereoWanted) const;

private:
    std::vector<Station> stations_;
};

// What every emulated receiver exposes for tests and status views.
struct ReceiverState {
    double frequencyMHz = 0.0; // 0 until the first complete tuning command
    Band band = Band::FM;
    bool audioOn = false;
    int volumeLevel = 0;       // the card's own level units (family-specific)
    bool stereoRequested = false;
};

} // namespace tunevox::emulator
