#include "v4l2_radio_emulator.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tunevox::emulator {

using platform::MHzToV4L2Frequency;
using platform::V4L2FrequencyToMHz;

std::vector<V4L2Band> FmBandPlan() { return {{87.5, 108.0, Band::FM}}; }
std::vector<V4L2Band> FmAmBandPlan() { return {{87.5, 108.0, Band::FM}, {0.522, 1.710, Band::AM}}; }
std::vector<V4L2Band> JapaneseFmBandPlan() { return {{76.0, 108.0, Band::FM}}; }

RdsIdentity DefaultRdsIdentity(const Station& station) {
    uint32_t h = 2166136261u; // FNV-1a: the same name always gives the same code
    for (unsigned char c : station.name) h = (h ^ c) * 16777619u;
    RdsIdentity id;
    id.pi = static_cast<uint16_t>(h ^ (h >> 16));
    if (id.pi == 0) id.pi = 1; // 0 is no programme identification at all
    id.pty = static_cast<uint8_t>(1 + (h >> 8) % 15);
    return id;
}

namespace {

// Exactly eight characters in the RDS basic character set's ASCII part;
// a character beyond it (a UTF-8 sequence) shows as '?'.
std::string ProgrammeServiceName(const std::string& name) {
    std::string ps;
    for (unsigned char c : name) {
        if (ps.size() == 8) break;
        if (c >= 0x80 && c < 0xC0) continue; // a continuation byte
        ps += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    ps.resize(8, ' ');
    return ps;
}

void CopyName(uint8_t* field, size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

} // namespace

// One open descriptor of the emulated node.
class V4L2RadioEmulator::Handle final : public platform::IRadioDevice {
public:
    explicit Handle(V4L2RadioEmulator& device) : device_(device) { ++device_.openHandles_; }
    ~Handle() override { --device_.openHandles_; }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int Ioctl(unsigned long request, void* arg) override { return device_.Ioctl(request, arg); }
    long Read(void* buffer, size_t bytes) override { return device_.Read(buffer, bytes); }
    int PollFd() const override { return -1; }

private:
    V4L2RadioEmulator& device_;
};

V4L2RadioEmulator::V4L2RadioEmulator(const platform::ITimeSource& clock, const StationList& stations,
                                     Options options)
    : clock_(clock), stations_(stations), options_(std::move(options)) {
    if (options_.bands.empty()) throw std::invalid_argument("a radio needs at least one band");
    for (const V4L2Band& b : options_.bands) {
        if (!(b.lowMHz > 0 && b.lowMHz < b.highMHz)) throw std::invalid_argument("a band runs from low to high");
        // In 62.5 kHz units the whole medium wave band would be 19 steps.
        if (b.band == Band::AM) options_.lowUnits = true;
    }
    options_.volumeMax = std::max(options_.volumeMax, 1);
    // Sorted by id, as NEXT_CTRL enumerates them; the class control heads
    // the user class whenever the class has a control.
    if (options_.hasMute || options_.hasVolume)
        controls_.push_back({V4L2_CID_USER_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, "User Controls", 0, 0, 0, 0,
                             V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_WRITE_ONLY});
    if (options_.hasVolume)
        controls_.push_back({V4L2_CID_AUDIO_VOLUME, V4L2_CTRL_TYPE_INTEGER, "Volume", 0, options_.volumeMax, 1,
                             std::clamp(options_.volumeStart, 0, options_.volumeMax), V4L2_CTRL_FLAG_SLIDER});
    if (options_.hasMute)
        controls_.push_back({V4L2_CID_AUDIO_MUTE, V4L2_CTRL_TYPE_BOOLEAN, "Mute", 0, 1, 1, 1, 0});
    volume_ = options_.hasVolume ? std::clamp(options_.volumeStart, 0, options_.volumeMax) : 0;
    muted_ = options_.hasMute && options_.startMuted;
    Tune(Units(options_.bands.front().lowMHz));
}

void V4L2RadioEmulator::InjectFault(int error, unsigned count, unsigned long call) {
    if (count > 0) faults_.push_back({std::abs(error), count, call});
}

bool V4L2RadioEmulator::TakeFault(unsigned long call, int* error) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->call != kAnyCall && it->call != call) continue;
        *error = it->error;
        if (it->count != kAlways && --it->count == 0) faults_.erase(it);
        return true;
    }
    return false;
}

