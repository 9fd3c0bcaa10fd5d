// Finding a USB radio's own sound card in a sysfs laid out as the kernel
// does, and the arithmetic of copying its sound.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "platform/usb_radio_sound.h"
#include "support/temp_dir.h"

namespace tunevox::platform {
namespace {

namespace fs = std::filesystem;

// Device folders under devices/ (a name ending in "/" is a folder, else a
// file), and each radio node linked from class/video4linux and to the
// folder of the device it belongs to, as the kernel links them.
void MakeSysfs(const std::string& root) {
    const std::string usb = "devices/pci0000:00/0000:00:14.0/usb1/";
    const std::string pci = "devices/pci0000:00/0000:00:1e.0/0000:05:01.0/";
    for (const std::string& path : {
             // radio0 records on its card 2 (device 0 only plays), card 4 comes second
             usb + "1-2/idVendor", usb + "1-2/1-2:1.0/", usb + "1-2/1-2:1.1/sound/card2/pcmC2D0p/",
             usb + "1-2/1-2:1.1/sound/card2/pcmC2D1c/", usb + "1-2/1-2:1.1/sound/card2/pcmC2D3c/",
             usb + "1-2/1-2:1.3/sound/card4/pcmC4D0c/", usb + "1-2/1-2:1.2/video4linux/radio0/",
             // radio1's card only plays; the card that records is another device's
             usb + "1-3/idVendor", usb + "1-3/1-3:1.1/sound/card3/pcmC3D0p/", usb + "1-3/1-3:1.0/video4linux/radio1/",
             usb + "1-4/idVendor", usb + "1-4/1-4:1.1/sound/card1/pcmC1D0c/",
             // radio2 is on a PCI card with a sound card of its own
             pci + "vendor", pci + "sound/card0/pcmC0D0c/", pci + "video4linux/radio2/", std::string("dev/radio0")}) {
        fs::create_directories(fs::path(root + "/" + path).parent_path());
        if (!path.ends_with("/")) test::WriteTextFile(root + "/" + path, "");
    }
    fs::create_directories(root + "/class/video4linux");
    for (const std::string& node :
         {usb + "1-2/1-2:1.2/video4linux/radio0", usb + "1-3/1-3:1.0/video4linux/radio1", pci + "video4linux/radio2"}) {
        const fs::path path(node);
        fs::create_directory_symlink("../../" + node, root + "/class/video4linux/" + path.filename().string());
        fs::create_directory_symlink("../../../" + path.parent_path().parent_path().filename().string(),
                                     root + "/" + node + "/device");
    }
    fs::create_directories(root + "/dev/v4l/by-id");
    fs::create_symlink("../../radio0", root + "/dev/v4l/by-id/usb-Radio-radio");
}

TEST(RadioSoundCard, IsTheFirstRecordingCardOnTheRadiosOwnUsbDeviceOnly) {
    const test::TempDir dir;
    ASSERT_TRUE(dir.Valid());
    MakeSysfs(dir.Path());
    EXPECT_EQ(FindRadioSoundCard("/dev/radio0", dir.Path()), "plughw:2,1");
    EXPECT_EQ(FindRadioSoundCard(dir.File("dev/v4l/by-id/usb-Radio-radio"), dir.Path()), "plughw:2,1");

    EXPECT_EQ(FindRadioSoundCard("/dev/radio1", dir.Path()), std::nullopt);
    EXPECT_EQ(FindRadioSoundCard("/dev/radio2", dir.Path()), std::nullopt); // not USB
    EXPECT_EQ(FindRadioSoundCard("/dev/radio9", dir.Path()), std::nullopt);
    EXPECT_EQ(FindRadioSoundCard("", dir.Path()), std::nullopt);
    EXPECT_EQ(FindRadioSoundCard("/dev/radio0", dir.File("missing")), std::nullopt);
}

TEST(RadioSoundGain, ScalesRoundedAndSaturatedWithFullVolumeExact) {
    const std::vector<int16_t> loud = {0, 1, -1, 3, -3, 20000, -20000, 32767, -32768};
    std::vector<int16_t> s = loud;
    ApplyGain(s, RadioSoundGain(1.0));
    EXPECT_EQ(s, loud);
    ApplyGain(s, 0.5);
    EXPECT_EQ(s, (std::vector<int16_t>{0, 1, -1, 2, -2, 10000, -10000, 16384, -16384}));
    s = loud;
    ApplyGain(s, 2.0);
    EXPECT_EQ(s, (std::vector<int16_t>{0, 2, -2, 6, -6, 32767, -32768, 32767, -32768}));

    EXPECT_DOUBLE_EQ(RadioSoundGain(0.5), 0.125);
    EXPECT_EQ(RadioSoundGain(1.5), 1.0);
    EXPECT_EQ(RadioSoundGain(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(RadioSoundLatency, StaysBoundedAgainstDriftInFewSplicesAndCutsABacklog) {
    const RadioSoundLatency budget = RadioSoundLatencyAt(48000); // 2400 and 4320 frames

    // Ten minutes of 10 ms periods from a radio whose clock runs 0.1 %
    // fast, the speakers starting once the target waits: only the excess
    // goes, each run of dropped periods one splice, and playing never runs
    // low for it.
    TLatencyGuard guard(budget);
    double queued = 0;
    double dropped = 0;
    int splices = 0;
    size_t lastDrop = 0;
    bool playing = false;
    for (int period = 0; period < 60000; ++period) {
        const size_t drop = guard.FramesToDrop(std::lround(queued), 480);
        dropped += double(drop);
        splices += drop > 0 && lastDrop == 0;
        lastDrop = drop;
        queued += double(480 - drop);
        ASSERT_LE(std::lround(queued), budget.limit) << period;
        playing = playing || queued >= budget.target;
        if (!playing) continue;
        queued -= 480 / 1.001;
        ASSERT_GT(queued, budget.target / 2) << period;
    }
    const double excess = 60000 * 480 * 0.001 / 1.001;
    EXPECT_NEAR(dropped, excess, budget.limit);
    EXPECT_LE(splices, excess / (budget.limit - budget.target) + 1);

    // A stalled thread reads a long backlog: the newest of it plays, no
    // more than the target. Past the limit, the queue plays down to the
    // target before anything is kept again.
    EXPECT_EQ(guard.FramesToDrop(0, 4800), 4800u - 2400u);
    EXPECT_EQ(guard.FramesToDrop(4000, 480), 480u);
    EXPECT_EQ(guard.FramesToDrop(3600, 480), 480u);
    EXPECT_EQ(guard.FramesToDrop(2200, 480), 280u);
}

} // namespace
} // namespace tunevox::platform
