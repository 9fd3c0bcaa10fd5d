#include "app/dialogs/signal_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>

#include <algorithm>

namespace tunevox::app {

tdSigStr::tdSigStr(int threshold, widgets::tHelpFn help, QWidget* parent) : QDialog(parent) {
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

    const widgets::tDialogButtons b =
        widgets::LayOutDialog(this, group, widgets::tButtonRow().WithHelp("Set_Signal_Strenght", help));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    SStrenght->setFocus();
}

int tdSigStr::Threshold() const { return SStrenght->value(); }

} // namespace tunevox::app
