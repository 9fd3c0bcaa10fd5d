#include "radioset/configuration.h"

#include "radioset/commands.h"
#include "radioset/number_text.h"
#include "platform/number_text.h"
#include "radio/frequency.h"
#include "platform/profile.h"

#include <string_view>

namespace tunevox::radioset {

const char* const kDefaultKeyboardCommands = "UD0XM-+,.SA<>!EIOPQJT123ZCRLYKH678945BF";

namespace {

constexpr std::string_view kConfiguration = "Configuration";
constexpr std::string_view kAudio = "Audio";
constexpr std::string_view kPresets = "Presets";
constexpr std::string_view kDisplayMode = "DisplayMode";
constexpr std::string_view kAlarm = "Alarm";
constexpr std::string_view kWinPos = "WinPos";
constexpr std::string_view kFrequency = "Frequency";
constexpr std::string_view kComPorts = "ComPorts";

constexpr int kMaxVolume = 256;

std::string ComKey(size_t index) { return "Com" + std::to_string(index + 1); }
std::string DefaultComDevice(size_t index) { return "/dev/ttyS" + std::to_string(index); }

// An integer that later indexes a table (a palette, a bitmap scheme, a
// layout) must lie in its range; a hand-edited value outside it takes the
// key's default instead of reaching past the table.
int InRange(int value, int lowest, int highest, int fallback) {
    return (value >= lowest && value <= highest) ? value : fallback;
}

// "HH:MM" (one or two digits each) as a valid time of day.
bool ParseTime(std::string_view text, int& hour, int& minute) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    auto part = [](std::string_view s, int& out) {
        if (s.empty() || s.size() > 2) return false;
        for (char c : s) {
            if (c < '0' || c > '9') return false;
        }
        out = s.size() == 1 ? s[0] - '0' : (s[0] - '0') * 10 + (s[1] - '0');
        return true;
    };
    int h = 0;
    int m = 0;
    if (!part(text.substr(0, colon), h) || !part(text.substr(colon + 1), m)) return false;
    if (h > 23 || m > 59) return false;
    hour = h;
    minute = m;
    return true;
}

radio::tBand BandOfLetter(char letter) { return (letter == 'K' || letter == 'k') ? radio::bAM : radio::bFM; }

} // namespace

radio::tModel tConfiguration::Model() const {
    if (Hardware < 2 || Hardware > radio::kModelCount) return radio::mRadioTrack;
    return static_cast<radio::tModel>(Hardware - 1);
}

int ModelCode(radio::tModel model) { return static_cast<int>(model) + 1; }

char BandLetter(radio::tBand band) { return band == radio::bAM ? 'K' : 'M'; }

std::string StoredFrequencyText(radio::tBand band, double mhz) {
    return std::string(1, BandLetter(band)) + " " + radio::FrequencyText(mhz);
}

std::string TimeText(int hour, int minute) {
    return FormatFixed(hour, 0, 2) + ":" + FormatFixed(minute, 0, 2);
}

