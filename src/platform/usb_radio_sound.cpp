#include "usb_radio_sound.h"

#include <cstdarg>
// alsa/error.h declares snd_lib_error_set_local after closing its extern
// "C" block, so a C++ caller would look for a mangled name; included here
// first, the declaration links to the library's function.
extern "C" {
#include <alsa/error.h>
}
#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace tunevox::platform {

namespace fs = std::filesystem;

namespace {

// The number after `prefix` in a whole name ("card2" → 2), or -1.
int NumberAfter(std::string_view name, std::string_view prefix, std::string_view suffix = {}) {
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix)) {
        return -1;
    }
    const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    int value = -1;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return ec == std::errc() && end == digits.data() + digits.size() ? value : -1;
}

bool Within(const fs::path& path, const fs::path& root) {
    return std::mismatch(root.begin(), root.end(), path.begin(), path.end()).first == root.end();
}

// The USB device a sysfs device directory belongs to: itself or the
// nearest ancestor with a USB vendor id, staying inside `root`.
std::optional<fs::path> UsbDeviceOf(fs::path device, const fs::path& root) {
    std::error_code ec;
    for (; Within(device, root) && device != root; device = device.parent_path()) {
        if (fs::exists(device / "idVendor", ec)) return device;
    }
    return std::nullopt;
}

struct CaptureDevice {
    int card = -1;
    int device = -1;
    auto operator<=>(const CaptureDevice&) const = default;
};

// The first capture device of the sound cards on the USB device's own
// interfaces (named "<device>:<config>.<interface>"; a hub's downstream
// devices sit beside them and are other devices).
std::optional<CaptureDevice> FirstCaptureDevice(const fs::path& usbDevice) {
    std::optional<CaptureDevice> best;
    std::error_code ec;
    for (const fs::directory_entry& interface : fs::directory_iterator(usbDevice, ec)) {
        if (interface.path().filename().string().find(':') == std::string::npos) continue;
        std::error_code soundEc;
        for (const fs::directory_entry& cardDir : fs::directory_iterator(interface.path() / "sound", soundEc)) {
            const int card = NumberAfter(cardDir.path().filename().string(), "card");
            if (card < 0) continue;
            const std::string pcmPrefix = "pcmC" + std::to_string(card) + "D";
            std::error_code cardEc;
            for (const fs::directory_entry& pcm : fs::directory_iterator(cardDir.path(), cardEc)) {
                const int device = NumberAfter(pcm.path().filename().string(), pcmPrefix, "c");
                if (device < 0) continue;
                const CaptureDevice found{card, device};
                if (!best || found < *best) best = found;
            }
        }
    }
    return best;
}

} // namespace

std::optional<std::string> FindRadioSoundCard(const std::string& radioDevicePath, const std::string& sysfsRoot) {
    std::error_code ec;
    // A link such as /dev/v4l/by-id/usb-...-radio leads to the node whose
    // name sysfs knows.
    fs::path node = fs::canonical(radioDevicePath, ec);
    if (ec) node = fs::path(radioDevicePath).lexically_normal();
    const std::string name = node.filename().string();
    if (name.empty() || name == "." || name == "..") return std::nullopt;

    const fs::path root = fs::canonical(sysfsRoot, ec);
    if (ec) return std::nullopt;
    const fs::path device = fs::canonical(root / "class" / "video4linux" / name / "device", ec);
    if (ec) return std::nullopt;
    const std::optional<fs::path> usb = UsbDeviceOf(device, root);
    if (!usb) return std::nullopt;
    const std::optional<CaptureDevice> capture = FirstCaptureDevice(*usb);
    if (!capture) return std::nullopt;
    return "plughw:" + std::to_string(capture->card) + "," + std::to_string(capture->device);
}

double RadioSoundGain(double volume) {
    if (!(volume > 0)) return 0; // NaN too
    const double v = std::min(volume, 1.0);
    return v * v * v;
}