int V4L2RadioEmulator::Ioctl(unsigned long request, void* arg) {
    ++calls_;
    if (int error; TakeFault(request, &error)) return -error;
    if (!arg) return -EFAULT;
    return Dispatch(request, arg);
}

int V4L2RadioEmulator::Dispatch(unsigned long request, void* arg) {
    switch (request) {
    case VIDIOC_QUERYCAP: return QueryCap(arg);
    case VIDIOC_G_TUNER: return GetTuner(arg);
    case VIDIOC_S_TUNER: return SetTuner(arg);
    case VIDIOC_ENUM_FREQ_BANDS: return EnumBands(arg);
    case VIDIOC_G_FREQUENCY: return GetFrequency(arg);
    case VIDIOC_S_FREQUENCY: return SetFrequency(arg);
    case VIDIOC_S_HW_FREQ_SEEK: return Seek(arg);
    case VIDIOC_QUERYCTRL: return QueryControl(arg);
    case VIDIOC_QUERY_EXT_CTRL: return QueryExtControl(arg);
    case VIDIOC_G_CTRL: return GetControl(arg);
    case VIDIOC_S_CTRL: return SetControl(arg);
    default: return -ENOTTY;
    }
}

uint32_t V4L2RadioEmulator::TunerCapability() const {
    uint32_t cap = V4L2_TUNER_CAP_STEREO | V4L2_TUNER_CAP_FREQ_BANDS;
    if (options_.lowUnits) cap |= V4L2_TUNER_CAP_LOW;
    if (options_.rds) cap |= V4L2_TUNER_CAP_RDS | V4L2_TUNER_CAP_RDS_BLOCK_IO;
    if (options_.hwSeek)
        cap |= V4L2_TUNER_CAP_HWSEEK_BOUNDED | V4L2_TUNER_CAP_HWSEEK_WRAP | V4L2_TUNER_CAP_HWSEEK_PROG_LIM;
    return cap;
}

uint32_t V4L2RadioEmulator::Units(double mhz) const { return MHzToV4L2Frequency(mhz, TunerCapability()); }
double V4L2RadioEmulator::MHz(uint32_t units) const { return V4L2FrequencyToMHz(units, TunerCapability()); }

const V4L2Band* V4L2RadioEmulator::BandAt(uint32_t units) const {
    for (const V4L2Band& b : options_.bands)
        if (units >= Units(b.lowMHz) && units <= Units(b.highMHz)) return &b;
    return nullptr;
}

Reception V4L2RadioEmulator::Heard() const {
    const V4L2Band* band = BandAt(frequency_);
    if (!band) return {};
    return stations_.Receive(band->band, MHz(frequency_), stereoMode_);
}

uint16_t V4L2RadioEmulator::StrengthOf(const Station& station) const {
    auto it = options_.strengths.find(station.name);
    return it == options_.strengths.end() ? 65535 : it->second;
}

uint16_t V4L2RadioEmulator::Signal() const {
    Reception r = Heard();
    if (!r.station) return 0;
    const double width = r.station->band == Band::FM ? StationList::kFmCaptureWidth : StationList::kAmCaptureWidth;
    const double off = std::min(std::fabs(MHz(frequency_) - r.station->frequencyMHz) / width, 1.0);
    return static_cast<uint16_t>(std::lround(StrengthOf(*r.station) * (1.0 - 0.75 * off)));
}

ReceiverState V4L2RadioEmulator::State() const {
    ReceiverState s;
    s.frequencyMHz = MHz(frequency_);
    const V4L2Band* band = BandAt(frequency_);
    s.band = band ? band->band : Band::FM;
    s.audioOn = !muted_;
    s.volumeLevel = volume_;
    s.stereoRequested = stereoMode_;
    return s;
}

void V4L2RadioEmulator::Tune(uint32_t units) {
    frequency_ = units;
    tunedAtMs_ = clock_.NowMs();
    blocksRead_ = 0;
}

