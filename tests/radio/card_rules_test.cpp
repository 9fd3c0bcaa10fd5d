// The model, port, band and volume-line rules the card enforces for every
// family, checked on a recording port bus.

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

#include "card_fixture.h"
#include "radio/frequency.h"

namespace tunevox::radio {
namespace {

using test::CardRig;

TEST(CardCreation, FreshCardHasTheDocumentedValues) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    EXPECT_EQ(c.Model(), mRA300);
    EXPECT_EQ(c.Port(), 2);
    EXPECT_EQ(c.Caps().PortValue, 0x20C);
    EXPECT_EQ(c.Band(), bFM);
    EXPECT_EQ(c.VolumeLine(), vlNative);
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_FALSE(c.Active());
    EXPECT_FALSE(c.Stereo());
    EXPECT_FALSE(c.MuteOnExit());
    EXPECT_FALSE(c.Muted());
    EXPECT_DOUBLE_EQ(c.LastFMFrequency(), 87.0);
    EXPECT_DOUBLE_EQ(c.LastAMFrequency(), 0.531);
    EXPECT_FALSE(c.HasSoundCard());
    EXPECT_EQ(TRadioCard::ModelCount(), 9);
    // The ninth is named by its device node instead of a port, and until
    // the device opens and answers, it is an FM receiver.
    const tDevCap device = c.GetCaps(mV4L2);
    EXPECT_EQ(device.DevMaker, "Linux");
    EXPECT_EQ(device.DevName, "radio device (V4L2)");
    EXPECT_EQ(device.PortKind, kDeviceNode);
    EXPECT_EQ(device.PortCount, 0);
    EXPECT_TRUE(device.HasFM);
    EXPECT_GT(device.FMStep, 0.0);
    EXPECT_EQ(c.DevicePath(), "/dev/radio0");
    EXPECT_TRUE(rig.ports.log.empty()) << "creating a card touches no port";
}

TEST(ModelSelection, StereoAndJapaneseFMFollowTheModel) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mZoltrix);
    EXPECT_TRUE(c.Stereo()) << "stereo is on by default on a stereo-capable model";
    c.SetModel(mWizard);
    EXPECT_FALSE(c.Stereo());
    c.SetJapaneseFM(true);
    EXPECT_TRUE(c.JapaneseFM());
    c.SetModel(mRadioMan);
    EXPECT_TRUE(c.JapaneseFM()) << "kept on a model that has it";
    c.SetModel(mRA300);
    EXPECT_FALSE(c.JapaneseFM());
    c.SetJapaneseFM(true);
    EXPECT_FALSE(c.JapaneseFM()) << "refused on a model without it";
    c.SetStereo(true);
    EXPECT_FALSE(c.Stereo()) << "refused on a model without stereo";
    EXPECT_EQ(c.Caps().DevName, "RA300");
    EXPECT_EQ(c.Caps().DevMaker, "Reveal");
}

TEST(ModelSelection, EachModelRemembersItsPort) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetPort(1);
    c.SetModel(mRadioTrack);
    EXPECT_EQ(c.Port(), 1) << "PortValue 1 matches no address: the index is kept";
    c.SetPort(2);
    EXPECT_EQ(c.Caps().PortValue, 0x20C);
    EXPECT_EQ(c.GetCaps(mRadioTrack).PortValue, 0x20C);
    c.SetModel(mAztech);
    c.SetPort(1);
    EXPECT_EQ(c.Caps().PortValue, 0x350);
    c.SetModel(mRadioTrack);
    EXPECT_EQ(c.Port(), 2) << "the model's remembered address selects its index again";
    EXPECT_EQ(c.Caps().PortValue, 0x20C);
    c.SetModel(mWizard);
    EXPECT_EQ(c.Port(), 2) << "serial models start on COM2";
}

