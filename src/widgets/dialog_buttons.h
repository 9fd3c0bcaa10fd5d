#pragma once
// The row of buttons under every dialog, built in one place so that all of
// them look and behave alike: Help on the left, then a gap, then OK and
// Cancel. A dialog says which of them it has; the names btOk, btCancel and
// btHelp are the same everywhere, so tests and a user's habits find them.
//
// How a dialog asks for help: it names a topic of the user's guide and the
// opener decides how to show it. A dialog built without a help function
// shows its Help button disabled, so it works without any help system.

#include <QString>

#include <functional>
#include <utility>

class QDialog;
class QLayout;
class QPushButton;
class QWidget;

namespace tunevox::widgets {

using tHelpFn = std::function<void(const QString& topic)>;

// Makes `button` call `help` with `topic`; without a help function the
// button is disabled rather than doing nothing when pressed.
void ConnectHelp(QPushButton* button, const tHelpFn& help, const QString& topic);

// Which buttons a dialog has, and what OK does. By default: "OK", which
// accepts the dialog, and Cancel, which rejects it; no Help. Written as
//   tButtonRow().WithOk("Ok").WithHelp("Volume_controls", help)
struct tButtonRow {
    QString okText = "OK";
    bool okAccepts = true;
    bool cancel = true;
    QString helpTopic; // empty: no Help button
    tHelpFn help;      // empty: Help is there but disabled

    tButtonRow& WithOk(const QString& caption) {
        okText = caption;
        return *this;
    }
    // For a dialog that may refuse OK: it connects the button itself.
    tButtonRow& OkHandledByDialog() {
        okAccepts = false;
        return *this;
    }
    tButtonRow& WithoutCancel() {
        cancel = false;
        return *this;
    }
    tButtonRow& WithHelp(const QString& topic, tHelpFn fn) {
        helpTopic = topic;
        help = std::move(fn);
        return *this;
    }
};

// The buttons made; those the dialog does not have are null. OK is the
// dialog's default button.
struct tDialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};

// Gives `dialog` its layout: `content` above the row of buttons, and the
// dialog's size fixed to what they need.
tDialogButtons LayOutDialog(QDialog* dialog, QWidget* content, const tButtonRow& row);
tDialogButtons LayOutDialog(QDialog* dialog, QLayout* content, const tButtonRow& row);

} // namespace tunevox::widgets
