#include "alsa_mixer.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <string>

namespace tunevox::platform {

// --- conversions and device order ---

int32_t AlsaRawToUser(long raw, long minimum, long maximum) {
    if (maximum <= minimum) return 0;
    raw = std::clamp(raw, minimum, maximum);
    double scaled = static_cast<double>(raw - minimum) * kAlsaUserMax / static_cast<double>(maximum - minimum);
    return static_cast<int32_t>(std::lround(scaled));
}

long AlsaUserToRaw(int32_t user, long minimum, long maximum) {
    if (maximum <= minimum) return minimum;
    user = std::clamp(user, 0, kAlsaUserMax);
    double scaled = static_cast<double>(user) * static_cast<double>(maximum - minimum) / kAlsaUserMax;
    return minimum + std::lround(scaled);
}

std::vector<int> AlsaMixerDeviceOrder(const std::vector<AlsaCardSummary>& cards) {
    std::vector<int> order;
    if (cards.empty()) return order;
    auto first = std::find_if(cards.begin(), cards.end(), [](const AlsaCardSummary& c) { return c.hasLine; });
    if (first == cards.end()) {
        first = std::find_if(cards.begin(), cards.end(), [](const AlsaCardSummary& c) { return c.hasCapture; });
    }
    if (first == cards.end()) first = cards.begin();
    order.push_back(first->card);
    for (const AlsaCardSummary& c : cards) {
        if (c.card != first->card) order.push_back(c.card);
    }
    return order;
}

int AlsaCardForMidiDevice(const std::vector<AlsaCardSummary>& cards, int32_t midiDeviceId) {
    if (midiDeviceId == -2 || midiDeviceId == -1) {
        auto order = AlsaMixerDeviceOrder(cards);
        return order.empty() ? -1 : order.front();
    }
    if (midiDeviceId < 0) return -1;
    int32_t n = midiDeviceId;
    for (const AlsaCardSummary& c : cards) {
        if (n < c.midiOutputs) return c.card;
        n -= c.midiOutputs;
    }
    return -1;
}

std::string AlsaCardName(int card) { return "hw:" + std::to_string(card); }

bool AlsaAnyCardPlays(const std::vector<AlsaCardSummary>& cards) {
    return std::any_of(cards.begin(), cards.end(), [](const AlsaCardSummary& c) { return c.hasPlayback; });
}

namespace {

// The names the speakers line is looked for by; a "default" mixer without
// any of them has nothing the program could use.
const std::vector<const char*> kSpeakerElementNames{"Master", "Front", "Speaker"};

bool DefaultMixerUsable(const AlsaDefaultSummary& d) {
    if (!d.hasMixer) return false;
    return std::any_of(d.elements.begin(), d.elements.end(), [](const std::string& e) {
        return std::any_of(kSpeakerElementNames.begin(), kSpeakerElementNames.end(),
                           [&](const char* n) { return e == n; });
    });
}

} // namespace

AlsaDeviceChoice AlsaChooseDevices(const std::vector<AlsaCardSummary>& cards, const AlsaDefaultSummary& defaultDevice) {
    AlsaDeviceChoice choice;
    const std::vector<int> order = AlsaMixerDeviceOrder(cards);
    const std::string hardware = order.empty() ? std::string() : AlsaCardName(order.front());
    if (AlsaAnyCardPlays(cards)) {
        choice.hasSoundCard = true;
        choice.mixerZero = hardware;
        return choice;
    }
    // No hardware card plays: the sound goes through a server, if anywhere.
    const bool mixerUsable = DefaultMixerUsable(defaultDevice);
    choice.hasSoundCard = defaultDevice.hasPlayback || mixerUsable;
    choice.mixerZero = mixerUsable ? std::string(kAlsaDefaultDevice) : hardware;
    return choice;
}

std::string AlsaMixerForMidiDevice(const std::vector<AlsaCardSummary>& cards,
                                   const AlsaDefaultSummary& defaultDevice, int32_t midiDeviceId) {
    if (midiDeviceId == -2 || midiDeviceId == -1) return AlsaChooseDevices(cards, defaultDevice).mixerZero;
    const int card = AlsaCardForMidiDevice(cards, midiDeviceId);
    return card < 0 ? std::string() : AlsaCardName(card);
}

int AlsaErrorToCode(int alsaError) {
    switch (-alsaError) {
    case 0: return mmcode::kNoError;
    case ENOENT:
    case ENODEV:
    case ENXIO: return mmcode::kBadDeviceId;
    case EBUSY: return mmcode::kAllocated;
    case ENOMEM: return mmcode::kNoMemory;
    case EINVAL: return mmcode::kInvalidParam;
    case ENOSYS:
    case EOPNOTSUPP: return mmcode::kNotSupported;
    case EBADF: return mmcode::kInvalidHandle;
    default: return mmcode::kError;
    }
}

namespace {

// --- one card's simple elements ---

struct ElementNames {
    tMixerLineKind kind;
    std::vector<const char*> names;
};

const ElementNames kSpeakerNames{tMixerLineKind::kSpeakers, kSpeakerElementNames};
const std::vector<const char*> kTrebleNames{"Tone Control - Treble", "Treble"};
const std::vector<const char*> kBassNames{"Tone Control - Bass", "Bass"};
const ElementNames kSourceNames[] = {
    {tMixerLineKind::kSynthesizer, {"Synth", "FM", "MIDI"}},
    {tMixerLineKind::kWaveOut, {"PCM", "Wave"}},
    {tMixerLineKind::kCompactDisc, {"CD"}},
    {tMixerLineKind::kLine, {"Line"}},
    {tMixerLineKind::kMicrophone, {"Mic", "Front Mic", "Rear Mic"}},
    {tMixerLineKind::kPcSpeaker, {"PC Speaker", "Beep", "PC Beep"}},
};

snd_mixer_elem_t* FindElement(snd_mixer_t* mixer, const char* name) {
    snd_mixer_selem_id_t* id = nullptr;
    if (snd_mixer_selem_id_malloc(&id) < 0) return nullptr;
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    snd_mixer_elem_t* elem = snd_mixer_find_selem(mixer, id);
    snd_mixer_selem_id_free(id);
    return elem;
}

bool HasPlaybackAudio(snd_mixer_elem_t* e) {
    return snd_mixer_selem_has_playback_volume(e) || snd_mixer_selem_has_playback_switch(e);
}

snd_mixer_elem_t* FirstPlayback(snd_mixer_t* mixer, const std::vector<const char*>& names) {
    for (const char* n : names) {
        snd_mixer_elem_t* e = FindElement(mixer, n);
        if (e && HasPlaybackAudio(e)) return e;
    }
    return nullptr;
}

// Opens the simple mixer of an ALSA device ("hw:N", "default"); null with
// the error in `err`.
snd_mixer_t* OpenNamedMixer(const std::string& name, int& err) {
    snd_mixer_t* mixer = nullptr;
    err = snd_mixer_open(&mixer, 0);
    if (err < 0) return nullptr;
    if ((err = snd_mixer_attach(mixer, name.c_str())) < 0 || (err = snd_mixer_selem_register(mixer, nullptr, nullptr)) < 0 ||
        (err = snd_mixer_load(mixer)) < 0) {
        snd_mixer_close(mixer);
        return nullptr;
    }
    return mixer;
}

// While alive, ALSA's library keeps its error messages to itself: looking
// for a "default" device on a machine without one makes it complain about
// missing cards and servers, which is an answer here, not an error.
void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

class QuietAlsa {
public:
    QuietAlsa() { snd_lib_error_set_handler(&SilentAlsaError); }
    ~QuietAlsa() { snd_lib_error_set_handler(nullptr); }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;
};

template <typename F>
void ForEachCard(F f) {
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0) f(card);
}

bool CardHasPlaybackPcm(snd_ctl_t* ctl) {
    snd_pcm_info_t* info = nullptr;
    if (snd_pcm_info_malloc(&info) < 0) return false;
    bool found = false;
    int dev = -1;
    while (!found && snd_ctl_pcm_next_device(ctl, &dev) >= 0 && dev >= 0) {
        snd_pcm_info_set_device(info, static_cast<unsigned>(dev));
        snd_pcm_info_set_subdevice(info, 0);
        snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
        found = snd_ctl_pcm_info(ctl, info) >= 0;
    }
    snd_pcm_info_free(info);
    return found;
}

int CardMidiOutputs(snd_ctl_t* ctl) {
    snd_rawmidi_info_t* info = nullptr;
    if (snd_rawmidi_info_malloc(&info) < 0) return 0;
    int count = 0;
    int dev = -1;
    while (snd_ctl_rawmidi_next_device(ctl, &dev) >= 0 && dev >= 0) {
        snd_rawmidi_info_set_device(info, static_cast<unsigned>(dev));
        snd_rawmidi_info_set_subdevice(info, 0);
        snd_rawmidi_info_set_stream(info, SND_RAWMIDI_STREAM_OUTPUT);
        if (snd_ctl_rawmidi_info(ctl, info) >= 0) ++count;
    }
    snd_rawmidi_info_free(info);
    return count;
}

// --- one open handle ---

enum class Access { kVolume, kSwitch };

struct Control {
    uint32_t id = 0;
    tMixerControlKind kind = tMixerControlKind::kVolume;
    snd_mixer_elem_t* elem = nullptr; // null once the element has gone
    Access access = Access::kVolume;
    long rawMin = 0;
    long rawMax = 0;
    int channels = 1;     // channels presented
    bool uniform = false;
    std::vector<long> lastSeen;  // raw values as last reported
    std::vector<long> wroteRaw;  // raw values of our last write ...
    std::vector<int32_t> wrote;  // ... and the values we asked for
};

struct Line {
    tMixerLineInfo info;
    snd_mixer_elem_t* elem = nullptr;
};

constexpr snd_mixer_selem_channel_id_t kChannelIds[2] = {SND_MIXER_SCHN_FRONT_LEFT, SND_MIXER_SCHN_FRONT_RIGHT};

int PresentedChannels(snd_mixer_elem_t* e) {
    if (snd_mixer_selem_is_playback_mono(e)) return 1;
    return snd_mixer_selem_has_playback_channel(e, SND_MIXER_SCHN_FRONT_RIGHT) ? 2 : 1;
}

} // namespace

