// tdMain: the volume slider, the mute toggle, the echo of mixer changes made
// by other programs, and the indicators that show whether the radio plays.

#include "app/window/main_window.h"

#include "app/dialogs/signal_dialog.h"
#include "app/window/tray_icon.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "mixer/mixer.h"
#include "mixerwindow/mixer_window.h"
#include "radio/radio_card.h"

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QSystemTrayIcon>

#include <cmath>
#include <optional>

namespace tunevox::app {

void tdMain::GuardAudio(const std::function<void()>& action) {
    // A failing sound card must never end the program from an event
    // handler: the user is told, the window goes on.
    try {
        action();
    } catch (const mixer::eMMError& e) {
        ReportMixerError(QString::fromStdString(e.what()));
    }
}

void tdMain::ReportMixerError(const QString& text) {
    ui_.MessageBox(this, "Warning", text, tMsgIcon::Error, tMsgButtons::Ok);
}

bool tdMain::SilentByVolume() const {
    // Volume 0 counts as muted only where there is a volume: a serial radio
    // has a mute but no volume, and its Volume stays 0 while it plays.
    return card_.MaxVolume() > 0 && card_.Volume() == 0 && card_.VolumeLine() != radio::vlNone;
}

void tdMain::UpdateVolumeHint() {
    const int max = std::max(1, sVolume->maximum());
    sVolume->setToolTip(QString::number(std::lround(sVolume->value() * 100.0 / max)) + "%");
}

void tdMain::ShowVolumeSlider() {
    const bool was = sVolume->blockSignals(true);
    sVolume->setMaximum(card_.MaxVolume());
    sVolume->setSingleStep(std::max(1, card_.VolumeStep()));
    sVolume->setPageStep(std::max(1, card_.VolumeStep()) * 4);
    sVolume->setValue(card_.Volume());
    sVolume->blockSignals(was);
    UpdateVolumeHint();
}

void tdMain::Volume_Up() {
    if (!card_.Caps().HasVolume) return;
    GuardAudio([&] { card_.VolumeUp(); });
    muteState_ = card_.Muted() || SilentByVolume();
    ShowMuteState();
    ShowVolumeSlider();
    UpdateTuneLimits();
}

void tdMain::Volume_Down() {
    if (!card_.Caps().HasVolume) return;
    GuardAudio([&] { card_.VolumeDown(); });
    muteState_ = card_.Muted() || SilentByVolume();
    ShowMuteState();
    ShowVolumeSlider();
    UpdateTuneLimits();
}

void tdMain::Volume_0() {
    if (scanning_ || !card_.Caps().HasVolume) return;
    GuardAudio([&] { card_.VolumeToZero(); });
    const bool was = sVolume->blockSignals(true);
    sVolume->setValue(0);
    sVolume->blockSignals(was);
    UpdateVolumeHint();
    muteState_ = true;
    ShowMuteState();
    UpdateTuneLimits();
}

void tdMain::Volume_Mute() {
    if (!card_.Caps().HasMute) return;
    if (SilentByVolume()) {
        ShowMuteState();
        return;
    }
    muteState_ = !muteState_;
    GuardAudio([&] {
        if (muteState_) card_.MuteOn();
        else card_.MuteOff();
    });
    ShowMuteState();
}

void tdMain::sVolumeChange(int value) {
    GuardAudio([&] { card_.ApplyVolume(value); });
    muteState_ = card_.Muted() || SilentByVolume();
    ShowMuteState();
    if (sVolume->value() != card_.Volume()) {
        const bool was = sVolume->blockSignals(true);
        sVolume->setValue(card_.Volume());
        sVolume->blockSignals(was);
    }
    UpdateVolumeHint();
    UpdateTuneLimits();
}

void tdMain::RadioCardMixerChange(int volume, bool mute) {
    if (card_.VolumeLine() == radio::vlNone) return;
    const bool was = sVolume->blockSignals(true);
    sVolume->setValue(volume);
    sVolume->blockSignals(was);
    UpdateVolumeHint();
    // Unmuted elsewhere: the card itself may still be silent.
    if (!mute) card_.NativeUnmute();
    muteState_ = mute;
    ShowMuteState();
    UpdateTuneLimits();
}

void tdMain::ShowMuteState() {
    const bool muted = muteState_ || SilentByVolume();
    btMute->SetGlyph(display::PictureTransparent("BT" + QString::number(config_.ColorGenericButton) + (muted ? "ON" : "OFF")));
    SetIndicator(panel_->icMusicOnOff, "RADIO", !muted);
    const QIcon icon = display::AppIcon(muted);
    setWindowIcon(icon);
    tray_->SetIcon(icon);
    for (const char* name : {"msVolume_Mute", "tsmVolume_Mute"}) Action(name)->setChecked(muteState_);
}

void tdMain::Volume_Mixer() {
    platform::ISoundSystem* sound = host_.Sound();
    if (!card_.HasSoundCard() || !sound) return;
    // The mixer window knows the sound card's lines, not the card's: it is
    // told the volume control of the line the radio plays through.
    std::optional<mixer::tMixerControlType> radioVolume;
    switch (card_.VolumeLine()) {
    case radio::vlLineIn: radioVolume = mixer::mcLineInVolume; break;
    case radio::vlMicIn: radioVolume = mixer::mcMicVolume; break;
    case radio::vlCd: radioVolume = mixer::mcCdVolume; break;
    default: break;
    }
    mixerwindow::tdMixer window(*sound, host_.Events(), radioVolume,
                                [this](const QString& text) { ReportMixerError(text); },
                                [this](const QString& topic) { ShowHelp(topic); }, this);
    RunDialog([&] { return ui_.RunModal(window); });
}

void tdMain::Options_SetSignalStrenght() {
    if (!card_.Caps().SignalStrength || card_.Band() != radio::bFM) return;
    tdSigStr dialog(config_.CheckIfTunedST, [this](const QString& topic) { ShowHelp(topic); }, this);
    if (RunDialog([&] { return ui_.RunModal(dialog); }) == QDialog::Accepted)
        config_.CheckIfTunedST = dialog.Threshold();
}

void tdMain::EnableVolumeGroup() {
    const radio::tDevCap caps = card_.GetCaps(config_.Model());
    const bool sound = card_.HasSoundCard();
    if (!caps.HasVolume && !caps.HasMute && !sound) {
        gpVolume->setEnabled(false);
        sVolume->hide();
        sVolume->setEnabled(false);
        btMixer->hide();
        btMixer->setEnabled(false);
        VcDisabled->show();
    } else {
        gpVolume->setEnabled(true);
        sVolume->show();
        sVolume->setEnabled(true);
        btMixer->show();
        VcDisabled->hide();
    }
    btMute->setEnabled(caps.HasMute);
    for (const char* p : {"ms", "tsm"}) {
        const QString prefix = p;
        Action(prefix + "Volume_Mute")->setEnabled(caps.HasMute);
        Action(prefix + "Volume_Mixer")->setEnabled(sound);
        Action(prefix + "Options_SetSignalStrenght")->setEnabled(caps.SignalStrength);
    }
    btMixer->setEnabled(sound && gpVolume->isEnabled());
    bool level = sVolume->isEnabled();
    switch (card_.VolumeLine()) {
    case radio::vlNative: level = caps.HasVolume; break;
    case radio::vlLineIn:
    case radio::vlMicIn:
    case radio::vlCd: level = sound; break;
    case radio::vlNone: break;
    }
    if (card_.VolumeLine() != radio::vlNone) {
        sVolume->setEnabled(level);
        for (const char* p : {"ms", "tsm"}) {
            Action(QString(p) + "Volume_Up")->setEnabled(level);
            Action(QString(p) + "Volume_Down")->setEnabled(level);
        }
    }
}

} // namespace tunevox::app
