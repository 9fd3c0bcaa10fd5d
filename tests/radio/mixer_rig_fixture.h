#pragma once
// A card wired to the emulated sound card as well as to a recording port
// bus. Mixer writes are entered in the port log as 'M' operations (port =
// low half of the control identifier, value = the first channel), so tests
// can check the order of card and mixer writes.

#include <functional>
#include <memory>
#include <vector>

#include "card_fixture.h"
#include "emulator/emulated_sound_card.h"
#include "platform/event_queue.h"

namespace tunevox::radio::test {

using LineKind = platform::tMixerLineKind;
using ControlKind = platform::tMixerControlKind;

struct MixerChange {
    int volume;
    bool mute;
    bool operator==(const MixerChange&) const = default;
};

struct MixerCardRig {
    RecordingPorts ports;
    platform::ComPortMap comPorts;
    platform::ManualEventQueue events;
    std::unique_ptr<emulator::EmulatedSoundCard> sound; // null: no sound system at all
    std::unique_ptr<TRadioCard> card;
    std::vector<MixerChange> changes; // OnMixerChange calls

    // `prepare` runs on the sound card before the radio card is created
    // (to arm a failure of the mixer's opening, say).
    explicit MixerCardRig(emulator::SoundCardLayout layout = emulator::SoundCardLayout::Standard(),
                          const std::function<void(emulator::EmulatedSoundCard&)>& prepare = {});
    struct NoSoundSystem {};
    explicit MixerCardRig(NoSoundSystem);
    ~MixerCardRig();

    // Selects the model on a port index and the volume line, opens the card,
    // runs the notifications that caused, then forgets logs and changes.
    TRadioCard& Open(tModel model, tVolumeLine line, int port = 1);

    // The emulated mixer's control on the speakers destination.
    uint32_t Id(LineKind line, ControlKind control) const { return sound->ControlId(line, control); }
    std::vector<int32_t> Values(LineKind line, ControlKind control) const { return sound->Values(line, control); }
    // Mixer writes in the log, in order.
    std::vector<Op> MixerWrites() const;
    void Forget();

private:
    void Build();
};

// The mixer line behind each volume line.
LineKind MixerLineOf(tVolumeLine line);

} // namespace tunevox::radio::test
