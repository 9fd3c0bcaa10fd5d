#pragma once
// Every small picture the main window shows: the indicator lamps of the
// display panel, the seek arrows, the lamp glyphs of the push buttons and
// the speaker icons of the window and the tray. All of them are drawn here,
// by this code, at the size they are shown; nothing is loaded from files.
//
// The panel pictures are pixel art drawn from character tables, one
// character a pixel, so they stay crisp at 11 pixels and every colour
// scheme reuses the same drawing. Pure black is their background and
// nothing else in them is pure black, so a caller can swap the background
// for the panel colour without touching the drawing.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>

namespace tunevox::display {

constexpr int kIndicatorSize = 11;   // "RADIO", "ALARM", "SLEEP", "PROG": 11 x 11
constexpr int kScanWidth = 16;       // "SCAN": 16 x 11
constexpr int kButtonGlyphWidth = 26;  // "BT": 26 x 11
constexpr int kPictureHeight = 11;

// Looks a picture up by its resource name: "BT" + d + "ON"/"OFF" (button
// lamps), "RADIO"/"ALARM"/"SLEEP"/"PROG" + d + "ON"/"OFF" (indicators),
// "SCAN" + d + "L"/"R" (seek arrows), d being a colour scheme digit 0..7.
// Letter case does not matter. Unknown names give a null image. The image
// is opaque (Format_RGB32) and black (0, 0, 0) is its background.
QImage Picture(const QString& name);

// The same picture with every black pixel repainted in `panel`, as the
// indicators sit on the display panel. Null for an unknown name.
QImage PictureOnPanel(const QString& name, QColor panel);

// The same picture with a transparent background (Format_ARGB32), for a
// button face whose colour comes from the desktop's style.
QImage PictureTransparent(const QString& name);

// Every name Picture knows, in a stable order (word, scheme, state).
QStringList PictureNames();

// The window and tray icons: a speaker playing (sound waves) or muted (red
// cross), antialiased, drawn at size x size on a transparent background.
// A size below 1 gives a null image.
QImage AppIconImage(bool muted, int size);

// The same drawing at 16, 22, 24, 32, 48 and 64 pixels. Needs the
// application object, as every QPixmap does.
QIcon AppIcon(bool muted);

}  // namespace tunevox::display
