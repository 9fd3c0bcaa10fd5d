// The beep through ALSA's default device, heard where the sound server
// mixes it: the default sink's monitor, recorded by the server's own
// recorder (parec) while the tone plays. Under ctest a fixture provides the
// server (see CMakeLists.txt).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/alsa_mixer.h"
#include "platform/tone.h"

extern char** environ;

namespace tunevox::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Samples = std::vector<int16_t>;

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

constexpr int kPerMs = 48; // the recording's samples per millisecond

// Records the default sink's monitor, mono 16-bit at 48 kHz, into a file
// for as long as it lives.
class MonitorRecording {
public:
    MonitorRecording() {
        char name[] = "/tmp/tunevox-tone-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) return;
        close(fd);
        path_ = name;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, name, O_WRONLY | O_TRUNC, 0);
        // A short latency, for two reasons: the samples reach the file as
        // they come rather than in lumps, and the sink renders only a few
        // milliseconds ahead. When a stream starts, the sink goes back over
        // what it rendered ahead to mix the stream in; the monitor has
        // already delivered that stretch, so the start of a tone is lost to
        // the recording (not to the speakers) by as much as the sink was
        // ahead.
        const char* argv[] = {"parec",          "--device=@DEFAULT_MONITOR@", "--raw", "--format=s16le",
                              "--channels=1",   "--rate=48000", "--latency-msec=5", nullptr};
        if (posix_spawnp(&pid_, "parec", &actions, nullptr, const_cast<char* const*>(argv), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;
    ~MonitorRecording() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
        if (!path_.empty()) unlink(path_.c_str());
    }

    Samples Read() const {
        std::ifstream in(path_, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Samples s(bytes.size() / 2);
        for (size_t i = 0; i < s.size(); ++i) {
            s[i] = static_cast<int16_t>(uint8_t(bytes[2 * i]) | uint8_t(bytes[2 * i + 1]) << 8);
        }
        return s;
    }

    // Reads the recording until `done` holds of it or a bounded time has
    // passed; returns the last reading.
    template <typename Done>
    Samples WaitFor(Done done) const {
        const auto deadline = Clock::now() + 10s;
        Samples s = Read();
        while (pid_ > 0 && !done(s) && Clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
            s = Read();
        }
        return s;
    }

private:
    std::string path_;
    pid_t pid_ = 0;
};

// The recording from `from` on in blocks of 10 ms, each named by the one
// of `pitches` that holds at least half of its energy (Goertzel), 0 where
// it is quiet, -1 where it is sound of another pitch. By pitch rather than
// by silence: beeps played in turn may follow each other without a gap.
constexpr size_t kBlock = 10 * kPerMs;
std::vector<int> Blocks(const Samples& s, size_t from, const std::vector<int>& pitches) {
    std::vector<int> blocks;
    for (size_t b = from; b + kBlock <= s.size(); b += kBlock) {
        double energy = 0;
        int peak = 0;
        for (size_t i = b; i < b + kBlock; ++i) {
            energy += double(s[i]) * s[i];
            peak = std::max(peak, std::abs(int{s[i]}));
        }
        int name = peak < 1000 ? 0 : -1;
        for (int hz : pitches) {
            const double k = 2 * std::cos(2 * std::numbers::pi * hz / (1000.0 * kPerMs));
            double p1 = 0;
            double p2 = 0;
            for (size_t i = b; i < b + kBlock; ++i) p2 = std::exchange(p1, s[i] + k * p1 - p2);
            if (name != 0 && 2 * (p1 * p1 + p2 * p2 - k * p1 * p2) >= 0.5 * kBlock * energy) name = hz;
        }
        blocks.push_back(name);
    }
    return blocks;
}

// Where a pitch was heard, in blocks: the first, and how many.
struct Heard {
    size_t first = 0;
    size_t count = 0;
    bool inOnePiece = false;
    double Ms() const { return double(count * kBlock) / kPerMs; }
};
Heard HeardAt(const std::vector<int>& blocks, int hz) {
    Heard h;
    const auto first = std::find(blocks.begin(), blocks.end(), hz);
    if (first == blocks.end()) return h;
    const auto last = std::find(blocks.rbegin(), blocks.rend(), hz).base();
    h.first = size_t(first - blocks.begin());
    h.count = size_t(std::count(first, last, hz));
    h.inOnePiece = h.count == size_t(last - first);
    return h;
}

// Whether something was heard since `from` and a quarter second of quiet
// has followed: the beeps are over.
auto PlayedOut(size_t from) {
    return [=](const Samples& s) {
        const std::vector<int> blocks = Blocks(s, from, {});
        const auto loud = std::find_if(blocks.rbegin(), blocks.rend(), [](int b) { return b != 0; });
        return loud != blocks.rend() && loud - blocks.rbegin() >= 25;
    };
}

// The pitch over the middle of what was heard, away from the fades: whole
// periods between the first and the last rising zero crossing, each
// crossing placed between its two samples.
double PitchOf(const Samples& s, size_t from, Heard heard) {
    const size_t begin = from + heard.first * kBlock + kBlock;
    const size_t end = from + (heard.first + heard.count) * kBlock - kBlock;
    std::vector<double> up;
    for (size_t i = begin + 1; i < end; ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) up.push_back(double(i - 1) + s[i - 1] / double(s[i - 1] - s[i]));
    }
    return up.size() < 2 ? 0 : double(up.size() - 1) * 1000 * kPerMs / (up.back() - up.front());
}

// Nothing heard at all is a sink turned down or muted where the sound
// server is the user's own, and a fault where the fixture's.
bool Silent(const std::vector<int>& blocks) {
    return std::all_of(blocks.begin(), blocks.end(), [](int b) { return b == 0; });
}

// Starts recording once the default device is known to work, and marks
// where the recording stood.
#define START_RECORDING(recording, from)                                                                       \
    if (!AlsaSoundSystem::DefaultDevice().hasPlayback) SKIP_UNLESS_PROMISED("no working ALSA default device"); \
    MonitorRecording recording;                                                                                \
    const size_t from = recording.WaitFor([](const Samples& s) { return s.size() >= 50 * kPerMs; }).size();   \
    if (from < 50 * kPerMs) SKIP_UNLESS_PROMISED("parec cannot record the default sink's monitor")

TEST(AlsaTone, PlaysTheToneAtItsPitchForItsLength) {
    START_RECORDING(recording, from);
    std::atomic<int> rings = 0;
    auto tone = MakeAlsaTone([&] { ++rings; });
    tone->Beep(1000, 300);
    const Samples s = recording.WaitFor(PlayedOut(from));

    const std::vector<int> blocks = Blocks(s, from, {1000});
    if (Silent(blocks)) SKIP_UNLESS_PROMISED("nothing was heard on the default sink");
    const Heard beep = HeardAt(blocks, 1000);
    EXPECT_TRUE(beep.inOnePiece);
    EXPECT_NEAR(beep.Ms(), 300, 30);
    EXPECT_NEAR(PitchOf(s, from, beep), 1000, 20);
    EXPECT_LE(std::count(blocks.begin(), blocks.end(), -1), 2) << "nothing else than the tone, at its ends";
    EXPECT_EQ(rings, 0);
}

TEST(AlsaTone, PlaysQueuedBeepsInTurnAndStopsWhenDestroyed) {
    START_RECORDING(recording, from);
    std::atomic<int> rings = 0;
    auto tone = MakeAlsaTone([&] { ++rings; });
    tone->Beep(500, 200);
    tone->Beep(1500, 150);
    tone->Beep(1000, 5000); // a second at most
    tone->Beep(2000, 1000); // never: destruction drops it
    const std::vector<int> pitches = {500, 1000, 1500, 2000};

    // Destroyed a little way into the third beep.
    const Samples started = recording.WaitFor(
        [&](const Samples& s) { return HeardAt(Blocks(s, from, pitches), 1000).count >= 5; });
    if (Silent(Blocks(started, from, {}))) SKIP_UNLESS_PROMISED("nothing was heard on the default sink");
    ASSERT_GE(HeardAt(Blocks(started, from, pitches), 1000).count, 5u) << "the third beep did not begin";
    const auto destroying = Clock::now();
    tone.reset();
    EXPECT_LT(Clock::now() - destroying, 500ms);
    const Samples s = recording.WaitFor(PlayedOut(from));

    const std::vector<int> blocks = Blocks(s, from, pitches);
    const Heard first = HeardAt(blocks, 500);
    const Heard second = HeardAt(blocks, 1500);
    const Heard third = HeardAt(blocks, 1000);
    EXPECT_TRUE(first.inOnePiece && second.inOnePiece && third.inOnePiece);
    EXPECT_NEAR(first.Ms(), 200, 30);
    EXPECT_NEAR(second.Ms(), 150, 30);
    EXPECT_LT(third.Ms(), 700);
    EXPECT_LT(first.first, second.first);
    EXPECT_LT(second.first, third.first);
    EXPECT_NEAR(PitchOf(s, from, first), 500, 15);
    EXPECT_NEAR(PitchOf(s, from, second), 1500, 30);
    EXPECT_EQ(HeardAt(blocks, 2000).count, 0u);
    EXPECT_EQ(rings, 0);
}

} // namespace
} // namespace tunevox::platform