void ApplyGain(std::span<int16_t> samples, double gain) {
    if (gain == 1.0) return;
    for (int16_t& s : samples) {
        const double scaled = std::round(s * gain);
        s = static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
    }
}

RadioSoundLatency RadioSoundLatencyAt(int rate) {
    return {long{rate} * 50 / 1000, long{rate} * 90 / 1000};
}

std::size_t TLatencyGuard::FramesToDrop(long queued, std::size_t incoming) {
    queued = std::max(queued, 0L);
    if (queued + static_cast<long>(incoming) > budget_.limit) cutting_ = true;
    if (!cutting_) return 0;
    const auto keep = static_cast<std::size_t>(std::max(budget_.target - queued, 0L));
    if (keep > 0) cutting_ = false; // down to the target with this period
    return incoming - std::min(incoming, keep);
}

// --- the bridge ---

struct TRadioSoundBridge::Controls {
    std::atomic<bool> muted = false;
    std::atomic<double> volume = 1.0;
};

struct TRadioSoundBridge::Session {
    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;
    bool finished = false;
    std::thread thread;
};

namespace {

using Session = TRadioSoundBridge::Session;
using Controls = TRadioSoundBridge::Controls;

// What goes wrong is reported through the owner's handler, in our words;
// ALSA's own lines on standard error would only repeat it. Only this
// thread's messages are silenced.
void SilentOnThisThread(const char*, int, const char*, int, const char*, va_list) {}

constexpr unsigned kRate = 48000;
constexpr unsigned kChannels = 2;
constexpr unsigned kPeriodUs = 10000;
// The capture side only holds what a stalled thread has not read yet; past
// this it overruns and the stale sound is dropped.
constexpr unsigned kCaptureBufferUs = 100000;
// Room beyond the latency limit, so a write never finds it full.
constexpr unsigned kPlaybackBufferUs = 200000;
// How long the thread waits for sound before it looks for a stop again.
constexpr int kWaitMs = 20;
// How long Stop waits for the thread before leaving it behind, stuck in a
// call to a sound server that no longer answers.
constexpr auto kJoinLimit = std::chrono::seconds(1);

class BridgeWorker {
public:
    BridgeWorker(std::shared_ptr<Session> session, std::shared_ptr<Controls> controls,
                 TRadioSoundBridge::tErrorHandler onError, std::string captureName, std::string playbackName)
        : session_(std::move(session)), controls_(std::move(controls)), onError_(std::move(onError)),
          captureName_(std::move(captureName)), playbackName_(std::move(playbackName)) {}
    BridgeWorker(const BridgeWorker&) = delete;
    BridgeWorker& operator=(const BridgeWorker&) = delete;
    ~BridgeWorker() {
        Close(capture_);
        Close(playback_);
    }

    void Run() {
        snd_lib_error_set_local(&SilentOnThisThread);
        if (OpenCapture() && OpenPlayback()) Copy();
        Close(capture_);
        Close(playback_);
        std::lock_guard lock(session_->mutex);
        session_->finished = true;
        session_->changed.notify_all();
    }

private:
    bool OpenCapture() {
        const int rc = Open(capture_, captureName_, SND_PCM_STREAM_CAPTURE);
        if (rc < 0) return Report("cannot record the radio's sound from " + captureName_, rc);
        return true;
    }

    bool OpenPlayback() {
        const int rc = Open(playback_, playbackName_, SND_PCM_STREAM_PLAYBACK);
        if (rc < 0) return Report("cannot play the radio's sound on " + playbackName_, rc);
        return true;
    }

