// The radio device seam's own parts: frequency units, the node list and
// opener on a folder of the test's own, and the messages.

#include "platform/radio_device.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/temp_dir.h"

namespace tunevox::platform {
namespace {

TEST(RadioDeviceUnits, ConvertInEachUnitAndRoundHalfToEven) {
    const uint32_t kHigh = 0, kLow = V4L2_TUNER_CAP_LOW, kHz = V4L2_TUNER_CAP_1HZ | V4L2_TUNER_CAP_LOW;
    EXPECT_EQ(MHzToV4L2Frequency(87.5, kHigh), 1400u);
    EXPECT_EQ(MHzToV4L2Frequency(98.7, kHigh), 1579u) << "98.7 lies between 98.6875 and 98.75";
    EXPECT_EQ(MHzToV4L2Frequency(98.7, kLow), 1579200u);
    EXPECT_EQ(MHzToV4L2Frequency(0.531, kLow), 8496u);
    EXPECT_EQ(MHzToV4L2Frequency(98.7, kHz), 98700000u) << "1 Hz wins over 62.5 Hz";
    // Exact halves go to the even unit, also when the decimal is inexact.
    EXPECT_EQ(MHzToV4L2Frequency(87.53125, kHigh), 1400u);
    EXPECT_EQ(MHzToV4L2Frequency(87.59375, kHigh), 1402u);
    EXPECT_EQ(MHzToV4L2Frequency(98.70003125, kLow), 1579200u);
    EXPECT_EQ(MHzToV4L2Frequency(98.70009375, kLow), 1579202u);
    EXPECT_EQ(MHzToV4L2Frequency(-1.0, kHigh), 0u);
    EXPECT_EQ(MHzToV4L2Frequency(1e9, kLow), 0xFFFFFFFFu);

    EXPECT_DOUBLE_EQ(V4L2FrequencyToMHz(1579, kHigh), 98.6875);
    EXPECT_DOUBLE_EQ(V4L2FrequencyToMHz(8496, kLow), 0.531);
    for (double mhz : {76.0, 88.1, 107.9, 0.522, 1.71})
        EXPECT_DOUBLE_EQ(V4L2FrequencyToMHz(MHzToV4L2Frequency(mhz, kLow), kLow), mhz);
}

TEST(LinuxRadioDevice, ListsRadioNodesInNaturalOrderAndOpensThroughTheSeam) {
    test::TempDir dir;
    ASSERT_TRUE(dir.Valid());
    for (const char* name : {"radio10", "radio2", "radio0", "radio", "radiofoo", "video0"})
        test::WriteTextFile(dir.File(name), "RDS");
    LinuxRadioDeviceOpener opener(dir.Path());
    EXPECT_EQ(opener.List(), (std::vector<std::string>{dir.File("radio0"), dir.File("radio2"), dir.File("radio10")}));
    EXPECT_TRUE(NaturalLess("radio09", "radio10"));
    EXPECT_FALSE(NaturalLess("radio10", "radio010"));

    int error = -1;
    EXPECT_EQ(opener.Open(dir.File("radio7"), &error), nullptr);
    EXPECT_EQ(error, ENOENT);

    // A plain file stands in for a node the driver does not know.
    auto device = opener.Open(dir.File("radio2"), &error);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(error, 0);
    const int fd = device->PollFd();
    EXPECT_TRUE(::fcntl(fd, F_GETFL) & O_NONBLOCK);
    EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
    EXPECT_EQ(QueryRadioDevice(*device, nullptr), -ENOTTY);
    char bytes[8] = {};
    EXPECT_EQ(device->Read(bytes, sizeof bytes), 3);
    EXPECT_EQ(std::string(bytes), "RDS");
    EXPECT_EQ(RadioDeviceLabel(opener, dir.File("radio2")), dir.File("radio2")) << "no card name to show";
    device.reset();
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1) << "closing the device closes its descriptor";
    EXPECT_EQ(errno, EBADF);
}

TEST(RadioDeviceMessage, NamesTheDeviceTheCauseAndTheRemedy) {
    struct Case {
        int error;
        std::vector<std::string> phrases;
    } cases[] = {
        {ENOENT, {"no such device", "modprobe radio-aimslab", "modprobe vivid"}},
        {ENODEV, {"no such device"}},
        {-ENXIO, {"no such device"}},
        {EACCES, {"permission denied", "usermod -aG video $USER", "log in again"}},
        {EPERM, {"permission denied", "video group"}},
        {EBUSY, {"device busy", "another program"}},
        {ENOTTY, {"not a radio receiver"}},
        {-EINVAL, {"not a radio receiver"}},
        {EIO, {}},
    };
    for (const Case& c : cases) {
        const std::string text = RadioDeviceMessage("/dev/radio3", c.error);
        EXPECT_EQ(text.rfind("cannot use /dev/radio3: ", 0), 0u) << text;
        EXPECT_NE(text.find(std::strerror(std::abs(c.error))), std::string::npos) << text;
        for (const std::string& p : c.phrases) EXPECT_NE(text.find(p), std::string::npos) << text << " lacks " << p;
    }
}

} // namespace
} // namespace tunevox::platform
