#pragma once
// How a dialog asks for help: it names a topic of the user's guide and the
// opener decides how to show it. An empty function leaves the button
// without effect, so a dialog can be built without any help system.

#include <QString>

#include <functional>

class QDialog;
class QPushButton;
class QWidget;

namespace tunevox::app {

using tHelpFn = std::function<void(const QString& topic)>;

// Makes `button` call `help` with `topic`; without a help function the
// button is disabled rather than doing nothing when pressed.
void ConnectHelp(QPushButton* button, const tHelpFn& help, const QString& topic);

// The buttons under a small dialog: OK (the default), Cancel and Help,
// right-aligned, named btOk, btCancel and btHelp. Cancel rejects; OK is
// left to the dialog, which may refuse it. Lays `content` above them.
struct tDialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};
tDialogButtons LayOutDialog(QDialog* dialog, QWidget* content, const QString& okText, const tHelpFn& help,
                            const QString& topic);

} // namespace tunevox::app
