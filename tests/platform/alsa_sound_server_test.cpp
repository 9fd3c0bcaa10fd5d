// The ALSA backend on a real sound system: a hardware card where the
// machine has one, else the sound server behind ALSA's default device.
// Under ctest a fixture provides that server (see CMakeLists.txt).

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/alsa_mixer.h"
#include "platform/event_queue.h"

namespace tunevox::platform {
namespace {

bool HardwareCardPlays() { return AlsaAnyCardPlays(AlsaSoundSystem::Cards()); }

// Whether the fixture promised a sound server behind the default device.
// Where it did, and no hardware card takes precedence, a missing device or
// mixer is a fault to report, not a machine without sound to skip.
bool ServerPromised() { return std::getenv("TUNEVOX_SOUND_SERVER") != nullptr && !HardwareCardPlays(); }

#define SKIP_UNLESS_PROMISED(why)                                                           \
    do {                                                                                    \
        if (ServerPromised()) FAIL() << (why) << ", though a sound server should be there"; \
        GTEST_SKIP() << (why);                                                              \
    } while (false)

// What the event loop does: waits on the descriptors, dispatches and runs
// the posted notifications, until `done` holds or a bounded time has passed.
template <typename Done>
bool PumpUntil(AlsaSoundSystem& sound, ManualEventQueue& events, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::vector<pollfd> fds;
        for (AlsaPollDescriptor d : sound.PollDescriptors()) fds.push_back({d.fd, d.events, 0});
        poll(fds.data(), fds.size(), 100);
        sound.Dispatch();
        events.Drain();
    }
    return true;
}

TEST(AlsaCard, WithOnlyASoundServerItsDefaultMixerIsDeviceZero) {
    if (!AlsaSoundSystem::Cards().empty()) GTEST_SKIP() << "this machine has a hardware sound card";
    const AlsaDefaultSummary d = AlsaSoundSystem::DefaultDevice();
    if (!AlsaChooseDevices({}, d).hasSoundCard) SKIP_UNLESS_PROMISED("no working ALSA default device");
    AlsaSoundSystem sound;
    EXPECT_TRUE(sound.HasSoundCard());
    if (AlsaChooseDevices({}, d).mixerZero.empty()) SKIP_UNLESS_PROMISED("the default device has no usable mixer");
    ManualEventQueue events;
    std::unique_ptr<IMixerDevice> device;
    ASSERT_EQ(sound.OpenMixer(-2, events, [](uint32_t) {}, device), mmcode::kNoError);
    tMixerLineInfo speakers;
    ASSERT_EQ(device->GetDestination(0, speakers), mmcode::kNoError);
    EXPECT_EQ(speakers.kind, tMixerLineKind::kSpeakers);
    EXPECT_NE(sound.OpenMixer(0, events, [](uint32_t) {}, device), mmcode::kNoError); // no MIDI port
}

// Puts a control back as it was, whatever the test did.
struct Restore {
    IMixerDevice& device;
    uint32_t id;
    std::vector<int32_t> values;
    ~Restore() { device.SetValues(id, values); }
};

TEST(AlsaCard, WritesReadBackAndReportsTheChangeThroughThePollDescriptors) {
    AlsaSoundSystem sound;
    if (!sound.HasSoundCard()) SKIP_UNLESS_PROMISED("no ALSA sound card with a playback device");
    ManualEventQueue events;
    std::vector<uint32_t> seen;
    std::unique_ptr<IMixerDevice> device;
    int rc = sound.OpenMixer(-2, events, [&](uint32_t id) { seen.push_back(id); }, device);
    if (rc != mmcode::kNoError) SKIP_UNLESS_PROMISED("the sound card's mixer cannot be opened");
    tMixerLineInfo speakers;
    tMixerControlInfo volume;
    if (device->DestinationCount() < 1 || device->GetDestination(0, speakers) != mmcode::kNoError ||
        device->FindControl(speakers.lineId, tMixerControlKind::kVolume, volume) != mmcode::kNoError) {
        SKIP_UNLESS_PROMISED("the mixer has no master volume");
    }
    EXPECT_EQ(speakers.kind, tMixerLineKind::kSpeakers);
    EXPECT_EQ(volume.minimum, 0);
    EXPECT_EQ(volume.maximum, kAlsaUserMax);
    ASSERT_FALSE(sound.PollDescriptors().empty());

    const int channels = volume.uniform ? 1 : speakers.channels;
    auto all = [&](int32_t v) { return std::vector<int32_t>(static_cast<size_t>(channels), v); };
    std::vector<int32_t> before;
    ASSERT_EQ(device->GetValues(volume.controlId, channels, before), mmcode::kNoError);
    Restore restore{*device, volume.controlId, before};
    const int32_t target = before[0] > 32767 ? 16384 : 49152;
    ASSERT_EQ(device->SetValues(volume.controlId, {target}), mmcode::kNoError);
    EXPECT_TRUE(seen.empty()); // never from inside the write

    std::vector<int32_t> after;
    ASSERT_EQ(device->GetValues(volume.controlId, channels, after), mmcode::kNoError);
    EXPECT_EQ(after, all(target)); // read back as written
    EXPECT_EQ(device->SetValues(volume.controlId, {kAlsaUserMax + 1}), mmcode::kInvalidValue);

    // Every handle hears of a write, the writer's own included, once, also
    // where a sound server's plugin reports only other clients' changes.
    ASSERT_TRUE(PumpUntil(sound, events, [&] { return !seen.empty(); })) << "our own write was not reported";
    EXPECT_EQ(seen, std::vector<uint32_t>{volume.controlId});
    seen.clear();

    // Another program turns the volume right down (0 reads back exactly on
    // any device range). It opens the mixer on a sound system of its own:
    // its own connection to the card or the server.
    AlsaSoundSystem otherProgram;
    ManualEventQueue otherEvents;
    std::unique_ptr<IMixerDevice> other;
    ASSERT_EQ(otherProgram.OpenMixer(-2, otherEvents, [](uint32_t) {}, other), mmcode::kNoError);
    tMixerControlInfo otherVolume;
    ASSERT_EQ(other->FindControl(speakers.lineId, tMixerControlKind::kVolume, otherVolume), mmcode::kNoError);
    ASSERT_EQ(other->SetValues(otherVolume.controlId, {0}), mmcode::kNoError);

    auto heard = [&] { return std::find(seen.begin(), seen.end(), volume.controlId) != seen.end(); };
    ASSERT_TRUE(PumpUntil(sound, events, heard)) << "the other program's change was not reported";
    // Only the control whose value changed: not the mute on the same element.
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [&](uint32_t id) { return id == volume.controlId; }));
    ASSERT_EQ(device->GetValues(volume.controlId, channels, after), mmcode::kNoError);
    EXPECT_EQ(after, all(0));
}

} // namespace
} // namespace tunevox::platform
