#include "app/window/layouts.h"

namespace tunevox::app {
namespace {

constexpr QRect kVolume{0, 75, 72, 46};
constexpr QRect kTunerRight{303, 0, 312, 73};
constexpr QRect kPresetsRight{309, 74, 300, 47};
constexpr QRect kPresetsBelowPanel{0, 74, 300, 47};
constexpr QRect kPresetsBelowButtons{0, 122, 300, 47};
constexpr QPoint kButtons{74, 76};

} // namespace

tLayoutTemplate LayoutTemplate(int mode) {
    switch (mode) {
    case dmMinimal: return {{301, 74}, {}, {}, {}, false, {}};
    case dmMinTuner: return {{615, 73}, {}, {}, kTunerRight, false, {}};
    case dmMinPresets: return {{300, 121}, {}, kPresetsBelowPanel, {}, false, {}};
    case dmMinVolBtn: return {{301, 121}, kVolume, {}, {}, true, kButtons};
    case dmMinVolBtnPre: return {{301, 169}, kVolume, kPresetsBelowButtons, {}, true, kButtons};
    case dmComplete:
    default: return {{615, 121}, kVolume, kPresetsRight, kTunerRight, true, kButtons};
    }
}

} // namespace tunevox::app
