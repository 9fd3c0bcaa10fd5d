#pragma once
// The summary of what a card model and the computer can do with the sound,
// shown where the user chooses how the volume is controlled.

#include <string>

namespace tunevox::radioset {

// Four sentences, each ended by a line break but the last.
std::string CapabilityText(bool hasVolume, bool hasMute, bool hasSoundCard);

} // namespace tunevox::radioset
