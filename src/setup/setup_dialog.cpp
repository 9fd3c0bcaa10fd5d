// tdSetup: the working copy, the per-model records, the pages "Radio card"
// (the radio device's groups in setup_radio_device.cpp), "Volume control"
// and "General", and closing.

#include "setup/setup_dialog.h"

#include "platform/port_io.h"
#include "platform/radio_device.h"
#include "radioset/capability_text.h"
#include "radioset/card_setup.h"
#include "radio/radio_card.h"
#include "setup/setup_widgets.h"
#include "widgets/dialog_buttons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::setup {

using radio::tModel;
using radio::tVolumeLine;

namespace {

QString ProgramPath() {
    const QString program = QCoreApplication::applicationFilePath();
    return program.isEmpty() ? "/path/to/tunevox" : program;
}

// How the messages of the card's set-up name the remedies here.
radioset::tRemedies Remedies() {
    return {ProgramPath().toStdString(), "start Tunevox with --virtual", "choose the other port",
            "choose another port"};
}

bool IsMixerLine(tVolumeLine line) {
    return line == radio::vlLineIn || line == radio::vlMicIn || line == radio::vlCd;
}

// "30Ch", "358h": an I/O address as the card's documentation writes it.
QString PortAddressText(uint16_t address) { return QString::number(address, 16).toUpper() + "h"; }

// The text the serial warning ends with names what exists here: the
// [ComPorts] map of the configuration file and the device's permissions.
const char* const kNoSerialText =
    "In your computer seems that\n"
    "there aren't free serial ports.\n"
    "In this case you can't use this\n"
    "device. If a serial radio device\n"
    "is connected, check that the\n"
    "[ComPorts] section of Tunevox.ini\n"
    "names its device file and that\n"
    "you may open it (for example as\n"
    "a member of the dialout group).";

} // namespace

void TakeCardCapabilities(tSetupEnvironment& env, const radio::TRadioCard& card) {
    for (int m = 0; m < radio::kModelCount; ++m) env.models[m] = card.GetCaps(static_cast<tModel>(m));
    env.hasSoundCard = card.HasSoundCard();
    env.lineInUsable = card.MixerLineUsable(radio::vlLineIn);
    env.micUsable = card.MixerLineUsable(radio::vlMicIn);
    env.cdUsable = card.MixerLineUsable(radio::vlCd);
}

