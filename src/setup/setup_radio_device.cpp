// tdSetup: the radio device model (Linux, /dev/radioN). Instead of a port
// the user chooses a device node; what the receiver can do is asked of the
// chosen device, so the tuning options and the volume page say what it
// will do once the card opens it.

#include "setup/setup_dialog.h"

#include "platform/radio_device.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>

namespace tunevox::setup {

namespace {

const char* const kNoRadioDeviceText =
    "No radio device was found in your computer. Plug in the USB radio, or load the kernel module "
    "of the radio card (for example: sudo modprobe radio-aimslab). To try Tunevox without hardware, "
    "load the test driver: sudo modprobe vivid. Then open the settings again.\n\n"
    "To use a radio device you must be a member of the video group.";

} // namespace

void tdSetup::BuildRadioDeviceGroups(QWidget* page, QLayout* ports) {
    gbRadioDevice = new QGroupBox("Connected to", page);
    gbRadioDevice->setObjectName("gbRadioDevice");
    auto* v = new QVBoxLayout(gbRadioDevice);
    auto* caption = new QLabel("Radio device", gbRadioDevice);
    v->addWidget(caption);
    RadioDeviceList = new QComboBox(gbRadioDevice);
    RadioDeviceList->setObjectName("RadioDeviceList");
    // A long card name must not widen the fixed group.
    RadioDeviceList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    RadioDeviceList->setMinimumContentsLength(16);
    caption->setBuddy(RadioDeviceList);

    std::vector<std::string> listed = radioDevices_;
    // A device configured for this model that is gone (unplugged, another
    // number after a reboot) stays a choice, so it is not replaced unseen.
    const std::string& configured = records_[radio::mV4L2].radioDevice;
    const bool configuredHere = hasConfiguredCard_ && configuredModel_ == radio::mV4L2;
    const bool gone = std::find(listed.begin(), listed.end(), configured) == listed.end();
    if (configuredHere && gone && !listed.empty()) {
        listed.insert(std::upper_bound(listed.begin(), listed.end(), configured, platform::NaturalLess), configured);
    }
    for (const std::string& path : listed) {
        const bool present = std::find(radioDevices_.begin(), radioDevices_.end(), path) != radioDevices_.end();
        const std::string label =
            present && env_.radioDevices ? platform::RadioDeviceLabel(*env_.radioDevices, path) : path + " (not present)";
        RadioDeviceList->addItem(QString::fromStdString(label), QString::fromStdString(path));
        RadioDeviceList->setItemData(RadioDeviceList->count() - 1, QString::fromStdString(label), Qt::ToolTipRole);
    }
    // The list opens as wide as its longest entry; the closed box may cut a
    // long card name, so the chosen one's is also written out below it.
    RadioDeviceList->view()->setMinimumWidth(RadioDeviceList->view()->sizeHintForColumn(0) + 8);
    connect(RadioDeviceList, &QComboBox::currentIndexChanged, this, [this] {
        ShowRadioDeviceName();
        if (!updating_) RadioDeviceListChange();
    });
    v->addWidget(RadioDeviceList);
    lbRadioDeviceName = new QLabel(gbRadioDevice);
    lbRadioDeviceName->setObjectName("lbRadioDeviceName");
    lbRadioDeviceName->setWordWrap(true);
    lbRadioDeviceName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(lbRadioDeviceName);
    v->addStretch();
    lbInstalledDevice = new QLabel("This radio card is currently\ninstalled in your computer", gbRadioDevice);
    lbInstalledDevice->setObjectName("lbInstalledDevice");
    QFont f = lbInstalledDevice->font();
    f.setItalic(true);
    lbInstalledDevice->setFont(f);
    v->addWidget(lbInstalledDevice);
    ports->addWidget(gbRadioDevice);

    gbNoRadioDevice = new QGroupBox("Warning", page);
    gbNoRadioDevice->setObjectName("gbNoRadioDevice");
    auto* w = new QVBoxLayout(gbNoRadioDevice);
    auto* l = new QLabel(kNoRadioDeviceText, gbNoRadioDevice);
    l->setObjectName("lbNoRadioDevice");
    l->setWordWrap(true);
    // The commands are for copying into a terminal.
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    w->addWidget(l);
    w->addStretch();
    ports->addWidget(gbNoRadioDevice);
}

void tdSetup::ShowRadioDevice() {
    if (RadioDeviceList->count() == 0) {
        // The record keeps its path: OK hands it back as it was.
        gbNoRadioDevice->show();
        return;
    }
    tModelRecord& rec = SelectedRecord();
    int index = RadioDeviceList->findData(QString::fromStdString(rec.radioDevice));
    if (index < 0) {
        // What is shown is what is taken: the first device present.
        index = 0;
        rec.radioDevice = RadioDeviceList->itemData(0).toString().toStdString();
    }
    RadioDeviceList->setCurrentIndex(index);
    ShowRadioDeviceName();
    lbInstalledDevice->setVisible(hasConfiguredCard_ && selected_ == configuredModel_);
    gbRadioDevice->show();
}

void tdSetup::ShowRadioDeviceName() {
    // The label is "<path> — <card name>", or the path alone (and a remark)
    // when the device could not be asked.
    const QString path = RadioDeviceList->currentData().toString();
    QString name = RadioDeviceList->currentText();
    name = name.startsWith(path) ? name.mid(path.size()) : QString();
    if (name.startsWith(QString::fromUtf8(" \u2014 "))) name = name.mid(3);
    else if (name.startsWith(" (") && name.endsWith(")")) name = name.mid(2, name.size() - 3);
    lbRadioDeviceName->setText(name);
}

void tdSetup::AskRadioDevice() {
    const std::string& path = records_[radio::mV4L2].radioDevice;
    deviceCaps_.reset();
    // Until the device answers, the table's record stands for it, with
    // Japanese FM left to the user: the card drops it on opening when the
    // device cannot tune there, and the configured choice is not lost here.
    deviceStandIn_ = Caps(radio::mV4L2);
    deviceStandIn_.HasJapaneseFM = deviceStandIn_.HasFM;

    int error = ENODEV;
    std::unique_ptr<platform::IRadioDevice> device;
    if (env_.radioDevices) {
        error = 0;
        device = env_.radioDevices->Open(path, &error);
        if (!device && error == 0) error = ENODEV;
    }
    if (device) {
        radio::tRadioDeviceCaps asked;
        if (const int r = radio::AskRadioDeviceCaps(*device, Caps(radio::mV4L2), &asked); r < 0) {
            error = -r;
        } else {
            deviceText_ = radio::DescribeRadioDevice(asked);
            deviceCaps_ = std::move(asked);
            return;
        }
    }
    if (error == EBUSY) {
        // The radio playing now may hold it (a driver that opens once).
        deviceText_ = path +
                      " is in use, by the radio playing now or by another program, so it cannot tell what it "
                      "can do; shown here is what most radio devices can do.";
    } else {
        deviceText_ = "Tunevox " + platform::RadioDeviceMessage(path, error) + ".";
    }
}

const radio::tDevCap& tdSetup::SelectedCaps() const {
    if (selected_ != radio::mV4L2) return Caps(selected_);
    return deviceCaps_ ? deviceCaps_->caps : deviceStandIn_;
}

void tdSetup::RadioDeviceListChange() {
    const QString path = RadioDeviceList->currentData().toString();
    if (path.isEmpty() || selected_ != radio::mV4L2) return;
    SelectedRecord().radioDevice = path.toStdString();
    AskRadioDevice();
    const bool was = updating_;
    updating_ = true;
    ShowTuningOptions();
    RebuildVolumeList();
    updating_ = was;
}

} // namespace tunevox::setup