tConfiguration ReadConfiguration(const platform::TProfile& p) {
    tConfiguration c;
    const tConfiguration d; // the defaults

    c.Hardware = InRange(p.ReadInteger(kConfiguration, "Hardware", d.Hardware), 0, radio::kModelCount, 0);
    c.Port = p.ReadInteger(kConfiguration, "Port", d.Port);
    c.VolumeLine = static_cast<radio::tVolumeLine>(
        InRange(p.ReadInteger(kConfiguration, "VolumeLine", d.VolumeLine), radio::vlNone, radio::vlCd, radio::vlNone));
    c.CheckIfTuned = p.ReadBool(kConfiguration, "CheckIfTuned", d.CheckIfTuned);
    c.CheckIfTunedSec = p.ReadInteger(kConfiguration, "CheckIfTunedSec", d.CheckIfTunedSec);
    c.CheckIfTunedST = InRange(p.ReadInteger(kConfiguration, "CheckIfTunedST", d.CheckIfTunedST), 0, 3, d.CheckIfTunedST);
    c.JapaneseFM = p.ReadBool(kConfiguration, "JapaneseFM", d.JapaneseFM);
    c.KeyboardCommands = p.ReadString(kConfiguration, "KeyboardCommands", d.KeyboardCommands);
    if (!IsValidKeyString(c.KeyboardCommands)) c.KeyboardCommands = kDefaultKeyboardCommands;
    c.LastStation = p.ReadBool(kConfiguration, "LastStation", d.LastStation);
    c.StartMinimized = p.ReadBool(kConfiguration, "StartMinimized", d.StartMinimized);
    c.TipOfTheDay = p.ReadBool(kConfiguration, "TipOfTheDay", d.TipOfTheDay);
    c.ShutDown = InRange(p.ReadInteger(kConfiguration, "ShutDown", d.ShutDown), 0, 2, d.ShutDown);
    c.Background = InRange(p.ReadInteger(kConfiguration, "Background", d.Background), 0, 15, d.Background);
    c.Foreground = InRange(p.ReadInteger(kConfiguration, "Foreground", d.Foreground), 0, 15, d.Foreground);
    c.Style = InRange(p.ReadInteger(kConfiguration, "Style", d.Style), 0, 3, d.Style);
    c.ColorGenericButton = InRange(p.ReadInteger(kConfiguration, "ColorGenericButton", d.ColorGenericButton), 0, 7, d.ColorGenericButton);
    c.ColorFavAssButtonFM = InRange(p.ReadInteger(kConfiguration, "ColorFavAssButtonFM", d.ColorFavAssButtonFM), 0, 7, d.ColorFavAssButtonFM);
    c.ColorFavAssButtonAM = InRange(p.ReadInteger(kConfiguration, "ColorFavAssButtonAM", d.ColorFavAssButtonAM), 0, 7, d.ColorFavAssButtonAM);
    c.ColorFavNotAssButton = InRange(p.ReadInteger(kConfiguration, "ColorFavNotAssButton", d.ColorFavNotAssButton), 0, 7, d.ColorFavNotAssButton);
    c.ColorPanel = InRange(p.ReadInteger(kConfiguration, "ColorPanel", d.ColorPanel), 0, 15, d.ColorPanel);
    c.ColorText = InRange(p.ReadInteger(kConfiguration, "ColorText", d.ColorText), 0, 7, d.ColorText);
    c.ColorFlag = InRange(p.ReadInteger(kConfiguration, "ColorFlag", d.ColorFlag), 0, 7, d.ColorFlag);
    c.LaunchAlarm = p.ReadBool(kConfiguration, "LaunchAlarm", d.LaunchAlarm);
    c.StartMuted = p.ReadBool(kConfiguration, "StartMuted", d.StartMuted);
    c.ForceStereoOff = p.ReadBool(kConfiguration, "ForceStereoOff", d.ForceStereoOff);
    c.HideMainForm = p.ReadBool(kConfiguration, "HideMainForm", d.HideMainForm);
    c.DoubleClick = p.ReadInteger(kConfiguration, "DoubleClick", d.DoubleClick);
    c.RadioDevice = p.ReadString(kConfiguration, "RadioDevice", d.RadioDevice);
    // Only a path can be opened; anything else is the default node.
    if (c.RadioDevice.empty() || c.RadioDevice.front() != '/') c.RadioDevice = d.RadioDevice;

    // A volume outside 0..256 would hold a card's volume key for minutes.
    int volume = p.ReadInteger(kAudio, "Volume", d.Volume);
    c.Volume = volume < 0 ? 0 : (volume > kMaxVolume ? kMaxVolume : volume);

    c.Current = InRange(p.ReadInteger(kPresets, "Current", d.Current), 0, kFavoriteCount, 0);

    c.DisplayType = InRange(p.ReadInteger(kDisplayMode, "DisplayType", d.DisplayType), 0, 5, 0);
    c.AlwaysOnTop = p.ReadBool(kDisplayMode, "AlwaysOnTop", d.AlwaysOnTop);

    c.AlarmStation = InRange(p.ReadInteger(kAlarm, "Station", d.AlarmStation), 0, kFavoriteCount, 0);
    const std::string time = p.ReadString(kAlarm, "Time", TimeText(d.AlarmHour, d.AlarmMinute));
    if (!ParseTime(time, c.AlarmHour, c.AlarmMinute)) {
        c.AlarmHour = d.AlarmHour;
        c.AlarmMinute = d.AlarmMinute;
    }

    c.X = p.ReadInteger(kWinPos, "X", d.X);
    c.Y = p.ReadInteger(kWinPos, "Y", d.Y);
    c.HasPosition = p.ValueExists(kWinPos, "X") && p.ValueExists(kWinPos, "Y");

    // "K 000.999", "M 098.700", or a bare number, which is FM.
    const std::string text =
        p.ReadString(kFrequency, "Frequency", StoredFrequencyText(d.Band, d.Frequency)) + " ";
    std::string_view number = text;
    c.Band = radio::bFM;
    if (text.find(' ') == 1) {
        c.Band = BandOfLetter(text[0]);
        number.remove_prefix(2);
    }
    c.Frequency = platform::ParseReal(number).value_or(0.0);
    c.TuneStep = p.ReadInteger(kFrequency, "TuneStep", d.TuneStep);

    c.HadComPorts = p.SectionExists(kComPorts);
    for (size_t i = 0; i < c.ComPorts.size(); ++i) {
        const std::string path = p.ReadString(kComPorts, ComKey(i), "");
        if (!path.empty()) c.ComPorts[i] = path;
    }
    return c;
}

