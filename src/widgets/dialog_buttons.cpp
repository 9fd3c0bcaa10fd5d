#include "widgets/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunevox::widgets {

namespace {

QPushButton* MakeButton(QDialog* dialog, const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, dialog);
    b->setObjectName(name);
    return b;
}

// The buttons are made left to right, so that Tab visits them in the order
// they are seen.
tDialogButtons LayOutRow(QDialog* dialog, QVBoxLayout* layout, const tButtonRow& row) {
    tDialogButtons b;
    auto* buttons = new QHBoxLayout;
    if (!row.helpTopic.isEmpty()) {
        b.help = MakeButton(dialog, "Help", "btHelp");
        // Enter means OK even while Help has the focus.
        b.help->setAutoDefault(false);
        ConnectHelp(b.help, row.help, row.helpTopic);
        buttons->addWidget(b.help);
    }
    buttons->addStretch(1);
    b.ok = MakeButton(dialog, row.okText, "btOk");
    b.ok->setDefault(true);
    if (row.okAccepts) QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    buttons->addWidget(b.ok);
    if (row.cancel) {
        b.cancel = MakeButton(dialog, "Cancel", "btCancel");
        QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
        buttons->addWidget(b.cancel);
    }
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return b;
}

} // namespace

void ConnectHelp(QPushButton* button, const tHelpFn& help, const QString& topic) {
    button->setEnabled(bool(help));
    if (!help) return;
    QObject::connect(button, &QPushButton::clicked, button, [help, topic] { help(topic); });
}

tDialogButtons LayOutDialog(QDialog* dialog, QWidget* content, const tButtonRow& row) {
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    return LayOutRow(dialog, layout, row);
}

tDialogButtons LayOutDialog(QDialog* dialog, QLayout* content, const tButtonRow& row) {
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(content);
    return LayOutRow(dialog, layout, row);
}

} // namespace tunevox::widgets
