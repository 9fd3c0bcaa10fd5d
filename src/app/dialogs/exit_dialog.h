#pragma once
// "Power-off message": asked when the program ends, whether the radio goes
// on playing in the background. The answer is one of the codes below.

#include <QDialog>

class QPushButton;

namespace tunevox::app {

class tdExit : public QDialog {
    Q_OBJECT
public:
    enum tAnswer { Yes = 10, No = 11, NotExit = 12 };
    // yesAllowed: false for a card that always mutes on exit, which cannot
    // play on.
    tdExit(bool yesAllowed, QWidget* parent = nullptr);
    QPushButton* btYes = nullptr;
    QPushButton* btNo = nullptr;
    QPushButton* btNotExit = nullptr;

protected:
    void reject() override; // the title-bar close acts like "&Yes"
};

} // namespace tunevox::app
