// A Linux radio device (Video4Linux2): the kernel's driver speaks to the
// hardware, this family to the driver, through platform::IRadioDevice.
// What the receiver can do is asked of the device when it opens: its
// bands and their edges, stereo, hardware seek, RDS, and its mute and
// volume controls; a device without them is muted and set through the
// sound card's mixer line like the other cards.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <linux/videodev2.h>

#include "card_family.h"
#include "frequency.h"
#include "platform/event_queue.h"
#include "platform/radio_device.h"
#include "platform/usb_radio_sound.h"
#include "rds_decoder.h"
#include "v4l2_caps.h"

namespace tunevox::radio {

namespace {

// The signal a station needs to count as tuned, for the threshold 0 (weak)
// to 3 (strong), of the device's 0..65535.
constexpr int kSignalFloor[4] = {0x1000, 0x2000, 0x4000, 0x6000};
// Records taken from the device per poll: a second of RDS at most.
constexpr size_t kRdsRecordsPerPoll = 48;

struct tBandRange {
    double low = 0.0, high = 0.0; // MHz
};

// A band of the device goes to FM (above 30 MHz) or AM (the medium wave);
// others (long wave, short wave) are not bands of this radio.
void TakeBand(double low, double high, tBandRange* fm, tBandRange* am) {
    if (high <= low) return;
    if (high > 30.0) {
        const double l = std::max(low, kJapaneseFMLower), h = std::min(high, kFMUpper);
        if (h <= l) return;
        fm->low = fm->high > 0 ? std::min(fm->low, l) : l;
        fm->high = std::max(fm->high, h);
    } else if (low <= kAMUpper && high >= kAMLower) {
        am->low = std::max(low, kAMLower);
        am->high = std::min(high, kAMUpper);
    }
}

bool FindControl(platform::IRadioDevice& device, uint32_t id, v4l2_queryctrl* out) {
    v4l2_queryctrl q{};
    q.id = id;
    if (device.Ioctl(VIDIOC_QUERYCTRL, &q) != 0 || (q.flags & V4L2_CTRL_FLAG_DISABLED)) return false;
    if (out) *out = q;
    return true;
}

class V4L2Family final : public TCardFamily {
public:
    using TCardFamily::TCardFamily;

    void Open() override {
        platform::IRadioDeviceOpener* opener = Env().radioDevices;
        const std::string& path = DevicePath();
        if (!opener) throw eRadioDeviceError(path, ENODEV);
        int error = 0;
        std::unique_ptr<platform::IRadioDevice> device = opener->Open(path, &error);
        if (!device) throw eRadioDeviceError(path, error ? error : ENODEV);
        device_ = std::move(device);
        failing_ = 0;
        rds_ = TRdsDecoder();
        tRadioDeviceCaps asked;
        if (const int r = AskRadioDeviceCaps(*device_, Caps(), &asked); r < 0) {
            device_.reset();
            throw eRadioDeviceError(path, -r);
        }
        tunerCapability_ = asked.tunerCapability;
        hasMute_ = asked.hasMute;
        hasVolume_ = asked.hasVolume;
        volumeMin_ = asked.volumeMin;
        volumeMax_ = asked.volumeMax;
        OpenSound(path, asked.caps);
        TakeDeviceCaps(asked.caps);
        Muted() = StartMuted();
        WriteMute(Muted());
        if (hasVolume_) WriteVolume(Volume());
        FollowSound();
        if (OnMixerLine()) CardMuteOff();
    }

    void Close() override {
        if (device_ && hasMute_) WriteMute(true);
        sound_.reset();
        playing_ = false;
        device_.reset();
    }

    void Release() override {
        sound_.reset();
        playing_ = false;
        device_.reset();
    }

    void Mute() override {
        if (!device_) return;
        if (WriteMute(true)) Muted() = true;
        FollowSound();
    }

    void Unmute() override {
        if (!device_) return;
        if (!WriteMute(false)) return;
        if (hasVolume_ && !hasMute_) WriteVolume(Volume());
        Muted() = false;
        StartMuted() = false;
        FollowSound();
    }

    double Tune(bool stereo, tBand band, double frequency) override {
        const bool am = band == bAM;
        const double f = am ? SnapFrequency(kAMUpper, kAMLower, Caps().AMStep > 0 ? Caps().AMStep : kAMStep, frequency)
                            : SnapFrequency(FMMax(), FMMin(), Caps().FMStep, frequency);
        if (!device_) return f;
        v4l2_frequency freq{};
        freq.tuner = 0;
        freq.type = V4L2_TUNER_RADIO;
        freq.frequency = platform::MHzToV4L2Frequency(f, tunerCapability_);
        if (!Check(device_->Ioctl(VIDIOC_S_FREQUENCY, &freq), "tune")) return Frequency();
        rds_.Reset();
        if (Caps().HasStereo) SetAudioMode(stereo);
        // The driver may have put it elsewhere (its edge): what it holds
        // counts, unless it is only the unit's rounding of what was asked.
        v4l2_frequency now{};
        now.tuner = 0;
        if (device_->Ioctl(VIDIOC_G_FREQUENCY, &now) == 0) return OnGrid(now.frequency, am, f);
        return f;
    }