tdSetup::tdSetup(const radioset::tConfiguration& config, tSetupEnvironment env, QWidget* parent)
    : QDialog(parent), env_(std::move(env)), working_(config) {
    setObjectName("tdSetup");
    setWindowTitle("Settings");

    configuredModel_ = config.Model();
    hasConfiguredCard_ = config.Hardware >= 1 && config.Hardware <= radio::kModelCount;
    // Before the main window exists no card is open, so the port the user
    // picks is the one to use, whatever was in the file.
    keepConfiguredPort_ = hasConfiguredCard_ && !env_.firstRun;
    const radio::tDevCap& configuredCaps = Caps(configuredModel_);
    configuredPort_ = (config.Port >= 1 && config.Port <= configuredCaps.PortCount)
                          ? static_cast<uint16_t>(config.Port)
                          : configuredCaps.DefaultPort;

    for (int m = 0; m < radio::kModelCount; ++m) {
        tModelRecord& r = records_[m];
        r.port = env_.models[m].DefaultPort;
        // The serial radios are heard through a cable into the sound card;
        // the I/O-port cards and most radio devices have a volume of their own.
        r.volumeLine = env_.models[m].PortKind == radio::kSerialPort ? radio::vlLineIn : radio::vlNative;
    }
    records_[radio::mV4L2].radioDevice = config.RadioDevice;
    tModelRecord& own = records_[configuredModel_];
    own.port = configuredPort_;
    own.volumeLine = config.VolumeLine;
    own.japaneseFM = config.JapaneseFM;
    own.threshold = configuredCaps.SignalStrength ? std::clamp(config.CheckIfTunedST, 0, 3) : 3;
    // The check period is shown in a field of 1 to 60 seconds.
    own.seconds = std::clamp(config.CheckIfTunedSec, 1, 60);
    own.check = config.CheckIfTuned;
    // The volume line must be one the model and the computer offer.
    const bool native = configuredCaps.HasVolume || configuredCaps.HasMute;
    if (env_.hasSoundCard) {
        if (own.volumeLine == radio::vlNative && !native) own.volumeLine = radio::vlLineIn;
    } else if (IsMixerLine(own.volumeLine)) {
        own.volumeLine = native ? radio::vlNative : radio::vlNone;
    }
    if (!radioset::IsValidKeyString(working_.KeyboardCommands)) working_.KeyboardCommands = radioset::kDefaultKeyboardCommands;

    const bool configuredIsSerial = configuredCaps.PortKind == radio::kSerialPort;
    for (int n = 1; n <= 8; ++n) {
        // The configured card holds its own port open, so the probe of that
        // one would fail although the port is the card's.
        const bool cardsOwn = hasConfiguredCard_ && configuredIsSerial && n == configuredPort_;
        if (cardsOwn || (env_.comPortFree && env_.comPortFree(n))) serialPorts_.push_back(n);
    }
    if (env_.radioDevices) radioDevices_ = env_.radioDevices->List();

    auto* top = new QVBoxLayout;
    if (env_.firstRun) top->addWidget(BuildWelcome());
    Pages = new QTabWidget(this);
    Pages->setObjectName("Pages");
    const char* const titles[] = {"Radio card", "Volume control", "General", "Colors", "Buttons", "Keys"};
    const char* const names[] = {"tsRadioCard", "tsVolume", "tsGeneral", "tsColors", "tsButtons", "tsKeys"};
    std::array<QWidget*, 6> page{};
    for (int i = 0; i < 6; ++i) {
        page[i] = new QWidget;
        page[i]->setObjectName(names[i]);
        Pages->addTab(page[i], titles[i]);
    }
    top->addWidget(Pages);

    const widgets::tDialogButtons b = widgets::LayOutDialog(
        this, top, widgets::tButtonRow().OkHandledByDialog().WithHelp(kHelpTopic, env_.showHelp));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    // OK is taken only while enabled, and it marks the working copy as handed back.
    connect(btOk, &QPushButton::clicked, this, &tdSetup::btOkClick);

    updating_ = true;
    BuildRadioCardPage(page[0]);
    BuildVolumePage(page[1]);
    BuildGeneralPage(page[2]);
    BuildColorsPage(page[3]);
    BuildButtonsPage(page[4]);
    BuildKeysPage(page[5]);
    updating_ = false;

    // The configured model is shown with its record as if it were chosen.
    selected_ = configuredModel_;
    updating_ = true;
    HwList->setCurrentRow(selected_);
    updating_ = false;
    ShowModel();
    Pages->setCurrentIndex(0);

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &tdSetup::ColorTimerTimer);
    Timer->start();
}

tdSetup::~tdSetup() = default;

const std::string& tdSetup::KeyAlphabet() {
    static const std::string alphabet = [] {
        std::string s;
        for (int c = 32; c <= 126; ++c) {
            if (c < 'a' || c > 'z') s += static_cast<char>(c);
        }
        return s;
    }();
    return alphabet;
}

radioset::tConfiguration tdSetup::Working() const {
    radioset::tConfiguration c = working_;
    const tModelRecord& r = records_[selected_];
    c.Hardware = radioset::ModelCode(selected_);
    c.Port = r.port;
    if (selected_ == radio::mV4L2) c.RadioDevice = r.radioDevice;
    c.VolumeLine = r.volumeLine;
    c.JapaneseFM = r.japaneseFM && SelectedCaps().HasJapaneseFM;
    c.CheckIfTunedST = r.threshold;
    c.CheckIfTunedSec = r.seconds;
    c.CheckIfTuned = r.check;
    return c;
}

radioset::tConfiguration tdSetup::Result() const {
    radioset::tConfiguration r = Working();
    if (keepConfiguredPort_ && selected_ == configuredModel_) r.Port = configuredPort_;
    return r;
}

