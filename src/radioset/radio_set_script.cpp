// TRadioSet: the internal script and programming mode. Once a second the
// clock tick looks for the action of the current minute and performs it
// on the radio, once; a script ends itself after its last minute.

#include "radioset/radio_set.h"

#include "platform/tone.h"
#include "radio/radio_card.h"

#include <algorithm>
#include <cmath>

namespace tunevox::radioset {

using radio::bAM;
using radio::bFM;

std::string TRadioSet::ScriptHint() const {
    switch (scriptSource_) {
    case eScriptSource::Empty: return "Programming mode on/off (empty)";
    case eScriptSource::Internal: return "Programming mode on/off (internal)";
    case eScriptSource::File: return "Programming mode on/off (" + scriptFile_ + ")";
    }
    return {};
}

void TRadioSet::TakeScript(script::tScript taken) {
    script_ = std::move(taken);
    scriptSource_ = eScriptSource::Internal;
    SetProgramming(true);
}

script::tScriptResult TRadioSet::LoadScript(const std::string& path) {
    SetProgramming(false);
    script::tScript loaded;
    const script::tScriptResult result = script::ReadScriptFile(path, loaded);
    if (result != script::srOk) return result;
    script_ = std::move(loaded);
    scriptFile_ = path;
    scriptSource_ = eScriptSource::File;
    SetProgramming(true);
    return result;
}

void TRadioSet::RunScript(const tTimeOfDay& now) {
    if (!programming_ || script_.actions.empty()) return;
    const std::string key = script::TimeKey(script::MakeMinute(now.hour, now.minute));
    if (key > script_.actions.back()->Key()) {
        // The script is over; an empty one never ends by itself.
        SetProgramming(false);
        return;
    }
    const script::zAction* action = script::FindAction(script_.actions, key);
    // The tick comes sixty times within a minute; the action runs once.
    if (!action || key == lastRunKey_) return;
    lastRunKey_ = key;
    PerformAction(*action);
}

void TRadioSet::PerformAction(const script::zAction& action) {
    switch (action.kind) {
    case script::akMuteOn:
        muteState_ = true;
        card_.MuteOn();
        ShowMute();
        PublishCommands();
        break;
    case script::akMuteOff:
        muteState_ = false;
        card_.MuteOff();
        ShowMute();
        PublishCommands();
        break;
    case script::akBeep: {
        const auto& beep = static_cast<const script::zBeep&>(action);
        beepRun_ = {beep.count, beep.frequency, beep.duration, 1};
        timers_[tmBeeper]->Start(1000);
        break;
    }
    case script::akVolume: {
        // Levels are twentieths of the card's full volume, on its own steps,
        // as the volume slider would set them.
        const int level = std::clamp(static_cast<const script::zVolume&>(action).level, 0, 20);
        const int max = card_.MaxVolume();
        const int step = std::max(1, static_cast<int>(card_.VolumeStep()));
        const int volume = static_cast<int>(std::lround(double(level) * max / 20.0 / step)) * step;
        SetVolume(std::clamp(volume, 0, max));
        break;
    }
    case script::akJumpTo: {
        const auto& jump = static_cast<const script::zJumpTo&>(action);
        GoToFrequency(jump.band == bAM ? bAM : bFM, false, jump.frequency);
        ApplyStereoChoice(jump.stereo);
        break;
    }
    case script::akPreset: {
        const auto& preset = static_cast<const script::zPreset&>(action);
        if (preset.number < 1 || preset.number > kFavoriteCount || !favorites_[preset.number].Used) break;
        SelectFavorite(preset.number, true);
        ApplyStereoChoice(preset.stereo);
        break;
    }
    case script::akOff:
        card_.MuteOn();
        if (view_) view_->CloseRequested();
        break;
    default:
        break;
    }
}

// Through the stereo toggle, which hands the wish to the card and tunes
// again; a card without a stereo switch keeps the wish it had.
void TRadioSet::ApplyStereoChoice(bool stereo) {
    if (!card_.Caps().HasStereo) return;
    stereoWanted_ = !stereo;
    ToggleStereo();
}

void TRadioSet::BeeperTick() {
    if (programming_ && beepRun_.index <= beepRun_.count) {
        if (options_.tone) options_.tone->Beep(beepRun_.frequency, beepRun_.duration);
        ++beepRun_.index;
    } else {
        timers_[tmBeeper]->Stop();
    }
}

} // namespace tunevox::radioset