    // Opens and sets up one side; the playback side takes the rate and
    // channels the capture side settled on. A negative ALSA error on failure.
    int Open(snd_pcm_t*& pcm, const std::string& name, snd_pcm_stream_t stream) {
        const bool capture = stream == SND_PCM_STREAM_CAPTURE;
        int rc = snd_pcm_open(&pcm, name.c_str(), stream, SND_PCM_NONBLOCK);
        if (rc < 0) {
            pcm = nullptr;
            return rc;
        }
        snd_pcm_hw_params_t* hw = nullptr;
        snd_pcm_hw_params_alloca(&hw);
        unsigned channels = capture ? kChannels : channels_;
        unsigned rate = capture ? kRate : rate_;
        unsigned periodUs = kPeriodUs;
        unsigned bufferUs = capture ? kCaptureBufferUs : kPlaybackBufferUs;
        if ((rc = snd_pcm_hw_params_any(pcm, hw)) < 0 ||
            (rc = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
            (rc = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16)) < 0) {
            return rc;
        }
        if (capture) {
            // The card's own rate near 48 kHz (USB radios often record at
            // 96 kHz): the playback side converts it, where the sound
            // server resamples better than ALSA's plug layer would.
            snd_pcm_hw_params_set_rate_resample(pcm, hw, 0);
            if ((rc = snd_pcm_hw_params_set_channels_near(pcm, hw, &channels)) < 0 ||
                (rc = snd_pcm_hw_params_set_rate_near(pcm, hw, &rate, nullptr)) < 0) {
                return rc;
            }
        } else if ((rc = snd_pcm_hw_params_set_channels(pcm, hw, channels)) < 0 ||
                   (rc = snd_pcm_hw_params_set_rate(pcm, hw, rate, 0)) < 0) {
            return rc;
        }
        // A device that wants other sizes picks its nearest.
        snd_pcm_hw_params_set_period_time_near(pcm, hw, &periodUs, nullptr);
        snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &bufferUs, nullptr);
        if ((rc = snd_pcm_hw_params(pcm, hw)) < 0) return rc;
        snd_pcm_uframes_t buffer = 0;
        if ((rc = snd_pcm_hw_params_get_buffer_size(hw, &buffer)) < 0) return rc;

        snd_pcm_sw_params_t* sw = nullptr;
        snd_pcm_sw_params_alloca(&sw);
        if ((rc = snd_pcm_sw_params_current(pcm, sw)) < 0) return rc;
        if (capture) {
            channels_ = channels;
            rate_ = rate;
            captureBuffer_ = buffer;
            // Recording starts with the first read, again after an overrun.
            rc = snd_pcm_sw_params_set_start_threshold(pcm, sw, 1);
        } else {
            playbackBuffer_ = buffer;
            RadioSoundLatency budget = RadioSoundLatencyAt(static_cast<int>(rate));
            budget.limit = std::min(budget.limit, static_cast<long>(buffer));
            budget.target = std::min(budget.target, budget.limit);
            guard_ = TLatencyGuard(budget);
            // Playing starts once the target waits, again after an underrun,
            // so the first late period does not run dry at once.
            rc = snd_pcm_sw_params_set_start_threshold(pcm, sw,
                                                       static_cast<snd_pcm_uframes_t>(std::max(budget.target, 1L)));
        }
        if (rc < 0 || (rc = snd_pcm_sw_params(pcm, sw)) < 0) return rc;
        return 0;
    }

    void Copy() {
        std::vector<int16_t> frames(static_cast<std::size_t>(captureBuffer_) * channels_);
        while (!StopAsked()) {
            const snd_pcm_sframes_t n = snd_pcm_readi(capture_, frames.data(), captureBuffer_);
            if (n == -EAGAIN || n == 0) {
                snd_pcm_wait(capture_, kWaitMs); // bounded, so a stop is seen soon
            } else if (n < 0) {
                // An overrun: what was recorded meanwhile is late and goes.
                if (const int rc = snd_pcm_recover(capture_, static_cast<int>(n), 1); rc < 0) {
                    Report("the radio's sound stopped: " + captureName_ + " failed", rc);
                    return;
                }
            } else if (!Play(std::span(frames.data(), static_cast<std::size_t>(n) * channels_))) {
                return;
            }
        }
    }

