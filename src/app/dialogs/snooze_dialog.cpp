#include "app/dialogs/snooze_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::app {

tdSnooze::tdSnooze(int minutes, widgets::tHelpFn help, QWidget* parent) : QDialog(parent) {
    setObjectName("tdSnooze");
    setWindowTitle("Sleep");

    auto* group = new QGroupBox("Turno off radio after", this);
    sMinutes = new widgets::TSpinField(kMinMinutes, kMaxMinutes, 1, 3, group);
    sMinutes->setObjectName("sMinutes");
    sMinutes->setValue(std::clamp(minutes, kMinMinutes, kMaxMinutes));
    auto* label = new QLabel("Minutes", group);
    label->setBuddy(sMinutes);
    auto* row = new QHBoxLayout(group);
    row->addWidget(sMinutes);
    row->addWidget(label);
    row->addStretch(1);

    const widgets::tDialogButtons b =
        widgets::LayOutDialog(this, group, widgets::tButtonRow().WithHelp("Sleep_function", help));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    // An emptied field keeps its old value inside the spin box; OK waits
    // until it holds a number again.
    connect(sMinutes, &widgets::TSpinField::TextEdited, this, [this] { btOk->setEnabled(sMinutes->HoldsNumber()); });
    sMinutes->setFocus();
    sMinutes->selectAll();
}

int tdSnooze::Minutes() const { return sMinutes->value(); }

} // namespace tunevox::app
