#pragma once
// What every test of windows needs: the application object (made once per
// test program, offscreen unless the caller chose a platform), pictures of
// the windows for a person to look at, and a check that no text is cut off.

#include <QString>

class QWidget;

namespace tunevox::test {

// Writes the window as name.png into the screenshots folder
// (TUNEVOX_SCREENSHOTS_DIR from the environment, else the build's). A window
// not yet shown is laid out, shown for the picture and hidden again.
void Screenshot(QWidget& window, const QString& name);

// Every visible label, check box, radio button and push button under
// `root` is at least as large as its text needs.
void ExpectNothingClipped(const QWidget& root, const QString& where);

} // namespace tunevox::test