class AlsaMixerHandle;

struct AlsaSoundSystem::Registry {
    std::vector<AlsaMixerHandle*> handles;
    std::function<void()>* onChanged = nullptr; // the owner's hook, while it lives
    void Changed() {
        if (onChanged && *onChanged) (*onChanged)();
    }
};

class AlsaMixerHandle final : public IMixerDevice {
public:
    AlsaMixerHandle(snd_mixer_t* mixer, std::shared_ptr<AlsaSoundSystem::Registry> registry, IEventPoster& events,
                    tMixerChangeHandler onChange)
        : mixer_(mixer), registry_(std::move(registry)), relay_(events, std::move(onChange)) {
        Discover();
        registry_->handles.push_back(this);
        registry_->Changed();
    }

    ~AlsaMixerHandle() override {
        relay_.Detach();
        auto& h = registry_->handles;
        h.erase(std::remove(h.begin(), h.end(), this), h.end());
        snd_mixer_close(mixer_);
        registry_->Changed();
    }

    int DestinationCount() const override { return destination_.elem ? 1 : 0; }

    int GetDestination(int index, tMixerLineInfo& line) override {
        if (index != 0 || !destination_.elem) return mmcode::kInvalidLine;
        line = destination_.info;
        return mmcode::kNoError;
    }

