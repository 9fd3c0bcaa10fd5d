#pragma once
// A stereo control shown as one volume and a balance. The volume is the
// louder channel; the balance says how much quieter the other one is, from
// -100 (only the left channel sounds) to 100 (only the right). Both ways use
// integer division, truncating towards zero, so that a value read back after
// a write lands where the user put it (or one step nearer the middle).

#include <cstdint>

namespace tunevox::mixerwindow {

constexpr int kPanHalfRange = 100;

struct tVolumePan {
    int32_t volume = 0;
    int pan = 0; // -100 .. 100
};

struct tChannelPair {
    int32_t left = 0;
    int32_t right = 0;
};

// volume = the larger channel; pan = 100 x (right - left) / volume, and 0
// when the volume is 0 (a silent control has no balance).
tVolumePan VolumePanOf(int32_t left, int32_t right);

// pan < 0: left = volume, right = volume x (pan + 100) / 100;
// pan >= 0: right = volume, left = volume x (100 - pan) / 100.
// A pan outside -100..100 counts as its nearer end.
tChannelPair ChannelsOf(int32_t volume, int pan);

} // namespace tunevox::mixerwindow
