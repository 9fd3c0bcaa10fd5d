#include "tone.h"

#include <cstdarg>
// alsa/error.h declares snd_lib_error_set_local after closing its extern
// "C" block, so a C++ caller would look for a mangled name; included here
// first, the declaration links to the library's function.
extern "C" {
#include <alsa/error.h>
}
#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <numbers>
#include <thread>

namespace tunevox::platform {

namespace {

constexpr double kToneAmplitude = 16384.0; // half of full scale: a beep, not an alarm
constexpr int kFadeMs = 5;

int ClampFrequency(int hz) { return std::clamp(hz, kToneMinHz, kToneMaxHz); }
int ClampDuration(int ms) { return std::clamp(ms, kToneMinMs, kToneMaxMs); }

} // namespace

int ToneMaxFrequency(int sampleRate) {
    const int64_t belowNyquist = int64_t{sampleRate} * 45 / 100;
    return static_cast<int>(std::clamp<int64_t>(belowNyquist, kToneMinHz, kToneMaxHz));
}

std::vector<int16_t> ToneSamples(int sampleRate, int frequencyHz, int durationMs) {
    if (sampleRate <= 0) return {};
    const int64_t frequency = std::clamp(frequencyHz, kToneMinHz, ToneMaxFrequency(sampleRate));
    const int64_t count = std::max<int64_t>(1, (int64_t{sampleRate} * ClampDuration(durationMs) + 500) / 1000);
    const int64_t fade = std::min<int64_t>(int64_t{sampleRate} * kFadeMs / 1000, count / 2);

    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        // The phase from the exact integer product keeps a long tone's
        // pitch as true at its end as at its start.
        const double phase = 2.0 * std::numbers::pi * static_cast<double>((frequency * i) % sampleRate) / sampleRate;
        const int64_t fromEdge = std::min(i, count - 1 - i);
        const double envelope =
            fromEdge < fade ? 0.5 * (1.0 - std::cos(std::numbers::pi * static_cast<double>(fromEdge) / fade)) : 1.0;
        const long sample = std::lround(kToneAmplitude * envelope * std::sin(phase));
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(sample);
    }
    return samples;
}

namespace {

// Finding no device, or a sound server that is not running, is an answer
// here (the bell rings instead), not something to print. Only this
// thread's messages are silenced; the rest of the program keeps its own.
void SilentOnThisThread(const char*, int, const char*, int, const char*, va_list) {}

// A device left open this long after a tone is reused by the next beep;
// scripts beep a second apart.
constexpr auto kKeepOpen = std::chrono::milliseconds(1500);
// Silence written after each tone: stopping the device as the tone ends
// then cuts only silence, never the fade.
constexpr int kTailMs = 30;
// Beyond its own length, how long a tone may take to get through a device
// before the device counts as stuck.
constexpr auto kStallMargin = std::chrono::seconds(2);
// How long destruction waits for the thread before leaving it behind,
// stuck in a call to a sound server that no longer answers.
constexpr auto kJoinLimit = std::chrono::seconds(1);

// What the window's thread and the tone's thread share. Owned jointly, so
// a thread left behind by destruction still finds it when it comes back.
struct ToneShared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<ToneRequest> queue;
    bool stop = false;
    bool finished = false;
    std::function<void()> fallbackBell;
    std::string device;
};

enum class Outcome {
    kPlayed,
    kStopped,       // destruction asked in the middle
    kFailedUnheard, // the device failed before any of the tone went out
    kFailedPartly,  // it failed after part of the tone went out
};

// The tone's thread: takes beeps off the queue and plays them, one after
// the other, on a device it opens and closes itself.
class ToneWorker {
public:
    explicit ToneWorker(std::shared_ptr<ToneShared> shared) : shared_(std::move(shared)) {}
    ToneWorker(const ToneWorker&) = delete;
    ToneWorker& operator=(const ToneWorker&) = delete;
    ~ToneWorker() { Close(); }

