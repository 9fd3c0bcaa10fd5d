#include "display/pictures.h"

#include "display/palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace tunevox::display {
namespace {

// ---------------------------------------------------------------------------
// Pixel tables. One character a pixel; the inks are chosen per scheme and
// state by InkFor below.
//   .  background (pure black)
//   #  body             +  highlight          -  shade
//   o  faint fill (clock face)                *  detail shown only when on
//   k  bezel of a button lamp                 h  lit lower edge of the bezel
//   g  bezel ring next to the lamp, which glows while the lamp is on
// ---------------------------------------------------------------------------

using Rows = std::span<const std::string_view>;

// Two beamed eighth notes: music is playing.
constexpr std::string_view kRadio[] = {
    "......++###",
    "...++####--",
    "...##-....#",
    "...#......#",
    "...#......#",
    "...#......#",
    ".+##....+##",
    "+###...+###",
    "###-...###-",
    "-#-....-#-.",
    "...........",
};

// A bell; while the alarm is set it rings (the marks at its sides).
constexpr std::string_view kAlarm[] = {
    ".....#.....",
    "*...+#-...*",
    ".*.+###-.*.",
    "...+###-...",
    "*..+###-..*",
    "..+####--..",
    "..+####--..",
    ".+#######-.",
    "+#########-",
    "....+#-....",
    ".....-.....",
};

// A crescent moon; while the sleep timer runs, a "Z" floats beside it.
constexpr std::string_view kSleep[] = {
    "......*****",
    "..+#-....*.",
    ".+##....*..",
    "+##-...*...",
    "+##-..*****",
    "+###.......",
    "+###.......",
    "-####......",
    ".-#####--..",
    "..-#####-..",
    "...-###-...",
};

// A clock face with its hands at three o'clock.
constexpr std::string_view kProg[] = {
    "...-###-...",
    ".-#ooooo#-.",
    ".#ooo+ooo#.",
    "#oooo+oooo#",
    "#oooo+oooo#",
    "#-ooo+++o-#",
    "#ooooooooo#",
    "#ooooooooo#",
    ".#ooo-ooo#.",
    ".-#ooooo#-.",
    "...-###-...",
};

// Two chevrons pointing right; the left-pointing picture is its mirror.
constexpr std::string_view kScanRight[] = {
    "................",
    "..++....++......",
    "..###...###.....",
    "...###...###....",
    "....###...###...",
    ".....###...###..",
    "....###...###...",
    "...###...###....",
    "..###...###.....",
    "..--....--......",
    "................",
};

// A lamp strip set in a dark bezel, lit or unlit.
constexpr std::string_view kButtonLamp[] = {
    "..........................",
    "..kkkkkkkkkkkkkkkkkkkkkk..",
    ".kggggggggggggggggggggggh.",
    ".kg#++++++++++++++++++#gh.",
    ".kg####################gh.",
    ".kg####################gh.",
    ".kg####################gh.",
    ".kg--------------------gh.",
    ".kggggggggggggggggggggggh.",
    "..hhhhhhhhhhhhhhhhhhhhhh..",
    "..........................",
};

// ---------------------------------------------------------------------------
// Inks.
// ---------------------------------------------------------------------------

constexpr QRgb kBackground = qRgb(0, 0, 0);
const QColor kBezel(38, 38, 44);
const QColor kBezelEdge(120, 120, 128);

QColor Mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

// The drawing must never contain the background colour itself, or the
// panel colour would eat holes into it.
QRgb Ink(const QColor& c) {
    const QRgb rgb = c.rgb() | 0xFF000000u;
    return (rgb & 0x00FFFFFFu) == 0 ? qRgb(1, 1, 1) : rgb;
}

struct Inks {
    QRgb body, light, shade, faint, bezel, glow, edge;
    bool showDetail;
};

Inks InkFor(int scheme, bool on) {
    const QColor bright = SchemeTextColor(scheme);
    const QColor dim = SchemeDimColor(scheme);
    const QColor black(0, 0, 0), white(255, 255, 255);
    Inks inks{};
    inks.bezel = Ink(kBezel);
    inks.edge = Ink(kBezelEdge);
    if (on) {
        inks.body = Ink(bright);
        inks.light = Ink(Mix(bright, white, 0.6));
        inks.shade = Ink(Mix(bright, dim, 0.6));
        inks.faint = Ink(Mix(bright, black, 0.72));
        inks.glow = Ink(Mix(kBezel, bright, 0.45));
        inks.showDetail = true;
    } else {
        // Unlit: the dim partner of the hue, with a slightly lighter edge so
        // the shape still reads on a panel of the same dim colour.
        inks.body = Ink(dim);
        inks.light = Ink(Mix(dim, bright, 0.3));
        inks.shade = Ink(Mix(dim, black, 0.3));
        inks.faint = Ink(Mix(dim, black, 0.6));
        inks.glow = inks.bezel;
        inks.showDetail = false;
    }
    return inks;
}

std::optional<QRgb> InkOf(char c, const Inks& inks) {
    switch (c) {
    case '.': return kBackground;
    case '#': return inks.body;
    case '+': return inks.light;
    case '-': return inks.shade;
    case 'o': return inks.faint;
    case '*': return inks.showDetail ? inks.body : kBackground;
    case 'k': return inks.bezel;
    case 'g': return inks.glow;
    case 'h': return inks.edge;
    default: return std::nullopt;
    }
}

// A table whose rows differ in length or that holds an unknown character
// gives a null image, so a slip in a table shows up as a missing picture.
QImage PaintTable(Rows rows, int width, const Inks& inks) {
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const std::string_view row = rows[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != width) return {};
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto ink = InkOf(row[static_cast<std::size_t>(x)], inks);
            if (!ink) return {};
            line[x] = *ink;
        }
    }
    return image;
}

