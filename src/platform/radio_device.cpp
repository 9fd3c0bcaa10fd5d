#include "radio_device.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

namespace tunevox::platform {

namespace {

class LinuxRadioDevice final : public IRadioDevice {
public:
    explicit LinuxRadioDevice(int fd) : fd_(fd) {}
    ~LinuxRadioDevice() override { ::close(fd_); }
    LinuxRadioDevice(const LinuxRadioDevice&) = delete;
    LinuxRadioDevice& operator=(const LinuxRadioDevice&) = delete;

    int Ioctl(unsigned long request, void* arg) override {
        // The kernel answers a hardware seek on a non-blocking descriptor
        // with EAGAIN and never seeks; this one call waits for the tuner.
        const bool seek = request == VIDIOC_S_HW_FREQ_SEEK;
        const int flags = seek ? ::fcntl(fd_, F_GETFL) : -1;
        if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
        int r;
        do r = ::ioctl(fd_, request, arg);
        while (r < 0 && errno == EINTR);
        const int error = r < 0 ? errno : 0;
        if (flags >= 0) ::fcntl(fd_, F_SETFL, flags);
        return r < 0 ? -error : 0;
    }

    long Read(void* buffer, size_t bytes) override {
        ssize_t n;
        do n = ::read(fd_, buffer, bytes);
        while (n < 0 && errno == EINTR);
        return n < 0 ? -static_cast<long>(errno) : static_cast<long>(n);
    }

    int PollFd() const override { return fd_; }

private:
    int fd_;
};

int OpenNode(const std::string& path, int flags) {
    int fd;
    do fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// A fixed-size, possibly unterminated string field of a kernel structure.
std::string Field(const uint8_t* bytes, size_t size) {
    const auto* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, ::strnlen(text, size));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::unique_ptr<IRadioDevice> LinuxRadioDeviceOpener::Open(const std::string& path, int* error) {
    int fd = OpenNode(path, O_RDWR);
    if (fd < 0 && errno == EACCES) {
        // Every request a receiver needs works on a read-only descriptor;
        // the write permission only matters to transmitters. Still report
        // the first refusal if reading is refused too.
        fd = OpenNode(path, O_RDONLY);
        if (fd < 0) errno = EACCES;
    }
    if (error) *error = fd < 0 ? errno : 0;
    if (fd < 0) return nullptr;
    return std::make_unique<LinuxRadioDevice>(fd);
}

std::vector<std::string> LinuxRadioDeviceOpener::List() {
    std::vector<std::string> nodes;
    DIR* dir = ::opendir(directory_.c_str());
    if (!dir) return nodes;
    // radio<N> only: distributions also make a "radio" link to the first
    // node, which would list it twice.
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 5 && name.compare(0, 5, "radio") == 0 &&
            std::all_of(name.begin() + 5, name.end(), IsDigit))
            nodes.push_back(directory_ + "/" + name);
    }
    ::closedir(dir);
    std::sort(nodes.begin(), nodes.end(), NaturalLess);
    return nodes;
}

bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the runs as numbers without converting them: leading
            // zeros dropped, then the longer run is the larger number.
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            if (int c = a.compare(si, ei - si, b, sj, ej - sj)) return c < 0;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

int QueryRadioDevice(IRadioDevice& device, tRadioDeviceInfo* info) {
    v4l2_capability cap{};
    if (int r = device.Ioctl(VIDIOC_QUERYCAP, &cap)) return r;
    if (info) {
        info->card = Field(cap.card, sizeof cap.card);
        info->driver = Field(cap.driver, sizeof cap.driver);
        // `capabilities` covers every node of the hardware (a TV card's
        // video node too); what this node does is in device_caps.
        info->caps = cap.capabilities & V4L2_CAP_DEVICE_CAPS ? cap.device_caps : cap.capabilities;
    }
    return 0;
}

std::string RadioDeviceLabel(IRadioDeviceOpener& opener, const std::string& path) {
    auto device = opener.Open(path, nullptr);
    tRadioDeviceInfo info;
    if (!device || QueryRadioDevice(*device, &info) != 0 || info.card.empty()) return path;
    return path + " \u2014 " + info.card;
}

std::string RadioDeviceMessage(const std::string& path, int error) {
    error = std::abs(error);
    const std::string head = "cannot use " + path + ": ";
    const std::string text = error != 0 ? std::strerror(error) : "unknown error";
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return head + "no such device (" + text + "); plug in the radio or load its kernel module " +
               "(for example: sudo modprobe radio-aimslab; to try without a radio: sudo modprobe vivid)";
    case EACCES:
    case EPERM:
        return head + "permission denied (" + text + "); add your user to the video group " +
               "(sudo usermod -aG video $USER) and log in again";
    case EBUSY:
        return head + "device busy (" + text + "); another program is using the radio";
    case ENOTTY:
    case EINVAL:
        return head + "not a radio receiver (" + text + ")";
    default:
        return head + text;
    }
}

uint32_t V4L2UnitsPerMHz(uint32_t tunerCapability) {
    if (tunerCapability & V4L2_TUNER_CAP_1HZ) return 1000000;
    if (tunerCapability & V4L2_TUNER_CAP_LOW) return 16000;
    return 16;
}

uint32_t MHzToV4L2Frequency(double mhz, uint32_t tunerCapability) {
    const double units = mhz * V4L2UnitsPerMHz(tunerCapability);
    constexpr double kMax = std::numeric_limits<uint32_t>::max();
    if (!(units > 0)) return 0; // negative, zero or NaN
    if (units >= kMax) return std::numeric_limits<uint32_t>::max();
    const double whole = std::floor(units);
    double rounded;
    if (std::fabs(units - whole - 0.5) <= 1e-6)
        rounded = std::fmod(whole, 2.0) == 0 ? whole : whole + 1;
    else
        rounded = std::round(units);
    return static_cast<uint32_t>(std::min(rounded, kMax));
}

double V4L2FrequencyToMHz(uint32_t frequency, uint32_t tunerCapability) {
    return static_cast<double>(frequency) / V4L2UnitsPerMHz(tunerCapability);
}

} // namespace tunevox::platform