    void Run() {
        snd_lib_error_set_local(&SilentOnThisThread);
        std::unique_lock lock(shared_->mutex);
        auto pending = [&] { return shared_->stop || !shared_->queue.empty(); };
        while (!shared_->stop) {
            if (shared_->queue.empty()) {
                if (!pcm_) {
                    shared_->changed.wait(lock, pending);
                } else if (!shared_->changed.wait_for(lock, kKeepOpen, pending)) {
                    lock.unlock();
                    Close();
                    lock.lock();
                }
                continue;
            }
            const ToneRequest request = shared_->queue.front();
            shared_->queue.pop_front();
            lock.unlock();
            const bool sounded = Sound(request);
            lock.lock();
            if (!sounded && !shared_->stop && shared_->fallbackBell) {
                lock.unlock();
                shared_->fallbackBell();
                lock.lock();
            }
        }
        lock.unlock();
        Close();
        lock.lock();
        shared_->finished = true;
        shared_->changed.notify_all();
    }

private:
    // Plays one beep; false when no device could play it.
    bool Sound(const ToneRequest& request) {
        // A device kept open since the last beep may have gone (the sound
        // server restarted): then a freshly opened one gets a second try.
        const bool reused = pcm_ != nullptr;
        for (int attempt = 0; attempt < (reused ? 2 : 1); ++attempt) {
            if (!pcm_ && !Open()) return false;
            switch (Play(request)) {
            case Outcome::kPlayed:
            case Outcome::kStopped:
                return true;
            case Outcome::kFailedPartly:
                Close(); // part of it was heard: no second copy, no bell
                return true;
            case Outcome::kFailedUnheard:
                Close();
                break;
            }
        }
        return false;
    }

    bool Open() {
        snd_pcm_t* pcm = nullptr;
        if (snd_pcm_open(&pcm, shared_->device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
        pcm_ = pcm;
        if (!Configure()) {
            Close();
            return false;
        }
        return true;
    }

    bool Configure() {
        snd_pcm_hw_params_t* hw = nullptr;
        snd_pcm_hw_params_alloca(&hw);
        if (snd_pcm_hw_params_any(pcm_, hw) < 0 ||
            snd_pcm_hw_params_set_access(pcm_, hw, SND_PCM_ACCESS_RW_INTERLEAVED) < 0 ||
            snd_pcm_hw_params_set_format(pcm_, hw, SND_PCM_FORMAT_S16) < 0) {
            return false;
        }
        // Mono where the device takes it; a card that insists on two
        // channels gets the same sample on both.
        unsigned channels = 1;
        if (snd_pcm_hw_params_set_channels_near(pcm_, hw, &channels) < 0 || channels < 1) return false;
        // The device's own rate where it has one of the usual two, so no
        // resampling is needed on the way.
        unsigned rate = 48000;
        if (snd_pcm_hw_params_test_rate(pcm_, hw, 48000, 0) == 0) {
            rate = 48000;
        } else if (snd_pcm_hw_params_test_rate(pcm_, hw, 44100, 0) == 0) {
            rate = 44100;
        }
        if (snd_pcm_hw_params_set_rate_near(pcm_, hw, &rate, nullptr) < 0 || rate < 8000) return false;
        // Short buffers: destruction then stops the sound within a tenth
        // of a second. A device that wants others picks its nearest.
        unsigned periodUs = 20000;
        unsigned bufferUs = 100000;
        snd_pcm_hw_params_set_period_time_near(pcm_, hw, &periodUs, nullptr);
        snd_pcm_hw_params_set_buffer_time_near(pcm_, hw, &bufferUs, nullptr);
        if (snd_pcm_hw_params(pcm_, hw) < 0) return false;

        snd_pcm_uframes_t buffer = 0;
        snd_pcm_uframes_t period = 0;
        if (snd_pcm_hw_params_get_buffer_size(hw, &buffer) < 0 || buffer == 0) return false;
        if (snd_pcm_hw_params_get_period_size(hw, &period, nullptr) < 0 || period == 0) period = buffer / 4;

        snd_pcm_sw_params_t* sw = nullptr;
        snd_pcm_sw_params_alloca(&sw);
        // Starting once half the buffer is filled keeps the start of a tone
        // from running dry; a tone shorter than that is started by hand.
        if (snd_pcm_sw_params_current(pcm_, sw) < 0 ||
            snd_pcm_sw_params_set_start_threshold(pcm_, sw, std::max<snd_pcm_uframes_t>(1, buffer / 2)) < 0 ||
            snd_pcm_sw_params_set_avail_min(pcm_, sw, std::max<snd_pcm_uframes_t>(1, period)) < 0 ||
            snd_pcm_sw_params(pcm_, sw) < 0) {
            return false;
        }
        rate_ = static_cast<int>(rate);
        channels_ = static_cast<int>(channels);
        return true;
    }

    void Close() {
        if (!pcm_) return;
        snd_pcm_drop(pcm_);
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }

    Outcome Play(const ToneRequest& request) {
        const std::vector<int16_t> tone = ToneSamples(rate_, request.frequencyHz, request.durationMs);
        const auto tail = static_cast<snd_pcm_sframes_t>(rate_) * kTailMs / 1000;
        const size_t frames = tone.size() + static_cast<size_t>(tail);
        std::vector<int16_t> data(frames * static_cast<size_t>(channels_), 0);
        for (size_t i = 0; i < tone.size(); ++i) {
            std::fill_n(data.begin() + static_cast<ptrdiff_t>(i * channels_), channels_, tone[i]);
        }

        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(request.durationMs + kTailMs) + kStallMargin;
        if (snd_pcm_prepare(pcm_) < 0) return Outcome::kFailedUnheard;

        size_t written = 0;
        auto failed = [&] {
            snd_pcm_drop(pcm_);
            return written > 0 ? Outcome::kFailedPartly : Outcome::kFailedUnheard;
        };
        while (written < frames) {
            if (StopAsked()) return Stopped();
            if (std::chrono::steady_clock::now() >= deadline) return failed();
            const snd_pcm_sframes_t n =
                snd_pcm_writei(pcm_, data.data() + written * channels_, frames - written);
            if (n == -EAGAIN) {
                snd_pcm_wait(pcm_, 20); // bounded, so a stop request is seen soon
            } else if (n < 0) {
                // An underrun on a loaded machine costs a gap, not the beep.
                if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) return failed();
            } else {
                written += static_cast<size_t>(n);
            }
        }
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED && snd_pcm_start(pcm_) < 0) return failed();

        // Until all but the silent tail has gone out. Then the device stops,
        // so it sits idle rather than running dry while kept open.
        for (;;) {
            snd_pcm_sframes_t delay = 0;
            if (snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING || snd_pcm_delay(pcm_, &delay) < 0 || delay <= tail) break;
            if (std::chrono::steady_clock::now() >= deadline) return failed();
            const auto left = std::chrono::milliseconds(1000 * (delay - tail) / rate_ + 1);
            if (WaitForStop(std::min(left, std::chrono::milliseconds(20)))) return Stopped();
        }
        snd_pcm_drop(pcm_);
        return Outcome::kPlayed;
    }