// ---------------------------------------------------------------------------
// Names.
// ---------------------------------------------------------------------------

enum class Word { Button, Radio, Alarm, Sleep, Prog, Scan };

struct WordInfo {
    Word word;
    const char* text;
    Rows rows;
    int width;
};

const std::array<WordInfo, 6> kWords = {{
    {Word::Button, "BT", kButtonLamp, kButtonGlyphWidth},
    {Word::Radio, "RADIO", kRadio, kIndicatorSize},
    {Word::Alarm, "ALARM", kAlarm, kIndicatorSize},
    {Word::Sleep, "SLEEP", kSleep, kIndicatorSize},
    {Word::Prog, "PROG", kProg, kIndicatorSize},
    {Word::Scan, "SCAN", kScanRight, kScanWidth},
}};

struct PictureKey {
    const WordInfo* word;
    int scheme;
    bool on;    // ON/OFF words
    bool left;  // SCAN
};

std::optional<PictureKey> ParseName(const QString& name) {
    const QString upper = name.toUpper();
    for (const WordInfo& info : kWords) {
        const QString word = QLatin1String(info.text);
        if (!upper.startsWith(word) || upper.size() <= word.size()) continue;
        const QChar digit = upper.at(word.size());
        if (digit < QLatin1Char('0') || digit > QLatin1Char('7')) return std::nullopt;
        const QString state = upper.mid(word.size() + 1);
        PictureKey key{&info, digit.unicode() - '0', false, false};
        if (info.word == Word::Scan) {
            if (state == QLatin1String("L")) key.left = true;
            else if (state != QLatin1String("R")) return std::nullopt;
        } else {
            if (state == QLatin1String("ON")) key.on = true;
            else if (state != QLatin1String("OFF")) return std::nullopt;
        }
        return key;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// The speaker icon, drawn on a 64 x 64 design grid and scaled.
// ---------------------------------------------------------------------------

const QColor kIconInk(30, 32, 40);

void DrawSpeaker(QPainter& p, double outline) {
    QPainterPath body;
    body.moveTo(4, 22);
    body.lineTo(18, 22);
    body.lineTo(34, 7);
    body.lineTo(34, 57);
    body.lineTo(18, 42);
    body.lineTo(4, 42);
    body.closeSubpath();
    QLinearGradient fill(0, 7, 0, 57);
    fill.setColorAt(0.0, QColor(250, 250, 252));
    fill.setColorAt(1.0, QColor(146, 154, 172));
    p.setPen(QPen(kIconInk, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(body);
    // The seam between magnet and cone.
    p.setPen(QPen(kIconInk, outline * 0.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(18, 22), QPointF(18, 42));
}

// A stroke with a dark rim, so it stands out on light and dark taskbars.
void DrawRimmedStroke(QPainter& p, const QPainterPath& path, const QColor& colour, double width,
                      double rim) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kIconInk, width + 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void DrawWaves(QPainter& p, int size, double rim) {
    // Fewer, wider waves at the small sizes, where three would run together.
    const bool small = size < 24;
    const std::array<double, 3> radii = small ? std::array<double, 3>{12, 23, 0}
                                              : std::array<double, 3>{10, 18, 26};
    const double width = small ? 6.5 : 5.0;
    QPainterPath waves;
    for (double r : radii) {
        if (r <= 0) continue;
        const QRectF box(33 - r, 32 - r, 2 * r, 2 * r);
        waves.arcMoveTo(box, 42);
        waves.arcTo(box, 42, -84);
    }
    DrawRimmedStroke(p, waves, QColor(70, 215, 90), width, rim);
}

void DrawCross(QPainter& p, int size, double rim) {
    const double width = size < 24 ? 8.0 : 6.5;
    QPainterPath cross;
    cross.moveTo(42, 22);
    cross.lineTo(60, 42);
    cross.moveTo(42, 42);
    cross.lineTo(60, 22);
    DrawRimmedStroke(p, cross, QColor(232, 36, 36), width, rim);
}

}  // namespace

QImage Picture(const QString& name) {
    const auto key = ParseName(name);
    if (!key) return {};
    const bool lit = key->word->word == Word::Scan || key->on;
    QImage image = PaintTable(key->word->rows, key->word->width, InkFor(key->scheme, lit));
    if (key->left) image = image.mirrored(true, false);
    return image;
}

QImage PictureOnPanel(const QString& name, QColor panel) {
    QImage image = Picture(name);
    const QRgb fill = panel.rgb() | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0) line[x] = fill;
        }
    }
    return image;
}

QImage PictureTransparent(const QString& name) {
    QImage image = Picture(name);
    if (image.isNull()) return image;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0) line[x] = 0;
        }
    }
    return image;
}

QStringList PictureNames() {
    QStringList names;
    for (const WordInfo& info : kWords) {
        const bool scan = info.word == Word::Scan;
        for (int scheme = 0; scheme < kSchemeCount; ++scheme) {
            const QString stem = QLatin1String(info.text) + QString::number(scheme);
            names << stem + (scan ? QStringLiteral("L") : QStringLiteral("ON"))
                  << stem + (scan ? QStringLiteral("R") : QStringLiteral("OFF"));
        }
    }
    return names;
}

QImage AppIconImage(bool muted, int size) {
    if (size < 1) return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = size / 64.0;
    p.scale(scale, scale);
    // Keep the outlines about one device pixel wide at every size.
    const double outline = std::max(3.0, 1.1 / scale);
    const double rim = outline * 0.55;
    DrawSpeaker(p, outline);
    if (muted) DrawCross(p, size, rim);
    else DrawWaves(p, size, rim);
    return image;
}

QIcon AppIcon(bool muted) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(AppIconImage(muted, size)));
    return icon;
}

}  // namespace tunevox::display