int V4L2RadioEmulator::QueryCap(void* arg) const {
    auto* cap = static_cast<v4l2_capability*>(arg);
    std::memset(cap, 0, sizeof *cap);
    CopyName(cap->driver, sizeof cap->driver, options_.driverName);
    CopyName(cap->card, sizeof cap->card, options_.cardName);
    CopyName(cap->bus_info, sizeof cap->bus_info, "platform:" + options_.driverName);
    cap->version = (6u << 16) | (1u << 8);
    cap->device_caps = V4L2_CAP_TUNER | V4L2_CAP_RADIO;
    if (options_.hwSeek) cap->device_caps |= V4L2_CAP_HW_FREQ_SEEK;
    if (options_.rds) cap->device_caps |= V4L2_CAP_RDS_CAPTURE | V4L2_CAP_READWRITE;
    cap->capabilities = cap->device_caps | V4L2_CAP_DEVICE_CAPS;
    return 0;
}

int V4L2RadioEmulator::GetTuner(void* arg) const {
    auto* t = static_cast<v4l2_tuner*>(arg);
    if (t->index != 0) return -EINVAL;
    std::memset(t, 0, sizeof *t);
    bool am = std::any_of(options_.bands.begin(), options_.bands.end(), [](auto& b) { return b.band == Band::AM; });
    CopyName(t->name, sizeof t->name, am ? "FM/AM" : "FM");
    t->type = V4L2_TUNER_RADIO;
    t->capability = TunerCapability();
    t->rangelow = ~0u;
    for (const V4L2Band& b : options_.bands) {
        t->rangelow = std::min(t->rangelow, Units(b.lowMHz));
        t->rangehigh = std::max(t->rangehigh, Units(b.highMHz));
    }
    Reception r = Heard();
    t->rxsubchans = V4L2_TUNER_SUB_MONO;
    if (r.stereo) t->rxsubchans |= V4L2_TUNER_SUB_STEREO;
    if (options_.rds && r.station && r.station->band == Band::FM && !r.station->name.empty())
        t->rxsubchans |= V4L2_TUNER_SUB_RDS;
    t->audmode = stereoMode_ ? V4L2_TUNER_MODE_STEREO : V4L2_TUNER_MODE_MONO;
    t->signal = Signal();
    return 0;
}

int V4L2RadioEmulator::SetTuner(void* arg) {
    auto* t = static_cast<v4l2_tuner*>(arg);
    if (t->index != 0) return -EINVAL;
    // A radio has no second language: every other mode falls back to stereo.
    stereoMode_ = t->audmode != V4L2_TUNER_MODE_MONO;
    return 0;
}

int V4L2RadioEmulator::EnumBands(void* arg) const {
    auto* b = static_cast<v4l2_frequency_band*>(arg);
    if (b->tuner != 0 || b->type != V4L2_TUNER_RADIO || b->index >= options_.bands.size()) return -EINVAL;
    const V4L2Band& band = options_.bands[b->index];
    const uint32_t index = b->index;
    std::memset(b, 0, sizeof *b);
    b->type = V4L2_TUNER_RADIO;
    b->index = index;
    b->capability = TunerCapability();
    if (band.band == Band::AM) b->capability &= ~(V4L2_TUNER_CAP_STEREO | V4L2_TUNER_CAP_RDS | V4L2_TUNER_CAP_RDS_BLOCK_IO);
    b->rangelow = Units(band.lowMHz);
    b->rangehigh = Units(band.highMHz);
    b->modulation = band.band == Band::AM ? V4L2_BAND_MODULATION_AM : V4L2_BAND_MODULATION_FM;
    return 0;
}

int V4L2RadioEmulator::GetFrequency(void* arg) const {
    auto* f = static_cast<v4l2_frequency*>(arg);
    if (f->tuner != 0) return -EINVAL;
    f->type = V4L2_TUNER_RADIO;
    f->frequency = frequency_;
    return 0;
}

