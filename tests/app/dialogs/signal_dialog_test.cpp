#include "app/dialogs/signal_dialog.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <vector>

namespace tunevox::app {
namespace {

TEST(SignalDialog, OpensOnTheClampedThresholdAndOnlyOkHandsTheSliderBack) {
    for (auto [given, shown] : {std::pair{-5, 0}, std::pair{0, 0}, std::pair{2, 2}, std::pair{3, 3}, std::pair{9, 3}}) {
        tdSigStr d(given);
        EXPECT_EQ(d.SStrenght->value(), shown) << given;
        EXPECT_EQ(d.Threshold(), shown) << given;
    }
    tdSigStr d(1);
    EXPECT_EQ(d.windowTitle(), "Signal strenght");
    EXPECT_EQ(d.SStrenght->minimum(), 0);
    EXPECT_EQ(d.SStrenght->maximum(), 3);
    EXPECT_EQ(d.SStrenght->singleStep(), 1);
    d.SStrenght->setValue(3);
    d.btOk->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Threshold(), 3);

    tdSigStr c(1);
    c.SStrenght->setValue(0);
    c.btCancel->click();
    EXPECT_EQ(c.result(), QDialog::Rejected);
}

TEST(SignalDialog, HelpOpensItsTopicAndIsGreyWithoutAHelpSystem) {
    std::vector<QString> topics;
    tdSigStr d(0, [&](const QString& t) { topics.push_back(t); });
    d.btHelp->click();
    EXPECT_EQ(topics, (std::vector<QString>{"Set_Signal_Strenght"}));
    tdSigStr none(0);
    EXPECT_FALSE(none.btHelp->isEnabled());
}

TEST(SignalDialog, Screenshot) {
    tdSigStr d(2, [](const QString&) {});
    test::Screenshot(d, "signal_dialog");
    test::ExpectNothingClipped(d, "signal dialog");
}

} // namespace
} // namespace tunevox::app
