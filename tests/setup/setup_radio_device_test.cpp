// The settings dialog with the Linux radio device model, on emulated
// /dev/radioN nodes: the nodes listed, the device handed back on OK, and
// what the chosen device says it can do.

#include "setup/setup_dialog.h"

#include "emulator/v4l2_radio_emulator.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

#include <cerrno>
#include <list>

namespace tunevox::setup {
namespace {

using radio::mV4L2;

struct RadioNodes {
    platform::VirtualSleeper clock;
    std::list<emulator::V4L2RadioEmulator> radios;
    emulator::V4L2RadioEmulatorOpener opener;
    emulator::V4L2RadioEmulator& Serve(const std::string& path, const std::string& card, bool controls = true,
                                       std::vector<emulator::V4L2Band> bands = emulator::FmBandPlan()) {
        emulator::V4L2RadioOptions o;
        o.cardName = card;
        o.hasMute = o.hasVolume = controls;
        o.bands = std::move(bands);
        opener.Serve(path, radios.emplace_back(clock, emulator::StationList::BuiltIn(), o));
        return radios.back();
    }
};

tSetupEnvironment Machine(platform::IRadioDeviceOpener* opener) {
    tSetupEnvironment env;
    env.hasSoundCard = env.lineInUsable = env.micUsable = env.cdUsable = true;
    env.radioDevices = opener;
    return env;
}

radioset::tConfiguration Configured(radio::tModel model, const std::string& device) {
    radioset::tConfiguration c;
    c.Hardware = radioset::ModelCode(model);
    c.VolumeLine = radio::vlNative;
    c.RadioDevice = device;
    return c;
}

template <typename T>
T* Child(const QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QStringList Items(const QComboBox* c) {
    QStringList s;
    for (int i = 0; i < c->count(); ++i) s << c->itemText(i);
    return s;
}

QString Message(const tdSetup& d) { return Child<QLabel>(d, "LMessage")->text(); }
QString FirstVolumeLine(const tdSetup& d) { return Child<QListWidget>(d, "ScList")->item(0)->text(); }
void Choose(const tdSetup& d, const char* path) {
    auto* list = Child<QComboBox>(d, "RadioDeviceList");
    list->setCurrentIndex(list->findData(path));
}

TEST(SetupRadioDevice, ListsTheNodesAndHandsBackTheChosenOne) {
    RadioNodes n;
    n.Serve("/dev/radio10", "Second Stick");
    n.Serve("/dev/radio2", "Silicon Labs Si470x FM Radio Receiver");
    tdSetup dlg(Configured(mV4L2, "/dev/radio2"), Machine(&n.opener));
    dlg.show();
    tunevox::test::Screenshot(dlg, "setup_1_radio_device");
    tunevox::test::ExpectNothingClipped(*Child<QTabWidget>(dlg, "Pages")->widget(0), "radio device");
    // The card name is cut where V4L2's field ends, as the kernel's is.
    EXPECT_EQ(Items(Child<QComboBox>(dlg, "RadioDeviceList")),
              QStringList({"/dev/radio2 \u2014 Silicon Labs Si470x FM Radio Re", "/dev/radio10 \u2014 Second Stick"}));
    EXPECT_EQ(dlg.Working().RadioDevice, "/dev/radio2");
    EXPECT_FALSE(Child<QLabel>(dlg, "lbInstalledDevice")->isHidden());
    Choose(dlg, "/dev/radio10");
    dlg.btOkClick();
    EXPECT_EQ(dlg.Result().RadioDevice, "/dev/radio10") << "unlike a port, another device takes effect";

    // A configured device that is gone stays listed in its place, and chosen;
    // coming from another model, the first node present is taken instead.
    tdSetup gone(Configured(mV4L2, "/dev/radio5"), Machine(&n.opener));
    EXPECT_EQ(Child<QComboBox>(gone, "RadioDeviceList")->currentText(), "/dev/radio5 (not present)");
    EXPECT_EQ(Child<QComboBox>(gone, "RadioDeviceList")->currentIndex(), 1);
    EXPECT_EQ(gone.Result().RadioDevice, "/dev/radio5");
    tdSetup other(Configured(radio::mAztech, "/dev/radio0"), Machine(&n.opener));
    Child<QListWidget>(other, "HwList")->setCurrentRow(mV4L2);
    EXPECT_EQ(other.Result().RadioDevice, "/dev/radio2");

    // No node: the warning says how to get one, and the path is kept.
    emulator::V4L2RadioEmulatorOpener none;
    tdSetup empty(Configured(mV4L2, "/dev/radio1"), Machine(&none));
    EXPECT_FALSE(Child<QGroupBox>(empty, "gbNoRadioDevice")->isHidden());
    EXPECT_TRUE(Child<QGroupBox>(empty, "gbRadioDevice")->isHidden());
    const QString text = Child<QLabel>(empty, "lbNoRadioDevice")->text();
    for (const char* needed : {"USB radio", "sudo modprobe radio-aimslab", "sudo modprobe vivid", "video group"})
        EXPECT_TRUE(text.contains(needed)) << needed;
    EXPECT_EQ(empty.Result().RadioDevice, "/dev/radio1");
}

TEST(SetupRadioDevice, CapabilitiesAreAskedOfTheChosenDevice) {
    RadioNodes n;
    emulator::V4L2RadioEmulator& full = n.Serve("/dev/radio0", "Full Radio", true, emulator::FmAmBandPlan());
    n.Serve("/dev/radio1", "Bare Radio", false, emulator::JapaneseFmBandPlan());
    tdSetup dlg(Configured(mV4L2, "/dev/radio0"), Machine(&n.opener));
    auto* jap = Child<QCheckBox>(dlg, "xJapFM");
    EXPECT_TRUE(Message(dlg).startsWith("Full Radio receives FM from 87.5 to 108 MHz and AM, in stereo;"));
    EXPECT_TRUE(Message(dlg).contains("own mute and volume.\nA sound cards is installed"));
    EXPECT_EQ(FirstVolumeLine(dlg), "Radio card");
    EXPECT_FALSE(jap->isEnabled());
    // Options and pages do not ask the device again.
    const size_t calls = full.Calls();
    Child<QCheckBox>(dlg, "xCheckIfTuned")->click();
    Child<QTabWidget>(dlg, "Pages")->setCurrentIndex(1);
    (void)dlg.grab();
    EXPECT_EQ(full.Calls(), calls);

    // Without controls it is heard through the sound card; from 76 MHz it
    // offers Japanese FM.
    Choose(dlg, "/dev/radio1");
    EXPECT_TRUE(Message(dlg).contains("its mute and volume are the sound card's.")) << Message(dlg).toStdString();
    EXPECT_EQ(FirstVolumeLine(dlg), "Line In");
    EXPECT_EQ(dlg.Working().VolumeLine, radio::vlLineIn);
    jap->click();
    EXPECT_TRUE(dlg.Working().JapaneseFM);
    Choose(dlg, "/dev/radio0");
    EXPECT_FALSE(dlg.Working().JapaneseFM);

    n.opener.SetOpenError(EACCES);
    tdSetup denied(Configured(mV4L2, "/dev/radio1"), Machine(&n.opener));
    EXPECT_TRUE(Message(denied).startsWith("Tunevox cannot use /dev/radio1: permission denied"));
    EXPECT_TRUE(Message(denied).contains("video group"));
    // Held by the running card: said so, and a configured Japanese FM survives.
    n.opener.SetOpenError(EBUSY);
    radioset::tConfiguration c = Configured(mV4L2, "/dev/radio1");
    c.JapaneseFM = true;
    tdSetup busy(c, Machine(&n.opener));
    EXPECT_TRUE(Message(busy).startsWith("/dev/radio1 is in use"));
    EXPECT_EQ(FirstVolumeLine(busy), "Radio card");
    EXPECT_TRUE(busy.Result().JapaneseFM);
}

} // namespace
} // namespace tunevox::setup
