#pragma once
// The organizer tree's three pictures: a closed folder, an open folder and
// a station (a small radio with its aerial). Drawn by this code, smooth at
// every size the desktop asks for; nothing is loaded from files.

#include <QIcon>
#include <QImage>

namespace tunevox::organizer {

enum class eTreePicture { ClosedFolder, OpenFolder, Station };

// The picture at size x size on a transparent background; null below 1.
QImage TreePictureImage(eTreePicture picture, int size);
// The same at 16, 20, 24, 32 and 48 pixels.
QIcon TreePicture(eTreePicture picture);

} // namespace tunevox::organizer