int V4L2RadioEmulator::SetFrequency(void* arg) {
    auto* f = static_cast<v4l2_frequency*>(arg);
    if (f->tuner != 0 || f->type != V4L2_TUNER_RADIO) return -EINVAL;
    // Outside every band: the nearest band edge, as a driver clamps.
    uint32_t best = f->frequency;
    uint64_t bestDistance = ~0ull;
    for (const V4L2Band& b : options_.bands) {
        uint32_t c = std::clamp(f->frequency, Units(b.lowMHz), Units(b.highMHz));
        uint64_t d = c > f->frequency ? c - f->frequency : f->frequency - c;
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    Tune(best);
    return 0;
}

int V4L2RadioEmulator::Seek(void* arg) {
    if (!options_.hwSeek) return -ENOTTY;
    auto* s = static_cast<v4l2_hw_freq_seek*>(arg);
    if (s->tuner != 0 || s->type != V4L2_TUNER_RADIO) return -EINVAL;
    // A limit left 0 is the band's own; the band is the one the limits
    // name, or the one tuned now.
    const uint32_t reference = s->rangelow ? s->rangelow : s->rangehigh ? s->rangehigh : frequency_;
    const V4L2Band* band = BandAt(reference);
    if (!band) return -EINVAL;
    const uint32_t low = s->rangelow ? s->rangelow : Units(band->lowMHz);
    const uint32_t high = s->rangehigh ? s->rangehigh : Units(band->highMHz);
    if (low >= high || low < Units(band->lowMHz) || high > Units(band->highMHz)) return -EINVAL;

    // The station heard now is where the seek starts from, not where it
    // stops; stations too weak for the tuner's threshold are passed by.
    const Station* current = Heard().station;
    bool found = false, wrapped = false;
    uint32_t next = 0, wrapTo = 0;
    for (const Station& st : stations_.Stations()) {
        if (st.band != band->band || &st == current || StrengthOf(st) < options_.seekThreshold) continue;
        const uint32_t u = Units(st.frequencyMHz);
        if (u < low || u > high) continue;
        const bool ahead = s->seek_upward ? u > frequency_ : u < frequency_;
        const auto better = [&](uint32_t a, uint32_t b) { return s->seek_upward ? a < b : a > b; };
        if (ahead && (!found || better(u, next))) {
            next = u;
            found = true;
        }
        // Past the edge the search goes on from the other one.
        if (!ahead && (!wrapped || better(u, wrapTo))) {
            wrapTo = u;
            wrapped = true;
        }
    }
    if (!found && !(s->wrap_around && wrapped)) return -ENODATA;
    Tune(found ? next : wrapTo);
    return 0;
}

const V4L2RadioEmulator::Control* V4L2RadioEmulator::FindControl(uint32_t id, bool next) const {
    for (const Control& c : controls_)
        if (next ? c.id > id : c.id == id) return &c;
    return nullptr;
}

int V4L2RadioEmulator::QueryControl(void* arg) const {
    auto* q = static_cast<v4l2_queryctrl*>(arg);
    const bool next = q->id & V4L2_CTRL_FLAG_NEXT_CTRL;
    const Control* c = FindControl(q->id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND), next);
    if (!c) return -EINVAL;
    std::memset(q, 0, sizeof *q);
    q->id = c->id;
    q->type = c->type;
    CopyName(q->name, sizeof q->name, c->name);
    q->minimum = c->minimum;
    q->maximum = c->maximum;
    q->step = c->step;
    q->default_value = c->defaultValue;
    q->flags = c->flags;
    return 0;
}

int V4L2RadioEmulator::QueryExtControl(void* arg) const {
    auto* q = static_cast<v4l2_query_ext_ctrl*>(arg);
    const bool next = q->id & V4L2_CTRL_FLAG_NEXT_CTRL;
    const Control* c = FindControl(q->id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND), next);
    if (!c) return -EINVAL;
    std::memset(q, 0, sizeof *q);
    q->id = c->id;
    q->type = c->type;
    std::strncpy(q->name, c->name, sizeof q->name - 1);
    q->minimum = c->minimum;
    q->maximum = c->maximum;
    q->step = static_cast<uint64_t>(c->step);
    q->default_value = c->defaultValue;
    q->flags = c->flags;
    q->elem_size = c->type == V4L2_CTRL_TYPE_CTRL_CLASS ? 0 : sizeof(int32_t);
    q->elems = 1;
    return 0;
}

int V4L2RadioEmulator::GetControl(void* arg) const {
    auto* ctrl = static_cast<v4l2_control*>(arg);
    const Control* c = FindControl(ctrl->id, false);
    if (!c) return -EINVAL;
    if (c->flags & V4L2_CTRL_FLAG_WRITE_ONLY) return -EACCES;
    ctrl->value = c->id == V4L2_CID_AUDIO_MUTE ? muted_ : volume_;
    return 0;
}

