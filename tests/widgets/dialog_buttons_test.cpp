#include "widgets/dialog_buttons.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace tunevox::widgets {
namespace {

// Where a button sits in the dialog.
QRect Place(const QDialog& d, const QWidget* w) { return QRect(w->mapTo(&d, QPoint(0, 0)), w->size()); }

TEST(DialogButtons, HelpOnTheLeftThenOkAndCancelUnderTheContent) {
    QDialog d;
    auto* content = new QLabel("A content wider than the three buttons together, so that a gap opens", &d);
    std::vector<QString> topics;
    const tButtonRow row =
        tButtonRow().WithOk("Ok").WithHelp("Some_topic", [&](const QString& t) { topics.push_back(t); });
    const tDialogButtons b = LayOutDialog(&d, content, row);
    ASSERT_TRUE(b.ok && b.cancel && b.help);
    EXPECT_EQ(b.ok, d.findChild<QPushButton*>("btOk"));
    EXPECT_EQ(b.cancel, d.findChild<QPushButton*>("btCancel"));
    EXPECT_EQ(b.help, d.findChild<QPushButton*>("btHelp"));
    EXPECT_EQ(b.ok->text(), "Ok");
    EXPECT_EQ(b.cancel->text(), "Cancel");
    EXPECT_EQ(b.help->text(), "Help");
    EXPECT_TRUE(b.ok->isDefault());

    d.show();
    const QRect help = Place(d, b.help), ok = Place(d, b.ok), cancel = Place(d, b.cancel);
    EXPECT_GE(help.top(), Place(d, content).bottom());
    EXPECT_EQ(ok.top(), help.top());
    EXPECT_EQ(cancel.top(), help.top());
    EXPECT_EQ(help.left(), content->x()); // the gap is between Help and OK
    EXPECT_GT(ok.left(), help.right() + 20);
    EXPECT_GT(cancel.left(), ok.right());
    EXPECT_EQ(cancel.right(), Place(d, content).right());
    test::ExpectNothingClipped(d, "button row");

    b.help->click();
    EXPECT_EQ(topics, (std::vector<QString>{"Some_topic"}));
    EXPECT_TRUE(d.isVisible()) << "Help closed the dialog";
    b.ok->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    d.show();
    b.cancel->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
}

TEST(DialogButtons, ADialogHasOnlyTheButtonsItAsksFor) {
    QDialog plain;
    auto* content = new QVBoxLayout;
    content->addWidget(new QLabel("Only OK", &plain));
    const tDialogButtons only = LayOutDialog(&plain, content, tButtonRow().WithoutCancel());
    EXPECT_EQ(only.ok->text(), "OK");
    EXPECT_EQ(only.cancel, nullptr);
    EXPECT_EQ(only.help, nullptr);
    EXPECT_EQ(plain.findChildren<QPushButton*>().size(), 1);

    // Help without a help function is there but cannot be pressed.
    QDialog noHelp;
    const tDialogButtons grey =
        LayOutDialog(&noHelp, new QLabel("x", &noHelp), tButtonRow().WithHelp("Some_topic", {}));
    ASSERT_NE(grey.help, nullptr);
    EXPECT_FALSE(grey.help->isEnabled());

    // A dialog that may refuse OK decides itself what OK does.
    QDialog refusing;
    const tDialogButtons own =
        LayOutDialog(&refusing, new QLabel("x", &refusing), tButtonRow().OkHandledByDialog());
    refusing.show();
    own.ok->click();
    EXPECT_TRUE(refusing.isVisible());
    EXPECT_EQ(refusing.result(), 0);
}

} // namespace
} // namespace tunevox::widgets
