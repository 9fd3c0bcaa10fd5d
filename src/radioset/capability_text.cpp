#include "radioset/capability_text.h"

namespace tunevox::radioset {

std::string CapabilityText(bool hasVolume, bool hasMute, bool hasSoundCard) {
    std::string t;
    t += hasVolume ? "Your radio card can control volume sound.\n" : "Your radio card can't control volume sound.\n";
    t += hasMute ? "Your radio card can mute/unmute.\n" : "Your radio card can't mute/unmute.\n";
    t += hasSoundCard ? "A sound cards is installed in your computer.\n"
                      : "In your computer no sound cards are installed.\n";
    if (hasVolume || hasMute)
        t += hasSoundCard ? "You can set volume sound with radio card or sound card."
                          : "You can set volume sound only through the radio card.";
    else
        t += hasSoundCard ? "You can set volume sound only through the sound card."
                          : "You can set volume sound only through the speakers.";
    return t;
}

} // namespace tunevox::radioset
