#pragma once
// The notice shown at start-up when the configured card's I/O ports cannot
// be reached: what the card needs on Linux and how to go on without it.

#include <QDialog>
#include <QString>

namespace tunevox::app {

class tdGiveIO : public QDialog {
    Q_OBJECT
public:
    // `reason`: why the ports could not be reached; empty leaves it out.
    tdGiveIO(const QString& model, const QString& reason, QWidget* parent = nullptr);
};

} // namespace tunevox::app
