#pragma once
// The light bulb of the tip window, drawn by this code (no picture files):
// a glowing glass bulb with its filament on a threaded base.

#include <QImage>

namespace tunevox::periphery {

// The bulb at width x height pixels on a transparent background; the
// drawing keeps its proportions (3 : 4) and is centred. Null for sizes
// below 1.
QImage LightBulbImage(int width, int height);

} // namespace tunevox::periphery
