#include "periphery/about_box.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace tunevox::periphery {
namespace {

TEST(AboutBox, NamesTheProgramItsLicenceAndEveryReceiver) {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setBrush(Qt::darkCyan);
        p.drawEllipse(4, 4, 56, 56);
    }
    TAboutBox box("1.2.3", QIcon(pixmap));
    EXPECT_EQ(box.ProgramName->text(), "Tunevox");
    EXPECT_TRUE(box.Version->text().contains("1.2.3"));
    EXPECT_TRUE(box.Licence->text().contains("GNU General Public License"));
    EXPECT_TRUE(box.Licence->text().contains("version 3"));
    for (const char* receiver : {"AimsLab Radiotrack", "Reveal RA300", "Zoltrix Radio Plus 108",
                                 "Aztech/PB/Express FM radio card", "Gemtek Wizard Radio and RadioMan",
                                 "Justy RadionMaru", "Unit Rajikoma"})
        EXPECT_TRUE(box.Hardware->text().contains(receiver)) << receiver;
    EXPECT_FALSE(box.Picture->pixmap().isNull());
    test::Screenshot(box, "about_box");

    TAboutBox plain("1.2.3", QIcon());
    EXPECT_TRUE(plain.Picture->isHidden());
}

} // namespace
} // namespace tunevox::periphery
