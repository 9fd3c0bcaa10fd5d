#include "mixer_rig_fixture.h"

#include <gtest/gtest.h>

namespace tunevox::radio::test {

MixerCardRig::MixerCardRig(emulator::SoundCardLayout layout,
                           const std::function<void(emulator::EmulatedSoundCard&)>& prepare)
    : sound(std::make_unique<emulator::EmulatedSoundCard>(std::move(layout))) {
    if (prepare) prepare(*sound);
    sound->ObserveWrites([this](uint32_t id, const std::vector<int32_t>& values) {
        ports.log.push_back({'M', static_cast<uint16_t>(id & 0xFFFF), static_cast<uint32_t>(values.at(0))});
    });
    Build();
}

MixerCardRig::MixerCardRig(NoSoundSystem) { Build(); }

MixerCardRig::~MixerCardRig() {
    card.reset();
    if (sound) sound->ObserveWrites(nullptr);
}

void MixerCardRig::Build() {
    TRadioCardEnvironment env;
    env.portIO = &ports;
    env.sleeper = &ports;
    env.comPorts = &comPorts;
    env.sound = sound.get();
    env.events = &events;
    card = std::make_unique<TRadioCard>(env);
    card->OnMixerChange = [this](TRadioCard& sender, int volume, bool mute) {
        EXPECT_EQ(&sender, card.get());
        changes.push_back({volume, mute});
    };
}

TRadioCard& MixerCardRig::Open(tModel model, tVolumeLine line, int port) {
    card->SetModel(model);
    card->SetPort(port);
    card->SetVolumeLine(line);
    card->Open();
    events.Drain();
    Forget();
    return *card;
}

std::vector<Op> MixerCardRig::MixerWrites() const {
    std::vector<Op> m;
    for (const Op& op : ports.log) {
        if (op.kind == 'M') m.push_back(op);
    }
    return m;
}

void MixerCardRig::Forget() {
    ports.Clear();
    changes.clear();
}

LineKind MixerLineOf(tVolumeLine line) {
    switch (line) {
    case vlMicIn: return LineKind::kMicrophone;
    case vlCd: return LineKind::kCompactDisc;
    default: return LineKind::kLine;
    }
}

} // namespace tunevox::radio::test
