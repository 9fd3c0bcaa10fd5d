// Aztech/PB/Express FM radio card: every byte written carries the volume
// level in its low bits; tuning shifts a 24-bit word in with data and clock
// bits; the status is read from eight ports that must answer steadily.

#include <cmath>

#include "card_family.h"
#include "frequency.h"

namespace tunevox::radio {

namespace {

constexpr int32_t kStep = 84;
constexpr int kStatusRounds = 10240;
constexpr uint8_t kStereoPattern = 0xFC;
constexpr uint8_t kMonoPattern = 0xFD;

class AztechFamily final : public TCardFamily {
public:
    using TCardFamily::TCardFamily;

    void SendOpen() override {
        uint8_t l = StartMuted() ? 0 : Level();
        Out(0, l);
        Out(0, l);
    }

    void Close() override {
        if (NoPort()) return;
        Out(0, 0);
        Out(0, 0);
    }

    void Mute() override {
        if (NoPort()) return;
        Out(0, 0);
        Out(0, 0);
        Muted() = true;
    }

    void Unmute() override {
        if (NoPort()) return;
        WriteLevelTwice();
        Muted() = Volume() == 0;
        StartMuted() = false;
    }

    double Tune(bool stereo, tBand, double frequency) override {
        double f = SnapFrequency(FMMax(), FMMin(), Caps().FMStep, frequency);
        if (NoPort()) return f;
        long long hz = RoundEvenToInt(f * 1000000.0);
        auto divider = static_cast<uint32_t>((hz + 10700000) / 25000);
        for (int bit = 0; bit < 14; ++bit) SendBit((divider >> bit) & 1u);
        for (bool b : {false, false, false, stereo, true, false, false, true, false, true}) SendBit(b);
        Wait(10);
        Out(0, Muted() ? 0xC0 : static_cast<uint8_t>(Level() + 0xC0));
        return f;
    }

    void VolumeUp() override {
        if (NoPort()) return;
        Muted() = false;
        StartMuted() = false;
        if (Volume() >= MaxVolume()) return;
        // 252 + 84 passes the maximum; the card's top level is the same for
        // both, so the next step up is refused.
        Volume() = SnapVolume(Volume() + kStep, kStep);
        WriteLevelTwice();
    }

    void VolumeDown() override {
        if (NoPort()) return;
        Muted() = true;
        StartMuted() = false;
        if (Volume() > 0) {
            Volume() = SnapVolume(Volume() - kStep, kStep);
            WriteLevelTwice();
        }
        Muted() = Volume() == 0;
    }

    void SetVolume(int32_t v) override {
        if (NoPort()) return;
        int32_t old = Volume();
        Volume() = SnapVolume(v, kStep);
        if (Volume() != old) WriteLevelTwice();
        StartMuted() = false;
        Muted() = Volume() == 0;
    }

    void VolumeReset() override { SetVolume(0); }

    uint8_t TunedStatus() override {
        if (NoPort()) return kNotTuned;
        Wait(1);
        uint8_t first = 0;
        for (int round = 0; round < kStatusRounds; ++round) {
            first = In(0);
            if (first != kStereoPattern && first != kMonoPattern) return kNotTuned;
            for (unsigned p = 1; p < 8; ++p) {
                if (In(p) != first) return kNotTuned;
            }
        }
        return first == kStereoPattern ? kTunedStereo : kTunedMono;
    }

private:
    // The card's volume level from the program's 0..256 scale.
    uint8_t Level() const {
        switch (RoundEvenToInt(static_cast<double>(card_.Volume()) / kStep)) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
            return 4;
        default:
            return 5;
        }
    }

    void WriteLevelTwice() {
        uint8_t l = Level();
        Out(0, l);
        Out(0, l);
    }

    void SendBit(bool one) {
        uint8_t l = Level();
        Out(0, static_cast<uint8_t>(l + (one ? 0x82 : 0x02)));
        Out(0, static_cast<uint8_t>(l + (one ? 0xC2 : 0x42)));
    }
};

} // namespace

std::unique_ptr<TCardFamily> MakeAztechFamily(TRadioCard& card) { return std::make_unique<AztechFamily>(card); }

} // namespace tunevox::radio