void ReadFavorites(const platform::TProfile& p, tFavorites& bank) {
    ClearBank(bank);
    const std::string listText = p.ReadString(kPresets, "List", "");
    std::string_view list = TrimBlanks(listText);
    while (!list.empty()) {
        // An entry runs up to its comma; a last entry without one is taken
        // too, and ends the list.
        const size_t comma = list.find(',');
        const std::string_view entry = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);

        const long long n = platform::ParseInteger(entry).value_or(0);
        if (n < 1 || n > kFavoriteCount) continue;

        const std::string value = p.ReadString(kPresets, "Station" + TwoDigit(n), "");
        const std::string_view v = TrimBlanks(value);
        const size_t blank = v.find(' ');
        if (blank == std::string_view::npos) continue; // no band letter
        const std::string_view letter = v.substr(0, blank);
        std::string_view rest = v.substr(blank + 1);
        // The frequency runs to the next blank. A favorite stored without a
        // name was written "M 098.700 " and comes back trimmed; it is still
        // a favorite, with an empty name.
        const size_t next = rest.find(' ');
        const std::string_view freqText = rest.substr(0, next);
        const std::string_view name = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
        // "No frequency" is judged by the text that would be written back:
        // 0.0004 is written 000.000 and would be gone at the next start.
        const double mhz = platform::ParseReal(freqText).value_or(0.0);
        if (radio::FrequencyText(mhz) == radio::FrequencyText(0.0)) continue;

        tFavorite& slot = bank[static_cast<size_t>(n)];
        slot.Name = NormalizeFavoriteName(name);
        slot.Band = BandOfLetter(letter.empty() ? ' ' : letter[0]);
        slot.Frequency = mhz;
        slot.Used = true;
    }
}

