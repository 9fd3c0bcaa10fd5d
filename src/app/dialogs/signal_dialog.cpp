#include "mixer/window/signal_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::mixer {

tdSigStr::tdSigStr(int threshold, tHelpFn help, QWidget* parent) : QDialog(parent) {
    setObjectName("tdSigStr");
    setWindowTitle("Signal strenght");

    auto* group = new QGroupBox("Set the signal strenght", this);
    group->setObjectName("gSignal");
    SStrenght = new QSlider(Qt::Horizontal, group);
    SStrenght->setObjectName("SStrenght");
    SStrenght->setRange(kMinThreshold, kMaxThreshold);
    SStrenght->setSingleStep(1);
    SStrenght->setPageStep(1);
    SStrenght->setTickInterval(1);
    SStrenght->setTickPosition(QSlider::TicksBelow);
    SStrenght->setMinimumWidth(200);
    SStrenght->setValue(std::clamp(threshold, kMinThreshold, kMaxThreshold));
    auto* weak = new QLabel("Weak", group);
    weak->setObjectName("LWeak");
    auto* strong = new QLabel("Strong", group);
    strong->setObjectName("LStrong");
    auto* grid = new QGridLayout(group);
    grid->addWidget(SStrenght, 0, 0, 1, 3);
    grid->addWidget(weak, 1, 0, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->addWidget(strong, 1, 2, Qt::AlignRight);

    btHelp = new QPushButton("Help", this);
    btHelp->setObjectName("btHelp");
    btHelp->setAutoDefault(false);
    btHelp->setEnabled(bool(help));
    if (help) connect(btHelp, &QPushButton::clicked, this, [help] { help("Set_Signal_Strenght"); });
    btCancel = new QPushButton("Cancel", this);
    btCancel->setObjectName("btCancel");
    btCancel->setAutoDefault(false);
    btOk = new QPushButton("OK", this);
    btOk->setObjectName("btOk");
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btHelp);
    buttons->addStretch(1);
    buttons->addWidget(btCancel);
    buttons->addWidget(btOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SStrenght->setFocus();
}

int tdSigStr::Threshold() const { return SStrenght->value(); }

} // namespace tunevox::mixer