    void VolumeUp() override { StepVolume(+1); }
    void VolumeDown() override { StepVolume(-1); }
    void SetVolume(int32_t volume) override {
        if (!hasVolume_ && !soundVolume_) return;
        const int32_t v = SnapVolume(std::clamp(volume, 0, MaxVolume()), Caps().VolumeStep);
        if (WriteVolume(v)) Volume() = v;
        FollowSound();
    }
    void VolumeReset() override { SetVolume(0); }

    uint8_t TunedStatus() override { return TunedStatus(3); }
    bool StatusOnAM() const override { return true; }
    uint8_t TunedStatus(int threshold) override {
        v4l2_tuner tuner{};
        if (!ReadTuner(&tuner)) return kNotTuned;
        if (static_cast<int>(tuner.signal) < kSignalFloor[std::clamp(threshold, 0, 3)]) return kNotTuned;
        if (Band() == bAM || !Caps().StereoDetect) return kTuned;
        return (tuner.rxsubchans & V4L2_TUNER_SUB_STEREO) ? kTunedStereo : kTunedMono;
    }
    int SignalLevel() override {
        v4l2_tuner tuner{};
        return ReadTuner(&tuner) ? static_cast<int>(tuner.signal) : -1;
    }

    bool HardwareSeek(bool up, double* found) override {
        if (!device_ || !Caps().HardwareSeek) return false;
        const bool am = Band() == bAM;
        v4l2_hw_freq_seek seek{};
        seek.tuner = 0;
        seek.type = V4L2_TUNER_RADIO;
        seek.seek_upward = up ? 1 : 0;
        seek.wrap_around = 0;
        seek.spacing = static_cast<uint32_t>(std::lround((am ? Caps().AMStep : Caps().FMStep) * 1e6));
        seek.rangelow = platform::MHzToV4L2Frequency(am ? kAMLower : FMMin(), tunerCapability_);
        seek.rangehigh = platform::MHzToV4L2Frequency(am ? kAMUpper : FMMax(), tunerCapability_);
        int r = device_->Ioctl(VIDIOC_S_HW_FREQ_SEEK, &seek);
        // Drivers without band ranges for seeking refuse them: ask again
        // for their whole range, which the band's edges then bound.
        if (r == -EINVAL) {
            seek.rangelow = seek.rangehigh = 0;
            r = device_->Ioctl(VIDIOC_S_HW_FREQ_SEEK, &seek);
        }
        if (r == -ENODATA || r == -EAGAIN) return false;
        if (!Check(r, "seek")) return false;
        rds_.Reset();
        v4l2_frequency now{};
        now.tuner = 0;
        if (device_->Ioctl(VIDIOC_G_FREQUENCY, &now) != 0) return false;
        const double f = OnGrid(now.frequency, am, Frequency());
        if (!am && (f < FMMin() - 1e-9 || f > FMMax() + 1e-9)) return false;
        *found = f;
        return true;
    }

    bool PollRds() override {
        if (!device_ || !Caps().Rds) return false;
        uint8_t buffer[kRdsRecordsPerPoll * kRdsRecordSize];
        const long n = device_->Read(buffer, sizeof buffer);
        if (n == -EAGAIN || n == 0) return false;
        if (n < 0) {
            Check(static_cast<int>(n), "read the station's name");
            return false;
        }
        const std::string before = rds_.StationName();
        rds_.FeedBytes(buffer, static_cast<size_t>(n));
        return rds_.StationName() != before;
    }
    std::string RdsStationName() const override { return rds_.StationName(); }
    int RdsPollFd() const override { return device_ && Caps().Rds ? device_->PollFd() : -1; }

private:
    bool WriteMute(bool on) {
        if (hasMute_) {
            v4l2_control c{V4L2_CID_AUDIO_MUTE, on ? 1 : 0};
            return Check(device_->Ioctl(VIDIOC_S_CTRL, &c), on ? "mute" : "unmute");
        }
        // Only a volume: silence is its lowest value.
        if (hasVolume_ && on) {
            v4l2_control c{V4L2_CID_AUDIO_VOLUME, volumeMin_};
            return Check(device_->Ioctl(VIDIOC_S_CTRL, &c), "mute");
        }
        return true;
    }