QWidget* tdSetup::BuildWelcome() {
    QString text =
        "<b>Welcome to Tunevox.</b> Tell it which radio receiver this computer has: choose the "
        "model under <i>FM/AM devices</i> and the port it is connected to. ";
    text += env_.emulated
                ? "Tunevox was started with <i>--virtual</i>, so every model is an emulated receiver "
                  "and plays without any hardware. "
                : "Without a receiver, start Tunevox with <i>--virtual</i> to use emulated ones. ";
    text +=
        "The <i>Volume control</i> page says what sets the loudness: the radio card itself, or the "
        "sound card input (line in, microphone, CD) that the radio's audio cable is plugged into.<br>"
        "Everything else can stay as it is. OK starts the radio; Cancel quits without saving "
        "anything. All of this can be changed later with Options, Settings.";
    lbWelcome = new QLabel(text, this);
    lbWelcome->setObjectName("lbWelcome");
    lbWelcome->setWordWrap(true);
    lbWelcome->setTextFormat(Qt::RichText);
    lbWelcome->setFrameShape(QFrame::StyledPanel);
    lbWelcome->setMargin(6);
    lbWelcome->setAutoFillBackground(true);
    QPalette p = lbWelcome->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    lbWelcome->setPalette(p);
    return lbWelcome;
}

// ---------------------------------------------------------------- Radio card

