#include "mixerwindow/mixer_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include "mixerwindow/volume_pan.h"

namespace tunevox::mixerwindow {

using namespace mixer;

namespace {

constexpr int kVolumeSliderHeight = 150;
constexpr int kPanSliderWidth = 90;

void SetRange(QSlider* slider, int32_t minimum, int32_t maximum) {
    slider->setRange(minimum, maximum);
    // The keyboard moves a hundredth of the range, Page Up/Down a tenth.
    const int32_t span = std::max(maximum - minimum, 1);
    slider->setSingleStep(std::max(span / 100, 1));
    slider->setPageStep(std::max(span / 10, 1));
}

QSlider* MakeVerticalSlider(QWidget* parent, const QString& name) {
    auto* s = new QSlider(Qt::Vertical, parent);
    s->setObjectName(name);
    s->setFixedHeight(kVolumeSliderHeight);
    s->setTickPosition(QSlider::TicksBothSides);
    return s;
}

QLabel* MakePanMark(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    l->setFont(f);
    return l;
}

} // namespace

tdMixer::tdMixer(platform::ISoundSystem& sound, platform::IEventPoster& events,
                 std::optional<tMixerControlType> radioVolume, tMixerErrorFn onError, widgets::tHelpFn help,
                 QWidget* parent)
    : QDialog(parent), onError_(std::move(onError)) {
    setObjectName("tdMixer");
    setWindowTitle("Mixer control");

    strips_[0] = MakeStrip("gMaster", "Master", "m", mcMasterVolume, mcMasterMute);
    strips_[1] = MakeStrip("gLineIn", "Line in", "Li", mcLineInVolume, mcLineInMute);
    strips_[2] = MakeStrip("gMic", "Microphone", "Mic", mcMicVolume, mcMicMute);
    strips_[3] = MakeStrip("gCD", "Compact Disc", "Cd", mcCdVolume, mcCdMute);
    auto publish = [](const tStrip& s, QGroupBox*& group, QLabel*& label, QSlider*& volume, QSlider*& panning,
                      QPushButton*& mute) {
        group = s.group;
        label = s.label;
        volume = s.volume;
        panning = s.panning;
        mute = s.mute;
    };
    publish(strips_[0], gMaster, LMaster, mVolume, mPanning, mMute);
    publish(strips_[1], gLineIn, LLineIn, LiVolume, LiPanning, LiMute);
    publish(strips_[2], gMic, LMic, MicVolume, MicPanning, MicMute);
    publish(strips_[3], gCD, LCD, CdVolume, CdPanning, CdMute);

    // Bass and treble sit in a strip of their own, built like the others so
    // that every slider starts and ends at one height.
    gAdvanced = new QGroupBox(this);
    gAdvanced->setObjectName("gAdvanced");
    auto* advanced = new QLabel("Advanced", gAdvanced);
    advanced->setObjectName("LAdvanced");
    advanced->setAlignment(Qt::AlignCenter);
    aBass = MakeVerticalSlider(gAdvanced, "aBass");
    aTreble = MakeVerticalSlider(gAdvanced, "aTreble");
    auto* tones = new QGridLayout(gAdvanced);
    tones->addWidget(advanced, 0, 0, 1, 2);
    int column = 0;
    for (auto [slider, caption] : {std::pair{aBass, "Bass"}, std::pair{aTreble, "Treble"}}) {
        auto* label = new QLabel(caption, gAdvanced);
        label->setAlignment(Qt::AlignCenter);
        label->setBuddy(slider);
        tones->addWidget(slider, 1, column, Qt::AlignHCenter);
        tones->addWidget(label, 2, column, Qt::AlignHCenter | Qt::AlignTop);
        ++column;
    }
    tones->setRowStretch(2, 1);

    auto* row = new QHBoxLayout;
    for (const tStrip& s : strips_) row->addWidget(s.group);
    row->addWidget(gAdvanced);
    const widgets::tDialogButtons b = widgets::LayOutDialog(
        this, row, widgets::tButtonRow().WithOk("Ok").WithoutCancel().WithHelp("Volume_controls", help));
    btOk = b.ok;
    btHelp = b.help;

    // Four strips of one width, whatever their names need.
    int width = 0;
    for (const tStrip& s : strips_) width = std::max(width, s.group->sizeHint().width());
    for (const tStrip& s : strips_) s.group->setMinimumWidth(width);

    for (const tStrip& s : strips_) {
        if (!radioVolume || *radioVolume != s.volumeSlot) continue;
        QFont f = s.label->font();
        f.setBold(true);
        s.label->setFont(f);
    }

    connect(mVolume, &QSlider::valueChanged, this, [this] { mVolumeChange(); });
    connect(mPanning, &QSlider::valueChanged, this, [this] { mVolumeChange(); });
    connect(LiVolume, &QSlider::valueChanged, this, [this] { LiVolumeChange(); });
    connect(LiPanning, &QSlider::valueChanged, this, [this] { LiVolumeChange(); });
    connect(MicVolume, &QSlider::valueChanged, this, [this] { MicVolumeChange(); });
    connect(MicPanning, &QSlider::valueChanged, this, [this] { MicVolumeChange(); });
    connect(CdVolume, &QSlider::valueChanged, this, [this] { CdVolumeChange(); });
    connect(CdPanning, &QSlider::valueChanged, this, [this] { CdVolumeChange(); });
    connect(mMute, &QPushButton::clicked, this, [this] { mMuteClick(); });
    connect(LiMute, &QPushButton::clicked, this, [this] { LiMuteClick(); });
    connect(MicMute, &QPushButton::clicked, this, [this] { MicMuteClick(); });
    connect(CdMute, &QPushButton::clicked, this, [this] { CdMuteClick(); });
    connect(aBass, &QSlider::valueChanged, this, [this] { aBassChange(); });
    connect(aTreble, &QSlider::valueChanged, this, [this] { aTrebleChange(); });

    // A change made elsewhere that cannot be read back is reported like
    // every other failure of the window, not thrown into the event loop.
    sound_ = std::make_unique<TGuardedSound>(sound, [this](const eMMError& e) { Report(e); });
    mixer_ = std::make_unique<TMixer>(*sound_, events);
    mixer_->OnControlChange = [this](TMixer& sender, tMixerControlType control) { fMixerControlChange(sender, control); };
    try {
        mixer_->SetMidiDeviceID(-2);
        mixer_->SetActive(true);
    } catch (const eMMError& e) {
        // A closed mixer has no control available: everything below is
        // shown disabled, and the user learns why.
        Report(e);
    }
    SetUp();
}

tdMixer::~tdMixer() {
    // Closes the device before the controls go, so no late notification
    // can reach a half-destroyed window.
    mixer_.reset();
}

tdMixer::tStrip tdMixer::MakeStrip(const QString& name, const QString& caption, const QString& prefix,
                                   tMixerControlType volumeSlot, tMixerControlType muteSlot) {
    tStrip s;
    s.volumeSlot = volumeSlot;
    s.muteSlot = muteSlot;
    s.group = new QGroupBox(this);
    s.group->setObjectName(name);
    s.label = new QLabel(caption, s.group);
    s.label->setObjectName("L" + name.mid(1));
    s.label->setAlignment(Qt::AlignCenter);
    s.volume = MakeVerticalSlider(s.group, prefix + "Volume");
    s.label->setBuddy(s.volume);
    s.panning = new QSlider(Qt::Horizontal, s.group);
    s.panning->setObjectName(prefix + "Panning");
    s.panning->setRange(-kPanHalfRange, kPanHalfRange);
    s.panning->setSingleStep(1);
    s.panning->setPageStep(10);
    s.panning->setTickPosition(QSlider::TicksBelow);
    s.panning->setTickInterval(kPanHalfRange);
    s.panning->setMinimumWidth(kPanSliderWidth);
    // Four strips have a balance and a Mute each: the strip's caption tells
    // them apart for a screen reader.
    s.panning->setAccessibleName(caption + " balance");
    s.mute = new QPushButton("Mute", s.group);
    s.mute->setObjectName(prefix + "Mute");
    s.mute->setCheckable(true);
    s.mute->setAutoDefault(false);
    s.mute->setAccessibleName("Mute " + caption);

    auto* pan = new QHBoxLayout;
    pan->setSpacing(2);
    pan->addWidget(MakePanMark(s.group, "L"));
    pan->addWidget(s.panning, 1);
    pan->addWidget(MakePanMark(s.group, "R"));
    auto* layout = new QVBoxLayout(s.group);
    layout->addWidget(s.label);
    layout->addWidget(s.volume, 0, Qt::AlignHCenter);
    layout->addLayout(pan);
    layout->addWidget(s.mute);
    layout->addStretch(1);
    return s;
}

void tdMixer::SetUp() {
    for (tStrip& s : strips_) {
        const bool volume = mixer_->Available(s.volumeSlot);
        const bool mute = mixer_->Available(s.muteSlot);
        if (volume) {
            const QSignalBlocker block(s.volume);
            SetRange(s.volume, mixer_->ControlMin(s.volumeSlot), mixer_->ControlMax(s.volumeSlot));
            ShowStripVolume(s, false);
        }
        s.volume->setEnabled(volume);
        s.panning->setEnabled(volume);
        if (mute) ShowStripMute(s);
        s.mute->setEnabled(mute);
        // A line the card lacks altogether is greyed out, name and all.
        s.group->setEnabled(volume || mute);
    }
    // A microphone records one voice: its balance stays as the card has it.
    MicPanning->setEnabled(false);
    for (auto [slider, slot] : {std::pair{aBass, mcBass}, std::pair{aTreble, mcTreble}}) {
        const bool available = mixer_->Available(slot);
        if (available) {
            const QSignalBlocker block(slider);
            SetRange(slider, mixer_->ControlMin(slot), mixer_->ControlMax(slot));
            ShowTone(slider, slot);
        }
        slider->setEnabled(available);
    }
    gAdvanced->setEnabled(mixer_->Available(mcBass) || mixer_->Available(mcTreble));
}

void tdMixer::ShowStripVolume(const tStrip& s, bool keepPanWhenSilent) {
    if (!mixer_->Available(s.volumeSlot)) return;
    const tVolumePan vp = VolumePanOf(mixer_->GetChannel(s.volumeSlot, 0), mixer_->GetChannel(s.volumeSlot, 1));
    const QSignalBlocker blockVolume(s.volume);
    const QSignalBlocker blockPan(s.panning);
    s.volume->setValue(vp.volume);
    if (!keepPanWhenSilent || vp.volume != 0) s.panning->setValue(vp.pan);
}

void tdMixer::ShowStripMute(const tStrip& s) {
    if (!mixer_->Available(s.muteSlot)) return;
    const QSignalBlocker block(s.mute);
    s.mute->setChecked(mixer_->GetChannel(s.muteSlot, 0) != mixer_->ControlMin(s.muteSlot));
}

void tdMixer::ShowTone(QSlider* slider, tMixerControlType slot) {
    if (!mixer_->Available(slot)) return;
    const QSignalBlocker block(slider);
    slider->setValue(mixer_->GetChannel(slot, 0));
}

void tdMixer::StripVolumeChange(tStrip& s) {
    if (!mixer_->Available(s.volumeSlot)) return;
    const tChannelPair ch = ChannelsOf(s.volume->value(), s.panning->value());
    try {
        mixer_->SetBoth(s.volumeSlot, ch.left, ch.right);
    } catch (const eMMError& e) {
        // The mixer kept the old pair; so do the sliders.
        ShowStripVolume(s, true);
        Report(e);
    }
}

void tdMixer::StripMuteClick(tStrip& s) {
    if (!mixer_->Available(s.muteSlot)) return;
    const int32_t value = s.mute->isChecked() ? mixer_->ControlMax(s.muteSlot) : mixer_->ControlMin(s.muteSlot);
    try {
        mixer_->SetChannel(s.muteSlot, 0, value);
    } catch (const eMMError& e) {
        ShowStripMute(s);
        Report(e);
    }
}

void tdMixer::ToneChange(QSlider* slider, tMixerControlType slot) {
    if (!mixer_->Available(slot)) return;
    const int32_t value = slider->value();
    try {
        mixer_->SetBoth(slot, value, value);
    } catch (const eMMError& e) {
        ShowTone(slider, slot);
        Report(e);
    }
}

void tdMixer::fMixerControlChange(TMixer&, tMixerControlType control) {
    for (const tStrip& s : strips_) {
        if (control == s.volumeSlot) return ShowStripVolume(s, true);
        if (control == s.muteSlot) return ShowStripMute(s);
    }
    if (control == mcBass) ShowTone(aBass, mcBass);
    else if (control == mcTreble) ShowTone(aTreble, mcTreble);
}

void tdMixer::Report(const eMMError& error) {
    const QString text = QString::fromStdString(error.what());
    if (onError_) {
        onError_(text);
        return;
    }
    QApplication::beep();
    QMessageBox box(QMessageBox::Critical, "Warning", text, QMessageBox::Ok, this);
    box.exec();
}

void tdMixer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

} // namespace tunevox::mixerwindow
