#pragma once
// An emulated Linux radio node: the kernel driver of an FM (or FM/AM)
// receiver behind platform::IRadioDevice, answering the V4L2 requests with
// the structures of <linux/videodev2.h> as a driver and the V4L2 core do:
//
//   VIDIOC_QUERYCAP          driver, card, bus; TUNER | RADIO, with
//                            HW_FREQ_SEEK and RDS_CAPTURE | READWRITE as
//                            configured
//   VIDIOC_G_TUNER/S_TUNER   tuner 0 only; the band plan's whole range,
//                            what is heard now (rxsubchans, signal), the
//                            audio mode (mono or stereo: anything else is
//                            taken as stereo)
//   VIDIOC_ENUM_FREQ_BANDS   the band plan, one entry per band
//   VIDIOC_G/S_FREQUENCY     tuner 0, type RADIO; a frequency outside every
//                            band is clamped to the nearest band's edge
//   VIDIOC_S_HW_FREQ_SEEK    to the next station of the list in the seek
//                            direction (the one heard now and those below
//                            seekThreshold passed by), within the given
//                            limits or the band tuned now, optionally
//                            wrapping; ENODATA, and still where it was,
//                            when none. It finishes at once.
// Each request checks tuner 0 and type V4L2_TUNER_RADIO where its
// structure has them, as the V4L2 core does for a radio node (EINVAL).
//   VIDIOC_QUERYCTRL, VIDIOC_QUERY_EXT_CTRL (both with NEXT_CTRL),
//   VIDIOC_G_CTRL/S_CTRL     mute and volume, each present or absent;
//                            written values are clamped like the control
//                            framework does and written back
//   anything else            -ENOTTY
//
// Read delivers RDS blocks (struct v4l2_rds_data) while a named FM station
// is heard: groups of type 0A with the station's PI code, programme type
// and the eight characters of its programme service name, two per group,
// cycled. The blocks arrive at the RDS bit rate (1187.5 bit/s, 26 bits a
// block, about 11.4 groups a second) on the emulator's clock, from the
// moment of tuning, and wait in a buffer of kRdsBufferBlocks like a
// driver's (older ones are lost when nobody reads). Tuning starts a new
// stream. Nothing is ever sleeping: advance the clock to let blocks come.
//
// The frequency is held in the driver's units; State() gives it in MHz for
// tests and status views. One thread, like the card.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "emulator/station_list.h"
#include "platform/radio_device.h"
#include "platform/sleeper.h"

namespace tunevox::emulator {

struct V4L2Band {
    double lowMHz = 0.0;
    double highMHz = 0.0;
    Band band = Band::FM; // AM bands need 62.5 Hz units: they force lowUnits
};

// The band plans radio drivers offer.
std::vector<V4L2Band> FmBandPlan();         // 87.5 - 108 MHz
std::vector<V4L2Band> FmAmBandPlan();       // FM as above, AM 522 - 1710 kHz
std::vector<V4L2Band> JapaneseFmBandPlan(); // 76 - 108 MHz, one band

// What the RDS groups of a station carry besides its name.
struct RdsIdentity {
    uint16_t pi = 0;
    uint8_t pty = 0; // 0..31
    bool tp = false;
};

struct V4L2RadioOptions {
    std::string cardName = "Tunevox Virtual Radio";
    std::string driverName = "tunevox-radio";
    std::vector<V4L2Band> bands = FmBandPlan();
    // Frequencies in 62.5 Hz units (V4L2_TUNER_CAP_LOW) instead of 62.5 kHz.
    bool lowUnits = false;
    bool hwSeek = true;
    bool rds = true;
    bool hasMute = true;
    bool hasVolume = true;
    int volumeMax = 15;
    int volumeStart = 8;
    bool startMuted = true; // drivers power the tuner up silent
    // A station's signal at its centre frequency, by name; 65535 for the
    // rest. The signal falls to a quarter at the edge of the capture width.
    std::map<std::string, uint16_t> strengths{};
    // The hardware seek passes stations whose centre signal is below this.
    uint16_t seekThreshold = 0x2000;
    // Overrides by station name; the rest get DefaultRdsIdentity.
    std::map<std::string, RdsIdentity> rdsIdentities{};
    // Corrupt blocks: of every three, one flagged V4L2_RDS_BLOCK_ERROR with
    // its data scrambled and one flagged V4L2_RDS_BLOCK_CORRECTED with its
    // data intact.
    bool rdsGarbage = false;
};

// A stable PI code and programme type made from the station's name.
RdsIdentity DefaultRdsIdentity(const Station& station);

class V4L2RadioEmulator final : public platform::IRadioDevice {
public:
    using Options = V4L2RadioOptions;
    static constexpr size_t kRdsBufferBlocks = 100;
    static constexpr unsigned long kAnyCall = 0;
    static constexpr unsigned long kReadCall = 1; // no V4L2 request has this number
    static constexpr unsigned kAlways = ~0u;

