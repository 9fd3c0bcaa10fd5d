#pragma once
// What a Linux radio device can do, asked of the device itself: the card
// asks it when the device opens, and the settings dialog when the user
// picks a device, so both say the same.

#include <cstdint>
#include <string>

#include "radio_types.h"

namespace tunevox::platform {
class IRadioDevice;
}

namespace tunevox::radio {

struct tRadioDeviceCaps {
    tDevCap caps;          // the model's record with the device's answers in it
    std::string card;      // the driver's name for the hardware
    uint32_t tunerCapability = 0;
    bool hasMute = false;  // the device's own controls
    bool hasVolume = false;
    int32_t volumeMin = 0, volumeMax = 0;
};

// 0, or -errno: -ENOTTY for a node that is no radio receiver, or one that
// receives neither FM nor the medium wave.
int AskRadioDeviceCaps(platform::IRadioDevice& device, const tDevCap& base, tRadioDeviceCaps* out);

// One sentence for the settings dialog: "Tunevox virtual radio receives FM
// from 87.5 to 108 MHz and AM, in stereo; it measures the signal strength,
// shows the stations' names (RDS), seeks by itself, and has its own mute
// and volume."
std::string DescribeRadioDevice(const tRadioDeviceCaps& device);

} // namespace tunevox::radio
