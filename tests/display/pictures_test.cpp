// The panel pictures, button lamps and speaker icons: every name exists at
// its size, the states and schemes can be told apart, the panel colour only
// replaces the background, and a gallery is written for a person to judge.

#include "display/palette.h"
#include "display/pictures.h"
#include "display_test_support.h"

#include <gtest/gtest.h>


#include <set>

#ifndef TUNEVOX_SCREENSHOTS_DIR
#define TUNEVOX_SCREENSHOTS_DIR "screenshots"
#endif

namespace tunevox::display {
namespace {

bool IsBlack(QRgb p) { return (p & 0x00FFFFFFu) == 0; }

std::set<QRgb> Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    return colours;
}

int Brightest(const QImage& image) {
    int best = 0;
    for (QRgb c : Colours(image)) best = std::max(best, qRed(c) + qGreen(c) + qBlue(c));
    return best;
}

QSize ExpectedSize(const QString& name) {
    if (name.startsWith(QLatin1String("BT"))) return {kButtonGlyphWidth, kPictureHeight};
    if (name.startsWith(QLatin1String("SCAN"))) return {kScanWidth, kPictureHeight};
    return {kIndicatorSize, kIndicatorSize};
}

QString Name(const char* word, int scheme, const char* state) {
    return QLatin1String(word) + QString::number(scheme) + QLatin1String(state);
}

constexpr const char* kLampWords[] = {"BT", "RADIO", "ALARM", "SLEEP", "PROG"};

TEST(Palette, SchemesPairABrightColourWithItsDimPartner) {
    EXPECT_EQ(PaletteColor(9), QColor(255, 0, 0));
    EXPECT_EQ(PaletteColor(4), QColor(0, 0, 128));
    EXPECT_EQ(PaletteColor(16), QColor(0, 0, 0));
    EXPECT_EQ(PaletteColor(-1), QColor(0, 0, 0));
    const int text[] = {15, 7, 9, 11, 10, 14, 12, 13};
    const int dim[] = {8, 8, 1, 3, 2, 6, 4, 5};
    for (int s = 0; s < kSchemeCount; ++s) {
        EXPECT_EQ(TextColorIndex(s), text[s]) << s;
        EXPECT_EQ(DimColorIndex(s), dim[s]) << s;
    }
    EXPECT_EQ(TextColorIndex(8), 15);
    EXPECT_EQ(DimColorIndex(-3), 8);
}

TEST(Pictures, EveryNameExistsAtItsSizeInAnyLetterCase) {
    const QStringList names = PictureNames();
    EXPECT_EQ(names.size(), 6 * kSchemeCount * 2);
    for (const QString& name : names) {
        const QImage image = Picture(name);
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_EQ(image.size(), ExpectedSize(name)) << name.toStdString();
        EXPECT_EQ(Picture(name.toLower()), image) << name.toStdString();
        const auto colours = Colours(image);
        EXPECT_TRUE(colours.count(qRgb(0, 0, 0))) << name.toStdString() << " has no background";
        EXPECT_GE(colours.size(), 3u) << name.toStdString() << " is not drawn";
    }
}

TEST(Pictures, UnknownNamesAreNull) {
    for (const char* name : {"", "BT", "BT0", "BT8ON", "BT0ONX", "BT-1ON", "BTXON", "RADIO0L",
                             "SCAN0ON", "SCAN9L", "CLOCK0ON", " BT0ON", "PROG10OFF"}) {
        EXPECT_TRUE(Picture(QLatin1String(name)).isNull()) << name;
        EXPECT_TRUE(PictureOnPanel(QLatin1String(name), Qt::darkBlue).isNull()) << name;
    }
}

TEST(Pictures, OnIsLitOffIsDimAndEverySchemeHasItsOwnColour) {
    for (const char* word : kLampWords) {
        for (int s = 0; s < kSchemeCount; ++s) {
            const QImage on = Picture(Name(word, s, "ON"));
            const QImage off = Picture(Name(word, s, "OFF"));
            const QRgb bright = SchemeTextColor(s).rgb();
            EXPECT_NE(on, off) << word << s;
            EXPECT_GT(Brightest(on), Brightest(off) + 60) << word << s << " ON is not plainly lit";
            EXPECT_TRUE(Colours(on).count(bright)) << word << s << " ON lacks the scheme colour";
            EXPECT_FALSE(Colours(off).count(bright)) << word << s << " OFF shows the lit colour";
            EXPECT_TRUE(Colours(off).count(SchemeDimColor(s).rgb())) << word << s;
            for (int t = 0; t < s; ++t) {
                EXPECT_NE(on, Picture(Name(word, t, "ON"))) << word << s << " vs " << t;
                EXPECT_NE(off, Picture(Name(word, t, "OFF"))) << word << s << " vs " << t;
            }
        }
    }
}

TEST(Pictures, SeekArrowsMirrorEachOtherAndPointTheirWay) {
    for (int s = 0; s < kSchemeCount; ++s) {
        const QImage left = Picture(Name("SCAN", s, "L"));
        const QImage right = Picture(Name("SCAN", s, "R"));
        EXPECT_EQ(left, right.mirrored(true, false)) << s;
        EXPECT_NE(left, right) << s;
        EXPECT_TRUE(Colours(right).count(SchemeTextColor(s).rgb())) << s;
        // The chevrons' points lie on the middle row: pointing right, that
        // row reaches further right than the arms above it.
        auto rightmost = [&](int y) {
            for (int x = right.width() - 1; x >= 0; --x)
                if (!IsBlack(right.pixel(x, y))) return x;
            return -1;
        };
        EXPECT_GT(rightmost(kPictureHeight / 2), rightmost(1)) << s;
    }
}

TEST(Pictures, PanelColourReplacesOnlyTheBackground) {
    for (const QColor panel : {QColor(0, 0, 128), QColor(0, 128, 0), QColor(0, 0, 0)}) {
        for (const QString& name : PictureNames()) {
            const QImage plain = Picture(name);
            const QImage onPanel = PictureOnPanel(name, panel);
            ASSERT_EQ(onPanel.size(), plain.size()) << name.toStdString();
            for (int y = 0; y < plain.height(); ++y) {
                for (int x = 0; x < plain.width(); ++x) {
                    const QRgb before = plain.pixel(x, y), after = onPanel.pixel(x, y);
                    if (IsBlack(before)) {
                        ASSERT_EQ(after, panel.rgb()) << name.toStdString() << " at " << x << "," << y;
                    } else {
                        ASSERT_EQ(after, before) << name.toStdString() << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(Pictures, TransparentVersionHidesExactlyTheBackground) {
    for (const QString& name : {QStringLiteral("BT3ON"), QStringLiteral("BT6OFF")}) {
        const QImage plain = Picture(name);
        const QImage clear = PictureTransparent(name);
        ASSERT_EQ(clear.size(), plain.size());
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                EXPECT_EQ(qAlpha(clear.pixel(x, y)) == 0, IsBlack(plain.pixel(x, y)));
    }
}

bool HasColour(const QImage& image, bool (*test)(const QColor&)) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255 && test(QColor(image.pixel(x, y)))) return true;
    return false;
}
bool Reddish(const QColor& c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; }
bool Greenish(const QColor& c) { return c.green() > 160 && c.red() < 120 && c.blue() < 140; }

TEST(AppIcons, PlayingShowsGreenWavesMutedARedCrossAtEverySize) {
    for (int size : {16, 22, 24, 32, 48, 64, 256}) {
        const QImage playing = AppIconImage(false, size);
        const QImage muted = AppIconImage(true, size);
        ASSERT_EQ(playing.size(), QSize(size, size));
        ASSERT_EQ(muted.size(), QSize(size, size));
        EXPECT_NE(playing, muted) << size;
        EXPECT_TRUE(HasColour(playing, Greenish)) << size;
        EXPECT_FALSE(HasColour(playing, Reddish)) << size;
        EXPECT_TRUE(HasColour(muted, Reddish)) << size;
        EXPECT_EQ(qAlpha(playing.pixel(0, 0)), 0) << size << " corner should be transparent";
    }
    EXPECT_TRUE(AppIconImage(false, 0).isNull());
    for (bool muted : {false, true}) {
        const QList<QSize> sizes = AppIcon(muted).availableSizes();
        for (int size : {16, 22, 24, 32, 48, 64}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
}

}  // namespace
}  // namespace tunevox::display
