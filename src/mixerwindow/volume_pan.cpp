#include "mixerwindow/volume_pan.h"

#include <algorithm>

namespace tunevox::mixerwindow {

// The products are taken in 64 bits: a device may report ranges up to the
// full 32-bit span, and 100 x 65535 already leaves 16 bits behind.

tVolumePan VolumePanOf(int32_t left, int32_t right) {
    tVolumePan out;
    out.volume = std::max(left, right);
    if (out.volume == 0) return out;
    const int64_t pan = int64_t{kPanHalfRange} * (int64_t{right} - left) / out.volume;
    out.pan = static_cast<int>(std::clamp<int64_t>(pan, -kPanHalfRange, kPanHalfRange));
    return out;
}

tChannelPair ChannelsOf(int32_t volume, int pan) {
    pan = std::clamp(pan, -kPanHalfRange, kPanHalfRange);
    tChannelPair out;
    if (pan < 0) {
        out.left = volume;
        out.right = static_cast<int32_t>(int64_t{volume} * (pan + kPanHalfRange) / kPanHalfRange);
    } else {
        out.right = volume;
        out.left = static_cast<int32_t>(int64_t{volume} * (kPanHalfRange - pan) / kPanHalfRange);
    }
    return out;
}

} // namespace tunevox::mixerwindow
