// pictures_gallery: every picture the program shows, enlarged four times
// on a black and on a navy panel, the button lamps on a light button face,
// all at true size beside them, and the application icon on a dark and a
// light taskbar, in one picture for a person to judge. A tool, not a test:
//
//     build/bin/pictures_gallery [FILE.png]     (default pictures_gallery.png)

#include "display/palette.h"
#include "display/pictures.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace tunevox::display;

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: pictures_gallery [FILE.png]\n");
        return 2;
    }
    const QString path = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pictures_gallery.png");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kZoom = 4, kGap = 8, kWidth = 1200;
    const QStringList names = PictureNames();
    QImage gallery(kWidth, 1400, QImage::Format_RGB32);
    gallery.fill(QColor(64, 64, 64));
    QPainter p(&gallery);
    int top = 0;

    // One band per background: the lamps in two rows (on, off), the other
    // words one row each, then everything at true size. On the button face
    // only the lamps, the one picture shown there.
    auto drawBand = [&](const QColor& face, bool buttonFace) {
        auto show = [&](const QString& name) {
            return buttonFace ? PictureTransparent(name) : PictureOnPanel(name, face);
        };
        const int rows = buttonFace ? 2 : 7;
        const int bandHeight = rows * (kPictureHeight * kZoom + kGap) + (buttonFace ? 24 : 40);
        const int bandTop = top;
        p.fillRect(0, top, kWidth, bandHeight, face);
        top += kGap;
        for (int state = 0; state < 2; ++state) {
            int left = kGap;
            for (int s = 0; s < kSchemeCount; ++s) {
                const QImage image = show(names.at(s * 2 + state));
                p.drawImage(left, top, image.scaled(image.size() * kZoom));
                left += image.width() * kZoom + 2 * kGap;
            }
            top += kPictureHeight * kZoom + kGap;
        }
        for (int w = 1; w < 6 && !buttonFace; ++w) {
            int left = kGap;
            for (int i = 0; i < 2 * kSchemeCount; ++i) {
                const QImage image = show(names.at(w * 2 * kSchemeCount + i));
                p.drawImage(left, top, image.scaled(image.size() * kZoom));
                left += image.width() * kZoom + (i % 2 ? 2 * kGap : kGap / 2);
            }
            top += kPictureHeight * kZoom + kGap;
        }
        int left = kGap;
        for (const QString& name : buttonFace ? names.mid(0, 2 * kSchemeCount) : names) {
            const QImage image = show(name);
            if (left + image.width() > kWidth - kGap) {
                left = kGap;
                top += kPictureHeight + 4;
            }
            p.drawImage(left, top, image);
            left += image.width() + 4;
        }
        top = bandTop + bandHeight;
    };
    drawBand(QColor(0, 0, 0), false);
    drawBand(PaletteColor(4), false);
    drawBand(QColor(212, 208, 200), true);

    int left = 0;
    for (const QColor& back : {QColor(30, 30, 36), QColor(236, 236, 236)}) {
        p.fillRect(left, top, kWidth / 2, 2 * 64 + 3 * kGap, back);
        for (bool muted : {false, true}) {
            int x = left + kGap;
            for (int size : {16, 22, 24, 32, 48, 64}) {
                p.drawImage(x, top + kGap + (muted ? 64 + kGap : 0), AppIconImage(muted, size));
                x += size + kGap;
            }
            const QImage small = AppIconImage(muted, 16);
            p.drawImage(x + kGap, top + kGap + (muted ? 64 + kGap : 0), small.scaled(64, 64));
        }
        left += kWidth / 2;
    }
    top += 2 * 64 + 3 * kGap;
    p.end();

    if (!gallery.copy(0, 0, kWidth, top).save(path)) {
        std::fprintf(stderr, "pictures_gallery: cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}

