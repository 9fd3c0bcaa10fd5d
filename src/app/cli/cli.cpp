#include "cli.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>

#include "emulator/station_list.h"
#include "platform/com_port_map.h"
#include "platform/number_text.h"
#include "platform/radio_device.h"
#include "platform/trace.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/card_setup.h"
#include "rig/hardware_rig.h"

namespace tunevox::cli {

using radio::TRadioCard;

namespace {

struct Command {
    enum Kind {
        Tune, TuneAM, Status, Mute, Unmute, Volume, VolumeUp, VolumeDown, VolumeReset, Scan, SeekUp, SeekDown
    } kind;
    double value = 0.0;
};

struct Options {
    bool virtualHardware = false;
    std::string stationsFile;
    std::optional<radio::tModel> model;
    std::optional<int> port;
    std::string comDevice;
    std::optional<std::string> device;
    bool japaneseFM = false;
    bool mono = false;
    std::vector<Command> commands;
};

struct UsageError {
    std::string message;
};

const char* const kModelNames[] = {"radiotrack", "ra300",   "wizard", "radioman", "radionmaru",
                                   "rajikoma",   "zoltrix", "aztech", "v4l2"};
static_assert(std::size(kModelNames) == radio::kModelCount, "every model needs its name on the command line");

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Numbers on the command line read the same whatever the locale; "98,7"
// is taken as well as "98.7".
std::optional<double> ParseNumber(const std::string& text) { return platform::ParseReal(text); }

std::optional<long long> ParseWhole(const std::string& text) { return platform::ParseInteger(text); }

std::optional<radio::tModel> ParseModel(const std::string& text) {
    std::string name = Lower(text);
    for (int i = 0; i < radio::kModelCount; ++i) {
        if (name == kModelNames[i]) return static_cast<radio::tModel>(i);
    }
    if (auto code = ParseWhole(text); code && *code >= 1 && *code <= radio::kModelCount) {
        return static_cast<radio::tModel>(static_cast<int>(*code) - 1);
    }
    return std::nullopt;
}

Options Parse(const std::vector<std::string>& args) {
    Options o;
    auto value = [&](size_t& i, const std::string& opt) -> const std::string& {
        if (i + 1 >= args.size()) throw UsageError{opt + " needs a value"};
        return args[++i];
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--virtual") {
            o.virtualHardware = true;
        } else if (a == "--stations") {
            o.stationsFile = value(i, a);
        } else if (a == "--model") {
            const std::string& m = value(i, a);
            o.model = ParseModel(m);
            if (!o.model) throw UsageError{"unknown model \"" + m + "\""};
        } else if (a == "--port") {
            const std::string& p = value(i, a);
            auto n = ParseWhole(p);
            if (!n || *n < 0 || *n > 8) throw UsageError{"bad port index \"" + p + "\""};
            // Index 0 means "no port": the card would do nothing at all.
            if (*n == 0) throw UsageError{"port index 0 means no port; give 1 or higher"};
            o.port = static_cast<int>(*n);
        } else if (a == "--com-device") {
            o.comDevice = value(i, a);
        } else if (a == "--device") {
            const std::string& d = value(i, a);
            // A relative path would name another node depending on where the
            // script happens to run.
            if (d.empty() || d.front() != '/') {
                throw UsageError{"--device needs the node's absolute path, such as /dev/radio0 (not \"" + d + "\")"};
            }
            o.device = d;
        } else if (a == "--japanese-fm") {
            o.japaneseFM = true;
        } else if (a == "--mono") {
            o.mono = true;
        } else if (a == "--help" || a == "-h") {
            throw UsageError{};
        } else if (a.rfind("--", 0) == 0) {
            throw UsageError{"unknown option " + a};
        } else if (a == "tune") {
            if (i + 1 < args.size() && Lower(args[i + 1]) == "am") {
                ++i;
                const std::string& k = value(i, "tune am");
                auto khz = ParseNumber(k);
                if (!khz) throw UsageError{"bad AM frequency \"" + k + "\" (kHz)"};
                o.commands.push_back({Command::TuneAM, *khz / 1000.0});
            } else {
                if (i + 1 < args.size() && Lower(args[i + 1]) == "fm") ++i;
                const std::string& f = value(i, "tune");
                auto mhz = ParseNumber(f);
                if (!mhz) throw UsageError{"bad FM frequency \"" + f + "\" (MHz)"};
                o.commands.push_back({Command::Tune, *mhz});
            }
        } else if (a == "status") {
            o.commands.push_back({Command::Status});
        } else if (a == "mute") {
            o.commands.push_back({Command::Mute});
        } else if (a == "unmute") {
            o.commands.push_back({Command::Unmute});
        } else if (a == "volume") {
            const std::string& v = value(i, a);
            auto n = ParseWhole(v);
            if (!n || *n < 0 || *n > 256) throw UsageError{"volume must be 0..256"};
            o.commands.push_back({Command::Volume, static_cast<double>(*n)});
        } else if (a == "volume-up") {
            o.commands.push_back({Command::VolumeUp});
        } else if (a == "volume-down") {
            o.commands.push_back({Command::VolumeDown});
        } else if (a == "volume-reset") {
            o.commands.push_back({Command::VolumeReset});
        } else if (a == "scan") {
            o.commands.push_back({Command::Scan});
        } else if (a == "seek") {
            const std::string d = Lower(value(i, a));
            if (d != "up" && d != "down") throw UsageError{"seek goes up or down, not \"" + d + "\""};
            o.commands.push_back({d == "up" ? Command::SeekUp : Command::SeekDown});
        } else {
            throw UsageError{"unknown command \"" + a + "\""};
        }
    }
    if (!o.model) throw UsageError{"--model is required"};
    if (o.commands.empty()) throw UsageError{"no command given"};
    if (!o.stationsFile.empty() && !o.virtualHardware) throw UsageError{"--stations needs --virtual"};
    if (!o.comDevice.empty() && o.virtualHardware) throw UsageError{"--com-device cannot be used with --virtual"};
    return o;
}

const char* StatusText(uint8_t status) {
    switch (status) {
    case radio::kTuned:
        return "Tuned";
    case radio::kTunedStereo:
        return "Stereo";
    case radio::kTunedMono:
        return "Mono";
    default:
        return "?????";
    }
}

char StatusLetter(uint8_t status) {
    switch (status) {
    case radio::kTuned:
        return 'T';
    case radio::kTunedStereo:
        return 'S';
    default:
        return 'M';
    }
}

const char* KindText(const radio::tDevCap& caps) {
    switch (caps.PortKind) {
    case radio::kSerialPort:
        return "a serial radio";
    case radio::kDeviceNode:
        return "a radio device node";
    default:
        return "an I/O-port card";
    }
}

// Options a model cannot use are refused before any hardware is touched,
// so a script learns of its mistake without side effects.
void CheckOptions(const Options& o, const radio::tDevCap& caps) {
    if (o.port && caps.PortKind == radio::kDeviceNode) {
        throw UsageError{"--port is for the ISA cards and the serial radios; " + caps.DevName +
                         " is opened by its path (--device)"};
    }
    if (o.port && *o.port > caps.PortCount) {
        throw UsageError{"port index " + std::to_string(*o.port) + " is out of range for " + caps.DevName +
                         " (1.." + std::to_string(caps.PortCount) + ")"};
    }
    if (!o.comDevice.empty() && caps.PortKind != radio::kSerialPort) {
        throw UsageError{"--com-device is for the serial radios; " + caps.DevName + " is " + KindText(caps)};
    }
    if (o.device && caps.PortKind != radio::kDeviceNode) {
        throw UsageError{"--device is for the Linux radio device (model " + std::to_string(radio::mV4L2 + 1) + ", " +
                         kModelNames[radio::mV4L2] + "); " + caps.DevName + " is " + KindText(caps)};
    }
}

// Commands the receiver cannot carry out. The models of old are known by
// their table entry, before anything is touched; a radio device says what
// it can do only once it is open, so it is asked then.
void CheckCommands(const Options& o, const radio::tDevCap& caps) {
    if (o.japaneseFM && !caps.HasJapaneseFM) throw UsageError{caps.DevName + " has no Japanese FM band"};
    for (const Command& c : o.commands) {
        if (c.kind == Command::TuneAM && !caps.HasAM) throw UsageError{caps.DevName + " has no AM band"};
        bool volume = c.kind == Command::Volume || c.kind == Command::VolumeUp || c.kind == Command::VolumeDown ||
                      c.kind == Command::VolumeReset;
        if (volume && !caps.HasVolume) throw UsageError{caps.DevName + " has no volume control of its own"};
    }
}

// The signal of a receiver that measures it, and the name of a station
// that sends one. The name has to arrive whole twice before the card
// gives it, some tenths of a second after tuning, so this polls for up to
// two seconds of the rig's clock; nothing is waited for where nothing is
// received.
void PrintStatus(TRadioCard& card, platform::ISleeper& sleeper, std::ostream& out) {
    constexpr unsigned kRdsWaitMs = 2000, kRdsPollMs = 100;
    const uint8_t status = card.TunedStatus(0);
    out << StatusText(status);
    if (card.Caps().SignalStrength) {
        const int level = card.SignalLevel();
        if (level >= 0) out << " signal " << std::lround(level * 100.0 / 65535.0) << "% (" << level << ')';
    }
    if (card.Caps().Rds && card.Band() == radio::bFM && status != radio::kNotTuned) {
        std::string name;
        for (unsigned waited = 0;; waited += kRdsPollMs) {
            card.PollRds();
            name = card.RdsStationName();
            if (!name.empty() || waited >= kRdsWaitMs) break;
            sleeper.Sleep(kRdsPollMs);
        }
        if (!name.empty()) out << " \"" << name << '"';
    }
    out << '\n';
}

// Sweeps the FM band in the model's step; a run of tuned steps is one
// station, reported at its middle.
void Scan(TRadioCard& card, std::ostream& out) {
    double restore = card.Frequency();
    bool hadFrequency = restore != 0.0;
    double lower = card.FMMin(), upper = card.FMMax(), step = card.Caps().FMStep;
    auto steps = static_cast<int>(std::lround((upper - lower) / step));
    std::vector<std::pair<double, uint8_t>> run;
    auto flush = [&] {
        if (run.empty()) return;
        const auto& mid = run[run.size() / 2];
        out << radio::FrequencyText(upper, lower, mid.first) << ' ' << StatusLetter(mid.second) << '\n';
        run.clear();
    };
    for (int k = 0; k <= steps; ++k) {
        card.TuneTo(card.Stereo(), radio::bFM, lower + k * step);
        uint8_t s = card.TunedStatus(0);
        if (s == radio::kNotTuned) flush();
        else run.emplace_back(card.Frequency(), s);
    }
    flush();
    if (hadFrequency) card.TuneTo(card.Stereo(), radio::bFM, restore);
}

// Steps the FM band on the model's grid from the frequency tuned (from
// just outside the band when the card is not on FM): past the station
// heard where it starts, to the next run of tuned steps, and settles in
// its middle, where the scan would report it. false at the band's edge.
bool StepSeek(TRadioCard& card, bool up) {
    const double lower = card.FMMin(), step = card.Caps().FMStep;
    const int last = static_cast<int>(std::lround((card.FMMax() - lower) / step));
    const int dir = up ? 1 : -1;
    const bool onFM = card.Band() == radio::bFM && card.Frequency() != 0.0;
    auto inBand = [&](int k) { return k >= 0 && k <= last; };
    auto heard = [&](int k) {
        card.TuneTo(card.Stereo(), radio::bFM, lower + k * step);
        return card.TunedStatus(0) != radio::kNotTuned;
    };
    int k = onFM ? static_cast<int>(std::lround((card.Frequency() - lower) / step)) : (up ? -1 : last + 1);
    bool leaving = onFM && card.TunedStatus(0) != radio::kNotTuned;
    for (k += dir; inBand(k); k += dir) {
        const bool h = heard(k);
        if (leaving) {
            leaving = h;
            continue;
        }
        if (!h) continue;
        int end = k;
        while (inBand(end + dir) && heard(end + dir)) end += dir;
        const int low = std::min(k, end), count = std::abs(end - k) + 1;
        card.TuneTo(card.Stereo(), radio::bFM, lower + (low + count / 2) * step);
        return true;
    }
    return false;
}

// The next FM station up or down: the receiver's own seek where it has
// one, else the step seek. Prints it as the scan does, or "none" at the
// band's edge, and then the card is back where it was.
void Seek(TRadioCard& card, bool up, std::ostream& out) {
    const radio::tBand band = card.Band();
    const double start = card.Frequency();
    bool found;
    if (card.Caps().HardwareSeek) {
        if (band != radio::bFM || start == 0.0) {
            card.TuneTo(card.Stereo(), radio::bFM, up ? card.FMMin() : card.FMMax());
        }
        found = card.HardwareSeek(up);
    } else {
        found = StepSeek(card, up);
    }
    if (!found) {
        if (start != 0.0) card.TuneTo(card.Stereo(), band, start);
        out << "none\n";
        return;
    }
    out << radio::FrequencyText(card.FMMax(), card.FMMin(), card.Frequency()) << ' '
        << StatusLetter(card.TunedStatus(0)) << '\n';
}

// How the tool's messages name its remedies.
const radioset::tRemedies kRemedies{"tunevox-cli", "use --virtual", "choose the port with --port",
                                    "name the device with --com-device"};

} // namespace