    Outcome Stopped() {
        snd_pcm_drop(pcm_);
        return Outcome::kStopped;
    }

    bool StopAsked() {
        std::lock_guard lock(shared_->mutex);
        return shared_->stop;
    }

    bool WaitForStop(std::chrono::milliseconds limit) {
        std::unique_lock lock(shared_->mutex);
        return shared_->changed.wait_for(lock, limit, [&] { return shared_->stop; });
    }

    std::shared_ptr<ToneShared> shared_;
    snd_pcm_t* pcm_ = nullptr;
    int rate_ = 48000;
    int channels_ = 1;
};

class AlsaTone final : public ITone {
public:
    AlsaTone(std::function<void()> fallbackBell, std::string device) : shared_(std::make_shared<ToneShared>()) {
        shared_->fallbackBell = std::move(fallbackBell);
        shared_->device = std::move(device);
        thread_ = std::thread([shared = shared_] { ToneWorker(shared).Run(); });
    }
    AlsaTone(const AlsaTone&) = delete;
    AlsaTone& operator=(const AlsaTone&) = delete;

    ~AlsaTone() override {
        std::unique_lock lock(shared_->mutex);
        shared_->stop = true;
        shared_->queue.clear();
        shared_->changed.notify_all();
        const bool finished = shared_->changed.wait_for(lock, kJoinLimit, [&] { return shared_->finished; });
        lock.unlock();
        if (finished) {
            thread_.join();
        } else {
            thread_.detach(); // it ends, on the shared state it keeps, once its call returns
        }
    }

    void Beep(int frequencyHz, int durationMs) override {
        {
            std::lock_guard lock(shared_->mutex);
            if (shared_->queue.size() >= kToneQueueLimit) return;
            shared_->queue.push_back({ClampFrequency(frequencyHz), ClampDuration(durationMs)});
        }
        shared_->changed.notify_all();
    }

private:
    std::shared_ptr<ToneShared> shared_;
    std::thread thread_;
};

} // namespace

std::unique_ptr<ITone> MakeAlsaTone(std::function<void()> fallbackBell, const std::string& device) {
    return std::make_unique<AlsaTone>(std::move(fallbackBell), device);
}

} // namespace tunevox::platform
