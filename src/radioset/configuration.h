#pragma once
// The configuration file "Tunevox.ini": every section and key the program
// keeps, their defaults, the corrections applied while reading, and the
// order in which saving writes them. Plain data; the main window holds one
// tConfiguration and the settings dialog edits a copy of it.

#include "radioset/favorites.h"
#include "radio/radio_types.h"

#include <array>
#include <optional>
#include <string>

namespace tunevox::platform {
class TProfile;
}

namespace tunevox::radioset {

// The built-in key assignment: one key per command ordinal (39 characters).
extern const char* const kDefaultKeyboardCommands;

struct tConfiguration {
    // [Configuration]
    int Hardware = 0;                 // model code 0..9 (0: no card configured)
    int Port = 0;                     // port index of the model (0: none)
    radio::tVolumeLine VolumeLine = radio::vlNone;
    bool CheckIfTuned = false;
    int CheckIfTunedSec = 2;
    int CheckIfTunedST = 3;
    bool JapaneseFM = false;
    std::string KeyboardCommands = kDefaultKeyboardCommands;
    bool LastStation = true;
    bool StartMinimized = false;
    bool TipOfTheDay = false;
    int ShutDown = 2;                 // 0 mute, 1 leave playing, 2 ask
    int Background = 2;
    int Foreground = 10;
    int Style = 2;
    int ColorGenericButton = 4;
    int ColorFavAssButtonFM = 2;
    int ColorFavAssButtonAM = 0;
    int ColorFavNotAssButton = 4;
    int ColorPanel = 0;
    int ColorText = 7;
    int ColorFlag = 5;
    bool LaunchAlarm = false;
    bool StartMuted = false;
    bool ForceStereoOff = false;
    bool HideMainForm = true;
    int DoubleClick = 400;
    // The radio device's node, for the Linux radio device model.
    std::string RadioDevice = "/dev/radio0";
    // [Audio]
    int Volume = 0;                   // 0..256
    // [Presets]
    int Current = 0;                  // favorite last recalled, 0 none
    // [DisplayMode]
    int DisplayType = 0;              // 0..5
    bool AlwaysOnTop = false;
    // [Alarm]
    int AlarmStation = 0;             // favorite number, 0 none
    int AlarmHour = 6;
    int AlarmMinute = 30;
    // [WinPos]
    int X = 0;
    int Y = 0;
    bool HasPosition = false; // the file held X and Y (else the desktop places the window)
    // [Frequency]
    radio::tBand Band = radio::bFM;   // band of the last frequency
    double Frequency = radio::kFMLower; // 0 when the stored text was unreadable
    int TuneStep = 1;                 // multiple of the card's FM step
    // [ComPorts] Com1..Com8: device paths; written back only when the file
    // had the section (nullopt: key absent or empty, the default
    // /dev/ttyS<n-1>; written back as that default, all eight keys).
    std::array<std::optional<std::string>, 8> ComPorts{};
    bool HadComPorts = false;

    // The model the Hardware code names (0 and 1 both read as the first).
    radio::tModel Model() const;
};

// Encodings of the file.
int ModelCode(radio::tModel model);              // ordinal + 1
char BandLetter(radio::tBand band);              // 'K' AM, 'M' FM
std::string StoredFrequencyText(radio::tBand band, double mhz); // "M 098.700"
std::string TimeText(int hour, int minute);      // "06:30"

// Reads every key with its default and the corrections of reading:
// DisplayType outside 0..5 -> 0; a key string not 39 characters long or with
// a repeated character -> the default; an unreadable alarm time -> 06:30;
// Hardware outside 0..8 -> 0 and VolumeLine outside 0..4 -> vlNone; numbers
// written with "," as well as "." read back. Values that index a table are
// kept in its range, else take their default: Style 0..3, the colour
// schemes 0..7, the palette indices 0..15, ShutDown 0..2, CheckIfTunedST
// 0..3; Volume is clamped to 0..256; Current and the alarm's Station
// outside 0..100 read as 0.
tConfiguration ReadConfiguration(const platform::TProfile& profile);
// Reads [Presets] List and Station keys into bank (bank is cleared first;
// Active is left to the caller). Numbers outside 1..100, values without a
// band letter and a frequency, and a frequency of 0 are skipped. A value
// with no name after the frequency is a favorite with an empty name: that
// is how one stored without a name comes back once the blank after its
// frequency is trimmed.
void ReadFavorites(const platform::TProfile& profile, tFavorites& bank);

// Erases and writes again, in this order: [WinPos], [Audio], [Alarm],
// [Frequency], [Configuration], [DisplayMode], [Presets] (with the bank),
// then [ComPorts] when the file had it. Other sections are kept.
void WriteConfiguration(platform::TProfile& profile, const tConfiguration& config,
                        const tFavorites& bank);

} // namespace tunevox::radioset
