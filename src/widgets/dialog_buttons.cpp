#include "app/dialogs/dialog_help.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunevox::app {

void ConnectHelp(QPushButton* button, const tHelpFn& help, const QString& topic) {
    button->setEnabled(bool(help));
    if (!help) return;
    QObject::connect(button, &QPushButton::clicked, button, [help, topic] { help(topic); });
}

tDialogButtons LayOutDialog(QDialog* dialog, QWidget* content, const QString& okText, const tHelpFn& help,
                            const QString& topic) {
    tDialogButtons b;
    b.ok = new QPushButton(okText, dialog);
    b.ok->setObjectName("btOk");
    b.ok->setDefault(true);
    b.cancel = new QPushButton("Cancel", dialog);
    b.cancel->setObjectName("btCancel");
    b.help = new QPushButton("Help", dialog);
    b.help->setObjectName("btHelp");
    b.help->setAutoDefault(false);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    ConnectHelp(b.help, help, topic);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(b.ok);
    buttons->addWidget(b.cancel);
    buttons->addWidget(b.help);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return b;
}

} // namespace tunevox::app
