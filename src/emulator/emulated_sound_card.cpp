#include "emulated_sound_card.h"

#include <algorithm>
#include <map>

namespace tunevox::emulator {

namespace mmcode = platform::mmcode;

// --- layout ---

namespace {

EmulatedLine MakeLine(tMixerLineKind kind, std::initializer_list<tMixerControlKind> controls) {
    EmulatedLine line;
    line.kind = kind;
    for (tMixerControlKind c : controls) {
        EmulatedControl control;
        control.kind = c;
        if (c == tMixerControlKind::kMute) control.maximum = 1;
        line.controls.push_back(control);
    }
    return line;
}

EmulatedLine MakeSource(tMixerLineKind kind) {
    return MakeLine(kind, {tMixerControlKind::kVolume, tMixerControlKind::kMute});
}

} // namespace

SoundCardLayout SoundCardLayout::Standard() {
    SoundCardLayout layout;
    EmulatedDestination speakers;
    speakers.line = MakeLine(tMixerLineKind::kSpeakers, {tMixerControlKind::kVolume, tMixerControlKind::kMute,
                                                         tMixerControlKind::kTreble, tMixerControlKind::kBass});
    for (tMixerLineKind k : {tMixerLineKind::kSynthesizer, tMixerLineKind::kWaveOut, tMixerLineKind::kCompactDisc,
                             tMixerLineKind::kLine, tMixerLineKind::kMicrophone, tMixerLineKind::kPcSpeaker}) {
        speakers.sources.push_back(MakeSource(k));
    }
    layout.destinations.push_back(std::move(speakers));
    return layout;
}

EmulatedLine* SoundCardLayout::Line(tMixerLineKind kind) {
    for (EmulatedDestination& d : destinations) {
        if (d.line.kind != tMixerLineKind::kSpeakers) continue;
        if (kind == tMixerLineKind::kSpeakers) return &d.line;
        for (EmulatedLine& s : d.sources) {
            if (s.kind == kind) return &s;
        }
        return nullptr;
    }
    return nullptr;
}

EmulatedControl* SoundCardLayout::Control(tMixerLineKind line, tMixerControlKind control) {
    EmulatedLine* l = Line(line);
    if (!l) return nullptr;
    for (EmulatedControl& c : l->controls) {
        if (c.kind == control) return &c;
    }
    return nullptr;
}

SoundCardLayout& SoundCardLayout::Without(tMixerLineKind line) {
    for (EmulatedDestination& d : destinations) {
        if (d.line.kind != tMixerLineKind::kSpeakers) continue;
        if (line == tMixerLineKind::kSpeakers) {
            destinations.erase(destinations.begin() + (&d - destinations.data()));
            return *this;
        }
        auto& s = d.sources;
        auto it = std::find_if(s.begin(), s.end(), [line](const EmulatedLine& l) { return l.kind == line; });
        if (it != s.end()) s.erase(it);
        return *this;
    }
    return *this;
}

SoundCardLayout& SoundCardLayout::WithoutControl(tMixerLineKind line, tMixerControlKind control) {
    if (EmulatedLine* l = Line(line)) {
        auto& c = l->controls;
        c.erase(std::remove_if(c.begin(), c.end(), [control](const EmulatedControl& x) { return x.kind == control; }),
                c.end());
    }
    return *this;
}

SoundCardLayout& SoundCardLayout::WithRange(tMixerLineKind line, tMixerControlKind control, int32_t minimum,
                                            int32_t maximum) {
    if (EmulatedControl* c = Control(line, control)) {
        c->minimum = minimum;
        c->maximum = maximum;
    }
    return *this;
}

SoundCardLayout& SoundCardLayout::WithUniform(tMixerLineKind line, tMixerControlKind control) {
    if (EmulatedControl* c = Control(line, control)) c->uniform = true;
    return *this;
}

SoundCardLayout& SoundCardLayout::WithChannels(tMixerLineKind line, int channels) {
    if (EmulatedLine* l = Line(line)) l->channels = channels;
    return *this;
}

SoundCardLayout& SoundCardLayout::WithInitial(tMixerLineKind line, tMixerControlKind control, int32_t value) {
    if (EmulatedControl* c = Control(line, control)) c->initial = value;
    return *this;
}

SoundCardLayout& SoundCardLayout::WithRecordingDestinationFirst() {
    EmulatedDestination recording;
    recording.line = MakeLine(tMixerLineKind::kOther, {tMixerControlKind::kVolume});
    recording.sources.push_back(MakeLine(tMixerLineKind::kLine, {tMixerControlKind::kVolume}));
    recording.sources.push_back(MakeLine(tMixerLineKind::kMicrophone, {tMixerControlKind::kVolume}));
    destinations.insert(destinations.begin(), std::move(recording));
    return *this;
}

// --- shared state ---

struct EmulatedSoundCard::State {
    struct Control {
        EmulatedControl shape;
        int channels = 1;
        std::vector<int32_t> values;
    };
    struct Line {
        tMixerLineKind kind = tMixerLineKind::kOther;
        uint32_t id = 0;
        int channels = 0;
        std::map<tMixerControlKind, uint32_t> controls;
    };
    struct Destination {
        Line line;
        std::vector<Line> sources;
    };
    struct Failure {
        MixerCall call;
        int code;
        int times;
        uint32_t onlyId;
    };

