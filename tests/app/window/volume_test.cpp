// Volume and mute as the window drives them: on the card's own volume and
// on a mixer line, with the indicators and the echo of changes other
// programs make to that line.

#include "app/window/window_fixture.h"

#include "emulator/emulated_sound_card.h"
#include "emulator/serial_radio_emulator.h"
#include "radio/radio_card.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QSlider>

namespace tunevox::app::test {
namespace {

using emulator::tMixerControlKind;
using emulator::tMixerLineKind;

bool IndicatorLit(tdMain& w) {
    // The "RADIO" lamp: lit pictures hold the scheme's bright colour.
    const QImage img = w.findChild<QLabel*>("icMusicOnOff")->pixmap().toImage();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(0, 255, 255)) return true; // aqua, flag scheme 5
    return false;
}

TEST(MainVolume, NativeVolumeAndMuteKeepSliderIndicatorsAndMenusTrue) {
    WindowRig r("[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                "[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto* slider = qobject_cast<QSlider*>(w.Control("sVolume"));
    EXPECT_EQ(slider->maximum(), r.Card().MaxVolume());
    EXPECT_EQ(slider->value(), r.Card().Volume());
    EXPECT_FALSE(r.Set().MuteState());
    EXPECT_TRUE(IndicatorLit(w));

    w.Volume_Mute();
    EXPECT_TRUE(r.Set().MuteState());
    EXPECT_TRUE(r.Card().Muted());
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn);
    EXPECT_FALSE(IndicatorLit(w));
    EXPECT_TRUE(w.Action("msVolume_Mute")->isChecked());
    EXPECT_TRUE(w.Action("tsmVolume_Mute")->isChecked());
    w.Volume_Mute();
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn);

    // Reset: volume 0, shown muted; the slider follows without re-entering.
    w.Volume_0();
    EXPECT_EQ(slider->value(), 0);
    EXPECT_TRUE(r.Set().MuteState());
    EXPECT_FALSE(w.Action("msVolume_Down")->isEnabled());
    // The card keeps its own steps (84 on this one): the slider shows where
    // the card really is.
    slider->setValue(250);
    EXPECT_EQ(r.Card().Volume(), 252);
    EXPECT_EQ(slider->value(), 252);
    EXPECT_FALSE(r.Set().MuteState());
    EXPECT_EQ(slider->toolTip(), "98%");
}

TEST(MainVolume, OnAMixerLineTheWindowEchoesChangesMadeElsewhere) {
    WindowRig r("[Configuration]\nHardware=3\nPort=2\nVolumeLine=2\n[Audio]\nVolume=128\n"
                "[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto* slider = qobject_cast<QSlider*>(w.Control("sVolume"));
    EXPECT_EQ(r.Card().VolumeLine(), radio::vlLineIn);
    EXPECT_EQ(slider->maximum(), 256);

    // Line-in at 0: the mute button does nothing and the radio shows muted.
    w.sVolumeChange(0);
    r.DrainEvents();
    EXPECT_EQ(r.Card().Volume(), 0);
    const bool before = r.Set().MuteState();
    w.Volume_Mute();
    EXPECT_EQ(r.Set().MuteState(), before);
    EXPECT_FALSE(IndicatorLit(w));

    // Another program raises and unmutes the line: the slider and the lamp
    // follow, and the radio itself is unmuted without a write to the mixer.
    auto* sound = r.rig->EmulatedSound();
    ASSERT_NE(sound, nullptr);
    sound->ExternalChange(tMixerLineKind::kLine, tMixerControlKind::kMute, {1});
    r.DrainEvents();
    EXPECT_TRUE(r.Set().MuteState());
    const int writes = sound->SetCalls();
    auto* radio = r.rig->EmulatedSerialRadio(2);
    ASSERT_NE(radio, nullptr);
    const size_t commands = radio->CommandsDecoded();
    sound->ExternalChange(tMixerLineKind::kLine, tMixerControlKind::kVolume, {32640, 32640});
    sound->ExternalChange(tMixerLineKind::kLine, tMixerControlKind::kMute, {0});
    r.DrainEvents();
    EXPECT_EQ(sound->SetCalls(), writes) << "the echo never writes back";
    EXPECT_EQ(slider->value(), 128);
    EXPECT_FALSE(r.Set().MuteState());
    EXPECT_TRUE(IndicatorLit(w));
    // The mixer window opens on the same sound card, through the protocol,
    // with the radio's strip in bold.
    bool bold = false;
    r.ui.dialogAnswers.push_back([&](QDialog& d) {
        bold = d.findChild<QLabel*>("LLineIn")->font().bold();
        return int(QDialog::Accepted);
    });
    w.KeyPress('x');
    EXPECT_EQ(r.ui.dialogsShown.back(), "tdMixer");
    EXPECT_TRUE(bold);
    // No model measures signal strength: its items stay disabled and the
    // command does nothing.
    EXPECT_FALSE(w.Action("msOptions_SetSignalStrenght")->isEnabled());
    w.KeyPress('f');
    EXPECT_EQ(r.ui.dialogsShown.size(), 1);

    // The radio hears its unmute command on its own thread.
    EXPECT_TRUE(radio->WaitForCommands(commands + 1, std::chrono::seconds(2)));
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn);
}

TEST(MainVolume, AModelWithoutVolumeOrMuteAndNoSoundCardShowsTheNotice) {
    rig::tRigOptions o = WindowRig::Emulated();
    o.withSound = false;
    WindowRig r("[Configuration]\nHardware=3\nPort=2\nVolumeLine=2\n", o);
    ASSERT_TRUE(r.Start());
    EXPECT_EQ(r.Card().VolumeLine(), radio::vlNative) << "a mixer line without a sound card falls back";
    r.W().Volume_Mute();
    EXPECT_TRUE(r.Card().Muted()) << "so the radio can still be muted";
    // The serial radios have a mute but no volume: the group stays.
    EXPECT_TRUE(r.W().Control("gpVolume")->isEnabled());
    EXPECT_FALSE(r.W().Control("VcDisabled")->isVisible());
}

} // namespace
} // namespace tunevox::app::test
