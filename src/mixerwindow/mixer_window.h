#pragma once
// tdMixer ("Mixer control"): the sound card's master, line-in, microphone
// and CD lines, each with its volume, balance and mute, and the master's
// bass and treble. The window opens a mixer of its own on mixer device 0,
// so what the user does here reaches the card whatever the radio uses, and
// it follows every change made elsewhere (the radio, another program)
// while it is shown.
//
// Mixer failures never leave an event handler: the window hands the
// error's text to the error function it was given (the main window shows it
// in a "Warning" box) and goes on showing what the card really holds.

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

#include "mixer/guarded_sound.h"
#include "mixer/mixer.h"
#include "platform/event_queue.h"
#include "platform/mixer_device.h"
#include "widgets/dialog_buttons.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tunevox::mixerwindow {

// Tells the user of a mixer failure (the text of the eMMError). Without
// one the window shows the "Warning" box itself.
using tMixerErrorFn = std::function<void(const QString& text)>;

class tdMixer : public QDialog {
    Q_OBJECT
public:
    // `sound` and `events` must outlive the window. `radioVolume` is the
    // volume control of the line the radio plays through: that line's strip
    // gets a bold label; none when the radio keeps its own volume.
    // A mixer that cannot be opened is reported through `onError`; the
    // window then shows every control disabled.
    tdMixer(platform::ISoundSystem& sound, platform::IEventPoster& events,
            std::optional<mixer::tMixerControlType> radioVolume, tMixerErrorFn onError,
            widgets::tHelpFn help = {}, QWidget* parent = nullptr);
    ~tdMixer() override;

    const mixer::TMixer& Mixer() const { return *mixer_; }

    QGroupBox* gMaster = nullptr;
    QGroupBox* gLineIn = nullptr;
    QGroupBox* gMic = nullptr;
    QGroupBox* gCD = nullptr;
    QGroupBox* gAdvanced = nullptr;
    QLabel* LMaster = nullptr;
    QLabel* LLineIn = nullptr;
    QLabel* LMic = nullptr;
    QLabel* LCD = nullptr;
    QSlider* mVolume = nullptr;
    QSlider* mPanning = nullptr;
    QPushButton* mMute = nullptr;
    QSlider* LiVolume = nullptr;
    QSlider* LiPanning = nullptr;
    QPushButton* LiMute = nullptr;
    QSlider* MicVolume = nullptr;
    QSlider* MicPanning = nullptr;
    QPushButton* MicMute = nullptr;
    QSlider* CdVolume = nullptr;
    QSlider* CdPanning = nullptr;
    QPushButton* CdMute = nullptr;
    QSlider* aBass = nullptr;
    QSlider* aTreble = nullptr;
    QPushButton* btHelp = nullptr;
    QPushButton* btOk = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct tStrip {
        QGroupBox* group = nullptr;
        QLabel* label = nullptr;
        QSlider* volume = nullptr;
        QSlider* panning = nullptr;
        QPushButton* mute = nullptr;
        mixer::tMixerControlType volumeSlot = mixer::mcMasterVolume;
        mixer::tMixerControlType muteSlot = mixer::mcMasterMute;
    };

    tStrip MakeStrip(const QString& name, const QString& caption, const QString& prefix,
                     mixer::tMixerControlType volumeSlot, mixer::tMixerControlType muteSlot);
    void SetUp();
    // After a change made elsewhere a silent line keeps its balance on show.
    void ShowStripVolume(const tStrip& strip, bool keepPanWhenSilent);
    void ShowStripMute(const tStrip& strip);
    void ShowTone(QSlider* slider, mixer::tMixerControlType slot);

    // Handlers of the controls, and of changes reported by the mixer.
    void StripVolumeChange(tStrip& strip);
    void StripMuteClick(tStrip& strip);
    void ToneChange(QSlider* slider, mixer::tMixerControlType slot);
    void mVolumeChange() { StripVolumeChange(strips_[0]); }
    void LiVolumeChange() { StripVolumeChange(strips_[1]); }
    void MicVolumeChange() { StripVolumeChange(strips_[2]); }
    void CdVolumeChange() { StripVolumeChange(strips_[3]); }
    void mMuteClick() { StripMuteClick(strips_[0]); }
    void LiMuteClick() { StripMuteClick(strips_[1]); }
    void MicMuteClick() { StripMuteClick(strips_[2]); }
    void CdMuteClick() { StripMuteClick(strips_[3]); }
    void aBassChange() { ToneChange(aBass, mixer::mcBass); }
    void aTrebleChange() { ToneChange(aTreble, mixer::mcTreble); }
    void fMixerControlChange(mixer::TMixer& sender, mixer::tMixerControlType control);

    void Report(const mixer::eMMError& error);

    tMixerErrorFn onError_;
    // Declared before the mixer, which opens its device through it and so
    // must be gone first.
    std::unique_ptr<mixer::TGuardedSound> sound_;
    std::unique_ptr<mixer::TMixer> mixer_;
    tStrip strips_[4];
    bool centred_ = false;
};

} // namespace tunevox::mixerwindow
