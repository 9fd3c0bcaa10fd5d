#include "app/dialogs/exit_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace tunevox::app {

tdExit::tdExit(bool yesAllowed, QWidget* parent) : QDialog(parent) {
    setObjectName("tdExit");
    setWindowTitle("Power-off message");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(new QLabel("Do you want the music to be in background ?", this), 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    btYes = new QPushButton("&Yes", this);
    btNo = new QPushButton("&No", this);
    btNotExit = new QPushButton("Not &exit", this);
    btYes->setEnabled(yesAllowed);
    for (auto [b, code] : {std::pair{btYes, int(Yes)}, std::pair{btNo, int(No)}, std::pair{btNotExit, int(NotExit)}}) {
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, code = code] { done(code); });
    }
    (yesAllowed ? btYes : btNo)->setDefault(true);
    layout->addLayout(buttons);
}

void tdExit::reject() { done(Yes); }

} // namespace tunevox::app
