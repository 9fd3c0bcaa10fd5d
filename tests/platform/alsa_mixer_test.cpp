#include "platform/alsa_mixer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "platform/event_queue.h"

namespace tunevox::platform {
namespace {

// --- value conversion ---

TEST(AlsaConversion, RangeEndsMapToTheFullScaleAndEveryRawStepSurvivesARoundTrip) {
    struct Range {
        long min, max;
    };
    for (Range r : {Range{0, 31}, Range{0, 255}, Range{-10239, 400}, Range{0, 1}, Range{0, 87}}) {
        EXPECT_EQ(AlsaRawToUser(r.min, r.min, r.max), 0);
        EXPECT_EQ(AlsaRawToUser(r.max, r.min, r.max), kAlsaUserMax);
        EXPECT_EQ(AlsaUserToRaw(0, r.min, r.max), r.min);
        EXPECT_EQ(AlsaUserToRaw(kAlsaUserMax, r.min, r.max), r.max);
        for (long raw = r.min; raw <= r.max; ++raw) {
            ASSERT_EQ(AlsaUserToRaw(AlsaRawToUser(raw, r.min, r.max), r.min, r.max), raw) << r.min << ".." << r.max;
        }
    }
    // Values from the scale land on the nearest raw step.
    EXPECT_EQ(AlsaUserToRaw(32767, 0, 31), 15);
    EXPECT_EQ(AlsaUserToRaw(32768, 0, 31), 16);
}

TEST(AlsaConversion, OutOfRangeAndDegenerateInputsStayInRange) {
    EXPECT_EQ(AlsaRawToUser(-5, 0, 31), 0);
    EXPECT_EQ(AlsaRawToUser(40, 0, 31), kAlsaUserMax);
    EXPECT_EQ(AlsaUserToRaw(-1, 0, 31), 0);
    EXPECT_EQ(AlsaUserToRaw(70000, 0, 31), 31);
    EXPECT_EQ(AlsaRawToUser(7, 7, 7), 0); // a range of one value
    EXPECT_EQ(AlsaUserToRaw(65535, 7, 7), 7);
    EXPECT_EQ(AlsaRawToUser(0, 10, 0), 0); // an inverted range from a broken driver
}

// --- which card is which device ---

TEST(AlsaDevices, DeviceZeroIsTheCardCarryingTheLineInput) {
    using S = AlsaCardSummary;
    // An HDMI output first, the analogue card with its line input second.
    std::vector<S> cards = {S{0, false, false, 0}, S{1, true, true, 0}, S{2, false, true, 0}};
    EXPECT_EQ(AlsaMixerDeviceOrder(cards), (std::vector<int>{1, 0, 2}));
    // No line input anywhere: the first card that records.
    cards[1].hasLine = false;
    EXPECT_EQ(AlsaMixerDeviceOrder(cards), (std::vector<int>{1, 0, 2}));
    cards[1].hasCapture = false;
    EXPECT_EQ(AlsaMixerDeviceOrder(cards), (std::vector<int>{2, 0, 1}));
    // Nothing of either: the first card.
    cards[2].hasCapture = false;
    EXPECT_EQ(AlsaMixerDeviceOrder(cards), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(AlsaMixerDeviceOrder({}).empty());
}

TEST(AlsaDevices, MidiDevicesCountOverTheCardsInOrder) {
    using S = AlsaCardSummary;
    std::vector<S> cards = {S{0, false, false, 2}, S{3, true, false, 0}, S{4, false, false, 1}};
    EXPECT_EQ(AlsaCardForMidiDevice(cards, -2), 3);
    EXPECT_EQ(AlsaCardForMidiDevice(cards, -1), 3);
    EXPECT_EQ(AlsaCardForMidiDevice(cards, 0), 0);
    EXPECT_EQ(AlsaCardForMidiDevice(cards, 1), 0);
    EXPECT_EQ(AlsaCardForMidiDevice(cards, 2), 4);
    EXPECT_EQ(AlsaCardForMidiDevice(cards, 3), -1);
    EXPECT_EQ(AlsaCardForMidiDevice(cards, -3), -1);
    EXPECT_EQ(AlsaCardForMidiDevice({}, -2), -1);
}

TEST(AlsaDevices, AHardwareCardThatPlaysIsTheSoundCardWhateverTheDefaultDeviceOffers) {
    using S = AlsaCardSummary;
    // HDMI first, the analogue card with the line input second; a sound
    // server runs as well, and its default device works.
    std::vector<S> cards = {S{0, false, false, 0, true}, S{1, true, true, 1, true}};
    AlsaDefaultSummary server{true, true, {"Master", "Capture"}};
    for (const AlsaDefaultSummary& d : {server, AlsaDefaultSummary{}}) {
        AlsaDeviceChoice c = AlsaChooseDevices(cards, d);
        EXPECT_TRUE(c.hasSoundCard);
        EXPECT_EQ(c.mixerZero, "hw:1");
        EXPECT_EQ(AlsaMixerForMidiDevice(cards, d, -2), "hw:1");
        EXPECT_EQ(AlsaMixerForMidiDevice(cards, d, -1), "hw:1");
        EXPECT_EQ(AlsaMixerForMidiDevice(cards, d, 0), "hw:1");
        EXPECT_EQ(AlsaMixerForMidiDevice(cards, d, 1), "");
    }
    EXPECT_TRUE(AlsaAnyCardPlays(cards));
}

TEST(AlsaDevices, WithoutAPlayingCardAWorkingDefaultDeviceIsTheSoundCard) {
    using S = AlsaCardSummary;
    using D = AlsaDefaultSummary;
    const std::vector<S> none;
    // PipeWire or PulseAudio alone: the server's mixer is device 0.
    AlsaDeviceChoice c = AlsaChooseDevices(none, D{true, true, {"Master", "Capture"}});
    EXPECT_TRUE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "default");
    EXPECT_EQ(AlsaMixerForMidiDevice(none, D{true, true, {"Master"}}, -2), "default");
    EXPECT_EQ(AlsaMixerForMidiDevice(none, D{true, true, {"Master"}}, -1), "default");
    EXPECT_EQ(AlsaMixerForMidiDevice(none, D{true, true, {"Master"}}, 0), ""); // no MIDI ports anywhere

    // Playback without a mixer: a sound card, but no mixer device.
    c = AlsaChooseDevices(none, D{true, false, {}});
    EXPECT_TRUE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "");
    // A mixer with a master but no playback device open (busy elsewhere)
    // still tells that the server is there.
    c = AlsaChooseDevices(none, D{false, true, {"Front"}});
    EXPECT_TRUE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "default");
    // A mixer that attaches but has nothing to play through is no sound card.
    c = AlsaChooseDevices(none, D{false, true, {"Capture"}});
    EXPECT_FALSE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "");
    // Neither: no sound card, and no mixer to open.
    c = AlsaChooseDevices(none, D{});
    EXPECT_FALSE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "");

    // A card that does not play (a MIDI interface) next to a working server:
    // the server plays and mixes, the card still serves its MIDI port.
    const std::vector<S> midiOnly = {S{2, false, false, 1, false}};
    c = AlsaChooseDevices(midiOnly, D{true, true, {"Master"}});
    EXPECT_TRUE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "default");
    EXPECT_EQ(AlsaMixerForMidiDevice(midiOnly, D{true, true, {"Master"}}, 0), "hw:2");
    // Without the server, as before: no sound card, the card's mixer is device 0.
    c = AlsaChooseDevices(midiOnly, D{});
    EXPECT_FALSE(c.hasSoundCard);
    EXPECT_EQ(c.mixerZero, "hw:2");
}