    // Tuned to the first band's lower edge. The clock must outlive the
    // emulator; the station list is copied. std::invalid_argument for an
    // empty or reversed band plan.
    V4L2RadioEmulator(const platform::ITimeSource& clock, const StationList& stations, Options options = {});

    int Ioctl(unsigned long request, void* arg) override;
    long Read(void* buffer, size_t bytes) override;
    int PollFd() const override { return -1; }

    // The next `count` calls (kAlways: every call until ClearFaults) fail
    // with -error: any call, one request only, or Read (kReadCall).
    void InjectFault(int error, unsigned count = 1, unsigned long call = kAnyCall);
    void ClearFaults() { faults_.clear(); }
    void SetRdsGarbage(bool on) { options_.rdsGarbage = on; }

    // audioOn is "not muted"; volumeLevel the volume control's value.
    ReceiverState State() const;
    uint32_t Frequency() const { return frequency_; } // driver units
    uint32_t TunerCapability() const;
    uint16_t Signal() const;
    // Handles the opener gave out and that are not closed yet.
    int OpenHandles() const { return openHandles_; }
    // Requests answered, faults included.
    size_t Calls() const { return calls_; }

private:
    friend class V4L2RadioEmulatorOpener;
    struct Fault {
        int error;
        unsigned count;
        unsigned long call;
    };
    struct Control {
        uint32_t id;
        uint32_t type;
        const char* name;
        int32_t minimum, maximum, step, defaultValue;
        uint32_t flags;
    };
    class Handle;

    bool TakeFault(unsigned long call, int* error);
    int Dispatch(unsigned long request, void* arg);
    int QueryCap(void* arg) const;
    int GetTuner(void* arg) const;
    int SetTuner(void* arg);
    int EnumBands(void* arg) const;
    int GetFrequency(void* arg) const;
    int SetFrequency(void* arg);
    int Seek(void* arg);
    int QueryControl(void* arg) const;
    int QueryExtControl(void* arg) const;
    int GetControl(void* arg) const;
    int SetControl(void* arg);
    const Control* FindControl(uint32_t id, bool next) const;

    uint32_t Units(double mhz) const;
    double MHz(uint32_t units) const;
    const V4L2Band* BandAt(uint32_t units) const;
    Reception Heard() const;
    uint16_t StrengthOf(const Station& station) const;
    void Tune(uint32_t units);
    uint64_t BlocksDue() const;
    void RdsBlock(uint64_t index, uint8_t out[3]) const;

    const platform::ITimeSource& clock_;
    const StationList stations_;
    Options options_;
    std::vector<Control> controls_;
    std::vector<Fault> faults_;

    uint32_t frequency_ = 0;
    bool stereoMode_ = true;
    bool muted_ = true;
    int volume_ = 0;

    // The RDS stream of the station heard since the last tuning.
    uint64_t tunedAtMs_ = 0;
    uint64_t blocksRead_ = 0;

    int openHandles_ = 0;
    size_t calls_ = 0;
};

// Serves emulated nodes at the paths given, as the kernel's would be. The
// emulators must outlive every device the opener hands out; they keep
// their state (tuning, controls) from one open to the next.
class V4L2RadioEmulatorOpener final : public platform::IRadioDeviceOpener {
public:
    void Serve(const std::string& path, V4L2RadioEmulator& device) { devices_[path] = &device; }
    // Every open fails with this errno (EBUSY, EACCES, ...); 0: they succeed.
    void SetOpenError(int error) { openError_ = error; }

    std::unique_ptr<platform::IRadioDevice> Open(const std::string& path, int* error) override;
    std::vector<std::string> List() override;

private:
    std::map<std::string, V4L2RadioEmulator*> devices_;
    int openError_ = 0;
};

} // namespace tunevox::emulator