TEST(PortSelection, RangeAndOpenCardRules) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mRadioTrack);
    EXPECT_THROW(c.SetPort(3), ePortNotFound);
    EXPECT_THROW(c.SetPort(-1), ePortNotFound);
    EXPECT_EQ(c.Port(), 2) << "a refused index changes nothing";
    c.SetModel(mWizard);
    EXPECT_NO_THROW(c.SetPort(8));
    EXPECT_EQ(c.Caps().PortValue, 8);
    EXPECT_THROW(c.SetPort(9), ePortNotFound);

    c.SetModel(mRadioTrack);
    c.SetPort(1);
    c.Open();
    EXPECT_THROW(c.SetModel(mAztech), eCantSetup);
    EXPECT_THROW(c.SetPort(2), eCantSetup);
    EXPECT_EQ(c.Model(), mRadioTrack);
    EXPECT_EQ(c.Port(), 1);
    // Typed errors, told apart by class and carrying no text.
    try {
        c.SetPort(2);
        FAIL();
    } catch (const eRadioCardError& e) {
        EXPECT_STREQ(e.what(), "");
        EXPECT_EQ(dynamic_cast<const ePortNotFound*>(&e), nullptr);
    }
}

TEST(PortSelection, PortZeroSendsNothingAndReportsNothing) {
    for (tModel m : {mRadioTrack, mZoltrix, mAztech, mWizard}) {
        CardRig rig;
        TRadioCard& c = *rig.card;
        c.SetModel(m);
        c.SetPort(0);
        c.SetVolumeLine(vlNative);
        c.Open();
        c.TuneTo(true, bFM, 99.0);
        c.MuteOn();
        c.MuteOff();
        c.ApplyVolume(200);
        c.VolumeUp();
        c.VolumeDown();
        c.VolumeToZero();
        EXPECT_EQ(c.TunedStatus(0), 0);
        c.Close();
        EXPECT_TRUE(rig.ports.log.empty()) << "model " << m << ": " << test::ToString(rig.ports.log);
        EXPECT_EQ(FrequencyText(108, 87, c.Frequency()), "099.000") << "the frequency is still snapped and kept";
    }
}

TEST(BandSwitch, IgnoresBandsTheModelLacks) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRadionMaru, 0);
    c.SetBand(bAM);
    EXPECT_EQ(c.Band(), bFM) << "an AM step but no AM band";
    c.TuneTo(false, bAM, 0.540);
    EXPECT_EQ(c.Band(), bFM);
    EXPECT_DOUBLE_EQ(c.LastAMFrequency(), 0.531);
}

TEST(BandSwitch, RetunesTheLastFrequencyOfTheBand) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRajikoma, 0);
    c.TuneTo(false, bFM, 98.7);
    c.SetBand(bAM);
    EXPECT_EQ(c.Band(), bAM);
    EXPECT_EQ(FrequencyText(1.62, 0.531, c.Frequency()), "000.531");
    c.TuneTo(false, bAM, 1.0);
    c.SetBand(bFM);
    EXPECT_EQ(FrequencyText(108, 87, c.Frequency()), "098.700");
    c.SetBand(bAM);
    EXPECT_EQ(FrequencyText(1.62, 0.531, c.Frequency()), "000.999");
    EXPECT_EQ(c.TunedStatus(0), 0) << "nothing is measured in the AM band";
}

TEST(Tuning, ClampsToTheBandOfTheModel) {
    CardRig rig;
    TRadioCard& c = rig.Open(mAztech, 0);
    c.TuneTo(true, bFM, 120.0);
    EXPECT_DOUBLE_EQ(c.Frequency(), 108.0);
    c.Close();
    c.SetModel(mWizard);
    c.SetJapaneseFM(true);
    c.SetPort(0);
    c.Open();
    c.TuneTo(false, bFM, 120.0);
    EXPECT_DOUBLE_EQ(c.Frequency(), 91.0);
    c.TuneTo(false, bFM, 70.0);
    EXPECT_DOUBLE_EQ(c.Frequency(), 76.0);
    EXPECT_DOUBLE_EQ(c.MinFrequency(), 76.0);
    EXPECT_DOUBLE_EQ(c.MaxFrequency(), 91.0);
    EXPECT_DOUBLE_EQ(c.FrequencyStep(), 0.05);
}

TEST(Tuning, ClosedCardLosesTheRequest) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mRadioTrack);
    c.SetFrequency(99.0);
    EXPECT_DOUBLE_EQ(c.Frequency(), 0.0);
    EXPECT_DOUBLE_EQ(c.LastFMFrequency(), 87.0);
    EXPECT_EQ(c.TunedStatus(0), 0);
    EXPECT_TRUE(rig.ports.log.empty());
}

