// The configuration (ReadConfiguration, ReadFavorites) on a Tunevox.ini of
// any bytes. Beyond not crashing, what was read must be what the next start
// reads after the program saved it: write it with WriteConfiguration into a
// fresh document, read again (straight from that document, and from its
// text loaded anew as the next start does) and every field and favorite
// must be equal. Frequencies are the same when their "000.000" texts are,
// as everywhere in the program.

#include "platform/profile.h"
#include "radio/frequency.h"
#include "radioset/configuration.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace tunevox;
using radioset::tConfiguration;
using radioset::tFavorites;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

std::string ComDevice(const tConfiguration& c, size_t i) {
    // An absent Com key is written back as its default device.
    return c.ComPorts[i].value_or("/dev/ttyS" + std::to_string(i));
}

void CheckSame(const tConfiguration& a, const tFavorites& fa, const tConfiguration& b, const tFavorites& fb) {
    Check(a.Hardware == b.Hardware);
    Check(a.Port == b.Port);
    Check(a.VolumeLine == b.VolumeLine);
    Check(a.CheckIfTuned == b.CheckIfTuned);
    Check(a.CheckIfTunedSec == b.CheckIfTunedSec);
    Check(a.CheckIfTunedST == b.CheckIfTunedST);
    Check(a.JapaneseFM == b.JapaneseFM);
    Check(a.KeyboardCommands == b.KeyboardCommands);
    Check(a.LastStation == b.LastStation);
    Check(a.StartMinimized == b.StartMinimized);
    Check(a.TipOfTheDay == b.TipOfTheDay);
    Check(a.ShutDown == b.ShutDown);
    Check(a.Background == b.Background);
    Check(a.Foreground == b.Foreground);
    Check(a.Style == b.Style);
    Check(a.ColorGenericButton == b.ColorGenericButton);
    Check(a.ColorFavAssButtonFM == b.ColorFavAssButtonFM);
    Check(a.ColorFavAssButtonAM == b.ColorFavAssButtonAM);
    Check(a.ColorFavNotAssButton == b.ColorFavNotAssButton);
    Check(a.ColorPanel == b.ColorPanel);
    Check(a.ColorText == b.ColorText);
    Check(a.ColorFlag == b.ColorFlag);
    Check(a.LaunchAlarm == b.LaunchAlarm);
    Check(a.StartMuted == b.StartMuted);
    Check(a.ForceStereoOff == b.ForceStereoOff);
    Check(a.HideMainForm == b.HideMainForm);
    Check(a.DoubleClick == b.DoubleClick);
    Check(a.Volume == b.Volume);
    Check(a.Current == b.Current);
    Check(a.DisplayType == b.DisplayType);
    Check(a.AlwaysOnTop == b.AlwaysOnTop);
    Check(a.AlarmStation == b.AlarmStation);
    Check(a.AlarmHour == b.AlarmHour);
    Check(a.AlarmMinute == b.AlarmMinute);
    Check(a.X == b.X);
    Check(a.Y == b.Y);
    // A save always writes X and Y, so a position appears but never goes.
    Check(!a.HasPosition || b.HasPosition);
    Check(a.Band == b.Band);
    Check(radio::FrequencyText(a.Frequency) == radio::FrequencyText(b.Frequency));
    Check(a.TuneStep == b.TuneStep);
    Check(a.HadComPorts == b.HadComPorts);
    if (a.HadComPorts) {
        for (size_t i = 0; i < a.ComPorts.size(); ++i) Check(ComDevice(a, i) == ComDevice(b, i));
    }

    for (size_t n = 1; n < fa.size(); ++n) {
        Check(fa[n].Used == fb[n].Used);
        if (!fa[n].Used) continue;
        Check(fa[n].Name == fb[n].Name);
        Check(fa[n].Band == fb[n].Band);
        Check(radio::FrequencyText(fa[n].Frequency) == radio::FrequencyText(fb[n].Frequency));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::TProfile file;
    file.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    const tConfiguration config = radioset::ReadConfiguration(file);
    tFavorites bank;
    radioset::ReadFavorites(file, bank);

    platform::TProfile saved;
    radioset::WriteConfiguration(saved, config, bank);
    tFavorites again;
    radioset::ReadFavorites(saved, again);
    CheckSame(config, bank, radioset::ReadConfiguration(saved), again);

    platform::TProfile nextStart;
    nextStart.LoadText(saved.ToText());
    radioset::ReadFavorites(nextStart, again);
    CheckSame(config, bank, radioset::ReadConfiguration(nextStart), again);
    return 0;
}
