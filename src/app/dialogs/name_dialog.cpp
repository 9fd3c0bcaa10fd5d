#include "app/dialogs/name_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunevox::app {

TNameDialog::TNameDialog(const QString& name, QWidget* parent) : QDialog(parent) {
    setObjectName("tdName");
    setWindowTitle("Asking for station name");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Station name", this);
    sName = new QLineEdit(name.left(40), this);
    sName->setObjectName("sName");
    sName->setMaxLength(40);
    sName->setMinimumWidth(280);
    label->setBuddy(sName);
    layout->addWidget(label);
    layout->addWidget(sName);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    sName->selectAll();
}

QString TNameDialog::Name() const { return sName->text().trimmed(); }

} // namespace tunevox::app