TEST(VolumeLine, NativeSnapsTheVolumeAndSetsThePath) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mRadioTrack);
    c.StoreVolume(100);
    c.SetVolumeLine(vlNative);
    EXPECT_EQ(c.Volume(), 96);
    EXPECT_EQ(c.MaxVolume(), 256);
    EXPECT_EQ(c.VolumeStep(), 16);
    c.SetVolumeLine(vlNone);
    EXPECT_EQ(c.MaxVolume(), 0);
    EXPECT_EQ(c.VolumeStep(), 0);
    c.SetVolumeLine(vlLineIn);
    EXPECT_EQ(c.MaxVolume(), 256);
    EXPECT_EQ(c.VolumeStep(), 1);
    EXPECT_EQ(c.Volume(), 96);
    EXPECT_TRUE(rig.ports.log.empty()) << "assigning a line sends nothing";
}

TEST(VolumeLine, SerialRadiosHaveNoVolumeButMute) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mWizard);
    c.SetVolumeLine(vlNative);
    EXPECT_EQ(c.MaxVolume(), 0);
    EXPECT_TRUE(c.CanControlAudio());
    c.SetMuteOnExit(false);
    EXPECT_TRUE(c.MuteOnExit()) << "forced on for the serial radios";
}

TEST(VolumeLine, MutedStartupNeedsAMute) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mAztech);
    c.SetMutedStartup(true);
    EXPECT_TRUE(c.MutedStartup());
    EXPECT_TRUE(c.Muted());
    EXPECT_TRUE(c.StartMuted());
    c.SetMutedStartup(false);
    EXPECT_FALSE(c.Muted());
}

TEST(AudioOperations, DoNothingWhileClosed) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mAztech);
    c.SetPort(1);
    c.SetVolumeLine(vlNative);
    c.ApplyVolume(168);
    c.VolumeUp();
    c.MuteOn();
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_TRUE(rig.ports.log.empty());
}

// A volume from a configuration file may be anything; it enters the card
// clamped to 0..256, so no sequence holds a key for minutes.
TEST(VolumeLine, AVolumeEnteringTheCardIsClamped) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.StoreVolume(100000);
    EXPECT_EQ(c.Volume(), 256);
    c.StoreVolume(-40);
    EXPECT_EQ(c.Volume(), 0);

    c.SetModel(mRadioTrack);
    c.SetPort(1);
    c.StoreVolume(100000);
    c.SetVolumeLine(vlNative);
    EXPECT_EQ(c.Volume(), 256);
    c.Open();
    rig.ports.Clear();
    c.ApplyVolume(0);
    EXPECT_EQ(rig.ports.WaitedMs(), 2000u) << "16 steps of 125 ms at most: " << test::ToString(rig.ports.log);
    EXPECT_EQ(c.Volume(), 0);
    c.Close();

    c.SetModel(mAztech);
    c.SetPort(1);
    c.SetVolumeLine(vlNative);
    c.StoreVolume(5000);
    c.SetVolumeLine(vlNative);
    EXPECT_EQ(c.Volume(), 252) << "clamped, then snapped to the card's step";
}

// StartMuted (the card opens muted) ends with the first unmute or volume
// down, on every family that has them.
TEST(AudioOperations, UnmuteAndVolumeDownClearStartMuted) {
    for (tModel m : {mRadioTrack, mRA300, mZoltrix, mAztech}) {
        SCOPED_TRACE(m);
        for (int op = 0; op < 2; ++op) {
            CardRig rig;
            TRadioCard& c = *rig.card;
            c.SetModel(m);
            c.SetPort(1);
            c.SetVolumeLine(vlNative);
            c.StoreVolume(168);
            c.SetMutedStartup(true);
            c.Open();
            ASSERT_TRUE(c.StartMuted());
            ASSERT_TRUE(c.Muted());
            if (op == 0) c.MuteOff();
            else c.VolumeDown();
            EXPECT_FALSE(c.StartMuted()) << (op == 0 ? "unmute" : "volume down");
            c.MuteOn();
            EXPECT_FALSE(c.StartMuted()) << "muting does not set it again";
        }
    }
}