    SoundCardLayout layout;
    std::vector<Destination> destinations;
    std::map<uint32_t, Control> controls;
    std::vector<platform::MixerChangeRelay*> handles;
    std::vector<Failure> failures;
    int setCalls = 0;
    EmulatedSoundCard::WriteObserver observer;

    // Identifiers are spread out so that a slot index or a line identifier
    // mistaken for a control identifier finds nothing.
    uint32_t nextLineId = 0x100;
    uint32_t nextControlId = 0x5000;

    Line Build(const EmulatedLine& shape) {
        Line line;
        line.kind = shape.kind;
        line.id = nextLineId++;
        line.channels = shape.channels;
        for (const EmulatedControl& c : shape.controls) {
            Control control;
            control.shape = c;
            control.channels = c.uniform ? 1 : std::max(1, shape.channels);
            int32_t start = c.initial.value_or(c.kind == tMixerControlKind::kMute ? c.minimum
                                                                               : c.minimum + (c.maximum - c.minimum) / 2);
            control.values.assign(static_cast<size_t>(control.channels), start);
            uint32_t id = nextControlId;
            nextControlId += 0x11;
            controls[id] = control;
            line.controls[c.kind] = id;
        }
        return line;
    }

    explicit State(SoundCardLayout l) : layout(std::move(l)) {
        for (const EmulatedDestination& d : layout.destinations) {
            Destination dest;
            dest.line = Build(d.line);
            for (const EmulatedLine& s : d.sources) dest.sources.push_back(Build(s));
            destinations.push_back(std::move(dest));
        }
    }

    // The code a call answers when a failure is armed for it, else 0.
    int Fail(MixerCall call, uint32_t id) {
        for (auto it = failures.begin(); it != failures.end(); ++it) {
            if (it->call != call || (it->onlyId != 0 && it->onlyId != id)) continue;
            int code = it->code;
            if (it->times > 0 && --it->times == 0) failures.erase(it);
            return code;
        }
        return mmcode::kNoError;
    }

    void NotifyAll(uint32_t id) {
        // A handler may close a handle; walk a copy.
        auto copy = handles;
        for (auto* h : copy) {
            if (std::find(handles.begin(), handles.end(), h) != handles.end()) h->Notify(id);
        }
    }

    const Line* FindLine(uint32_t lineId) const {
        for (const Destination& d : destinations) {
            if (d.line.id == lineId) return &d.line;
            for (const Line& s : d.sources) {
                if (s.id == lineId) return &s;
            }
        }
        return nullptr;
    }

    static const Line* LineOf(const Destination& d, tMixerLineKind kind) {
        if (d.line.kind == kind) return &d.line;
        for (const Line& s : d.sources) {
            if (s.kind == kind) return &s;
        }
        return nullptr;
    }

    // In the first speakers destination.
    const Line* SpeakerLine(tMixerLineKind kind) const {
        for (const Destination& d : destinations) {
            if (d.line.kind == tMixerLineKind::kSpeakers) return LineOf(d, kind);
        }
        return nullptr;
    }