    int GetSource(int destination, int index, tMixerLineInfo& line) override {
        if (destination != 0 || !destination_.elem) return mmcode::kInvalidLine;
        if (index < 0 || index >= static_cast<int>(sources_.size())) return mmcode::kInvalidLine;
        line = sources_[static_cast<size_t>(index)].info;
        return mmcode::kNoError;
    }

    int FindControl(uint32_t lineId, tMixerControlKind kind, tMixerControlInfo& control) override {
        bool lineKnown = false;
        for (const Control& c : controls_) {
            if (LineOf(c.id) != lineId) continue;
            lineKnown = true;
            if (c.kind != kind) continue;
            control.controlId = c.id;
            control.kind = kind;
            control.uniform = c.uniform;
            control.minimum = 0;
            control.maximum = c.access == Access::kSwitch ? 1 : kAlsaUserMax;
            return mmcode::kNoError;
        }
        bool isLine = lineId == destination_.info.lineId ||
                      std::any_of(sources_.begin(), sources_.end(), [&](const Line& l) { return l.info.lineId == lineId; });
        return lineKnown || isLine ? mmcode::kInvalidControl : mmcode::kInvalidLine;
    }

    int GetValues(uint32_t controlId, int channels, std::vector<int32_t>& values) override {
        Control* c = Find(controlId);
        if (!c || !c->elem) return mmcode::kInvalidControl;
        if (channels != 1 && channels != c->channels) return mmcode::kInvalidParam;
        std::vector<long> raw;
        if (int err = ReadRaw(*c, raw); err < 0) return AlsaErrorToCode(err);
        values.assign(static_cast<size_t>(channels), 0);
        for (size_t i = 0; i < values.size(); ++i) values[i] = ToUser(*c, i, raw[i]);
        return mmcode::kNoError;
    }

