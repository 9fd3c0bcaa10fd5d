// The window on the emulated Linux radio device: the station's RDS name in
// the title and on the panel where no favorite names it, offered when the
// station is stored, and the signal-strength dialog that now means
// something.

#include "app/window/window_fixture.h"

#include "app/dialogs/name_dialog.h"
#include "rig/hardware_rig.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace tunevox::app::test {
namespace {

TEST(MainRadioDevice, TheStationsNameIsShownAndOfferedWhenStored) {
    WindowRig r("[Configuration]\nHardware=9\nVolumeLine=1\nRadioDevice=/dev/radio0\n"
                "[Frequency]\nFrequency=M 090.500\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    ASSERT_TRUE(r.Card().Active());
    for (int i = 0; i < 8; ++i) {
        r.rig->VirtualWaits()->Sleep(250);
        r.timers["Rds"].Fire();
    }
    EXPECT_EQ(w.windowTitle(), "Tunevox - 90.5 MHz (Jazz FM)");
    EXPECT_TRUE(w.Action("msOptions_SetSignalStrenght")->isEnabled()) << "the device measures the signal";
    r.Screenshot("main_radio_device");

    QString offered;
    r.ui.dialogAnswers.push_back([&offered](QDialog& d) {
        offered = dynamic_cast<TNameDialog&>(d).sName->text();
        return int(QDialog::Accepted);
    });
    w.Stations_Memory();
    w.btRadioClick(4);
    EXPECT_EQ(offered, "Jazz FM");
    EXPECT_EQ(r.Set().Favorites()[4].Name, "Jazz FM");
}

} // namespace
} // namespace tunevox::app::test