    const Line* LineIn(int destination, tMixerLineKind kind) const {
        if (destination < 0 || destination >= static_cast<int>(destinations.size())) return nullptr;
        return LineOf(destinations[static_cast<size_t>(destination)], kind);
    }

    static uint32_t ControlOf(const Line* line, tMixerControlKind kind) {
        if (!line) return 0;
        auto it = line->controls.find(kind);
        return it == line->controls.end() ? 0 : it->second;
    }
};

// --- one open handle ---

namespace {

platform::tMixerLineInfo Describe(const EmulatedSoundCard::State::Line& line, int connections) {
    platform::tMixerLineInfo info;
    info.lineId = line.id;
    info.kind = line.kind;
    info.channels = line.channels;
    info.connections = connections;
    return info;
}

class EmulatedMixerHandle final : public platform::IMixerDevice {
public:
    EmulatedMixerHandle(std::shared_ptr<EmulatedSoundCard::State> state, platform::IEventPoster& events,
                        platform::tMixerChangeHandler onChange)
        : state_(std::move(state)), relay_(events, std::move(onChange)) {
        state_->handles.push_back(&relay_);
    }
    ~EmulatedMixerHandle() override {
        auto& h = state_->handles;
        h.erase(std::remove(h.begin(), h.end(), &relay_), h.end());
    }

    int DestinationCount() const override { return static_cast<int>(state_->destinations.size()); }

    int GetDestination(int index, platform::tMixerLineInfo& line) override {
        if (index < 0 || index >= DestinationCount()) return mmcode::kInvalidLine;
        const auto& d = state_->destinations[static_cast<size_t>(index)];
        if (int rc = state_->Fail(MixerCall::kGetLineInfo, d.line.id)) return rc;
        line = Describe(d.line, static_cast<int>(d.sources.size()));
        return mmcode::kNoError;
    }

    int GetSource(int destination, int index, platform::tMixerLineInfo& line) override {
        if (destination < 0 || destination >= DestinationCount()) return mmcode::kInvalidLine;
        const auto& d = state_->destinations[static_cast<size_t>(destination)];
        if (index < 0 || index >= static_cast<int>(d.sources.size())) return mmcode::kInvalidLine;
        const auto& s = d.sources[static_cast<size_t>(index)];
        if (int rc = state_->Fail(MixerCall::kGetLineInfo, s.id)) return rc;
        line = Describe(s, 0);
        return mmcode::kNoError;
    }

    int FindControl(uint32_t lineId, tMixerControlKind kind, platform::tMixerControlInfo& control) override {
        const auto* line = state_->FindLine(lineId);
        uint32_t id = EmulatedSoundCard::State::ControlOf(line, kind);
        if (int rc = state_->Fail(MixerCall::kGetLineControls, id)) return rc;
        if (!line) return mmcode::kInvalidLine;
        if (id == 0) return mmcode::kInvalidControl;
        const auto& c = state_->controls.at(id);
        control.controlId = id;
        control.kind = kind;
        control.uniform = c.shape.uniform;
        control.minimum = c.shape.minimum;
        control.maximum = c.shape.maximum;
        return mmcode::kNoError;
    }

    int GetValues(uint32_t controlId, int channels, std::vector<int32_t>& values) override {
        if (int rc = state_->Fail(MixerCall::kGetControlDetails, controlId)) return rc;
        auto it = state_->controls.find(controlId);
        if (it == state_->controls.end()) return mmcode::kInvalidControl;
        const auto& c = it->second;
        if (channels == 1) {
            values.assign(1, c.values[0]);
        } else if (channels == c.channels) {
            values = c.values;
        } else {
            return mmcode::kInvalidParam;
        }
        return mmcode::kNoError;
    }