    bool WriteVolume(int32_t v) {
        if (soundVolume_) return true; // the bridge plays it (FollowSound)
        if (!hasVolume_ || !device_) return false;
        if (Muted() && !hasMute_) return true; // heard at the next unmute
        const int32_t value = volumeMin_ + static_cast<int32_t>(std::lround(
                                               static_cast<double>(v) * (volumeMax_ - volumeMin_) / kMaxVolume));
        v4l2_control c{V4L2_CID_AUDIO_VOLUME, std::clamp(value, volumeMin_, volumeMax_)};
        return Check(device_->Ioctl(VIDIOC_S_CTRL, &c), "set the volume");
    }

    void StepVolume(int direction) {
        if (!hasVolume_ && !soundVolume_) return;
        const int32_t step = Caps().VolumeStep;
        const int32_t v = std::clamp(Volume() + direction * step, 0, MaxVolume());
        if (v == Volume()) return;
        if (WriteVolume(SnapVolume(v, step))) Volume() = SnapVolume(v, step);
        if (direction > 0 && Muted()) Unmute();
        FollowSound();
    }

    // A radio with a sound card of its own is heard through the bridge;
    // where the device has no volume of its own, the bridge's is the card's.
    void OpenSound(const std::string& path, tDevCap& caps) {
        sound_.reset();
        playing_ = false;
        soundVolume_ = false;
        if (!Env().radioSound) return;
        platform::IEventPoster* events = Env().events;
        std::weak_ptr<int> alive = alive_;
        auto onError = [this, events, alive](const std::string& message) {
            // On the bridge's thread: the message goes to the card's.
            if (!events) return;
            events->Post([this, alive, message] {
                if (!alive.expired()) ReportDeviceError(message);
            });
        };
        auto [bridge, capture] = Env().radioSound(path, onError);
        if (!bridge) return;
        sound_ = std::move(bridge);
        capture_ = capture;
        if (!caps.HasVolume) {
            soundVolume_ = true;
            caps.HasVolume = true;
            caps.HasMute = true;
            caps.VolumeStep = 16;
        }
    }

    void FollowSound() {
        if (!sound_) return;
        sound_->SetVolume(soundVolume_ ? Volume() / static_cast<double>(kMaxVolume) : 1.0);
        const bool heard = !Muted() || OnMixerLine();
        if (heard && !playing_) sound_->Start(capture_);
        if (!heard && playing_) sound_->Stop();
        playing_ = heard;
    }

    void SetAudioMode(bool stereo) {
        v4l2_tuner tuner{};
        tuner.index = 0;
        tuner.audmode = stereo ? V4L2_TUNER_MODE_STEREO : V4L2_TUNER_MODE_MONO;
        // A device that keeps stereo on is no failure worth telling.
        device_->Ioctl(VIDIOC_S_TUNER, &tuner);
    }

    bool ReadTuner(v4l2_tuner* tuner) {
        if (!device_) return false;
        tuner->index = 0;
        return Check(device_->Ioctl(VIDIOC_G_TUNER, tuner), "read the signal");
    }

    // A failed request is told once until one succeeds again, so an
    // unplugged device does not raise a message every second.
    bool Check(int result, const char* what) {
        if (result == 0) {
            failing_ = 0;
            return true;
        }
        if (failing_ != -result) {
            failing_ = -result;
            ReportDeviceError("Could not " + std::string(what) + ": " +
                              platform::RadioDeviceMessage(DevicePath(), -result));
        }
        return false;
    }

    // A frequency the driver holds, in MHz on the band's grid. In units of
    // 62.5 kHz 98.7 MHz is held as 98.6875: within half a unit of what was
    // asked, what was asked is the answer.
    double OnGrid(uint32_t units, bool am, double asked) const {
        const double held = platform::V4L2FrequencyToMHz(units, tunerCapability_);
        const double halfUnit = 0.5 / platform::V4L2UnitsPerMHz(tunerCapability_);
        if (std::fabs(held - asked) <= halfUnit + 1e-9) return asked;
        return am ? SnapFrequency(kAMUpper, kAMLower, Caps().AMStep > 0 ? Caps().AMStep : kAMStep, held)
                  : SnapFrequency(FMMax(), FMMin(), Caps().FMStep, held);
    }