std::string PortAccessMessage(uint16_t base, unsigned count, const platform::tPortAccessError& why) {
    return radioset::PortAccessMessage(base, count, why, kRemedies);
}

std::string ComPortMessage(int comNumber, const std::string& path, int error) {
    return radioset::ComPortMessage(comNumber, path, error, kRemedies);
}

std::string Usage() {
    return "usage: tunevox-cli [--virtual] [--stations FILE] --model NAME|CODE [--port INDEX]\n"
           "                   [--com-device PATH] [--device PATH] [--japanese-fm] [--mono]\n"
           "                   COMMAND...\n"
           "models: 1 radiotrack, 2 ra300, 3 wizard, 4 radioman, 5 radionmaru,\n"
           "        6 rajikoma, 7 zoltrix, 8 aztech, 9 v4l2 (a Linux radio device)\n"
           "--port INDEX: 1 or 2 on the ISA cards, 1..8 (COM1..COM8) on the serial radios\n"
           "--device PATH: the node of the radio device, v4l2 only (default /dev/radio0)\n"
           "commands (run in order):\n"
           "  tune FREQ       tune FM, MHz (tune 98.7)\n"
           "  tune am KHZ     tune AM, kHz (tune am 531)\n"
           "  status          print Tuned, Stereo, Mono or ?????; a radio device adds its\n"
           "                  signal (0..100% and 0..65535) and the station's RDS name\n"
           "  mute, unmute\n"
           "  volume N        0..256; the card cannot report its level, so the first\n"
           "                  volume command of a run brings it down to 0 first\n"
           "  volume-up, volume-down\n"
           "                  one step; without an earlier volume command in the run\n"
           "                  they count from the middle of the scale\n"
           "  volume-reset    volume to 0\n"
           "  scan            sweep the FM band and print each station: FREQ T|S|M\n"
           "  seek up|down    tune the next FM station and print it: FREQ T|S|M, or none\n"
           "                  at the band's edge (then the receiver stays where it was)\n"
           "--virtual uses emulated receivers; --stations FILE replaces their stations.\n"
           "--com-device PATH opens PATH as the serial radio's COM port.\n"
           "TUNEVOX_TRACE=FILE (or -) writes every hardware operation to FILE.\n";
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    try {
        o = Parse(args);
    } catch (const UsageError& e) {
        if (!e.message.empty()) err << "tunevox-cli: " << e.message << '\n';
        err << Usage();
        return e.message.empty() && !args.empty() ? kExitOk : kExitUsage;
    }

    const radio::tDevCap caps = radio::DefaultModelTable()[*o.model];
    const bool deviceNode = caps.PortKind == radio::kDeviceNode;
    try {
        CheckOptions(o, caps);
        if (!deviceNode) CheckCommands(o, caps);
    } catch (const UsageError& e) {
        err << "tunevox-cli: " << e.message << '\n';
        return kExitUsage;
    }

    emulator::StationList stations = emulator::StationList::BuiltIn();
    if (!o.stationsFile.empty()) {
        std::vector<std::string> errors;
        auto loaded = emulator::StationList::Load(o.stationsFile, &errors);
        if (!loaded) {
            for (const auto& e : errors) err << "tunevox-cli: " << o.stationsFile << ": " << e << '\n';
            return kExitUsage;
        }
        stations = std::move(*loaded);
    }

    std::unique_ptr<platform::TraceSink> trace = platform::TraceSink::FromEnvironment();

    // Emulated receivers need no real waits; real hardware needs them all.
    rig::tRigOptions ro;
    ro.emulated = o.virtualHardware;
    ro.waits = rig::tWaits::kVirtual;
    ro.stations = std::move(stations);
    ro.withSound = false; // the tool drives the card's own volume only
    ro.trace = trace.get();
    std::optional<rig::THardwareRig> hardware;
    try {
        hardware.emplace(std::move(ro));
    } catch (const rig::eRigError& e) {
        err << "tunevox-cli: " << e.what() << '\n';
        return kExitHardware;
    }

    TRadioCard card(hardware->Environment());
    card.SetModel(*o.model);
    card.SetPort(o.port.value_or(caps.DefaultPort));
    card.SetVolumeLine(radio::vlNative);
    card.SetJapaneseFM(o.japaneseFM);
    card.SetStereo(!o.mono);
    if (o.device) card.SetDevicePath(*o.device);
    const uint16_t portValue = card.Caps().PortValue;
    if (!o.comDevice.empty()) hardware->SetComDevice(portValue, o.comDevice);
    // A radio device that fails a request keeps its state, and the card
    // says so once; the run goes on, and its exit status tells.
    bool deviceFailed = false;
    card.OnDeviceError = [&](TRadioCard&, const std::string& message) {
        err << "tunevox-cli: " << message << '\n';
        deviceFailed = true;
    };

    // Opening obtains access to the card's own ports (or, on emulated
    // hardware, places the emulated receiver there).
    try {
        card.Open();
    } catch (const radio::eNoPortAccess& e) {
        err << "tunevox-cli: " << PortAccessMessage(e.Base(), e.Count(), e.Error()) << '\n';
        return kExitHardware;
    } catch (const radio::ePortAlreayOpen&) {
        err << "tunevox-cli: " << ComPortMessage(portValue, card.SerialDevicePath(), card.SerialOpenError()) << '\n';
        card.Close();
        return kExitHardware;
    } catch (const radio::eRadioDeviceError& e) {
        err << "tunevox-cli: " << platform::RadioDeviceMessage(e.Path(), e.Error()) << '\n';
        return kExitHardware;
    } catch (const rig::eRigError& e) {
        err << "tunevox-cli: " << e.what() << '\n';
        return kExitHardware;
    }
    if (card.Caps().OpenDelay) hardware->Sleeper().Sleep(600);
    if (deviceNode) {
        try {
            CheckCommands(o, card.Caps());
        } catch (const UsageError& e) {
            err << "tunevox-cli: " << e.message << '\n';
            return kExitUsage;
        }
        // Set before Open, it was refused: the model's entry has no Japanese
        // band until the device tells it has one.
        card.SetJapaneseFM(o.japaneseFM);
    }

    bool volumeKnown = false;
    for (const Command& c : o.commands) {
        switch (c.kind) {
        case Command::Tune:
            card.TuneTo(card.Stereo(), radio::bFM, c.value);
            break;
        case Command::TuneAM:
            card.TuneTo(card.Stereo(), radio::bAM, c.value);
            break;
        case Command::Status:
            PrintStatus(card, hardware->Sleeper(), out);
            break;
        case Command::Mute:
            card.MuteOn();
            break;
        case Command::Unmute:
            card.MuteOff();
            break;
        case Command::Volume:
            if (!volumeKnown) {
                card.StoreVolume(card.MaxVolume());
                card.VolumeToZero();
                volumeKnown = true;
            }
            card.ApplyVolume(static_cast<int32_t>(c.value));
            break;
        case Command::VolumeUp:
        case Command::VolumeDown:
            if (!volumeKnown) {
                card.StoreVolume(card.MaxVolume() / 2);
                volumeKnown = true;
            }
            if (c.kind == Command::VolumeUp) card.VolumeUp();
            else card.VolumeDown();
            break;
        case Command::VolumeReset:
            card.StoreVolume(card.MaxVolume());
            card.VolumeToZero();
            volumeKnown = true;
            break;
        case Command::Scan:
            Scan(card, out);
            break;
        case Command::SeekUp:
        case Command::SeekDown:
            Seek(card, c.kind == Command::SeekUp, out);
            break;
        }
    }
    // The receiver is left playing: the card object is dropped without Close
    // (a serial radio's port is closed by the card, which sends nothing). A
    // radio device is the exception: the card mutes it as it closes its node.
    return deviceFailed ? kExitHardware : kExitOk;
}

} // namespace tunevox::cli
