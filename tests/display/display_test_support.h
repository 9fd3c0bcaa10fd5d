#pragma once
// Shared helpers of the display tests: a headless application and a way to
// render a cell onto a surface whose frame colour is known.

#include "display/display_color.h"
#include "display/tdisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace tunevox::display::test {

// Widgets need an application object. A test environment owns it: it is
// made when the tests start (listing them needs no display) and destroyed
// before the program exits, while Qt's own globals still exist. It runs
// offscreen unless the caller chose a platform.
class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
        if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[14] = "display_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtApp =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

inline void EnsureApp() { ASSERT_NE(QApplication::instance(), nullptr) << "no application object"; }

// Five colours that differ from each other and from the frame, so every
// pixel tells which part painted it.
constexpr TColor kOn = MakeColor(0xFF, 0x20, 0x10);
constexpr TColor kOff = MakeColor(0x30, 0x60, 0x30);
constexpr TColor kBack = MakeColor(0x00, 0x00, 0x40);
constexpr TColor kPenOn = MakeColor(0xF0, 0xF0, 0x00);
constexpr TColor kPenOff = MakeColor(0x00, 0xC0, 0xC0);
constexpr TColor kFrame = MakeColor(0xFF, 0x00, 0xFF);  // "the parent's paint"

inline void UseTestColors(TDisplay& cell) {
    cell.SetOnColor(kOn);
    cell.SetOffColor(kOff);
    cell.SetBackColor(kBack);
    cell.SetPenOnColor(kPenOn);
    cell.SetPenOffColor(kPenOff);
}

// The cell painted onto a surface of its own size that the "parent" filled
// with the frame colour.
inline QImage Render(TDisplay& cell) {
    QImage image(cell.width(), cell.height(), QImage::Format_RGB32);
    image.fill(ToArgb32(kFrame));
    cell.RenderTo(image);
    return image;
}

// The colour at a point given in the layout's coordinates. The bitmap the
// layout is drawn on sits one pixel into the cell, hence the shift.
inline TColor LayoutPixel(const QImage& image, int x, int y) {
    return FromQColor(QColor(image.pixel(x + 1, y + 1)));
}

inline TColor CellPixel(const QImage& image, int x, int y) {
    return FromQColor(QColor(image.pixel(x, y)));
}

}  // namespace tunevox::display::test
