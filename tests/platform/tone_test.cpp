// The beep's samples, and the real tone's queue where no device can play.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "platform/tone.h"

namespace tunevox::platform {
namespace {

int RisingZeroCrossings(const std::vector<int16_t>& s) {
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i) n += s[i - 1] < 0 && s[i] >= 0;
    return n;
}

int PeakOf(const std::vector<int16_t>& s, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i) peak = std::max(peak, std::abs(int{s[i]}));
    return peak;
}

TEST(ToneSamples, AreASineOfThePitchAndLengthFadedInAndOut) {
    struct Case {
        int rate, hz, ms;
    };
    for (Case c : {Case{48000, 1000, 300}, Case{44100, 440, 250}, Case{48000, 5000, 1000}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz rate, " << c.hz << " Hz for " << c.ms << " ms");
        const std::vector<int16_t> s = ToneSamples(c.rate, c.hz, c.ms);
        const size_t ms = static_cast<size_t>(c.rate / 1000);
        ASSERT_EQ(s.size(), static_cast<size_t>(c.rate) * c.ms / 1000);
        EXPECT_NEAR(RisingZeroCrossings(s), c.hz * c.ms / 1000.0, 2.0);

        // Half of full scale in the middle, never clipped.
        EXPECT_NEAR(PeakOf(s, s.size() / 4, s.size() * 3 / 4), 16384, 200);
        EXPECT_LE(PeakOf(s, 0, s.size()), 16384);
        // Silent at both ends, rising to full over the first few
        // milliseconds and falling over the last.
        EXPECT_EQ(s.front(), 0);
        EXPECT_EQ(s.back(), 0);
        EXPECT_LT(PeakOf(s, 0, ms), 16384 / 5);
        EXPECT_LT(PeakOf(s, s.size() - ms, s.size()), 16384 / 5);
        EXPECT_GT(PeakOf(s, 4 * ms, 6 * ms), 16384 * 9 / 10);
        EXPECT_GT(PeakOf(s, s.size() - 6 * ms, s.size() - 4 * ms), 16384 * 9 / 10);
    }
}

TEST(ToneSamples, ClampPitchAndLengthAndNeverAliasAboveNyquist) {
    EXPECT_EQ(ToneSamples(48000, 1000, -5).size(), 48u);
    EXPECT_EQ(ToneSamples(48000, 1000, 5000).size(), 48000u);
    EXPECT_TRUE(ToneSamples(0, 1000, 100).empty());

    // Even one millisecond is heard: the fades shorten to fit.
    const std::vector<int16_t> blip = ToneSamples(48000, 1000, 1);
    EXPECT_EQ(blip.front(), 0);
    EXPECT_EQ(blip.back(), 0);
    EXPECT_GT(PeakOf(blip, 0, blip.size()), 4000);

    // 0 Hz plays as 1 Hz: one whole period over a second, up then down.
    const std::vector<int16_t> low = ToneSamples(48000, 0, 1000);
    ASSERT_EQ(low.size(), 48000u);
    EXPECT_TRUE(std::all_of(low.begin(), low.begin() + 24000, [](int16_t v) { return v >= 0; }));
    EXPECT_TRUE(std::all_of(low.begin() + 24001, low.end(), [](int16_t v) { return v <= 0; }));
    EXPECT_GT(PeakOf(low, 0, low.size()), 16000);

    // Above the top, the top: 20000 Hz, or 45% of a rate that cannot carry
    // it; never the 3000 Hz a 5000 Hz sine folds back to at 8000.
    EXPECT_NEAR(RisingZeroCrossings(ToneSamples(48000, 30000, 100)), 2000, 2);
    EXPECT_NEAR(RisingZeroCrossings(ToneSamples(44100, 20000, 100)), 1984.5, 2);
    EXPECT_NEAR(RisingZeroCrossings(ToneSamples(8000, 5000, 100)), 360, 2);
}

// A fallback bell the test can hold on a chosen ring, as a slow desktop
// bell would, to see what piles up behind it.
class HeldBell {
public:
    void Ring() {
        std::unique_lock lock(mutex_);
        const int ring = ++rings_;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::seconds(10), [&] { return ring != holdAt_; });
    }
    void HoldAt(int ring) {
        std::lock_guard lock(mutex_);
        holdAt_ = ring;
        changed_.notify_all();
    }
    void Release() { HoldAt(0); }
    bool WaitForRings(int n, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return rings_ >= n; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int rings_ = 0;
    int holdAt_ = 0;
};

TEST(AlsaTone, WithoutADeviceRingsTheBellOncePerBeepAndBoundsAFlood) {
    HeldBell bell;
    auto tone = MakeAlsaTone([&] { bell.Ring(); }, "tunevox_no_such_device");

    for (int i = 0; i < 3; ++i) tone->Beep(1000, 100);
    ASSERT_TRUE(bell.WaitForRings(3));
    EXPECT_FALSE(bell.WaitForRings(4, std::chrono::milliseconds(100)));

    // The tone's thread is stuck in the bell; the caller is not.
    bell.HoldAt(4);
    tone->Beep(1000, 100);
    ASSERT_TRUE(bell.WaitForRings(4));
    const auto before = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i) tone->Beep(2000, 1000);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));

    // Of the flood, only what the queue holds rings; once it has drained,
    // the queue takes beeps again.
    const int expected = 4 + static_cast<int>(kToneQueueLimit);
    bell.Release();
    ASSERT_TRUE(bell.WaitForRings(expected));
    EXPECT_FALSE(bell.WaitForRings(expected + 1, std::chrono::milliseconds(200)));
    tone->Beep(1000, 100);
    EXPECT_TRUE(bell.WaitForRings(expected + 1));
}

} // namespace
} // namespace tunevox::platform