    int SetValues(uint32_t controlId, const std::vector<int32_t>& values) override {
        Control* c = Find(controlId);
        if (!c || !c->elem) return mmcode::kInvalidControl;
        if (values.size() != 1 && static_cast<int>(values.size()) != c->channels) return mmcode::kInvalidParam;
        const int32_t top = c->access == Access::kSwitch ? 1 : kAlsaUserMax;
        for (int32_t v : values) {
            if (v < 0 || v > top) return mmcode::kInvalidValue;
        }
        std::vector<int32_t> wanted(static_cast<size_t>(c->channels), values[0]);
        if (values.size() > 1) wanted = values;
        std::vector<long> raw(wanted.size());
        for (size_t i = 0; i < wanted.size(); ++i) {
            raw[i] = c->access == Access::kSwitch ? (wanted[i] ? 0 : 1) : AlsaUserToRaw(wanted[i], c->rawMin, c->rawMax);
        }
        int err = 0;
        if (c->access == Access::kVolume) {
            if (raw.size() == 1) err = snd_mixer_selem_set_playback_volume_all(c->elem, raw[0]);
            for (size_t i = 0; err >= 0 && raw.size() > 1 && i < raw.size(); ++i) {
                err = snd_mixer_selem_set_playback_volume(c->elem, kChannelIds[i], raw[i]);
            }
        } else {
            if (raw.size() == 1) err = snd_mixer_selem_set_playback_switch_all(c->elem, static_cast<int>(raw[0]));
            for (size_t i = 0; err >= 0 && raw.size() > 1 && i < raw.size(); ++i) {
                err = snd_mixer_selem_set_playback_switch(c->elem, kChannelIds[i], static_cast<int>(raw[i]));
            }
        }
        if (err < 0) return AlsaErrorToCode(err);
        c->wrote = wanted;
        c->wroteRaw = raw;
        // Every handle hears of the change, this one included. A hardware
        // card's event comes back to this handle too, but a sound server
        // tells only the other clients: this handle tells itself, queued
        // (never from inside the write), and the event that may follow
        // finds nothing new.
        std::vector<long> now;
        if (ReadRaw(*c, now) >= 0 && now != c->lastSeen) {
            c->lastSeen = now;
            relay_.Notify(c->id);
        }
        return mmcode::kNoError;
    }

    void PollDescriptors(std::vector<AlsaPollDescriptor>& out) const {
        int n = snd_mixer_poll_descriptors_count(mixer_);
        if (n <= 0) return;
        std::vector<pollfd> fds(static_cast<size_t>(n));
        n = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(n));
        for (int i = 0; i < n; ++i) out.push_back({fds[static_cast<size_t>(i)].fd, fds[static_cast<size_t>(i)].events});
    }

    void Dispatch() {
        int n = snd_mixer_poll_descriptors_count(mixer_);
        if (n <= 0) return;
        std::vector<pollfd> fds(static_cast<size_t>(n));
        n = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(n));
        if (n <= 0 || poll(fds.data(), static_cast<nfds_t>(n), 0) <= 0) return;
        unsigned short revents = 0;
        if (snd_mixer_poll_descriptors_revents(mixer_, fds.data(), static_cast<unsigned>(n), &revents) < 0) return;
        if (revents & (POLLIN | POLLERR | POLLHUP)) snd_mixer_handle_events(mixer_);
    }

