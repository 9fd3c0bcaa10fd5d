#include "app/dialogs/dialog_help.h"

#include <QPushButton>

namespace tunevox::app {

void ConnectHelp(QPushButton* button, const tHelpFn& help, const QString& topic) {
    button->setEnabled(bool(help));
    if (!help) return;
    QObject::connect(button, &QPushButton::clicked, button, [help, topic] { help(topic); });
}

} // namespace tunevox::app
