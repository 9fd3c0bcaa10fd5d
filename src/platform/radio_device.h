#pragma once
// The Linux radio device (Video4Linux2, /dev/radioN): every call a card
// makes to it goes through IRadioDevice, opened by an IRadioDeviceOpener,
// so the emulated device can stand in for the kernel driver in tests and
// under --virtual.
//
// One IRadioDevice is one open descriptor of the node; destroying it
// closes it. Calls never block: the node is opened non-blocking, so a read
// with no RDS data due answers -EAGAIN. The one exception is the hardware
// seek, which the kernel refuses on a non-blocking descriptor; the real
// device lifts O_NONBLOCK for that call alone, so it returns only when the
// tuner has stopped (a few seconds at most).
//
// Frequencies cross the seam in the driver's units: 62.5 kHz, or 62.5 Hz
// when the tuner's capability has V4L2_TUNER_CAP_LOW (1 Hz with
// V4L2_TUNER_CAP_1HZ). The conversions below are the one place that knows.
//
// A device object belongs to the thread that opened it, like the card.

#include <linux/videodev2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tunevox::platform {

class IRadioDevice {
public:
    virtual ~IRadioDevice() = default;
    // One V4L2 request on the node: 0, or -errno. `arg` is the request's
    // structure, read and written as the kernel would.
    virtual int Ioctl(unsigned long request, void* arg) = 0;
    // RDS data as struct v4l2_rds_data records (3 bytes each): the bytes
    // read, or -errno; -EAGAIN when nothing is due yet. Never blocks.
    virtual long Read(void* buffer, size_t bytes) = 0;
    // The descriptor to watch for RDS data (readable), -1 when there is
    // none to watch (the emulated device: poll Read on a timer instead).
    virtual int PollFd() const = 0;
};

class IRadioDeviceOpener {
public:
    virtual ~IRadioDeviceOpener() = default;
    // Null on failure, with the errno in *error (when given); 0 there on
    // success.
    virtual std::unique_ptr<IRadioDevice> Open(const std::string& path, int* error) = 0;
    // The radio nodes present (/dev/radio0, /dev/radio1, ...), in natural
    // order: radio2 before radio10.
    virtual std::vector<std::string> List() = 0;
};

// The kernel's nodes. Opens read-write, non-blocking, close-on-exec; a node
// the user may read but not write is opened read-only (the driver's
// requests do not depend on the open mode). Interrupted calls are retried.
class LinuxRadioDeviceOpener final : public IRadioDeviceOpener {
public:
    // The folder whose radio<N> entries List() reports; tests give their own.
    explicit LinuxRadioDeviceOpener(std::string directory = "/dev") : directory_(std::move(directory)) {}
    std::unique_ptr<IRadioDevice> Open(const std::string& path, int* error) override;
    std::vector<std::string> List() override;

private:
    std::string directory_;
};

// Order of strings with runs of digits compared as numbers.
bool NaturalLess(const std::string& a, const std::string& b);

// What the node's driver says of itself (VIDIOC_QUERYCAP).
struct tRadioDeviceInfo {
    std::string card;   // the driver's name for the hardware, for lists
    std::string driver; // the kernel module
    uint32_t caps = 0;  // this node's capabilities (device_caps when reported)
    // A receiver a card can tune: a tuner on a radio node.
    bool IsRadioReceiver() const {
        return (caps & (V4L2_CAP_TUNER | V4L2_CAP_RADIO)) == (V4L2_CAP_TUNER | V4L2_CAP_RADIO);
    }
};
// 0, or -errno (-ENOTTY: not a V4L2 node at all).
int QueryRadioDevice(IRadioDevice& device, tRadioDeviceInfo* info);

// "/dev/radio0 — <card name>" for the settings list; the path alone when
// the node cannot be opened or asked.
std::string RadioDeviceLabel(IRadioDeviceOpener& opener, const std::string& path);

// Why the node cannot be used, naming it, the system's cause and what the
// user can do, for windows and the command line. `error` is an errno, its
// sign ignored (Ioctl's -errno may be passed as is).
std::string RadioDeviceMessage(const std::string& path, int error);

// The driver's frequency units per MHz for a tuner's capability field:
// 16 (62.5 kHz), 16000 (62.5 Hz, V4L2_TUNER_CAP_LOW), 1000000
// (V4L2_TUNER_CAP_1HZ).
uint32_t V4L2UnitsPerMHz(uint32_t tunerCapability);
// To the nearest unit, half to even as every rounding of the program; a
// product within 1e-6 of a half counts as that half, so decimal inputs that
// binary cannot hold exactly still round as written. Clamped to the range
// of the field.
uint32_t MHzToV4L2Frequency(double mhz, uint32_t tunerCapability);
double V4L2FrequencyToMHz(uint32_t frequency, uint32_t tunerCapability);

} // namespace tunevox::platform
