#pragma once
// How a dialog asks for help: it names a topic of the user's guide and the
// opener decides how to show it. An empty function leaves the button
// without effect, so a dialog can be built without any help system.

#include <QString>

#include <functional>

class QPushButton;

namespace tunevox::app {

using tHelpFn = std::function<void(const QString& topic)>;

// Makes `button` call `help` with `topic`; without a help function the
// button is disabled rather than doing nothing when pressed.
void ConnectHelp(QPushButton* button, const tHelpFn& help, const QString& topic);

} // namespace tunevox::app