private:
    // Control identifiers carry their line: line number * 16 + control kind.
    static uint32_t LineOf(uint32_t controlId) { return controlId / 16; }

    Control* Find(uint32_t id) {
        for (Control& c : controls_) {
            if (c.id == id) return &c;
        }
        return nullptr;
    }

    static int ReadRaw(const Control& c, std::vector<long>& raw) {
        raw.assign(static_cast<size_t>(c.channels), 0);
        for (size_t i = 0; i < raw.size(); ++i) {
            int err = 0;
            if (c.access == Access::kVolume) {
                err = snd_mixer_selem_get_playback_volume(c.elem, kChannelIds[i], &raw[i]);
            } else {
                int sw = 0;
                err = snd_mixer_selem_get_playback_switch(c.elem, kChannelIds[i], &sw);
                raw[i] = sw ? 0 : 1; // presented as mute: 1 = muted
            }
            if (err < 0) return err;
        }
        return 0;
    }

    static int32_t ToUser(const Control& c, size_t channel, long raw) {
        if (channel < c.wroteRaw.size() && c.wroteRaw[channel] == raw) return c.wrote[channel];
        if (c.access == Access::kSwitch) return static_cast<int32_t>(raw);
        return AlsaRawToUser(raw, c.rawMin, c.rawMax);
    }

    void AddControl(uint32_t lineNumber, tMixerControlKind kind, snd_mixer_elem_t* e, Access access, int lineChannels) {
        Control c;
        c.id = lineNumber * 16 + static_cast<uint32_t>(kind);
        c.kind = kind;
        c.elem = e;
        c.access = access;
        if (access == Access::kVolume) {
            snd_mixer_selem_get_playback_volume_range(e, &c.rawMin, &c.rawMax);
            c.uniform = snd_mixer_selem_has_playback_volume_joined(e) != 0;
        } else {
            c.uniform = snd_mixer_selem_has_playback_switch_joined(e) != 0;
        }
        // An element with fewer channels than its line (a mono tone control
        // on a stereo master) has one value for all of them.
        if (PresentedChannels(e) < 2) c.uniform = true;
        c.channels = c.uniform ? 1 : std::clamp(lineChannels, 1, 2);
        ReadRaw(c, c.lastSeen);
        controls_.push_back(std::move(c));
        snd_mixer_elem_set_callback(e, &AlsaMixerHandle::ElementEvent);
        snd_mixer_elem_set_callback_private(e, this);
    }

    void AddLine(Line& line, uint32_t lineNumber, tMixerLineKind kind, snd_mixer_elem_t* e) {
        line.elem = e;
        line.info.lineId = lineNumber;
        line.info.kind = kind;
        line.info.channels = PresentedChannels(e);
        if (snd_mixer_selem_has_playback_volume(e)) {
            AddControl(lineNumber, tMixerControlKind::kVolume, e, Access::kVolume, line.info.channels);
        }
        if (snd_mixer_selem_has_playback_switch(e)) {
            AddControl(lineNumber, tMixerControlKind::kMute, e, Access::kSwitch, line.info.channels);
        }
    }

    void Discover() {
        snd_mixer_elem_t* master = FirstPlayback(mixer_, kSpeakerNames.names);
        if (!master) return;
        uint32_t number = 1;
        AddLine(destination_, number, tMixerLineKind::kSpeakers, master);
        for (auto [names, kind] : {std::pair{&kTrebleNames, tMixerControlKind::kTreble},
                                   std::pair{&kBassNames, tMixerControlKind::kBass}}) {
            for (const char* n : *names) {
                snd_mixer_elem_t* e = FindElement(mixer_, n);
                if (e && snd_mixer_selem_has_playback_volume(e)) {
                    AddControl(number, kind, e, Access::kVolume, destination_.info.channels);
                    break;
                }
            }
        }
        for (const ElementNames& source : kSourceNames) {
            snd_mixer_elem_t* e = FirstPlayback(mixer_, source.names);
            if (!e || e == master) continue;
            Line line;
            AddLine(line, ++number, source.kind, e);
            sources_.push_back(line);
        }
        destination_.info.connections = static_cast<int>(sources_.size());
    }

    static int ElementEvent(snd_mixer_elem_t* elem, unsigned int mask) {
        auto* self = static_cast<AlsaMixerHandle*>(snd_mixer_elem_get_callback_private(elem));
        if (self) self->OnElementEvent(elem, mask);
        return 0;
    }

    void OnElementEvent(snd_mixer_elem_t* elem, unsigned int mask) {
        if (mask == SND_CTL_EVENT_MASK_REMOVE) {
            for (Control& c : controls_) {
                if (c.elem == elem) c.elem = nullptr;
            }
            return;
        }
        if (!(mask & SND_CTL_EVENT_MASK_VALUE)) return;
        for (Control& c : controls_) {
            if (c.elem != elem) continue;
            std::vector<long> raw;
            if (ReadRaw(c, raw) < 0 || raw == c.lastSeen) continue;
            c.lastSeen = raw;
            relay_.Notify(c.id);
        }
    }

    snd_mixer_t* mixer_;
    std::shared_ptr<AlsaSoundSystem::Registry> registry_;
    MixerChangeRelay relay_;
    Line destination_;
    std::vector<Line> sources_;
    std::vector<Control> controls_;
};

// --- the sound system ---