    // Queues the frames just recorded for playing, less what would make
    // the delay grow past its limit; false when playback failed for good.
    bool Play(std::span<int16_t> samples) {
        snd_pcm_sframes_t avail = snd_pcm_avail_update(playback_);
        if (avail < 0) {
            if (!Recover(avail)) return false;
            avail = static_cast<snd_pcm_sframes_t>(playbackBuffer_);
        }
        // What waits in the device's buffer: the share of the delay this
        // side controls. The sink's own latency (a Bluetooth headset's) is
        // not ours to cut, and counting it would drop everything.
        const long queued = static_cast<long>(playbackBuffer_) - std::min<long>(avail, playbackBuffer_);
        const std::size_t drop = guard_.FramesToDrop(queued, samples.size() / channels_);
        samples = samples.subspan(drop * channels_);
        ApplyGain(samples, controls_->muted ? 0.0 : RadioSoundGain(controls_->volume));

        while (!samples.empty()) {
            const snd_pcm_sframes_t n = snd_pcm_writei(playback_, samples.data(), samples.size() / channels_);
            if (n == -EAGAIN) return true; // full after all: the rest is late
            if (n < 0) {
                if (!Recover(n)) return false; // an underrun: playing starts again at the target
            } else {
                samples = samples.subspan(static_cast<std::size_t>(n) * channels_);
            }
        }
        return true;
    }

    bool Recover(snd_pcm_sframes_t error) {
        if (const int rc = snd_pcm_recover(playback_, static_cast<int>(error), 1); rc < 0) {
            return Report("the radio's sound stopped: " + playbackName_ + " failed", rc);
        }
        return true;
    }

    // Hands the message and ALSA's cause to the owner, unless it has asked
    // to stop and so no longer listens. Always false.
    bool Report(const std::string& what, int alsaError) {
        std::lock_guard lock(session_->mutex);
        if (!session_->stop && onError_) onError_(what + " (" + snd_strerror(alsaError) + ")");
        return false;
    }

    bool StopAsked() {
        std::lock_guard lock(session_->mutex);
        return session_->stop;
    }

    static void Close(snd_pcm_t*& pcm) {
        if (!pcm) return;
        snd_pcm_drop(pcm);
        snd_pcm_close(pcm);
        pcm = nullptr;
    }

    std::shared_ptr<Session> session_;
    std::shared_ptr<Controls> controls_;
    TRadioSoundBridge::tErrorHandler onError_;
    std::string captureName_;
    std::string playbackName_;
    snd_pcm_t* capture_ = nullptr;
    snd_pcm_t* playback_ = nullptr;
    unsigned channels_ = kChannels;
    unsigned rate_ = kRate;
    snd_pcm_uframes_t captureBuffer_ = 0;
    snd_pcm_uframes_t playbackBuffer_ = 0;
    TLatencyGuard guard_{RadioSoundLatency{}};
};

} // namespace

TRadioSoundBridge::TRadioSoundBridge(tErrorHandler onError, std::string playbackDevice)
    : onError_(std::move(onError)), playbackDevice_(std::move(playbackDevice)),
      controls_(std::make_shared<Controls>()) {}

TRadioSoundBridge::~TRadioSoundBridge() { Stop(); }

void TRadioSoundBridge::Start(const std::string& captureDevice) {
    Stop();
    session_ = std::make_shared<Session>();
    session_->thread = std::thread(
        [session = session_, controls = controls_, onError = onError_, captureDevice, playback = playbackDevice_] {
            BridgeWorker(session, controls, onError, captureDevice, playback).Run();
        });
}

void TRadioSoundBridge::Stop() {
    if (!session_) return;
    std::unique_lock lock(session_->mutex);
    session_->stop = true;
    const bool finished = session_->changed.wait_for(lock, kJoinLimit, [&] { return session_->finished; });
    lock.unlock();
    if (finished) {
        session_->thread.join();
    } else {
        session_->thread.detach(); // it ends, on the state it shares, once its call returns
    }
    session_.reset();
}

void TRadioSoundBridge::SetMuted(bool muted) { controls_->muted = muted; }

void TRadioSoundBridge::SetVolume(double volume) { controls_->volume = volume; }

} // namespace tunevox::platform
