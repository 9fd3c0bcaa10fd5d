#pragma once
// The pictures of the seven action kinds, on the palette and on every line
// of the script: drawn here by code on a transparent background, at the
// size they are shown, so they stay crisp on any screen. The mute pair is
// the program's own speaker, as the main window shows the mute state.

#include "script/script.h"

#include <QIcon>
#include <QImage>

namespace tunevox::scripteditor {

// Null for a size below 8 or a code that is no kind.
QImage ActionImage(script::tActionKind kind, int size);
// The picture at 16, 24 and 32 pixels.
QIcon ActionIcon(script::tActionKind kind);

} // namespace tunevox::scripteditor
