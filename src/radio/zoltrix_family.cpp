// Zoltrix Radio Plus 108: the base port takes the volume byte and a 45-bit
// tuning frame; reading base+2 switches the audio on, base+3 switches it off.

#include <algorithm>
#include <cstdint>

#include "card_family.h"
#include "frequency.h"

namespace tunevox::radio {

namespace {

constexpr int32_t kStep = 16;
constexpr unsigned kAudioOnPort = 2;
constexpr unsigned kAudioOffPort = 3;
// The frame's fixed bits, most significant first; bit 1 is the leftmost.
constexpr uint64_t kFrameTemplate = 0xC480402C10080000ull;
constexpr int kFrameBits = 45;
constexpr uint8_t kStatusStereo = 0xEF;
constexpr uint8_t kStatusMonoWanted = 0xDF;

// Position of frame bit k (1-based from the left) in the 64-bit value.
constexpr int Shift(int k) { return 64 - k; }

class ZoltrixFamily final : public TCardFamily {
public:
    using TCardFamily::TCardFamily;

    void SendOpen() override {
        if (StartMuted()) {
            AudioOff();
        } else {
            Out(0, 0);
            In(kAudioOnPort);
        }
    }

    void Close() override {
        if (NoPort()) return;
        AudioOff();
    }

    void Mute() override {
        if (NoPort()) return;
        AudioOff();
        Muted() = true;
    }

    void Unmute() override {
        if (NoPort()) return;
        StartMuted() = false;
        if (Volume() == 0) return; // nothing to turn up: the card stays silent
        Volume() = SnapVolume(Volume(), kStep);
        Out(0, 0);
        Out(0, VolumeByte());
        In(kAudioOnPort);
        Muted() = false;
    }

    double Tune(bool stereo, tBand, double frequency) override {
        double f = SnapFrequency(FMMax(), FMMin(), Caps().FMStep, frequency);
        if (NoPort()) return f;
        auto word = static_cast<uint16_t>((RoundEvenToInt((f - (87.0 + 1.05)) * 200.0) + 0x4D1C) & 0xFFFF);
        uint64_t frame = kFrameTemplate;
        frame |= static_cast<uint64_t>(word & 0xFF) << Shift(17); // bits 10..17
        frame |= static_cast<uint64_t>(word >> 8) << Shift(26);   // bits 19..26
        if (stereo) frame |= 1ull << Shift(33);

        AudioOff();
        Out(0, 0x40);
        Out(0, 0xC0);
        for (int k = 1; k <= kFrameBits; ++k) {
            if ((frame >> Shift(k)) & 1u) {
                Out(0, 0x80);
                Out(0, 0x00);
                Out(0, 0x80);
            } else {
                Out(0, 0xC0);
                Out(0, 0x40);
                Out(0, 0xC0);
            }
        }
        Out(0, 0x80);
        Out(0, 0xC0);
        Out(0, 0x40);
        if (!Muted()) {
            Out(0, VolumeByte());
            In(kAudioOnPort);
        }
        return f;
    }

    void VolumeUp() override {
        if (NoPort()) return;
        if (Volume() >= MaxVolume()) return;
        Volume() = SnapVolume(Volume() + kStep, kStep);
        Out(0, VolumeByte());
        In(0);
        Muted() = false;
    }

    void VolumeDown() override {
        if (NoPort()) return;
        if (Volume() <= 0) return;
        Muted() = true;
        StartMuted() = false;
        Volume() = SnapVolume(Volume() - kStep, kStep);
        if (Volume() == 0) {
            AudioOff();
        } else {
            Out(0, VolumeByte());
            In(0);
        }
        Muted() = Volume() == 0;
    }

    void SetVolume(int32_t v) override {
        if (NoPort()) return;
        int32_t now = SnapVolume(v, kStep);
        Volume() = now;
        if (now != 0) {
            if (Muted()) {
                Out(0, 0);
                Wait(10);
                In(kAudioOnPort);
            }
            Out(0, VolumeByte());
            In(0);
        } else {
            AudioOff();
        }
        StartMuted() = false;
        Muted() = Volume() == 0;
    }

    void VolumeReset() override { SetVolume(0); }

    uint8_t TunedStatus() override {
        if (NoPort()) return kNotTuned;
        Out(0, 0);
        Out(0, Muted() ? 0 : VolumeByte());
        Wait(10);
        uint8_t a = In(0);
        Wait(1);
        uint8_t b = In(0);
        if (Muted()) {
            AudioOff();
        } else {
            Out(0, VolumeByte());
            In(kAudioOnPort);
        }
        uint8_t expected = Stereo() ? kStatusStereo : kStatusMonoWanted;
        return a == expected && b == expected ? kTuned : kNotTuned;
    }

private:
    // Volume div 16 - 1: 0 for 16, 15 for 256. Volume 0 has no level of its
    // own; it must not wrap to 0xFF, which the card would take as a frame
    // bit, so it is sent as the lowest level.
    uint8_t VolumeByte() const { return static_cast<uint8_t>(std::clamp(card_.Volume() / kStep - 1, 0, 15)); }

    void AudioOff() {
        Out(0, 0);
        Out(0, 0);
        In(kAudioOffPort);
    }
};

} // namespace

std::unique_ptr<TCardFamily> MakeZoltrixFamily(TRadioCard& card) { return std::make_unique<ZoltrixFamily>(card); }

} // namespace tunevox::radio