AlsaSoundSystem::AlsaSoundSystem() : registry_(std::make_shared<Registry>()) {
    registry_->onChanged = &OnDescriptorsChanged;
}

AlsaSoundSystem::~AlsaSoundSystem() { registry_->onChanged = nullptr; }

namespace {

// The hardware cards and, only when none of them plays, the default device.
AlsaDeviceChoice CurrentChoice(std::vector<AlsaCardSummary>& cards, AlsaDefaultSummary& defaultDevice) {
    cards = AlsaSoundSystem::Cards();
    if (!AlsaAnyCardPlays(cards)) defaultDevice = AlsaSoundSystem::DefaultDevice();
    return AlsaChooseDevices(cards, defaultDevice);
}

} // namespace

bool AlsaSoundSystem::HasSoundCard() const {
    std::vector<AlsaCardSummary> cards;
    AlsaDefaultSummary defaultDevice;
    return CurrentChoice(cards, defaultDevice).hasSoundCard;
}

std::vector<AlsaCardSummary> AlsaSoundSystem::Cards() {
    std::vector<AlsaCardSummary> cards;
    ForEachCard([&](int card) {
        AlsaCardSummary s;
        s.card = card;
        snd_ctl_t* ctl = nullptr;
        if (snd_ctl_open(&ctl, AlsaCardName(card).c_str(), 0) >= 0) {
            s.midiOutputs = CardMidiOutputs(ctl);
            s.hasPlayback = CardHasPlaybackPcm(ctl);
            snd_ctl_close(ctl);
        }
        int err = 0;
        if (snd_mixer_t* mixer = OpenNamedMixer(AlsaCardName(card), err)) {
            s.hasLine = FindElement(mixer, "Line") != nullptr;
            s.hasCapture = FindElement(mixer, "Capture") != nullptr;
            snd_mixer_close(mixer);
        }
        cards.push_back(s);
    });
    return cards;
}

AlsaDefaultSummary AlsaSoundSystem::DefaultDevice() {
    AlsaDefaultSummary d;
    const QuietAlsa quiet;
    snd_pcm_t* pcm = nullptr;
    const int rc = snd_pcm_open(&pcm, kAlsaDefaultDevice, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc >= 0) snd_pcm_close(pcm);
    // A device busy with another program's sound is still there.
    d.hasPlayback = rc >= 0 || rc == -EBUSY;
    int err = 0;
    if (snd_mixer_t* mixer = OpenNamedMixer(kAlsaDefaultDevice, err)) {
        d.hasMixer = true;
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e; e = snd_mixer_elem_next(e)) {
            if (snd_mixer_selem_is_active(e)) d.elements.emplace_back(snd_mixer_selem_get_name(e));
        }
        snd_mixer_close(mixer);
    }
    return d;
}

int AlsaSoundSystem::OpenMixer(int32_t midiDeviceId, IEventPoster& events, tMixerChangeHandler onChange,
                               std::unique_ptr<IMixerDevice>& device) {
    device.reset();
    std::vector<AlsaCardSummary> cards;
    AlsaDefaultSummary defaultDevice;
    const AlsaDeviceChoice choice = CurrentChoice(cards, defaultDevice);
    if (choice.mixerZero.empty()) return mmcode::kNoDriver; // no mixer at all
    const std::string name = AlsaMixerForMidiDevice(cards, defaultDevice, midiDeviceId);
    if (name.empty()) return mmcode::kBadDeviceId;
    int err = 0;
    std::optional<QuietAlsa> quiet;
    if (name == kAlsaDefaultDevice) quiet.emplace();
    snd_mixer_t* mixer = OpenNamedMixer(name, err);
    quiet.reset();
    if (!mixer) return AlsaErrorToCode(err < 0 ? err : -EIO);
    device = std::make_unique<AlsaMixerHandle>(mixer, registry_, events, std::move(onChange));
    return mmcode::kNoError;
}

std::vector<AlsaPollDescriptor> AlsaSoundSystem::PollDescriptors() const {
    std::vector<AlsaPollDescriptor> out;
    for (const AlsaMixerHandle* h : registry_->handles) h->PollDescriptors(out);
    return out;
}

void AlsaSoundSystem::Dispatch() {
    auto handles = registry_->handles;
    for (AlsaMixerHandle* h : handles) {
        if (std::find(registry_->handles.begin(), registry_->handles.end(), h) != registry_->handles.end()) h->Dispatch();
    }
}

} // namespace tunevox::platform
