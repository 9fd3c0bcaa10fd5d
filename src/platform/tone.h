#pragma once
// The beep a script asks for: one tone of a given pitch and length.
//
// Beep() returns at once on the caller's thread (the window's): the tone
// sounds later, on the tone's own thread. Beeps asked while one sounds
// queue behind it and play in the order asked, each in full; scripts beep
// at most once a second for at most a second, so the queue stays short.
// A flood is bounded: once kToneQueueLimit beeps wait, further ones are
// dropped until the queue has room again.
//
// Inputs out of range are clamped, not refused: 1..20000 Hz, 1..1000 ms.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tunevox::platform {

constexpr int kToneMinHz = 1;
constexpr int kToneMaxHz = 20000;
constexpr int kToneMinMs = 1;
constexpr int kToneMaxMs = 1000;
// Beeps waiting behind the one that sounds.
constexpr std::size_t kToneQueueLimit = 8;

class ITone {
public:
    virtual ~ITone() = default;
    virtual void Beep(int frequencyHz, int durationMs) = 0;
};

struct ToneRequest {
    int frequencyHz = 0;
    int durationMs = 0;
    bool operator==(const ToneRequest&) const = default;
};

// Keeps every beep as asked, unclamped, for tests of the code that beeps.
class RecordingTone final : public ITone {
public:
    void Beep(int frequencyHz, int durationMs) override { requests_.push_back({frequencyHz, durationMs}); }
    const std::vector<ToneRequest>& Requests() const { return requests_; }
    void Clear() { requests_.clear(); }

private:
    std::vector<ToneRequest> requests_;
};

// The highest pitch played at a sample rate: 20000 Hz, lowered to 45% of
// the rate where that is less, so a tone never folds back below Nyquist
// into another pitch (and stays clear of the output filter's slope).
int ToneMaxFrequency(int sampleRate);

// One beep as mono 16-bit samples at `sampleRate`: a sine at half of full
// scale, frequency and duration clamped as above, starting and ending at
// zero through raised-cosine fades of up to 5 ms each (shorter for a tone
// under 10 ms), so it does not click. Empty for a rate that is not
// positive.
std::vector<int16_t> ToneSamples(int sampleRate, int frequencyHz, int durationMs);

// The real tone: plays through the ALSA PCM device `device` ("default"
// reaches PipeWire or PulseAudio where they run, else the card). The
// device opens on the first beep and stays open for a moment after a tone
// so beeps a second apart reuse it, then closes so other programs that
// need the card exclusively are not kept out.
//
// Where the device cannot be opened (no sound at all), each beep calls
// `fallbackBell` instead (none: such beeps go unheard). It runs on the
// tone's thread: a bell that must ring on the window's thread has to be
// posted there by the caller.
//
// Destruction drops the beeps still waiting, cuts the one that sounds
// short and returns promptly; where the sound server has stopped
// answering, after a second at most, leaving the thread to end on its own
// once the server lets go.
std::unique_ptr<ITone> MakeAlsaTone(std::function<void()> fallbackBell, const std::string& device = "default");

} // namespace tunevox::platform