void WriteConfiguration(platform::TProfile& p, const tConfiguration& c, const tFavorites& bank) {
    p.EraseSection(kWinPos);
    p.WriteInteger(kWinPos, "X", c.X);
    p.WriteInteger(kWinPos, "Y", c.Y);

    p.EraseSection(kAudio);
    p.WriteInteger(kAudio, "Volume", c.Volume);

    p.EraseSection(kAlarm);
    p.WriteInteger(kAlarm, "Station", c.AlarmStation);
    p.WriteString(kAlarm, "Time", TimeText(c.AlarmHour, c.AlarmMinute));

    p.EraseSection(kFrequency);
    p.WriteString(kFrequency, "Frequency", StoredFrequencyText(c.Band, c.Frequency));
    p.WriteInteger(kFrequency, "TuneStep", c.TuneStep);

    p.EraseSection(kConfiguration);
    p.WriteInteger(kConfiguration, "Hardware", c.Hardware);
    p.WriteInteger(kConfiguration, "Port", c.Port);
    p.WriteInteger(kConfiguration, "VolumeLine", c.VolumeLine);
    p.WriteBool(kConfiguration, "CheckIfTuned", c.CheckIfTuned);
    p.WriteInteger(kConfiguration, "CheckIfTunedSec", c.CheckIfTunedSec);
    p.WriteInteger(kConfiguration, "CheckIfTunedST", c.CheckIfTunedST);
    p.WriteBool(kConfiguration, "JapaneseFM", c.JapaneseFM);
    p.WriteString(kConfiguration, "KeyboardCommands", c.KeyboardCommands);
    p.WriteBool(kConfiguration, "LastStation", c.LastStation);
    p.WriteBool(kConfiguration, "StartMinimized", c.StartMinimized);
    p.WriteBool(kConfiguration, "TipOfTheDay", c.TipOfTheDay);
    p.WriteInteger(kConfiguration, "ShutDown", c.ShutDown);
    p.WriteInteger(kConfiguration, "Background", c.Background);
    p.WriteInteger(kConfiguration, "Foreground", c.Foreground);
    p.WriteInteger(kConfiguration, "Style", c.Style);
    p.WriteInteger(kConfiguration, "ColorGenericButton", c.ColorGenericButton);
    p.WriteInteger(kConfiguration, "ColorFavAssButtonFM", c.ColorFavAssButtonFM);
    p.WriteInteger(kConfiguration, "ColorFavAssButtonAM", c.ColorFavAssButtonAM);
    p.WriteInteger(kConfiguration, "ColorFavNotAssButton", c.ColorFavNotAssButton);
    p.WriteInteger(kConfiguration, "ColorPanel", c.ColorPanel);
    p.WriteInteger(kConfiguration, "ColorText", c.ColorText);
    p.WriteInteger(kConfiguration, "ColorFlag", c.ColorFlag);
    p.WriteBool(kConfiguration, "LaunchAlarm", c.LaunchAlarm);
    p.WriteBool(kConfiguration, "StartMuted", c.StartMuted);
    p.WriteBool(kConfiguration, "ForceStereoOff", c.ForceStereoOff);
    p.WriteBool(kConfiguration, "HideMainForm", c.HideMainForm);
    p.WriteInteger(kConfiguration, "DoubleClick", c.DoubleClick);
    p.WriteString(kConfiguration, "RadioDevice", c.RadioDevice);

    p.EraseSection(kDisplayMode);
    p.WriteInteger(kDisplayMode, "DisplayType", c.DisplayType);
    p.WriteBool(kDisplayMode, "AlwaysOnTop", c.AlwaysOnTop);

    p.EraseSection(kPresets);
    p.WriteInteger(kPresets, "Current", c.Current);
    std::string list;
    for (int n = 1; n <= kFavoriteCount; ++n) {
        if (bank[static_cast<size_t>(n)].Used) list += std::to_string(n) + ",";
    }
    p.WriteString(kPresets, "List", list);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = bank[static_cast<size_t>(n)];
        if (!f.Used) continue;
        p.WriteString(kPresets, "Station" + TwoDigit(n),
                      StoredFrequencyText(f.Band, f.Frequency) + " " + NormalizeFavoriteName(f.Name));
    }

    if (c.HadComPorts) {
        p.EraseSection(kComPorts);
        for (size_t i = 0; i < c.ComPorts.size(); ++i) {
            p.WriteString(kComPorts, ComKey(i), c.ComPorts[i].value_or(DefaultComDevice(i)));
        }
    }
}

} // namespace tunevox::radioset