    std::unique_ptr<platform::IRadioDevice> device_;
    uint32_t tunerCapability_ = 0;
    bool hasMute_ = false;
    bool hasVolume_ = false;
    int32_t volumeMin_ = 0, volumeMax_ = 0;
    int failing_ = 0;
    TRdsDecoder rds_;
    // The radio's own sound card, played through the bridge.
    std::unique_ptr<platform::TRadioSoundBridge> sound_;
    std::string capture_;
    bool soundVolume_ = false;
    bool playing_ = false;
    // Tasks posted by the bridge's thread check it before they touch us.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace

int AskRadioDeviceCaps(platform::IRadioDevice& device, const tDevCap& base, tRadioDeviceCaps* out) {
    platform::tRadioDeviceInfo info;
    if (const int r = platform::QueryRadioDevice(device, &info); r < 0) return r;
    if (!info.IsRadioReceiver()) return -ENOTTY;
    tRadioDeviceCaps result;
    tDevCap& caps = result.caps;
    caps = base;
    result.card = info.card;
    v4l2_tuner tuner{};
    tuner.index = 0;
    if (const int r = device.Ioctl(VIDIOC_G_TUNER, &tuner); r < 0) return r;
    result.tunerCapability = tuner.capability;

    tBandRange fm, am;
    bool bandsListed = false;
    if (tuner.capability & V4L2_TUNER_CAP_FREQ_BANDS) {
        for (uint32_t i = 0; i < 16; ++i) {
            v4l2_frequency_band band{};
            band.tuner = 0;
            band.type = V4L2_TUNER_RADIO;
            band.index = i;
            if (device.Ioctl(VIDIOC_ENUM_FREQ_BANDS, &band) != 0) break;
            bandsListed = true;
            TakeBand(platform::V4L2FrequencyToMHz(band.rangelow, band.capability),
                     platform::V4L2FrequencyToMHz(band.rangehigh, band.capability), &fm, &am);
        }
    }
    if (!bandsListed)
        TakeBand(platform::V4L2FrequencyToMHz(tuner.rangelow, tuner.capability),
                 platform::V4L2FrequencyToMHz(tuner.rangehigh, tuner.capability), &fm, &am);
    // Neither band: a receiver of other waves, which this radio cannot use.
    if (fm.high <= 0 && am.high <= 0) return -ENOTTY;

    caps.HasFM = fm.high > 0;
    caps.HasAM = am.high > 0;
    caps.HasJapaneseFM = caps.HasFM && fm.low <= kJapaneseFMLower + 1e-9;
    caps.FMLowest = caps.HasFM ? fm.low : 0.0;
    caps.FMHighest = caps.HasFM ? fm.high : 0.0;
    caps.FMStep = 0.05;
    caps.AMStep = kAMStep;
    caps.HasStereo = (tuner.capability & V4L2_TUNER_CAP_STEREO) != 0;
    caps.StereoDetect = caps.HasStereo;
    caps.SignalStrength = true;
    caps.HardwareSeek = (info.caps & V4L2_CAP_HW_FREQ_SEEK) != 0;
    caps.Rds = (info.caps & V4L2_CAP_RDS_CAPTURE) != 0 && (info.caps & V4L2_CAP_READWRITE) != 0;

    result.hasMute = FindControl(device, V4L2_CID_AUDIO_MUTE, nullptr);
    v4l2_queryctrl volume{};
    result.hasVolume = FindControl(device, V4L2_CID_AUDIO_VOLUME, &volume) && volume.maximum > volume.minimum;
    result.volumeMin = result.hasVolume ? volume.minimum : 0;
    result.volumeMax = result.hasVolume ? volume.maximum : 0;
    caps.HasMute = result.hasMute || result.hasVolume;
    caps.HasVolume = result.hasVolume;
    // The card's scale of 0..256 in as many steps as the control has.
    caps.VolumeStep =
        result.hasVolume ? std::max(1, static_cast<int>(std::ceil(256.0 / (result.volumeMax - result.volumeMin)))) : 0;
    *out = std::move(result);
    return 0;
}

std::string DescribeRadioDevice(const tRadioDeviceCaps& d) {
    const tDevCap& c = d.caps;
    auto mhz = [](double f) {
        std::string t = FrequencyText(f);
        while (t.size() > 1 && t[0] == '0') t.erase(0, 1);
        while (t.back() == '0') t.pop_back();
        if (t.back() == '.') t.pop_back();
        return t;
    };
    std::string text = (d.card.empty() ? std::string("This radio device") : d.card) + " receives";
    if (c.HasFM) text += " FM from " + mhz(c.FMLowest) + " to " + mhz(c.FMHighest) + " MHz";
    if (c.HasFM && c.HasAM) text += " and";
    if (c.HasAM) text += " AM";
    text += c.HasStereo ? ", in stereo" : ", in mono";
    text += "; it measures the signal strength";
    if (c.Rds) text += ", shows the stations' names (RDS)";
    if (c.HardwareSeek) text += ", seeks by itself";
    if (d.hasMute && d.hasVolume) text += ", and has its own mute and volume.";
    else if (d.hasVolume) text += ", and has its own volume.";
    else if (d.hasMute) text += ", and can be muted; its volume is set through the sound card.";
    else text += "; its mute and volume are the sound card's.";
    return text;
}

std::unique_ptr<TCardFamily> MakeV4L2Family(TRadioCard& card) { return std::make_unique<V4L2Family>(card); }

} // namespace tunevox::radio
