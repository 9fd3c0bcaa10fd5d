#include "app/window/name_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
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

tdGiveIO::tdGiveIO(const QString& model, const QString& reason, QWidget* parent) : QDialog(parent) {
    setObjectName("tdGiveIO");
    setWindowTitle("Warning");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("No access to the radio card's I/O ports", this);
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    heading->setFont(f);
    layout->addWidget(heading);
    auto text = [&](const QString& t) {
        auto* l = new QLabel(t, this);
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(l);
    };
    text(QString("The configured radio card (%1) is controlled by direct access to I/O ports.").arg(model));
    if (!reason.isEmpty()) text("The ports could not be reached: " + reason + ".");
    text("On Linux that access needs root, or the CAP_SYS_RAWIO capability given to the program once:\n"
         "    sudo setcap cap_sys_rawio+ep /path/to/tunevox\n"
         "To try Tunevox without the card, start it with --virtual: it then runs on emulated receivers.");
    text("The chapter \"Hardware set-up\" of the help tells more.");
    auto* ok = new QPushButton("Continue", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(460);
}

} // namespace tunevox::app
