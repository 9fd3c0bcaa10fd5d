// The radio's sound copied through a sound server, with the default sink's
// monitor standing in for the radio's card: what the bridge plays there it
// records again, so a beep comes back as a quieter echo one trip later.
// How long the echo outlasts the beep is the trip's delay, how loud it is
// the bridge's volume. Under ctest a fixture provides the server (see
// CMakeLists.txt).

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "platform/alsa_mixer.h"
#include "platform/tone.h"
#include "platform/usb_radio_sound.h"

namespace tunevox::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Whether the fixture promised a sound server behind the default device;
// see alsa_sound_server_test.cpp.
bool ServerPromised() {
    return std::getenv("TUNEVOX_SOUND_SERVER") != nullptr && !AlsaAnyCardPlays(AlsaSoundSystem::Cards());
}

#define SKIP_UNLESS_PROMISED(why)                                                           \
    do {                                                                                    \
        if (ServerPromised()) FAIL() << (why) << ", though a sound server should be there"; \
        GTEST_SKIP() << (why);                                                              \
    } while (false)

// The sound server's recording of what its default sink plays.
constexpr const char* kMonitor = "pulse:@DEFAULT_MONITOR@";
constexpr int kPerMs = 48;

// Reads `s` whole from a capture device; false where it failed.
bool ReadAll(snd_pcm_t* pcm, std::vector<int16_t>& s) {
    for (size_t got = 0; got < s.size();) {
        const snd_pcm_sframes_t n = snd_pcm_readi(pcm, s.data() + got, s.size() - got);
        if (n < 0 && snd_pcm_recover(pcm, static_cast<int>(n), 1) < 0) return false;
        if (n > 0) got += static_cast<size_t>(n);
    }
    return true;
}

// The monitor, mono at 48 kHz, for `ms` milliseconds from a beep of
// 1000 Hz, 200 ms, asked as they begin. Empty where it cannot be recorded.
std::vector<int16_t> RecordBeep(ITone& tone, int settleMs, int ms) {
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, kMonitor, SND_PCM_STREAM_CAPTURE, 0) < 0) return {};
    std::vector<int16_t> s(static_cast<size_t>(ms * kPerMs));
    // The bridge's first periods, and a server's first sound after a
    // pause, come late and in lumps: the beep waits until they are past.
    std::vector<int16_t> settling(static_cast<size_t>(settleMs * kPerMs));
    const bool recorded = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, 48000, 1,
                                             20000) == 0 &&
                          ReadAll(pcm, settling) && (tone.Beep(1000, 200), ReadAll(pcm, s));
    snd_pcm_close(pcm);
    return recorded ? s : std::vector<int16_t>{};
}

// The beep in a recording, and its echo where it outlasts the beep, in
// milliseconds; the echo's peak against the loudest. Beep and echo overlap
// at a fixed phase, so the loudest is the beep's own peak A times 1 to
// 1 / (1 - g), and the echo, the sum of all further trips, A g / (1 + g) to
// A g / (1 - g), with g the bridge's gain; the second trip's echo (A g² at
// most, a fifteenth for a gain under a quarter) counts as quiet, and so
// does the beep's fade 3 ms after it dropped to half.
struct BeepAndEcho {
    double beepMs = 0;
    double echoMs = 0;
    double echoLevel = 0;
};
BeepAndEcho Measure(const std::vector<int16_t>& s) {
    int loudest = 0;
    for (int16_t x : s) loudest = std::max(loudest, std::abs(int{x}));
    if (loudest < 1000) return {};
    auto last = [&](int above) {
        size_t i = s.size();
        while (i > 0 && std::abs(int{s[i - 1]}) <= above) --i;
        return i;
    };
    const size_t first = size_t(std::find_if(s.begin(), s.end(), [&](int x) { return std::abs(x) > loudest / 2; }) -
                                s.begin());
    const size_t beepEnd = last(loudest / 2);
    const size_t soundEnd = last(loudest / 10);
    int echoPeak = 0;
    for (size_t i = beepEnd + 3 * kPerMs; i < soundEnd; ++i) echoPeak = std::max(echoPeak, std::abs(int{s[i]}));
    return {double(beepEnd - first) / kPerMs, double(soundEnd - beepEnd) / kPerMs, double(echoPeak) / loudest};
}

TEST(RadioSoundBridge, PlaysWhatItRecordsSoonAtItsVolumeAndSilenceWhenMuted) {
    if (!AlsaSoundSystem::DefaultDevice().hasPlayback) SKIP_UNLESS_PROMISED("no working ALSA default device");
    auto tone = MakeAlsaTone({});
    TRadioSoundBridge bridge([](const std::string& message) { ADD_FAILURE() << message; });
    bridge.SetVolume(0.6);
    const double g = RadioSoundGain(0.6);
    ASSERT_LT(g, 0.25);
    bridge.Start(kMonitor);

    const BeepAndEcho heard = Measure(RecordBeep(*tone, 200, 500));
    if (heard.beepMs == 0) SKIP_UNLESS_PROMISED("nothing was heard on the default sink's monitor");
    EXPECT_NEAR(heard.beepMs, 200, 30);
    // One trip: a period recorded, what waits to be played, and the
    // server's own latency on either side.
    EXPECT_GE(heard.echoMs, 5);
    EXPECT_LE(heard.echoMs, 120);
    EXPECT_GE(heard.echoLevel, 0.9 * g / (1 + g) * (1 - g));
    EXPECT_LE(heard.echoLevel, 1.1 * g / (1 - g));

    bridge.SetMuted(true);
    const BeepAndEcho muted = Measure(RecordBeep(*tone, 100, 350));
    EXPECT_NEAR(muted.beepMs, 200, 30);
    EXPECT_LT(muted.echoMs, 3) << "the beep's own fade only";

    const auto stopping = Clock::now();
    bridge.Stop();
    EXPECT_LT(Clock::now() - stopping, 100ms);
}

TEST(RadioSoundBridge, ReportsADeviceThatCannotBeOpenedByName) {
    std::promise<std::string> reported;
    TRadioSoundBridge bridge([&](const std::string& message) { reported.set_value(message); });
    bridge.Start("plughw:CARD=NoSuchRadio");
    std::future<std::string> message = reported.get_future();
    ASSERT_EQ(message.wait_for(5s), std::future_status::ready);
    // The device and ALSA's cause, whatever words this ALSA has for it.
    const std::string text = message.get();
    EXPECT_TRUE(text.starts_with("cannot record the radio's sound from plughw:CARD=NoSuchRadio (")) << text;
    EXPECT_TRUE(text.ends_with(")") && text.size() > 62) << text;

    const auto stopping = Clock::now();
    bridge.Stop();
    EXPECT_LT(Clock::now() - stopping, 100ms);
}

} // namespace
} // namespace tunevox::platform
