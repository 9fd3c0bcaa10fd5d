// AimsLab Radiotrack and Reveal RA300: one port through which a 24-bit
// tuning word is shifted bit by bit, the audio switched, the volume nudged
// for timed intervals, and a tuning/stereo status byte read back.

#include <cmath>
#include <cstdlib>

#include "card_family.h"
#include "frequency.h"

namespace tunevox::radio {

namespace {

constexpr uint8_t kAudioOn = 0xD8;
constexpr uint8_t kAudioOff = 0xD0;
constexpr uint8_t kVolumeUpKey = 0x88;
constexpr uint8_t kVolumeDownKey = 0x48;
constexpr uint8_t kVolumeStop = 0xC8;
constexpr int32_t kStep = 16;
constexpr unsigned kMsPerStep = 125;
constexpr unsigned kResetMs = 2000; // 16 steps: the whole scale
// 0xA00000 + 428: the constant top byte and the 10.7 MHz intermediate
// frequency in 25 kHz units.
constexpr double kWordOffset = 10486188.0;

class AimsLabFamily final : public TCardFamily {
public:
    using TCardFamily::TCardFamily;

    void SendOpen() override {
        Out(0, 0);
        Out(0, StartMuted() ? kAudioOff : kAudioOn);
    }

    void Close() override {
        if (NoPort()) return;
        Out(0, 0);
        Out(0, kAudioOff);
    }

    void Mute() override {
        if (NoPort()) return;
        Out(0, 0);
        Out(0, kAudioOff);
        Muted() = true;
    }

    void Unmute() override {
        if (NoPort()) return;
        Out(0, 0);
        Out(0, kAudioOn);
        Muted() = Volume() == 0;
        StartMuted() = false;
    }

    double Tune(bool, tBand, double frequency) override {
        double f = SnapFrequency(FMMax(), FMMin(), Caps().FMStep, frequency);
        if (NoPort()) return f;
        auto word = static_cast<uint32_t>(std::trunc(f * 40.0 + kWordOffset));
        for (int bit = 0; bit < 24; ++bit) {
            bool one = (word >> bit) & 1u;
            uint8_t low = one ? 5 : 1;
            uint8_t high = one ? 7 : 3;
            Out(0, low);
            Out(0, low);
            Out(0, high);
            Out(0, high);
        }
        Out(0, 0);
        Out(0, AudioByte());
        return f;
    }

    void VolumeUp() override {
        if (NoPort()) return;
        Muted() = false;
        StartMuted() = false;
        if (Volume() >= MaxVolume()) return;
        Volume() = SnapVolume(Volume() + kStep, kStep);
        Out(0, kVolumeUpKey);
        Wait(kMsPerStep);
        Out(0, kVolumeStop);
    }

    void VolumeDown() override {
        if (NoPort()) return;
        Muted() = true;
        StartMuted() = false;
        if (Volume() > 0) {
            Volume() = SnapVolume(Volume() - kStep, kStep);
            Out(0, kVolumeDownKey);
            Wait(kMsPerStep);
            Out(0, kVolumeStop);
        }
        Muted() = Volume() == 0;
    }

    void SetVolume(int32_t v) override {
        if (NoPort()) return;
        int32_t old = Volume();
        int32_t now = SnapVolume(v, kStep);
        Volume() = now;
        if (now != old) {
            auto steps = static_cast<unsigned>(std::abs(old - now) / kStep);
            Out(0, now > old ? kVolumeUpKey : kVolumeDownKey);
            Wait(steps * kMsPerStep);
            Out(0, kVolumeStop);
        }
        StartMuted() = false;
        Muted() = Volume() == 0;
    }

    void VolumeReset() override {
        if (NoPort()) return;
        Out(0, kVolumeDownKey);
        Wait(kResetMs);
        Out(0, kVolumeStop);
        Volume() = 0;
        Muted() = true;
        StartMuted() = false;
    }

    uint8_t TunedStatus() override {
        if (NoPort()) return kNotTuned;
        Out(0, 0xF8);
        Out(0, 0);
        Out(0, AudioByte());
        Wait(150);
        uint8_t c = In(0);
        Wait(10);
        Out(0, 0xE8);
        Out(0, 0);
        Out(0, AudioByte());
        if (c == 0xFD) return kTunedStereo;
        if (c == 0xFF) return kNotTuned;
        return kTunedMono;
    }

private:
    uint8_t AudioByte() { return Muted() ? kAudioOff : kAudioOn; }
};

} // namespace

std::unique_ptr<TCardFamily> MakeAimsLabFamily(TRadioCard& card) { return std::make_unique<AimsLabFamily>(card); }

} // namespace tunevox::radio
