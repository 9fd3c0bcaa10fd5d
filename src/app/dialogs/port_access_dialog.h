#pragma once
// The notice shown at start-up when the configured card's I/O ports cannot
// be reached: what the card needs on Linux and how to go on without it.

#include <QDialog>
#include <QString>

namespace tunevox::app {

class tdGiveIO : public QDialog {
    Q_OBJECT
public:
    // `problem`: why the ports cannot be reached and what helps, in the
    // system's words (radioset::PortAccessMessage): setcap only where a
    // permission would help.
    tdGiveIO(const QString& model, const QString& problem, QWidget* parent = nullptr);
};

} // namespace tunevox::app
