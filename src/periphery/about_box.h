#pragma once
// The about box: what the program is, its version and licence, and the
// receivers it knows.

#include <QDialog>
#include <QIcon>
#include <QString>

class QLabel;
class QPushButton;

namespace tunevox::periphery {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // `icon` is the application's icon; a null icon leaves the picture out.
    TAboutBox(const QString& version, const QIcon& icon, QWidget* parent = nullptr);

    QLabel* Picture = nullptr;
    QLabel* ProgramName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Purpose = nullptr;
    QLabel* Hardware = nullptr;
    QLabel* Licence = nullptr;
    QPushButton* btOk = nullptr;
};

} // namespace tunevox::periphery
