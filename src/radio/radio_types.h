#pragma once
// Types shared by the card component and every window that tunes: models,
// bands, volume lines, band limits, the capability record and the errors of
// the hardware layer.

#include <array>
#include <cstdint>
#include <exception>
#include <string>

#include "platform/port_io.h"

namespace tunevox::radio {

enum tModel : int {
    mRadioTrack = 0,
    mRA300 = 1,
    mWizard = 2,
    mRadioMan = 3,
    mRadionMaru = 4,
    mRajikoma = 5,
    mZoltrix = 6,
    mAztech = 7,
    // A Linux radio device (Video4Linux2, /dev/radioN): the kernel's driver
    // speaks to the hardware, and what the receiver can do comes from the
    // device when it opens.
    mV4L2 = 8,
};
constexpr int kModelCount = 9;

enum tBand : int { bAM = 0, bFM = 1 };

enum tVolumeLine : int { vlNone = 0, vlNative = 1, vlLineIn = 2, vlMicIn = 3, vlCd = 4 };

// Band limits in MHz (AM too: 0.531 is 531 kHz).
constexpr double kFMLower = 87.0;
constexpr double kFMUpper = 108.0;
constexpr double kJapaneseFMLower = 76.0;
constexpr double kJapaneseFMUpper = 91.0;
constexpr double kAMLower = 0.531;
constexpr double kAMUpper = 1.62;
// The AM step other windows use when they step AM themselves.
constexpr double kAMStep = 0.009;

// Tuned status values.
constexpr uint8_t kNotTuned = 0;
constexpr uint8_t kTuned = 1;
constexpr uint8_t kTunedStereo = 2;
constexpr uint8_t kTunedMono = 3;

// PortKind values.
constexpr uint8_t kSerialPort = 1;
constexpr uint8_t kIOPort = 2;
// A device node given by its path instead of a port (PortCount 0).
constexpr uint8_t kDeviceNode = 3;

// The capability record of one model.
struct tDevCap {
    std::string DevName;
    std::string DevMaker;
    int32_t VolumeStep = 0;
    bool SignalStrength = false;
    bool StereoDetect = false;
    bool HasFM = false;
    bool HasJapaneseFM = false;
    bool HasAM = false;
    double FMStep = 0.0;
    double AMStep = 0.0;
    bool HasVolume = false;
    bool HasMute = false;
    bool AlwaysMuteOnExit = false;
    bool HasStereo = false;
    bool OpenDelay = false;
    uint8_t PortKind = 0;
    int32_t PortCount = 0;
    uint16_t DefaultPort = 0;
    uint16_t PortValue = 0;
    std::array<uint16_t, 9> Ports{}; // [0] is 0: no port
    // I/O-port models: how many consecutive ports from PortValue the card
    // uses (the range the card obtains access to when it opens). 0 on the
    // serial models.
    uint16_t PortSpan = 0;
    // The edges of the FM band the receiver tunes, where they are narrower
    // than the band's (a radio device reports its own): 0 for the band's.
    double FMLowest = 0.0;
    double FMHighest = 0.0;
    // A receiver that stops at the next station by itself.
    bool HardwareSeek = false;
    // A receiver that hands out RDS blocks: the station's name.
    bool Rds = false;
};

using tDevCaps = std::array<tDevCap, kModelCount>;

// The model table as a fresh card object holds it.
tDevCaps DefaultModelTable();

// Errors of the hardware layer carry no text; callers tell them apart by class.
class eRadioCardError : public std::exception {
public:
    const char* what() const noexcept override { return ""; }
};
// Model or Port assigned while the card is open.
class eCantSetup : public eRadioCardError {};
// Port index outside 0..PortCount.
class ePortNotFound : public eRadioCardError {};
// The COM port of a serial model could not be opened.
class ePortAlreayOpen : public eRadioCardError {};
// Open could not obtain access to the I/O ports of an I/O-port model (no
// permission, or a system without port access). The card stays closed.
// Like its siblings it carries no text; the range and the system's reason
// are there for the caller's message.
// A radio device that could not be opened or is no receiver: its path and
// the errno (ENOENT, EACCES, EBUSY, ENOTTY for a node that is no radio).
// The card stays closed.
class eRadioDeviceError : public eRadioCardError {
public:
    eRadioDeviceError(std::string path, int error) : path_(std::move(path)), error_(error) {}
    const std::string& Path() const { return path_; }
    int Error() const { return error_; }

private:
    std::string path_;
    int error_;
};
class eNoPortAccess : public eRadioCardError {
public:
    eNoPortAccess(uint16_t base, uint16_t count, platform::tPortAccessError error)
        : base_(base), count_(count), error_(error) {}
    uint16_t Base() const { return base_; }
    uint16_t Count() const { return count_; }
    const platform::tPortAccessError& Error() const { return error_; }

private:
    uint16_t base_;
    uint16_t count_;
    platform::tPortAccessError error_;
};

} // namespace tunevox::radio