void tdSetup::BuildRadioCardPage(QWidget* page) {
    auto* grid = new QGridLayout(page);

    auto* gbHardware = new QGroupBox("Hardware", page);
    gbHardware->setObjectName("gbHardware");
    auto* hw = new QVBoxLayout(gbHardware);
    auto* lbDevices = new QLabel("FM/AM devices", gbHardware);
    hw->addWidget(lbDevices);
    HwList = new QListWidget(gbHardware);
    HwList->setObjectName("HwList");
    for (int m = 0; m < radio::kModelCount; ++m) {
        const radio::tDevCap& c = env_.models[m];
        HwList->addItem(QString::fromStdString(c.DevMaker + " " + c.DevName));
    }
    lbDevices->setBuddy(HwList);
    // A list view is named by its own name only, never by a buddy label.
    HwList->setAccessibleName(lbDevices->text());
    FitListToRows(HwList, radio::kModelCount);
    connect(HwList, &QListWidget::currentRowChanged, this, [this] {
        if (!updating_) HwListChange();
    });
    hw->addWidget(HwList);
    hw->addStretch();
    grid->addWidget(gbHardware, 0, 0, 2, 1);

    auto* ports = new QVBoxLayout;
    auto installedLabel = [](QWidget* parent, const char* name) {
        auto* l = new QLabel("This radio card is currently\ninstalled in your computer", parent);
        l->setObjectName(name);
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
        return l;
    };

    gbIOPort = new QGroupBox("Connected to", page);
    gbIOPort->setObjectName("gbIOPort");
    {
        auto* v = new QVBoxLayout(gbIOPort);
        lbIOPort = new QLabel("I/O Port", gbIOPort);
        v->addWidget(lbIOPort);
        rbPrimaryAddr = new QRadioButton(gbIOPort);
        rbPrimaryAddr->setObjectName("PrimaryAddr");
        rbAlternateAddr = new QRadioButton(gbIOPort);
        rbAlternateAddr->setObjectName("AlternateAddr");
        connect(rbPrimaryAddr, &QRadioButton::toggled, this, [this](bool on) {
            if (on && !updating_) PrimaryAddr();
        });
        connect(rbAlternateAddr, &QRadioButton::toggled, this, [this](bool on) {
            if (on && !updating_) AlternateAddr();
        });
        v->addWidget(rbPrimaryAddr);
        v->addWidget(rbAlternateAddr);
        v->addStretch();
        lbInstalledIO = installedLabel(gbIOPort, "lbInstalledIO");
        v->addWidget(lbInstalledIO);
    }
    ports->addWidget(gbIOPort);

    gbSerialPort = new QGroupBox("Connected to", page);
    gbSerialPort->setObjectName("gbSerialPort");
    {
        auto* v = new QVBoxLayout(gbSerialPort);
        auto* caption = new QLabel("Avalaible comms port", gbSerialPort);
        v->addWidget(caption);
        auto* row = new QHBoxLayout;
        Port_Serial = new QComboBox(gbSerialPort);
        Port_Serial->setObjectName("Port_Serial");
        for (int n : serialPorts_) Port_Serial->addItem("Com" + QString::number(n), n);
        caption->setBuddy(Port_Serial);
        connect(Port_Serial, &QComboBox::currentIndexChanged, this, [this] {
            if (!updating_) Port_SerialChange();
        });
        row->addWidget(Port_Serial);
        lbDevicePath = new QLabel(gbSerialPort);
        lbDevicePath->setObjectName("lbDevicePath");
        lbDevicePath->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lbDevicePath->setWordWrap(true); // long /dev/serial/by-id/... names
        lbDevicePath->setToolTip("The device file this port stands for");
        row->addWidget(lbDevicePath, 1);
        v->addLayout(row);
        v->addStretch();
        lbInstalledSerial = installedLabel(gbSerialPort, "lbInstalledSerial");
        v->addWidget(lbInstalledSerial);
    }
    ports->addWidget(gbSerialPort);

    gbNoSerial = new QGroupBox("Warning", page);
    gbNoSerial->setObjectName("gbNoSerial");
    {
        auto* v = new QVBoxLayout(gbNoSerial);
        auto* l = new QLabel(kNoSerialText, gbNoSerial);
        l->setObjectName("lbNoSerial");
        v->addWidget(l);
        v->addStretch();
    }
    ports->addWidget(gbNoSerial);

    gbNoPortAccess = new QGroupBox("Warning", page);
    gbNoPortAccess->setObjectName("gbNoPortAccess");
    {
        auto* v = new QVBoxLayout(gbNoPortAccess);
        lbNoPortAccess = new QLabel(gbNoPortAccess);
        lbNoPortAccess->setObjectName("lbNoPortAccess");
        lbNoPortAccess->setWordWrap(true);
        v->addWidget(lbNoPortAccess);
        // A long program path wraps anywhere; copying gives the command as it is.
        edSetcap = new QPlainTextEdit(gbNoPortAccess);
        edSetcap->setObjectName("edSetcap");
        edSetcap->setReadOnly(true);
        edSetcap->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edSetcap->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edSetcap->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edSetcap->setToolTip("Copy this command into a terminal");
        edSetcap->setAccessibleName("Command that grants port access");
        edSetcap->setPlainText("sudo setcap cap_sys_rawio+ep " + ProgramPath());
        edSetcap->setFixedHeight(3 * edSetcap->fontMetrics().lineSpacing() + 2 * edSetcap->frameWidth() + 8);
        v->addWidget(edSetcap);
        v->addStretch();
    }
    ports->addWidget(gbNoPortAccess);
    BuildRadioDeviceGroups(page, ports);
    // The tallest group sets the height, so the page does not jump when the
    // model changes.
    for (QGroupBox* g : {gbIOPort, gbSerialPort, gbNoSerial, gbNoPortAccess, gbRadioDevice, gbNoRadioDevice}) {
        g->setFixedWidth(260);
        g->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    grid->addLayout(ports, 0, 1);

    lbEmulated = new QLabel("Started with --virtual: every model is an emulated receiver.", page);
    lbEmulated->setObjectName("lbEmulated");
    lbEmulated->setWordWrap(true);
    lbEmulated->setFixedWidth(260);
    lbEmulated->setVisible(env_.emulated);
    grid->addWidget(lbEmulated, 1, 1);

    auto* gbTuning = new QGroupBox("Tuning options", page);
    gbTuning->setObjectName("gbTuning");
    auto* t = new QGridLayout(gbTuning);
    xCheckIfTuned = new QCheckBox("Check signal strenght every", gbTuning);
    xCheckIfTuned->setObjectName("xCheckIfTuned");
    connect(xCheckIfTuned, &QCheckBox::toggled, this, [this] {
        if (!updating_) xCheckIfTunedClick();
    });
    StTime = new QSpinBox(gbTuning);
    StTime->setObjectName("StTime");
    StTime->setRange(1, 60);
    StTime->setMaximumWidth(StTime->fontMetrics().horizontalAdvance("000") + 40);
    // It completes the check box's sentence ("every ... secs"), which no
    // single label says.
    StTime->setAccessibleName("Seconds between checks");
    connect(StTime, &QSpinBox::valueChanged, this, [this] {
        if (!updating_) StTimeChange();
    });
    lbSecs = new QLabel("secs", gbTuning);
    xJapFM = new QCheckBox("Japanese FM frequencies", gbTuning);
    xJapFM->setObjectName("xJapFM");
    connect(xJapFM, &QCheckBox::toggled, this, [this] {
        if (!updating_) xJapFMClick();
    });
    SStrenght = new QSlider(Qt::Horizontal, gbTuning);
    SStrenght->setObjectName("SStrenght");
    SStrenght->setRange(0, 3);
    SStrenght->setPageStep(1);
    SStrenght->setTickPosition(QSlider::TicksBelow);
    SStrenght->setTickInterval(1);
    SStrenght->setFixedWidth(120);
    connect(SStrenght, &QSlider::valueChanged, this, [this] {
        if (!updating_) SStrenghtChange();
    });
    lbStrenght[0] = new QLabel("Strenght", gbTuning);
    lbStrenght[1] = new QLabel("wk", gbTuning);
    lbStrenght[2] = new QLabel("st", gbTuning);
    lbStrenght[0]->setObjectName("lbStrenght");
    lbStrenght[1]->setObjectName("lbWeak");
    lbStrenght[2]->setObjectName("lbStrong");
    lbStrenght[0]->setBuddy(SStrenght);
    auto* check = new QHBoxLayout;
    check->addWidget(xCheckIfTuned);
    check->addWidget(StTime);
    check->addWidget(lbSecs);
    check->addStretch();
    t->addLayout(check, 0, 0);
    auto* strength = new QHBoxLayout;
    strength->addWidget(lbStrenght[0]);
    strength->addSpacing(8);
    strength->addWidget(lbStrenght[1]);
    strength->addWidget(SStrenght);
    strength->addWidget(lbStrenght[2]);
    strength->addStretch();
    t->addLayout(strength, 0, 1);
    t->addWidget(xJapFM, 1, 0);
    grid->addWidget(gbTuning, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
}

void tdSetup::ShowModel() {
    const bool was = updating_;
    updating_ = true;
    // The port group settles which radio device is chosen, and what that
    // device can do decides the tuning options and the volume lines.
    ShowPortGroup();
    if (selected_ == radio::mV4L2) AskRadioDevice();
    ShowTuningOptions();
    RebuildVolumeList();
    updating_ = was;
}

void tdSetup::ShowTuningOptions() {
    const radio::tDevCap& caps = SelectedCaps();
    const tModelRecord& r = SelectedRecord();
    xCheckIfTuned->setChecked(r.check);
    StTime->setValue(std::clamp(r.seconds, 1, 60));
    StTime->setEnabled(r.check);
    lbSecs->setEnabled(r.check);
    xJapFM->setEnabled(caps.HasJapaneseFM);
    xJapFM->setChecked(caps.HasJapaneseFM && r.japaneseFM);
    SStrenght->setValue(std::clamp(r.threshold, 0, 3));
    const bool strength = caps.SignalStrength && r.check;
    SStrenght->setEnabled(strength);
    for (QLabel* l : lbStrenght) {
        l->setEnabled(strength);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, strength ? palette().color(QPalette::WindowText) : QColor(0x80, 0x80, 0x80));
        l->setPalette(p);
    }
}

void tdSetup::ShowPortGroup() {
    const radio::tDevCap& caps = Caps(selected_);
    tModelRecord& rec = SelectedRecord();
    const bool installed = hasConfiguredCard_ && selected_ == configuredModel_;
    for (QGroupBox* g : {gbIOPort, gbSerialPort, gbNoSerial, gbNoPortAccess, gbRadioDevice, gbNoRadioDevice}) g->hide();
    bool okEnabled = true;

    if (caps.PortKind == radio::kDeviceNode) {
        ShowRadioDevice();
    } else if (caps.PortKind == radio::kIOPort) {
        platform::tPortAccessError why;
        const bool access = env_.emulated || !env_.portAccess || env_.portAccess(selected_, rec.port, &why);
        if (!access) {
            // The system's cause and what helps: a permission (the setcap
            // line to copy), or nothing but emulated receivers where the
            // system has no port access at all.
            const int port = radioset::EffectivePort(caps, rec.port);
            const std::string message =
                radioset::PortAccessMessage(caps.Ports[port], caps.PortSpan, why, Remedies());
            lbNoPortAccess->setText("This card is reached through the computer's I/O ports. Tunevox " +
                                    QString::fromStdString(message) + ".");
            edSetcap->setVisible(why.PermissionDenied());
            gbNoPortAccess->show();
            okEnabled = false;
        } else {
            rbPrimaryAddr->setText(PortAddressText(caps.Ports[1]) + " (default)");
            rbAlternateAddr->setText(PortAddressText(caps.Ports[2]) + " (alternate)");
            if (rec.port != 1 && rec.port != 2) rec.port = 1;
            (rec.port == 2 ? rbAlternateAddr : rbPrimaryAddr)->setChecked(true);
            lbInstalledIO->setVisible(installed);
            gbIOPort->show();
        }
    } else if (serialPorts_.empty()) {
        gbNoSerial->show();
    } else {
        int index = Port_Serial->findData(static_cast<int>(rec.port));
        if (index < 0) {
            // What is shown is what is taken: the first free port.
            index = 0;
            rec.port = static_cast<uint16_t>(Port_Serial->itemData(0).toInt());
        }
        Port_Serial->setCurrentIndex(index);
        ShowSerialPort();
        lbInstalledSerial->setVisible(installed);
        gbSerialPort->show();
    }
    btOk->setEnabled(okEnabled);
}

void tdSetup::ShowSerialPort() {
    const int n = Port_Serial->currentData().toInt();
    if (!env_.comDevicePath || n <= 0) {
        lbDevicePath->clear();
        return;
    }
    const QString path = QString::fromStdString(env_.comDevicePath(n));
    lbDevicePath->setText(path);
    lbDevicePath->setToolTip(QString("Com%1 is the device file %2").arg(n).arg(path));
}

void tdSetup::HwListChange() {
    const int row = HwList->currentRow();
    if (row < 0 || row >= radio::kModelCount) return;
    selected_ = static_cast<tModel>(row);
    ShowModel();
}

void tdSetup::PrimaryAddr() { SelectedRecord().port = 1; }

void tdSetup::AlternateAddr() { SelectedRecord().port = 2; }

void tdSetup::Port_SerialChange() {
    const int n = Port_Serial->currentData().toInt();
    if (n <= 0) return;
    SelectedRecord().port = static_cast<uint16_t>(n);
    ShowSerialPort();
}

void tdSetup::xCheckIfTunedClick() {
    SelectedRecord().check = xCheckIfTuned->isChecked();
    const bool was = updating_;
    updating_ = true;
    ShowTuningOptions();
    updating_ = was;
}

void tdSetup::xJapFMClick() { SelectedRecord().japaneseFM = xJapFM->isChecked(); }

void tdSetup::StTimeChange() { SelectedRecord().seconds = StTime->value(); }

void tdSetup::SStrenghtChange() { SelectedRecord().threshold = SStrenght->value(); }

// ------------------------------------------------------------ Volume control

void tdSetup::BuildVolumePage(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    auto* gb = new QGroupBox("Your radio card and this computer", page);
    gb->setObjectName("gbCapability");
    auto* gv = new QVBoxLayout(gb);
    LMessage = new QLabel(gb);
    LMessage->setObjectName("LMessage");
    LMessage->setWordWrap(true);
    gv->addWidget(LMessage);
    v->addWidget(gb);

    ScLabel = new QLabel("The sound volume is controlled trough", page);
    ScLabel->setObjectName("ScLabel");
    v->addWidget(ScLabel);
    ScList = new QListWidget(page);
    ScList->setObjectName("ScList");
    FitListToRows(ScList, 4);
    ScList->setFixedWidth(220);
    ScLabel->setBuddy(ScList);
    ScList->setAccessibleName("Volume controlled through");
    connect(ScList, &QListWidget::currentRowChanged, this, [this] {
        if (!updating_) ScListClick();
    });
    v->addWidget(ScList);
    auto* hint = new QLabel(
        "\"Radio card\" uses the receiver's own volume and mute. A sound card line is the input "
        "(line in, microphone or CD) that the radio's audio cable is plugged into; its mixer "
        "then sets the loudness.",
        page);
    hint->setObjectName("lbVolumeHint");
    hint->setWordWrap(true);
    v->addWidget(hint);
    v->addStretch();
}

void tdSetup::RebuildVolumeList() {
    const radio::tDevCap& caps = SelectedCaps();
    std::string message = radioset::CapabilityText(caps.HasVolume, caps.HasMute, env_.hasSoundCard);
    if (selected_ == radio::mV4L2) {
        // The device's own sentence replaces the two of a card model's
        // table; what the sound card offers is said as for every model.
        size_t cut = message.find('\n');
        if (cut != std::string::npos) cut = message.find('\n', cut + 1);
        message = deviceText_ + (cut != std::string::npos ? message.substr(cut) : std::string());
    }
    LMessage->setText(QString::fromStdString(message));
    ScList->clear();
    auto add = [this](const char* text, tVolumeLine line) {
        auto* item = new QListWidgetItem(text, ScList);
        item->setData(Qt::UserRole, static_cast<int>(line));
    };
    if (caps.HasVolume || caps.HasMute) add("Radio card", radio::vlNative);
    if (env_.hasSoundCard) {
        if (env_.lineInUsable) add("Line In", radio::vlLineIn);
        if (env_.micUsable) add("Microphone", radio::vlMicIn);
        if (env_.cdUsable) add("Compact disk", radio::vlCd);
    }
    tModelRecord& rec = SelectedRecord();
    int row = -1;
    for (int i = 0; i < ScList->count(); ++i) {
        if (ScList->item(i)->data(Qt::UserRole).toInt() == rec.volumeLine) row = i;
    }
    // A line the list does not offer cannot carry the sound: the first
    // entry is taken instead, or no line at all when there is none.
    if (row < 0) {
        row = ScList->count() > 0 ? 0 : -1;
        rec.volumeLine =
            row == 0 ? static_cast<tVolumeLine>(ScList->item(0)->data(Qt::UserRole).toInt()) : radio::vlNone;
    }
    ScList->setCurrentRow(row);
}

void tdSetup::ScListClick() {
    QListWidgetItem* item = ScList->currentItem();
    if (!item) return;
    SelectedRecord().volumeLine = static_cast<tVolumeLine>(item->data(Qt::UserRole).toInt());
}

// ------------------------------------------------------------------ General

void tdSetup::BuildGeneralPage(QWidget* page) {
    auto* grid = new QGridLayout(page);

    auto* gbStartup = new QGroupBox("Startup", page);
    gbStartup->setObjectName("gbStartup");
    auto* s = new QVBoxLayout(gbStartup);
    auto box = [&](const char* name, const char* text, bool value, void (tdSetup::*handler)()) {
        auto* c = new QCheckBox(text, gbStartup);
        c->setObjectName(name);
        c->setChecked(value);
        connect(c, &QCheckBox::toggled, this, [this, handler] {
            if (!updating_) (this->*handler)();
        });
        s->addWidget(c);
        return c;
    };
    oLastStation = box("oLastStation", "Tune to last station", working_.LastStation, &tdSetup::oLastStationClick);
    oMinimized = box("oMinimized", "Start minimized", working_.StartMinimized, &tdSetup::oMinimizedClick);
    oShowTOD = box("oShowTOD", "Show Tip Of The Day", working_.TipOfTheDay, &tdSetup::oShowTODClick);
    oStartMuted = box("oStartMuted", "Start muted", working_.StartMuted, &tdSetup::oStartMutedClick);
    oStartAlarm = box("oStartAlarm", "Start alarm if set", working_.LaunchAlarm, &tdSetup::oStartAlarmClick);
    oStereoOff = box("oStereoOff", "Force stereo off", working_.ForceStereoOff, &tdSetup::oStereoOffClick);
    s->addStretch();
    grid->addWidget(gbStartup, 0, 0);

    auto* gbShutdown = new QGroupBox("Shutdown", page);
    gbShutdown->setObjectName("gbShutdown");
    auto* d = new QVBoxLayout(gbShutdown);
    auto radio = [&](const char* name, const char* text, int value, void (tdSetup::*handler)()) {
        auto* r = new QRadioButton(text, gbShutdown);
        r->setObjectName(name);
        r->setChecked(working_.ShutDown == value);
        connect(r, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on && !updating_) (this->*handler)();
        });
        d->addWidget(r);
        return r;
    };
    oMute = radio("oMute", "Mute audio", 0, &tdSetup::oMuteClick);
    oLeave = radio("oLeave", "Leave in current state", 1, &tdSetup::oLeaveClick);
    oAsk = radio("oAsk", "Ask at shutdown", 2, &tdSetup::oAskClick);
    d->addStretch();
    grid->addWidget(gbShutdown, 0, 1);

    auto* gbOthers = new QGroupBox("Others", page);
    gbOthers->setObjectName("gbOthers");
    auto* o = new QGridLayout(gbOthers);
    oGenHide = new QCheckBox("Hide the main form\nof Tunevox when\nfiring a dialog box\n(About, Alarm, etc.)", gbOthers);
    oGenHide->setObjectName("oGenHide");
    oGenHide->setChecked(working_.HideMainForm);
    connect(oGenHide, &QCheckBox::toggled, this, [this] {
        if (!updating_) oGenHideClick();
    });
    o->addWidget(oGenHide, 0, 0, 2, 1, Qt::AlignTop);
    auto* lbDblClk = new QLabel("Double click speed\non the tray icon (ms)", gbOthers);
    o->addWidget(lbDblClk, 0, 1, 1, 2);
    DblClk = new QSlider(Qt::Horizontal, gbOthers);
    DblClk->setObjectName("DblClk");
    DblClk->setRange(0, 1000);
    DblClk->setSingleStep(50);
    DblClk->setPageStep(50);
    DblClk->setTickInterval(100);
    DblClk->setTickPosition(QSlider::TicksBelow);
    DblClk->setFixedWidth(160);
    DblClk->setValue(std::clamp(working_.DoubleClick, 0, 1000));
    lbDblClk->setBuddy(DblClk);
    ms = new QLabel(gbOthers);
    ms->setObjectName("ms");
    ms->setMinimumWidth(ms->fontMetrics().horizontalAdvance("00000"));
    ms->setText(QString::number(DblClk->value()));
    connect(DblClk, &QSlider::valueChanged, this, [this] {
        if (!updating_) DblClkChange();
    });
    connect(DblClk, &QSlider::sliderReleased, this, [this] {
        if (!updating_) DblClkChange();
    });
    o->addWidget(DblClk, 1, 1);
    o->addWidget(ms, 1, 2);
    o->setColumnStretch(0, 1);
    grid->addWidget(gbOthers, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
}

