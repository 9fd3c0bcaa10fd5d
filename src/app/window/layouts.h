#pragma once
// The six display modes as data: which groups and buttons each shows, where
// they sit and the window's client size. A mode's template is read, applied
// and dropped; it carries no behaviour.

#include <QRect>
#include <QSize>

#include <optional>

namespace tunevox::app {

enum tDisplayMode : int {
    dmComplete = 0,
    dmMinimal = 1,
    dmMinTuner = 2,
    dmMinPresets = 3,
    dmMinVolBtn = 4,
    dmMinVolBtnPre = 5,
};
constexpr int kDisplayModeCount = 6;

struct tLayoutTemplate {
    QSize client;                 // the window's client area below the menu bar
    std::optional<QRect> volume;  // gpVolume
    std::optional<QRect> presets; // gpPresets
    std::optional<QRect> tuner;   // gpTuner
    bool buttons = false;         // function buttons shown
    QPoint buttonsOrigin;         // top left of the function-button block
};

tLayoutTemplate LayoutTemplate(int mode);

// The display panel is the same in every mode.
constexpr QRect kPanelRect{0, 0, 301, 74};
// The function buttons: two rows of four, each kFunctionButton in size.
constexpr QSize kFunctionButton{56, 22};

} // namespace tunevox::app