// Opening an I/O-port card obtains access to exactly the model's range;
// closing gives it up; a model or port change is followed at the next Open.
TEST(PortAccess, OpeningObtainsExactlyTheModelsRange) {
    using Call = test::RecordingAccess::Call;
    const tDevCaps table = DefaultModelTable();
    EXPECT_EQ(table[mRadioTrack].PortSpan, 1);
    EXPECT_EQ(table[mRA300].PortSpan, 1);
    EXPECT_EQ(table[mZoltrix].PortSpan, 4);
    EXPECT_EQ(table[mAztech].PortSpan, 8);
    EXPECT_EQ(table[mWizard].PortSpan, 0);

    CardRig rig;
    TRadioCard& c = *rig.card;
    const struct {
        tModel model;
        int port;
        uint16_t base;
        unsigned span;
    } cases[] = {{mRadioTrack, 1, 0x30C, 1}, {mRA300, 2, 0x20C, 1}, {mZoltrix, 1, 0x30C, 4},
                 {mZoltrix, 2, 0x20C, 4},    {mAztech, 1, 0x350, 8}, {mAztech, 2, 0x358, 8}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.base);
        rig.access.calls.clear();
        c.SetModel(k.model);
        c.SetPort(k.port);
        c.Open();
        EXPECT_EQ(rig.access.calls, (std::vector<Call>{{'A', k.base, k.span}}));
        c.Close();
        EXPECT_EQ(rig.access.calls, (std::vector<Call>{{'A', k.base, k.span}, {'R', k.base, k.span}}));
    }

    // No port, or a serial radio: nothing to ask for.
    rig.access.calls.clear();
    c.SetModel(mAztech);
    c.SetPort(0);
    c.Open();
    c.Close();
    c.SetModel(mWizard);
    c.SetPort(0);
    c.Open();
    c.Close();
    EXPECT_TRUE(rig.access.calls.empty());
}

TEST(PortAccess, NoAccessIsATypedErrorAndTheCardStaysClosed) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mAztech);
    c.SetPort(2);
    rig.access.refuse = platform::tPortAccessError{EPERM, ENOENT, false};
    try {
        c.Open();
        FAIL() << "Open without port access must fail loudly";
    } catch (const eNoPortAccess& e) {
        EXPECT_EQ(e.Base(), 0x358);
        EXPECT_EQ(e.Count(), 8);
        EXPECT_TRUE(e.Error().PermissionDenied());
        EXPECT_STREQ(e.what(), "") << "a hardware error of the card carries no text";
    }
    EXPECT_FALSE(c.Active());
    EXPECT_TRUE(rig.ports.log.empty()) << "nothing is sent without access";
    EXPECT_NO_THROW(c.SetPort(1)) << "a closed card can be set up again";
    rig.access.refuse.reset();
    c.Open();
    EXPECT_TRUE(c.Active());
    c.Close();

    // A model that has had no port assigned yet holds a placeholder value
    // (1) that is no address of the card: never opened up.
    CardRig fresh;
    fresh.card->SetModel(mZoltrix);
    EXPECT_EQ(fresh.card->Caps().PortValue, 1);
    EXPECT_THROW(fresh.card->Open(), eNoPortAccess);
    EXPECT_TRUE(fresh.access.calls.empty());
    EXPECT_FALSE(fresh.card->Active());
}

// A card whose close failed is closed: every step of Close runs, the card
// ends closed and gives up its ports, and the failure is passed on.
TEST(Lifecycle, ACloseThatFailsStillCloses) {
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix);
    c.MuteOff();
    rig.ports.failWrites = true;
    EXPECT_THROW(c.Close(), std::runtime_error);
    EXPECT_FALSE(c.Active());
    EXPECT_TRUE(c.Muted()) << "the common close rule ran";
    EXPECT_EQ(rig.access.held.second, 0u) << "port access given up";
    rig.ports.failWrites = false;
    EXPECT_NO_THROW(c.SetModel(mAztech));
    EXPECT_NO_THROW(c.SetPort(1));
}

TEST(Lifecycle, OpenAndCloseAreIdempotent) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRadioTrack);
    c.Open();
    EXPECT_TRUE(rig.ports.log.empty()) << "a second Open does nothing";
    c.Close();
    EXPECT_FALSE(c.Active());
    EXPECT_TRUE(c.Muted());
    rig.ports.Clear();
    c.Close();
    EXPECT_TRUE(rig.ports.log.empty());
}

} // namespace
} // namespace tunevox::radio