void tdSetup::oLastStationClick() { working_.LastStation = oLastStation->isChecked(); }
void tdSetup::oMinimizedClick() { working_.StartMinimized = oMinimized->isChecked(); }
void tdSetup::oShowTODClick() { working_.TipOfTheDay = oShowTOD->isChecked(); }
void tdSetup::oStartMutedClick() { working_.StartMuted = oStartMuted->isChecked(); }
void tdSetup::oStartAlarmClick() { working_.LaunchAlarm = oStartAlarm->isChecked(); }
void tdSetup::oStereoOffClick() { working_.ForceStereoOff = oStereoOff->isChecked(); }
void tdSetup::oMuteClick() { working_.ShutDown = 0; }
void tdSetup::oLeaveClick() { working_.ShutDown = 1; }
void tdSetup::oAskClick() { working_.ShutDown = 2; }
void tdSetup::oGenHideClick() { working_.HideMainForm = oGenHide->isChecked(); }

void tdSetup::DblClkChange() {
    // The slider moves in steps of 50; a drag may stop in between, and the
    // knob settles on the step when it is let go.
    const int v = (DblClk->value() + 25) / 50 * 50;
    working_.DoubleClick = v;
    ms->setText(QString::number(v));
    if (v != DblClk->value() && !DblClk->isSliderDown()) {
        const bool was = updating_;
        updating_ = true;
        DblClk->setValue(v);
        updating_ = was;
    }
}

// ------------------------------------------------------------------ Closing

void tdSetup::btOkClick() {
    if (!btOk->isEnabled()) return;
    okPressed_ = true;
    accept();
}

void tdSetup::FormClose() {
    if (Timer) Timer->stop();
}

void tdSetup::done(int result) {
    FormClose();
    QDialog::done(result);
}

} // namespace tunevox::setup