TEST(AlsaDevices, ErrorNumbersBecomeResultCodes) {
    EXPECT_EQ(AlsaErrorToCode(-ENOENT), mmcode::kBadDeviceId);
    // A failure is never reported as success.
    for (int e = 1; e < 140; ++e) EXPECT_NE(AlsaErrorToCode(-e), mmcode::kNoError) << e;
}

// --- a real card, where there is one ---
// (Those that need a sound server are in alsa_sound_server_test.cpp.)

TEST(AlsaCard, WithoutACardOpeningFailsWithACode) {
    AlsaSoundSystem sound;
    if (!AlsaSoundSystem::Cards().empty()) GTEST_SKIP() << "this machine has a sound card";
    if (AlsaChooseDevices({}, AlsaSoundSystem::DefaultDevice()).hasSoundCard) {
        GTEST_SKIP() << "this machine plays through ALSA's default device";
    }
    ManualEventQueue events;
    std::unique_ptr<IMixerDevice> device;
    EXPECT_FALSE(sound.HasSoundCard());
    EXPECT_NE(sound.OpenMixer(-2, events, [](uint32_t) {}, device), mmcode::kNoError);
    EXPECT_EQ(device, nullptr);
    EXPECT_TRUE(sound.PollDescriptors().empty());
    sound.Dispatch();
}

} // namespace
} // namespace tunevox::platform
