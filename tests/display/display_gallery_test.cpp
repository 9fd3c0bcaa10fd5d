// Writes every code 0..255 in every style into one picture, so that the
// font and the segment looks can be judged by eye. The cells have the size
// and settings of the main window's frequency readout.

#include "display/tdisplay.h"
#include "display_test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

#ifndef TUNEVOX_DISPLAY_GALLERY
#define TUNEVOX_DISPLAY_GALLERY "display_gallery.png"
#endif

namespace tunevox::display {
namespace {

TEST(DisplayGallery, EveryGlyphInEveryStyle) {
    test::EnsureApp();
    constexpr int kCellW = 33, kCellH = 47, kGap = 12;
    constexpr int kBlockW = 16 * kCellW, kBlockH = 16 * kCellH;
    const struct {
        TDigitStyle style;
        int segWidth;
    } looks[] = {{ds16Seg, 3}, {ds5x7Bulb, 6}, {ds5x7Dot, 6}, {ds7Seg, 4}};

    const TColor panel = MakeColor(0x10, 0x10, 0x18);
    QImage gallery(4 * kBlockW + 3 * kGap, kBlockH, QImage::Format_RGB32);
    gallery.fill(ToArgb32(MakeColor(0x80, 0x80, 0x80)));
    QPainter painter(&gallery);
    TDisplay cell;
    cell.resize(kCellW, kCellH);
    cell.SetMargin(2);
    cell.SetOnColor(MakeColor(0xFF, 0x30, 0x20));
    cell.SetOffColor(MakeColor(0x38, 0x20, 0x20));
    cell.SetBackColor(panel);
    cell.SetPenOnColor(panel);
    cell.SetPenOffColor(panel);
    for (int i = 0; i < 4; ++i) {
        cell.SetDigitStyle(looks[i].style);
        cell.SetSegWidth(looks[i].segWidth);
        for (int code = 0; code < 256; ++code) {
            cell.SetDigit(static_cast<std::uint8_t>(code));
            painter.resetTransform();
            painter.translate(i * (kBlockW + kGap) + (code % 16) * kCellW, (code / 16) * kCellH);
            cell.RenderTo(painter);
        }
    }
    painter.end();
    EXPECT_TRUE(gallery.save(QStringLiteral(TUNEVOX_DISPLAY_GALLERY)))
        << "could not write " << TUNEVOX_DISPLAY_GALLERY;
}

}  // namespace
}  // namespace tunevox::display
