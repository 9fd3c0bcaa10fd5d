// The actions, their comparison, and the runner's search.

#include "script/script.h"

#include "radio/frequency.h"
#include "script/blank_text.h"

#include <algorithm>

namespace tunevox::script {

namespace {

using detail::TrimBlanks;

template <class T>
const T* As(const zAction& other) {
    return dynamic_cast<const T*>(&other);
}

} // namespace

std::string TimeKey(tMinute m) {
    m = std::clamp(m, 0, kLastMinute);
    const int hour = HourOf(m), minute = MinuteOf(m);
    return {char('0' + hour / 10), char('0' + hour % 10), char('0' + minute / 10), char('0' + minute % 10)};
}

bool zBeep::SameAs(const zAction& other) const {
    const auto* o = As<zBeep>(other);
    return o && zAction::SameAs(other) && count == o->count && frequency == o->frequency && duration == o->duration;
}

bool zVolume::SameAs(const zAction& other) const {
    const auto* o = As<zVolume>(other);
    return o && zAction::SameAs(other) && level == o->level;
}

bool zJumpTo::SameAs(const zAction& other) const {
    // To the kHz, as the program compares frequencies everywhere.
    const auto* o = As<zJumpTo>(other);
    return o && zAction::SameAs(other) && band == o->band && stereo == o->stereo &&
           radio::FrequencyText(frequency) == radio::FrequencyText(o->frequency);
}

bool zPreset::SameAs(const zAction& other) const {
    const auto* o = As<zPreset>(other);
    return o && zAction::SameAs(other) && number == o->number && stereo == o->stereo;
}

std::unique_ptr<zAction> CreateAction(tActionKind kind, tMinute time, const tActionDefaults& defaults) {
    switch (kind) {
    case akMuteOn: return std::make_unique<zMuteOn>(time);
    case akMuteOff: return std::make_unique<zMuteOff>(time);
    case akOff: return std::make_unique<zOff>(time);
    case akBeep: return std::make_unique<zBeep>(time);
    case akVolume: return std::make_unique<zVolume>(time);
    case akJumpTo: {
        auto jump = std::make_unique<zJumpTo>(time);
        jump->band = defaults.band == radio::bAM ? radio::bAM : radio::bFM;
        // The band's lowest frequency; on FM the Japanese band's, which
        // every FM card can be set to.
        jump->frequency = jump->band == radio::bAM ? radio::kAMLower : radio::kJapaneseFMLower;
        jump->stereo = defaults.stereo;
        return jump;
    }
    case akPreset: {
        auto preset = std::make_unique<zPreset>(time);
        preset->number = defaults.favorite;
        preset->stereo = defaults.stereo;
        return preset;
    }
    case akNone: break;
    }
    return nullptr;
}

const char* ActionName(tActionKind kind) {
    switch (kind) {
    case akMuteOn: return "Mute on";
    case akMuteOff: return "Mute off";
    case akBeep: return "Beep";
    case akVolume: return "Volume";
    case akJumpTo: return "Jump to";
    case akPreset: return "Preset";
    case akOff: return "Off";
    case akNone: break;
    }
    return "";
}

tActions CopyActions(const tActions& actions) {
    tActions copy;
    copy.reserve(actions.size());
    for (const auto& action : actions) copy.push_back(action ? action->Clone() : nullptr);
    return copy;
}

bool SameScript(const std::string& titleA, const tActions& a, const std::string& titleB, const tActions& b) {
    if (TrimBlanks(titleA) != TrimBlanks(titleB) || a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (!a[i] || !b[i]) {
            if (a[i] || b[i]) return false;
            continue;
        }
        // Both ways: a derived SameAs also checks that the other is of its
        // class, the base one only compares kind and time.
        if (!a[i]->SameAs(*b[i]) || !b[i]->SameAs(*a[i])) return false;
    }
    return true;
}

const zAction* FindAction(const tActions& actions, std::string_view key) {
    // Halving on the keys, as the runner always has: of two actions at one
    // minute it meets one and runs that one.
    long low = 1, high = static_cast<long>(actions.size());
    while (high >= low) {
        const long middle = (low + high) / 2;
        const zAction* action = actions[static_cast<size_t>(middle - 1)].get();
        if (!action) return nullptr;
        const std::string middleKey = action->Key();
        if (key == middleKey) return action;
        if (key > middleKey)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return nullptr;
}

} // namespace tunevox::script