int V4L2RadioEmulator::SetControl(void* arg) {
    auto* ctrl = static_cast<v4l2_control*>(arg);
    const Control* c = FindControl(ctrl->id, false);
    if (!c) return -EINVAL;
    if (c->flags & V4L2_CTRL_FLAG_READ_ONLY) return -EACCES;
    if (c->id == V4L2_CID_AUDIO_MUTE) {
        muted_ = ctrl->value != 0;
        ctrl->value = muted_;
    } else {
        volume_ = std::clamp(ctrl->value, c->minimum, c->maximum);
        ctrl->value = volume_;
    }
    return 0;
}

uint64_t V4L2RadioEmulator::BlocksDue() const {
    // 1187.5 bit/s and 26 bits a block: 19 blocks every 416 ms.
    return (clock_.NowMs() - tunedAtMs_) * 19 / 416;
}

void V4L2RadioEmulator::RdsBlock(uint64_t index, uint8_t out[3]) const {
    const Station& station = *Heard().station;
    auto it = options_.rdsIdentities.find(station.name);
    const RdsIdentity id = it != options_.rdsIdentities.end() ? it->second : DefaultRdsIdentity(station);
    const std::string ps = ProgrammeServiceName(station.name);
    const unsigned block = index % 4;
    const unsigned segment = (index / 4) % 4;
    uint16_t word = 0;
    switch (block) {
    case V4L2_RDS_BLOCK_A: word = id.pi; break;
    case V4L2_RDS_BLOCK_B:
        // Group type 0, version A; TP, PTY; TA off, music; one bit of the
        // decoder identification per segment (d3 first, d0 "stereo" last);
        // the segment's address.
        word = static_cast<uint16_t>((id.tp ? 1u << 10 : 0) | (id.pty & 0x1Fu) << 5 | 1u << 3 |
                                     (segment == 3 && station.stereo ? 1u << 2 : 0) | segment);
        break;
    case V4L2_RDS_BLOCK_C: word = 0xE0CD; break; // no alternative frequencies, filler
    case V4L2_RDS_BLOCK_D:
        word = static_cast<uint16_t>(static_cast<uint8_t>(ps[2 * segment]) << 8 | static_cast<uint8_t>(ps[2 * segment + 1]));
        break;
    }
    uint8_t flags = 0;
    if (options_.rdsGarbage) {
        if (index % 3 == 1) {
            word ^= static_cast<uint16_t>(0x5A5A + index);
            flags = V4L2_RDS_BLOCK_ERROR;
        } else if (index % 3 == 2) {
            flags = V4L2_RDS_BLOCK_CORRECTED;
        }
    }
    out[0] = static_cast<uint8_t>(word & 0xFF);
    out[1] = static_cast<uint8_t>(word >> 8);
    // Bits 3..5 repeat the block number for readers of the older layout.
    out[2] = static_cast<uint8_t>(block | block << 3 | flags);
}

long V4L2RadioEmulator::Read(void* buffer, size_t bytes) {
    ++calls_;
    if (int error; TakeFault(kReadCall, &error)) return -error;
    if (!options_.rds || bytes < sizeof(v4l2_rds_data)) return -EINVAL;
    Reception r = Heard();
    if (!r.station || r.station->band != Band::FM || r.station->name.empty()) return -EAGAIN;
    const uint64_t due = BlocksDue();
    if (due - blocksRead_ > kRdsBufferBlocks) blocksRead_ = due - kRdsBufferBlocks;
    const uint64_t count = std::min<uint64_t>(due - blocksRead_, bytes / sizeof(v4l2_rds_data));
    if (count == 0) return -EAGAIN;
    auto* out = static_cast<uint8_t*>(buffer);
    for (uint64_t i = 0; i < count; ++i) RdsBlock(blocksRead_ + i, out + 3 * i);
    blocksRead_ += count;
    return static_cast<long>(count * sizeof(v4l2_rds_data));
}

std::unique_ptr<platform::IRadioDevice> V4L2RadioEmulatorOpener::Open(const std::string& path, int* error) {
    auto it = devices_.find(path);
    const int failure = openError_ ? openError_ : it == devices_.end() ? ENOENT : 0;
    if (error) *error = failure;
    if (failure) return nullptr;
    return std::make_unique<V4L2RadioEmulator::Handle>(*it->second);
}

std::vector<std::string> V4L2RadioEmulatorOpener::List() {
    std::vector<std::string> paths;
    for (const auto& entry : devices_) paths.push_back(entry.first);
    std::sort(paths.begin(), paths.end(), platform::NaturalLess);
    return paths;
}

} // namespace tunevox::emulator
