#include "app/dialogs/port_access_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunevox::app {

tdGiveIO::tdGiveIO(const QString& model, const QString& problem, QWidget* parent) : QDialog(parent) {
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
    text("Tunevox " + problem + ".");
    text("With --virtual Tunevox runs on emulated receivers instead. The chapter \"Hardware set-up\" of the "
         "help tells more.");
    auto* ok = new QPushButton("Continue", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(460);
}

} // namespace tunevox::app
