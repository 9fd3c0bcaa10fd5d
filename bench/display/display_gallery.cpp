// display_gallery: writes every code 0..255 in every style into one
// picture, so that the font and the segment looks can be judged by eye.
// The cells have the size and settings of the main window's frequency
// readout. A tool, not a test:
//
//     build/bin/display_gallery [FILE.png]     (default display_gallery.png)
//
// It runs without a screen (Qt's offscreen platform) unless
// QT_QPA_PLATFORM says otherwise.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "display/display_color.h"
#include "display/tdisplay.h"

using namespace tunevox::display;

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: display_gallery [FILE.png]\n");
        return 2;
    }
    const char* path = argc == 2 ? argv[1] : "display_gallery.png";
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

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
    if (!gallery.save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "display_gallery: cannot write %s\n", path);
        return 1;
    }
    std::printf("%s\n", path);
    return 0;
}
