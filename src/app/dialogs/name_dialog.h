#pragma once
// The small dialogs of the main window: the station name, the exit question
// and the notice shown when the card's I/O ports cannot be reached.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace tunevox::app {

// "Asking for station name": one field of at most 40 characters.
class TNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit TNameDialog(const QString& name, QWidget* parent = nullptr);
    QString Name() const;
    QLineEdit* sName = nullptr;
};

// "Power-off message": the answer is one of these codes.
class tdExit : public QDialog {
    Q_OBJECT
public:
    enum tAnswer { Yes = 10, No = 11, NotExit = 12 };
    tdExit(bool yesAllowed, QWidget* parent = nullptr);
    QPushButton* btYes = nullptr;
    QPushButton* btNo = nullptr;
    QPushButton* btNotExit = nullptr;

protected:
    void reject() override; // the title-bar close acts like "&Yes"
};

// The card's I/O ports cannot be reached: what is needed on Linux.
class tdGiveIO : public QDialog {
    Q_OBJECT
public:
    tdGiveIO(const QString& model, const QString& reason, QWidget* parent = nullptr);
};

} // namespace tunevox::app
