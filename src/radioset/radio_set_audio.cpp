// TRadioSet: volume and mute, on the card itself or on a mixer line, and
// the echo of changes other programs make to that line.

#include "radioset/radio_set.h"

#include "radio/radio_card.h"

namespace tunevox::radioset {

bool TRadioSet::SilentByVolume() const {
    // Volume 0 counts as muted only where there is a volume: a serial radio
    // has a mute but no volume, and its Volume stays 0 while it plays.
    return card_.MaxVolume() > 0 && card_.Volume() == 0 && card_.VolumeLine() != radio::vlNone;
}

bool TRadioSet::ShownMuted() const { return muteState_ || SilentByVolume(); }

bool TRadioSet::VolumeControllable() const {
    const radio::tDevCap& caps = card_.Caps();
    const bool sound = card_.HasSoundCard();
    if (!caps.HasVolume && !caps.HasMute && !sound) return false;
    switch (card_.VolumeLine()) {
    case radio::vlNative: return caps.HasVolume;
    case radio::vlLineIn:
    case radio::vlMicIn:
    case radio::vlCd: return sound;
    case radio::vlNone: break;
    }
    return true;
}

void TRadioSet::ShowMute() {
    if (view_) view_->ShowMute(ShownMuted());
}

void TRadioSet::VolumeChanged() {
    muteState_ = card_.Muted() || SilentByVolume();
    // The slider shows where the card really is (it keeps its own steps).
    if (view_) view_->ShowVolume();
    ShowMute();
    PublishCommands();
}

void TRadioSet::VolumeUp() {
    if (!card_.Caps().HasVolume) return;
    card_.VolumeUp();
    VolumeChanged();
}

void TRadioSet::VolumeDown() {
    if (!card_.Caps().HasVolume) return;
    card_.VolumeDown();
    VolumeChanged();
}

void TRadioSet::SetVolume(int volume) {
    card_.ApplyVolume(volume);
    VolumeChanged();
}

void TRadioSet::VolumeToZero() {
    if (Busy() || !card_.Caps().HasVolume) return;
    card_.VolumeToZero();
    muteState_ = true;
    if (view_) view_->ShowVolume();
    ShowMute();
    PublishCommands();
}

void TRadioSet::ToggleMute() {
    if (!card_.Caps().HasMute) return;
    // Silent at volume 0 there is nothing to unmute: the radio stays shown
    // muted until the volume is raised.
    if (!SilentByVolume()) {
        muteState_ = !muteState_;
        if (muteState_) card_.MuteOn();
        else card_.MuteOff();
    }
    ShowMute();
    PublishCommands();
}

void TRadioSet::ToggleMuteFromTray() {
    if (ModalOpen() || !card_.Caps().HasMute) return;
    muteState_ = !muteState_;
    if (muteState_) card_.MuteOn();
    else card_.MuteOff();
    ShowMute();
    PublishCommands();
}

void TRadioSet::MixerChanged(int, bool mute) {
    if (card_.VolumeLine() == radio::vlNone) return;
    // The card has taken the line's volume already; unmuted elsewhere, the
    // card itself may still be silent, and follows without a mixer write.
    if (!mute) card_.NativeUnmute();
    muteState_ = mute;
    if (view_) view_->ShowVolume();
    ShowMute();
    PublishCommands();
}

void TRadioSet::SetSignalThreshold(int threshold) { config_.CheckIfTunedST = threshold; }

} // namespace tunevox::radioset
