// tdMain: the volume group and the mute indicators, and the two windows of
// the sound and the signal: the mixer and the signal strength.

#include "app/window/main_window.h"

#include "app/dialogs/signal_dialog.h"
#include "app/window/layouts.h"
#include "app/window/tray_icon.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "mixerwindow/mixer_window.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"

#include <QLabel>
#include <QSlider>

#include <cmath>

namespace tunevox::app {

using namespace radioset;

void tdMain::Volume_Up() { set_.VolumeUp(); }
void tdMain::Volume_Down() { set_.VolumeDown(); }
void tdMain::Volume_0() { set_.VolumeToZero(); }
void tdMain::Volume_Mute() { set_.ToggleMute(); }
void tdMain::sVolumeChange(int value) { set_.SetVolume(value); }

void tdMain::UpdateVolumeHint() {
    const int max = std::max(1, sVolume->maximum());
    sVolume->setToolTip(QString::number(std::lround(sVolume->value() * 100.0 / max)) + "%");
}

void tdMain::ShowVolume() {
    const radio::TRadioCard& card = set_.Card();
    const bool was = sVolume->blockSignals(true);
    sVolume->setMaximum(card.MaxVolume());
    sVolume->setSingleStep(std::max(1, card.VolumeStep()));
    sVolume->setPageStep(std::max(1, card.VolumeStep()) * 4);
    sVolume->setValue(card.Volume());
    sVolume->blockSignals(was);
    UpdateVolumeHint();
}

// What the volume group offers: nothing at all (a notice instead) when
// neither the card nor a sound card can set the volume or mute.
void tdMain::ShowVolumeGroup() {
    if (!LayoutTemplate(set_.Config().DisplayType).volume) return; // not shown in this mode
    const radio::tDevCap& caps = set_.Card().Caps();
    const bool possible = caps.HasVolume || caps.HasMute || set_.Card().HasSoundCard();
    gpVolume->setEnabled(possible);
    sVolume->setVisible(possible);
    btMixer->setVisible(possible);
    VcDisabled->setVisible(!possible);
    sVolume->setEnabled(possible && set_.VolumeControllable());
    btMixer->setEnabled(possible && commands_.Enabled(cmMixer));
}

void tdMain::ShowMute(bool shownMuted) {
    SetGlyph(btMute, shownMuted);
    panel_->SetIndicator(display::TRadioPanel::kMusic, !shownMuted);
    const QIcon icon = display::AppIcon(shownMuted);
    setWindowIcon(icon);
    tray_->SetIcon(icon);
}

void tdMain::Volume_Mixer() {
    platform::ISoundSystem* sound = set_.Host().Sound();
    if (!set_.Card().HasSoundCard() || !sound) return;
    // The mixer window knows the sound card's lines, not the card's: it is
    // told the volume control of the line the radio plays through.
    std::optional<mixer::tMixerControlType> radioVolume;
    switch (set_.Card().VolumeLine()) {
    case radio::vlLineIn: radioVolume = mixer::mcLineInVolume; break;
    case radio::vlMicIn: radioVolume = mixer::mcMicVolume; break;
    case radio::vlCd: radioVolume = mixer::mcCdVolume; break;
    default: break;
    }
    mixerwindow::tdMixer window(*sound, set_.Host().Events(), radioVolume,
                                [this](const QString& text) { ReportProblem(text.toStdString()); },
                                [this](const QString& topic) { ShowHelp(topic); }, this);
    RunDialog([&] { return ui_.RunModal(window); });
}

void tdMain::Options_SetSignalStrenght() {
    if (!set_.Card().Caps().SignalStrength || set_.Card().Band() != radio::bFM) return;
    tdSigStr dialog(set_.Config().CheckIfTunedST, [this](const QString& topic) { ShowHelp(topic); }, this);
    RunDialog([&] {
        const int result = ui_.RunModal(dialog);
        if (result == QDialog::Accepted) set_.SetSignalThreshold(dialog.Threshold());
        return result;
    });
}

} // namespace tunevox::app
