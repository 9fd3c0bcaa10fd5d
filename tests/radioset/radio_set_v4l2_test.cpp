// The radio set on the emulated Linux radio device: the station's RDS name
// shown where no favorite names it, the hardware seek as the main seek,
// and a device that cannot be opened reported in the system's words.

#include "radio_set_fixture.h"

#include "emulator/v4l2_radio_emulator.h"
#include "radio/radio_card.h"

#include <gtest/gtest.h>

namespace tunevox::radioset::test {
namespace {

using radio::bFM;

constexpr char kIni[] = "[Configuration]\nHardware=9\nVolumeLine=1\nRadioDevice=/dev/radio0\n[Audio]\nVolume=168\n"
                        "[Frequency]\nFrequency=M 090.500\n[Presets]\nList=2,\nStation02=M 098.700 My One\n";

// Lets `ms` of RDS arrive, read on the radio set's timer.
void Listen(RadioSetRig& r, unsigned ms) {
    for (unsigned t = 0; t < ms; t += 250) {
        r.rig->VirtualWaits()->Sleep(250);
        r.timers["Rds"].Fire();
    }
}

TEST(RadioSetV4L2, TheStationsOwnNameIsShownWhereNoFavoriteNamesIt) {
    RadioSetRig r(kIni);
    r.Start();
    ASSERT_TRUE(r.Card().Active());
    EXPECT_EQ(r.Card().Model(), radio::mV4L2);
    EXPECT_TRUE(r.timers["Rds"].Active());
    EXPECT_EQ(r.view.station.name, "");
    Listen(r, 2000);
    EXPECT_EQ(r.view.station.name, "Jazz FM");
    EXPECT_EQ(r.view.station.caption, "90.5 MHz (Jazz FM)");

    // A favorite's own name comes first.
    r.Set().SelectFavorite(2, true);
    Listen(r, 2000);
    EXPECT_EQ(r.view.station.name, "My One");

    // The seek is the device's own: one step, on the next station.
    r.Set().Seek(+1);
    r.Drain();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 100.3);
    EXPECT_FALSE(r.Set().Busy());
    EXPECT_EQ(r.view.station.name, "") << "a new station: its name is not known yet";
}

TEST(RadioSetV4L2, ADeviceThatIsNotThereIsReportedAndTheSettingsReopenTheRightOne) {
    std::string ini = kIni;
    ini.replace(ini.find("/dev/radio0"), 11, "/dev/radio7");
    RadioSetRig r(ini);
    r.Start();
    EXPECT_FALSE(r.Card().Active());
    ASSERT_EQ(r.view.problems.size(), 1u);
    EXPECT_NE(r.view.problems[0].find("cannot use /dev/radio7: no such device"), std::string::npos)
        << r.view.problems[0];
    EXPECT_FALSE(r.timers["Rds"].Active());

    tConfiguration next = r.Set().Config();
    next.RadioDevice = "/dev/radio0";
    r.Set().ApplySettings(next);
    EXPECT_TRUE(r.Card().Active());
    EXPECT_EQ(r.Card().DevicePath(), "/dev/radio0");
    EXPECT_TRUE(r.timers["Rds"].Active());
    std::string error;
    ASSERT_TRUE(r.Set().SaveConfiguration(&error)) << error;
    EXPECT_NE(r.Ini().find("RadioDevice=/dev/radio0"), std::string::npos);
}

} // namespace
} // namespace tunevox::radioset::test