    int SetValues(uint32_t controlId, const std::vector<int32_t>& values) override {
        ++state_->setCalls;
        if (int rc = state_->Fail(MixerCall::kSetControlDetails, controlId)) return rc;
        auto it = state_->controls.find(controlId);
        if (it == state_->controls.end()) return mmcode::kInvalidControl;
        auto& c = it->second;
        if (values.size() != 1 && static_cast<int>(values.size()) != c.channels) return mmcode::kInvalidParam;
        for (int32_t v : values) {
            if (v < c.shape.minimum || v > c.shape.maximum) return mmcode::kInvalidValue;
        }
        if (state_->observer) state_->observer(controlId, values);
        std::vector<int32_t> next = values.size() == 1 ? std::vector<int32_t>(c.values.size(), values[0]) : values;
        if (next == c.values) return mmcode::kNoError;
        c.values = std::move(next);
        state_->NotifyAll(controlId);
        return mmcode::kNoError;
    }

private:
    std::shared_ptr<EmulatedSoundCard::State> state_;
    platform::MixerChangeRelay relay_;
};

} // namespace

// --- the card ---

EmulatedSoundCard::EmulatedSoundCard(SoundCardLayout layout) : state_(std::make_shared<State>(std::move(layout))) {}

EmulatedSoundCard::~EmulatedSoundCard() = default;

bool EmulatedSoundCard::HasSoundCard() const { return state_->layout.hasPlaybackDevice; }

int EmulatedSoundCard::OpenMixer(int32_t midiDeviceId, platform::IEventPoster& events,
                                 platform::tMixerChangeHandler onChange,
                                 std::unique_ptr<platform::IMixerDevice>& device) {
    device.reset();
    if (int rc = state_->Fail(MixerCall::kOpen, 0)) return rc;
    if (!state_->layout.hasMixer) return mmcode::kBadDeviceId;
    bool known = midiDeviceId == -2 || (midiDeviceId >= -1 && midiDeviceId < state_->layout.midiOutputs);
    if (!known) return mmcode::kBadDeviceId;
    device = std::make_unique<EmulatedMixerHandle>(state_, events, std::move(onChange));
    return mmcode::kNoError;
}

uint32_t EmulatedSoundCard::ControlId(tMixerLineKind line, tMixerControlKind control) const {
    return State::ControlOf(state_->SpeakerLine(line), control);
}

uint32_t EmulatedSoundCard::ControlIdIn(int destination, tMixerLineKind line, tMixerControlKind control) const {
    return State::ControlOf(state_->LineIn(destination, line), control);
}

std::vector<int32_t> EmulatedSoundCard::Values(uint32_t controlId) const {
    auto it = state_->controls.find(controlId);
    return it == state_->controls.end() ? std::vector<int32_t>{} : it->second.values;
}

std::vector<int32_t> EmulatedSoundCard::Values(tMixerLineKind line, tMixerControlKind control) const {
    return Values(ControlId(line, control));
}

int32_t EmulatedSoundCard::Value(tMixerLineKind line, tMixerControlKind control, int channel) const {
    auto v = Values(line, control);
    if (channel < 0 || v.empty()) return 0;
    return v[std::min(static_cast<size_t>(channel), v.size() - 1)];
}

void EmulatedSoundCard::ExternalChange(uint32_t controlId, const std::vector<int32_t>& values) {
    auto it = state_->controls.find(controlId);
    if (it == state_->controls.end() || values.empty()) return;
    auto& c = it->second;
    std::vector<int32_t> next(c.values.size());
    for (size_t i = 0; i < next.size(); ++i) {
        int32_t v = values.size() == 1 ? values[0] : values[std::min(i, values.size() - 1)];
        next[i] = std::clamp(v, c.shape.minimum, c.shape.maximum);
    }
    if (next == c.values) return;
    c.values = std::move(next);
    state_->NotifyAll(controlId);
}

void EmulatedSoundCard::ExternalChange(tMixerLineKind line, tMixerControlKind control,
                                       const std::vector<int32_t>& values) {
    ExternalChange(ControlId(line, control), values);
}

void EmulatedSoundCard::NotifyAll(uint32_t controlId) { state_->NotifyAll(controlId); }

void EmulatedSoundCard::FailNext(MixerCall call, int code, int times, uint32_t onlyId) {
    if (times == 0) return;
    state_->failures.push_back({call, code, times, onlyId});
}

void EmulatedSoundCard::ClearFailures() { state_->failures.clear(); }

void EmulatedSoundCard::ObserveWrites(WriteObserver observer) { state_->observer = std::move(observer); }

int EmulatedSoundCard::SetCalls() const { return state_->setCalls; }

int EmulatedSoundCard::OpenHandles() const { return static_cast<int>(state_->handles.size()); }

} // namespace tunevox::emulator
