#pragma once
// The raised or sunken bevel our buttons are drawn with, in the window's
// palette, as classic radio software drew its buttons.

class QPainter;
class QPalette;
class QRect;

namespace tunevox::widgets {

// `r` is the outline itself: its right and bottom lines are drawn on.
void DrawBevel(QPainter& p, const QRect& r, const QPalette& pal, bool sunken);

} // namespace tunevox::widgets
