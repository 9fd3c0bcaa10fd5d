// The settings dialog driven as a user would: through its controls, found
// by their names, with the machine described by a tSetupEnvironment.

#include "setup/setup_dialog.h"
#include "platform/port_io.h"

#include "radioset/capability_text.h"
#include "display/palette.h"
#include "display/pictures.h"
#include "display/tdisplay.h"
#include "radio/radio_card.h"
#include "rig/hardware_rig.h"
#include "setup/color_grid.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <memory>
#include <set>

namespace tunevox::setup {
namespace {

using radio::tModel;



// A machine with a sound card whose three lines are usable, every COM port
// free, I/O-port access granted, and COM3 on a USB adapter.
tSetupEnvironment Machine() {
    tSetupEnvironment env;
    env.hasSoundCard = true;
    env.lineInUsable = env.micUsable = env.cdUsable = true;
    env.portAccess = [](tModel, int, platform::tPortAccessError*) { return true; };
    env.comPortFree = [](int) { return true; };
    env.comDevicePath = [](int n) {
        return n == 3 ? std::string("/dev/ttyUSB0") : "/dev/ttyS" + std::to_string(n - 1);
    };
    return env;
}

radioset::tConfiguration Configured(tModel model, int port) {
    radioset::tConfiguration c;
    c.Hardware = radioset::ModelCode(model);
    c.Port = port;
    c.VolumeLine = radio::vlNative;
    return c;
}

template <typename T>
T* Child(const QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void SelectModel(const tdSetup& dlg, tModel m) { Child<QListWidget>(dlg, "HwList")->setCurrentRow(m); }

QStringList Entries(const QListWidget* list) {
    QStringList s;
    for (int i = 0; i < list->count(); ++i) s << list->item(i)->text();
    return s;
}

QColor TextColor(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

QImage Pixels(const QLabel* l) { return l->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(SetupDialog, PortChangeIsTakenOverOnlyWithAModelChange) {
    {
        tdSetup dlg(Configured(radio::mRadioTrack, 1), Machine());
        Child<QRadioButton>(dlg, "AlternateAddr")->click();
        EXPECT_EQ(dlg.Working().Port, 2);
        dlg.btOkClick();
        EXPECT_TRUE(dlg.OkPressed());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Result().Hardware, radioset::ModelCode(radio::mRadioTrack));
        EXPECT_EQ(dlg.Result().Port, 1) << "a port change alone is not taken over";
    }
    {
        tdSetup dlg(Configured(radio::mRadioTrack, 1), Machine());
        SelectModel(dlg, radio::mAztech);
        EXPECT_EQ(Child<QRadioButton>(dlg, "PrimaryAddr")->text(), "350h (default)");
        EXPECT_EQ(Child<QRadioButton>(dlg, "AlternateAddr")->text(), "358h (alternate)");
        Child<QRadioButton>(dlg, "AlternateAddr")->click();
        dlg.btOkClick();
        EXPECT_EQ(dlg.Result().Hardware, radioset::ModelCode(radio::mAztech));
        EXPECT_EQ(dlg.Result().Port, 2);
    }
    {
        // Back on the configured model with another port: still its old port.
        tdSetup dlg(Configured(radio::mZoltrix, 2), Machine());
        EXPECT_EQ(Child<QRadioButton>(dlg, "PrimaryAddr")->text(), "30Ch (default)");
        EXPECT_TRUE(Child<QRadioButton>(dlg, "AlternateAddr")->isChecked());
        SelectModel(dlg, radio::mRA300);
        SelectModel(dlg, radio::mZoltrix);
        Child<QRadioButton>(dlg, "PrimaryAddr")->click();
        EXPECT_EQ(dlg.Result().Port, 2);
    }
    {
        // First run: nothing is installed yet, so the chosen port counts.
        radioset::tConfiguration fresh;
        tSetupEnvironment env = Machine();
        env.firstRun = true;
        tdSetup dlg(fresh, env);
        EXPECT_EQ(Child<QListWidget>(dlg, "HwList")->currentRow(), radio::mRadioTrack);
        EXPECT_TRUE(Child<QRadioButton>(dlg, "PrimaryAddr")->isChecked());
        EXPECT_TRUE(Child<QLabel>(dlg, "lbInstalledIO")->isHidden());
        Child<QRadioButton>(dlg, "AlternateAddr")->click();
        dlg.btOkClick();
        EXPECT_EQ(dlg.Result().Hardware, radioset::ModelCode(radio::mRadioTrack));
        EXPECT_EQ(dlg.Result().Port, 2);
    }
    {
        tdSetup dlg(Configured(radio::mRadioTrack, 1), Machine());
        SelectModel(dlg, radio::mAztech);
        Child<QPushButton>(dlg, "btCancel")->click();
        EXPECT_FALSE(dlg.OkPressed());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_FALSE(Child<QTimer>(dlg, "Timer")->isActive()) << "the preview stops blinking on closing";
    }
}

TEST(SetupDialog, ModelRecordsAndSerialPorts) {
    tSetupEnvironment env = Machine();
    // COM3 is held by the configured radio, so its probe fails; COM5 is free.
    env.comPortFree = [](int n) { return n == 5; };
    radioset::tConfiguration c = Configured(radio::mWizard, 3);
    c.VolumeLine = radio::vlLineIn;
    c.CheckIfTuned = true;
    c.CheckIfTunedSec = 7;
    tdSetup dlg(c, env);
    auto* ports = Child<QComboBox>(dlg, "Port_Serial");
    ASSERT_EQ(ports->count(), 2);
    EXPECT_EQ(ports->itemText(0), "Com3");
    EXPECT_EQ(ports->itemText(1), "Com5");
    EXPECT_EQ(ports->currentText(), "Com3");
    EXPECT_EQ(Child<QLabel>(dlg, "lbDevicePath")->text(), "/dev/ttyUSB0");
    EXPECT_FALSE(Child<QLabel>(dlg, "lbInstalledSerial")->isHidden());

    auto* jap = Child<QCheckBox>(dlg, "xJapFM");
    auto* check = Child<QCheckBox>(dlg, "xCheckIfTuned");
    auto* seconds = Child<QSpinBox>(dlg, "StTime");
    EXPECT_TRUE(jap->isEnabled());
    jap->click();
    ports->setCurrentIndex(1);
    EXPECT_EQ(Child<QLabel>(dlg, "lbDevicePath")->text(), "/dev/ttyS4");
    seconds->setValue(9);

    SelectModel(dlg, radio::mRadioTrack);
    EXPECT_FALSE(jap->isEnabled());
    EXPECT_FALSE(jap->isChecked());
    EXPECT_FALSE(check->isChecked()) << "another model starts from its own record";
    EXPECT_FALSE(seconds->isEnabled());
    EXPECT_FALSE(Child<QGroupBox>(dlg, "gbIOPort")->isHidden());
    EXPECT_TRUE(Child<QGroupBox>(dlg, "gbSerialPort")->isHidden());
    EXPECT_EQ(dlg.Working().Port, 1);
    EXPECT_FALSE(dlg.Working().JapaneseFM);

    // Another serial model offers the same ports, from its own record (COM2
    // is not offered, so the first entry is taken).
    SelectModel(dlg, radio::mRadioMan);
    EXPECT_EQ(ports->currentText(), "Com3");
    EXPECT_EQ(dlg.Working().Port, 3);
    EXPECT_TRUE(Child<QLabel>(dlg, "lbInstalledSerial")->isHidden());

    SelectModel(dlg, radio::mWizard);
    EXPECT_TRUE(jap->isChecked());
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(seconds->value(), 9);
    EXPECT_EQ(ports->currentText(), "Com5");
    EXPECT_EQ(dlg.Working().Port, 5);
    EXPECT_TRUE(dlg.Working().JapaneseFM);
    EXPECT_EQ(dlg.Working().CheckIfTunedSec, 9);
    EXPECT_EQ(dlg.Working().VolumeLine, radio::vlLineIn);

    {
        // Not one free port: a serial model shows the warning instead.
        tSetupEnvironment none = Machine();
        none.comPortFree = [](int) { return false; };
        tdSetup d2(Configured(radio::mRadioTrack, 1), none);
        SelectModel(d2, radio::mRajikoma);
        EXPECT_FALSE(Child<QGroupBox>(d2, "gbNoSerial")->isHidden());
        EXPECT_TRUE(Child<QGroupBox>(d2, "gbSerialPort")->isHidden());
        EXPECT_EQ(Child<QGroupBox>(d2, "gbNoSerial")->title(), "Warning");
        const QString text = Child<QLabel>(d2, "lbNoSerial")->text();
        EXPECT_TRUE(text.startsWith("In your computer seems that\nthere aren't free serial ports."));
        EXPECT_TRUE(text.contains("[ComPorts]"));
        EXPECT_FALSE(text.contains("Reconfigure"));
    }
    {
        // A file with Hardware 5 and Port 0 proposes the model's default, COM2.
        radioset::tConfiguration noPort = Configured(radio::mRadionMaru, 0);
        tdSetup d3(noPort, Machine());
        EXPECT_EQ(Child<QComboBox>(d3, "Port_Serial")->currentText(), "Com2");
        EXPECT_EQ(d3.Result().Port, 2);
    }
}

TEST(SetupDialog, OkNeedsPortAccessForAnIOPortCard) {
    tSetupEnvironment env = Machine();
    std::vector<std::pair<tModel, int>> asked;
    platform::tPortAccessError denied;
    denied.ioperm = EPERM;
    denied.devPort = EACCES;
    env.portAccess = [&asked, &denied](tModel m, int port, platform::tPortAccessError* why) {
        asked.emplace_back(m, port);
        *why = denied;
        return false;
    };
    tdSetup dlg(Configured(radio::mWizard, 2), env);
    auto* ok = Child<QPushButton>(dlg, "btOk");
    EXPECT_TRUE(ok->isEnabled());

    SelectModel(dlg, radio::mAztech);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), std::make_pair(radio::mAztech, 1));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_TRUE(Child<QGroupBox>(dlg, "gbIOPort")->isHidden());
    EXPECT_FALSE(Child<QGroupBox>(dlg, "gbNoPortAccess")->isHidden());
    const QString text = Child<QLabel>(dlg, "lbNoPortAccess")->text() + "\n" +
                         Child<QPlainTextEdit>(dlg, "edSetcap")->toPlainText();
    for (const char* needed : {"root", "CAP_SYS_RAWIO", "sudo setcap cap_sys_rawio+ep ", "--virtual",
                               "Operation not permitted"}) {
        EXPECT_TRUE(text.contains(needed)) << needed;
    }
    for (const char* wrong : {"Windows", "WinNT", "GIVEIO", "Giveio"}) {
        EXPECT_FALSE(text.contains(wrong, Qt::CaseInsensitive)) << wrong;
    }
    dlg.btOkClick();
    EXPECT_FALSE(dlg.OkPressed()) << "OK cannot be pressed while it is disabled";

    SelectModel(dlg, radio::mWizard);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(Child<QGroupBox>(dlg, "gbNoPortAccess")->isHidden());

    // Emulated receivers need no port access.
    env.emulated = true;
    tdSetup virt(Configured(radio::mAztech, 1), env);
    EXPECT_TRUE(Child<QPushButton>(virt, "btOk")->isEnabled());
    EXPECT_FALSE(Child<QGroupBox>(virt, "gbIOPort")->isHidden());
    EXPECT_FALSE(Child<QLabel>(virt, "lbEmulated")->isHidden());
}

TEST(SetupDialog, VolumeLineOffersWhatTheCardAndMixerHave) {
    {
        tSetupEnvironment env = Machine();
        env.micUsable = false;
        radioset::tConfiguration c = Configured(radio::mRadioTrack, 1);
        c.VolumeLine = radio::vlCd;
        tdSetup dlg(c, env);
        auto* list = Child<QListWidget>(dlg, "ScList");
        EXPECT_EQ(Entries(list), QStringList({"Radio card", "Line In", "Compact disk"}));
        EXPECT_EQ(list->currentItem()->text(), "Compact disk");
        EXPECT_EQ(Child<QLabel>(dlg, "LMessage")->text().toStdString(), radioset::CapabilityText(true, true, true));
        list->setCurrentRow(1);
        EXPECT_EQ(dlg.Working().VolumeLine, radio::vlLineIn);
        EXPECT_EQ(dlg.Record(radio::mRadioTrack).volumeLine, radio::vlLineIn);
        SelectModel(dlg, radio::mWizard);
        EXPECT_EQ(list->currentItem()->text(), "Line In") << "serial radios default to the line input";
        SelectModel(dlg, radio::mRadioTrack);
        EXPECT_EQ(dlg.Result().VolumeLine, radio::vlLineIn);
    }
    {
        // Without a sound card a mixer line becomes the card's own control.
        tSetupEnvironment env = Machine();
        env.hasSoundCard = false;
        radioset::tConfiguration c = Configured(radio::mWizard, 2);
        c.VolumeLine = radio::vlLineIn;
        tdSetup dlg(c, env);
        EXPECT_EQ(dlg.Working().VolumeLine, radio::vlNative);
        EXPECT_EQ(dlg.Record(radio::mWizard).volumeLine, radio::vlNative);
        EXPECT_EQ(Entries(Child<QListWidget>(dlg, "ScList")), QStringList({"Radio card"}));
        EXPECT_EQ(Child<QLabel>(dlg, "LMessage")->text().toStdString(), radioset::CapabilityText(false, true, false));
        // The serial models' own record says line in, which is not there.
        SelectModel(dlg, radio::mRadioMan);
        EXPECT_EQ(dlg.Working().VolumeLine, radio::vlNative);
    }
    {
        // A model without volume and mute cannot stay on its native line.
        tSetupEnvironment env = Machine();
        env.models[radio::mZoltrix].HasVolume = false;
        env.models[radio::mZoltrix].HasMute = false;
        tdSetup dlg(Configured(radio::mZoltrix, 1), env);
        EXPECT_EQ(dlg.Working().VolumeLine, radio::vlLineIn);
        EXPECT_EQ(Entries(Child<QListWidget>(dlg, "ScList")), QStringList({"Line In", "Microphone", "Compact disk"}));
        env.hasSoundCard = false;
        tdSetup mute(Configured(radio::mZoltrix, 1), env);
        EXPECT_EQ(mute.Working().VolumeLine, radio::vlNone);
        EXPECT_EQ(Child<QListWidget>(mute, "ScList")->count(), 0);
    }
}

TEST(SetupDialog, PresetButtonRowsKeepThreeDifferentSchemes) {
    radioset::tConfiguration c = Configured(radio::mRadioTrack, 1); // FM 2, AM 0, not assigned 4
    tdSetup dlg(c, Machine());
    auto button = [&](const char* name) { return Child<QAbstractButton>(dlg, name); };
    EXPECT_FALSE(button("nbt2")->isEnabled()) << "the FM scheme cannot be chosen for empty presets";
    EXPECT_FALSE(button("nbt0")->isEnabled());
    EXPECT_FALSE(button("abt4FM")->isEnabled());
    EXPECT_TRUE(button("gbt2")->isEnabled()) << "the generic row is free";
    button("nbt2")->click();
    EXPECT_EQ(dlg.Working().ColorFavNotAssButton, 4);
    dlg.ButtonChoose(button("nbt2"));
    EXPECT_EQ(dlg.Working().ColorFavNotAssButton, 4);

    button("abt5FM")->click();
    EXPECT_EQ(dlg.Working().ColorFavAssButtonFM, 5);
    EXPECT_TRUE(button("abt5FM")->isChecked());
    EXPECT_FALSE(button("abt5AM")->isEnabled());
    EXPECT_TRUE(button("abt2AM")->isEnabled());
    EXPECT_FALSE(button("nbt5")->isEnabled());
    EXPECT_TRUE(button("nbt2")->isEnabled());
    EXPECT_EQ(Pixels(Child<QLabel>(dlg, "aFMActive")),
              display::PictureTransparent("BT5ON").convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(Pixels(Child<QLabel>(dlg, "aFMNotActive")),
              display::PictureTransparent("BT5OFF").convertToFormat(QImage::Format_RGB32));

    button("nbt2")->click();
    EXPECT_EQ(dlg.Working().ColorFavNotAssButton, 2);
    EXPECT_TRUE(button("abt4FM")->isEnabled());
    EXPECT_FALSE(button("abt2FM")->isEnabled());
    EXPECT_FALSE(button("abt2AM")->isEnabled());
    button("gbt7")->click();
    EXPECT_EQ(dlg.Result().ColorGenericButton, 7);
    EXPECT_EQ(dlg.Result().ColorFavAssButtonFM, 5);
    EXPECT_EQ(dlg.Result().ColorFavAssButtonAM, 0);
}

TEST(SetupDialog, KeysOneCommandEachAndResetToDefault) {
    const std::string& alphabet = tdSetup::KeyAlphabet();
    EXPECT_EQ(alphabet.size(), 69u);
    EXPECT_EQ(alphabet.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
    EXPECT_EQ(alphabet.front(), ' ');
    EXPECT_EQ(alphabet.back(), '~');

    tdSetup dlg(Configured(radio::mRadioTrack, 1), Machine());
    EXPECT_EQ(dlg.findChildren<QComboBox*>(QRegularExpression("^cm")).size(), 38);
    auto* mute = Child<QComboBox>(dlg, "cmMuteOnOff");
    EXPECT_EQ(mute->count(), 69);
    EXPECT_EQ(mute->currentText(), "M");
    mute->setCurrentIndex(mute->findText("Q")); // the key of "Exit"
    EXPECT_EQ(mute->currentText(), "M");
    EXPECT_EQ(dlg.Working().KeyboardCommands, radioset::kDefaultKeyboardCommands);
    mute->setCurrentIndex(mute->findText("7")); // held by the position without a command
    EXPECT_EQ(mute->currentText(), "M");
    mute->setCurrentIndex(mute->findText("#"));
    EXPECT_EQ(dlg.Working().KeyboardCommands[radioset::cmMuteOnOff], '#');
    auto* exit = Child<QComboBox>(dlg, "cmExit");
    exit->setCurrentIndex(exit->findText("M")); // free again now
    EXPECT_EQ(exit->currentText(), "M");
    EXPECT_EQ(dlg.Working().KeyboardCommands[radioset::cmExit], 'M');

    Child<QPushButton>(dlg, "btDefault")->click();
    EXPECT_EQ(dlg.Working().KeyboardCommands, radioset::kDefaultKeyboardCommands);
    EXPECT_EQ(Child<QComboBox>(dlg, "cmMinimalVolBtn")->currentText(), "4");
    EXPECT_EQ(Child<QComboBox>(dlg, "cmMinimalVolBtnPre")->currentText(), "5");
    for (int ord = 0; ord < radioset::kCommandCount; ++ord) {
        if (ord == radioset::cmNoCommand) continue;
        const auto name = radioset::CommandName(static_cast<radioset::tCommand>(ord));
        auto* list = Child<QComboBox>(dlg, name.c_str());
        EXPECT_EQ(list->currentData().toChar(), QChar(radioset::kDefaultKeyboardCommands[ord])) << name;
    }

    // Keys given to the last two commands come back when the dialog opens again.
    radioset::tConfiguration custom = Configured(radio::mRadioTrack, 1);
    custom.KeyboardCommands[radioset::cmScanner] = 'W';
    custom.KeyboardCommands[radioset::cmSignalStrenght] = 'V';
    tdSetup again(custom, Machine());
    EXPECT_EQ(Child<QComboBox>(again, "cmScanner")->currentText(), "W");
    EXPECT_EQ(Child<QComboBox>(again, "cmSignalStrenght")->currentText(), "V");
    EXPECT_EQ(again.Result().KeyboardCommands, custom.KeyboardCommands);
}

TEST(SetupDialog, PreviewFollowsTheColoursAndBlinks) {
    radioset::tConfiguration c = Configured(radio::mRadioTrack, 1);
    tdSetup dlg(c, Machine());
    std::array<display::TDisplay*, 6> dig{};
    QString digits;
    for (int i = 0; i < 6; ++i) {
        dig[i] = Child<display::TDisplay>(dlg, QString("Dig%1").arg(i + 1).toLatin1().constData());
        digits += QChar(dig[i]->Digit());
    }
    EXPECT_EQ(digits, "106600");
    EXPECT_EQ(dig[0]->DigitStyle(), display::ds5x7Dot); // Style 2
    EXPECT_EQ(dig[0]->SegWidth(), 6);
    EXPECT_EQ(dig[0]->OnColor(), display::PaletteTColor(10));
    EXPECT_EQ(dig[0]->OffColor(), display::PaletteTColor(2));

    Child<QRadioButton>(dlg, "oSeg16")->click();
    EXPECT_EQ(dig[5]->DigitStyle(), display::ds16Seg);
    EXPECT_EQ(dig[5]->SegWidth(), 3);
    Child<QRadioButton>(dlg, "oSeg7")->click();
    EXPECT_EQ(dig[5]->DigitStyle(), display::ds7Seg);
    EXPECT_EQ(dig[5]->SegWidth(), 4);
    Child<QRadioButton>(dlg, "oBulb5x7")->click();
    EXPECT_EQ(dig[5]->DigitStyle(), display::ds5x7Bulb);
    EXPECT_EQ(dlg.Working().Style, 1);

    auto* digitGrid = Child<TColorGrid>(dlg, "oDigit");
    digitGrid->SetForegroundIndex(9);
    digitGrid->SetBackgroundIndex(1);
    Child<TColorGrid>(dlg, "oPanel")->SetForegroundIndex(4);
    EXPECT_EQ(dig[2]->OnColor(), display::PaletteTColor(9));
    EXPECT_EQ(dig[2]->OffColor(), display::PaletteTColor(1));
    EXPECT_EQ(dig[2]->BackColor(), display::PaletteTColor(4));
    EXPECT_EQ(dig[2]->PenOnColor(), display::PaletteTColor(4));
    EXPECT_EQ(Child<QFrame>(dlg, "Point")->palette().color(QPalette::Window), display::PaletteColor(9));
    EXPECT_EQ(Child<QFrame>(dlg, "Panel")->palette().color(QPalette::Window), display::PaletteColor(4));
    EXPECT_EQ(dlg.Working().Foreground, 9);
    EXPECT_EQ(dlg.Working().Background, 1);
    EXPECT_EQ(dlg.Working().ColorPanel, 4);

    Child<QAbstractButton>(dlg, "tbt2")->click();
    Child<QAbstractButton>(dlg, "fbt3")->click();
    EXPECT_EQ(dlg.Working().ColorText, 2);
    EXPECT_EQ(dlg.Working().ColorFlag, 3);
    for (const char* name : {"StationNum", "Station", "HHMMSS", "AM_FM", "HZ"}) {
        EXPECT_EQ(TextColor(Child<QLabel>(dlg, name)), display::PaletteColor(9)) << name;
    }
    auto* tuned = Child<QLabel>(dlg, "Tuned");
    auto* music = Child<QLabel>(dlg, "icMusicOnOff");
    const QColor navy = display::PaletteColor(4);
    ASSERT_TRUE(dlg.BlinkOn());
    EXPECT_EQ(TextColor(tuned), display::PaletteColor(9));
    EXPECT_EQ(Pixels(music), display::PictureOnPanel("RADIO3ON", navy));

    auto* timer = Child<QTimer>(dlg, "Timer");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    dlg.ColorTimerTimer();
    EXPECT_FALSE(dlg.BlinkOn());
    EXPECT_EQ(TextColor(tuned), display::PaletteColor(1)) << "the dim colour of scheme 2 is maroon";
    EXPECT_EQ(Pixels(music), display::PictureOnPanel("RADIO3OFF", navy));
    EXPECT_EQ(Pixels(Child<QLabel>(dlg, "icProgOnOff")), display::PictureOnPanel("PROG3OFF", navy));
    EXPECT_EQ(Pixels(Child<QLabel>(dlg, "icAlarmOnOff")), display::PictureOnPanel("ALARM3OFF", navy));
    EXPECT_EQ(Pixels(Child<QLabel>(dlg, "icSleepOnOff")), display::PictureOnPanel("SLEEP3OFF", navy));
    dlg.ColorTimerTimer();
    EXPECT_TRUE(dlg.BlinkOn());
    EXPECT_EQ(Pixels(Child<QLabel>(dlg, "icSleepOnOff")), display::PictureOnPanel("SLEEP3ON", navy));

    const radioset::tConfiguration r = dlg.Result();
    EXPECT_EQ(r.Style, 1);
    EXPECT_EQ(r.ColorText, 2);
    EXPECT_EQ(r.ColorFlag, 3);
}

TEST(SetupDialog, GeneralPageAndTuningOptions) {
    tSetupEnvironment env = Machine();
    QString helpTopic;
    env.showHelp = [&helpTopic](const QString& topic) { helpTopic = topic; };
    radioset::tConfiguration c = Configured(radio::mRadioTrack, 1);
    tdSetup dlg(c, env);
    EXPECT_EQ(dlg.windowTitle(), "Settings");
    EXPECT_EQ(Child<QTabWidget>(dlg, "Pages")->currentIndex(), 0);
    EXPECT_TRUE(Child<QRadioButton>(dlg, "oAsk")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dlg, "oLastStation")->isChecked());
    Child<QRadioButton>(dlg, "oLeave")->click();
    Child<QCheckBox>(dlg, "oStartMuted")->click();
    Child<QCheckBox>(dlg, "oGenHide")->click();
    Child<QCheckBox>(dlg, "oStereoOff")->click();
    auto* dbl = Child<QSlider>(dlg, "DblClk");
    dbl->setValue(640);
    EXPECT_EQ(Child<QLabel>(dlg, "ms")->text(), "650");

    auto* check = Child<QCheckBox>(dlg, "xCheckIfTuned");
    EXPECT_FALSE(Child<QSpinBox>(dlg, "StTime")->isEnabled());
    check->click();
    EXPECT_TRUE(Child<QSpinBox>(dlg, "StTime")->isEnabled());
    EXPECT_FALSE(Child<QSlider>(dlg, "SStrenght")->isEnabled()) << "no model measures signal strength";
    EXPECT_FALSE(Child<QCheckBox>(dlg, "xJapFM")->isEnabled());

    Child<QPushButton>(dlg, "btHelp")->click();
    EXPECT_EQ(helpTopic, "Tuning_the_configuration");

    const radioset::tConfiguration r = dlg.Result();
    EXPECT_EQ(r.ShutDown, 1);
    EXPECT_TRUE(r.StartMuted);
    EXPECT_FALSE(r.HideMainForm);
    EXPECT_TRUE(r.ForceStereoOff);
    EXPECT_EQ(r.DoubleClick, 650);
    EXPECT_TRUE(r.CheckIfTuned);
    EXPECT_EQ(r.CheckIfTunedST, 3);
    EXPECT_TRUE(r.LastStation);
}

TEST(SetupDialog, CardCapabilitiesFillTheEnvironment) {
    rig::tRigOptions o;
    o.emulated = true;
    o.waits = rig::tWaits::kVirtual;
    o.soundLayout = emulator::SoundCardLayout::Standard().WithoutControl(platform::tMixerLineKind::kMicrophone,
                                                                         platform::tMixerControlKind::kMute);
    {
        rig::THardwareRig rig(o);
        radio::TRadioCard card(rig.Environment());
        tSetupEnvironment env;
        env.models = {};
        TakeCardCapabilities(env, card);
        EXPECT_TRUE(env.hasSoundCard);
        EXPECT_TRUE(env.lineInUsable);
        EXPECT_FALSE(env.micUsable) << "a line without a mute control cannot carry the radio";
        EXPECT_TRUE(env.cdUsable);
        EXPECT_EQ(env.models[radio::mAztech].DevMaker, "Aztech/PB/Express");
        EXPECT_EQ(env.models[radio::mWizard].PortKind, radio::kSerialPort);
        tdSetup dlg(Configured(radio::mRadioTrack, 1), env);
        EXPECT_EQ(Entries(Child<QListWidget>(dlg, "ScList")), QStringList({"Radio card", "Line In", "Compact disk"}));
    }
    o.withSound = false;
    rig::THardwareRig silent(o);
    radio::TRadioCard card(silent.Environment());
    tSetupEnvironment env = Machine();
    TakeCardCapabilities(env, card);
    EXPECT_FALSE(env.hasSoundCard);
    EXPECT_FALSE(env.lineInUsable || env.micUsable || env.cdUsable);
}

void Shoot(tdSetup& dlg, const QString& file) { tunevox::test::Screenshot(dlg, QString(file).remove(".png")); }
using tunevox::test::ExpectNothingClipped;

TEST(SetupDialog, ScreenshotsOfEveryPage) {
    tSetupEnvironment env = Machine();
    env.showHelp = [](const QString&) {};
    radioset::tConfiguration c = Configured(radio::mRadioTrack, 1);
    c.CheckIfTuned = true;
    tdSetup dlg(c, env);
    dlg.show();
    auto* pages = Child<QTabWidget>(dlg, "Pages");
    const char* const files[] = {"setup_1_radio_card.png", "setup_2_volume.png", "setup_3_general.png",
                                 "setup_4_colors.png",     "setup_5_buttons.png", "setup_6_keys.png"};
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i) {
        pages->setCurrentIndex(i);
        Shoot(dlg, files[i]);
        ExpectNothingClipped(*pages->widget(i), files[i]);
    }
    EXPECT_LE(dlg.width(), 720);
    EXPECT_LE(dlg.height(), 560);

    pages->setCurrentIndex(0);
    SelectModel(dlg, radio::mWizard);
    Shoot(dlg, "setup_1_radio_card_serial.png");
    ExpectNothingClipped(*pages->widget(0), "serial");
    dlg.close();

    // A machine without any port access (no ioperm, no /dev/port, as many
    // virtual machines): no permission helps, and no setcap is offered.
    tSetupEnvironment locked = Machine();
    locked.portAccess = [](tModel, int, platform::tPortAccessError* why) {
        why->ioperm = ENOSYS;
        why->devPort = ENOENT;
        return false;
    };
    locked.comPortFree = [](int) { return false; };
    tdSetup denied(Configured(radio::mRadioTrack, 1), locked);
    denied.show();
    SelectModel(denied, radio::mAztech);
    EXPECT_TRUE(Child<QLabel>(denied, "lbNoPortAccess")->text().contains("offers no I/O port access"));
    EXPECT_TRUE(Child<QLabel>(denied, "lbNoPortAccess")->text().contains("--virtual"));
    EXPECT_FALSE(Child<QPlainTextEdit>(denied, "edSetcap")->isVisible());
    Shoot(denied, "setup_1_no_port_access.png");
    ExpectNothingClipped(*Child<QTabWidget>(denied, "Pages")->widget(0), "no port access");
    SelectModel(denied, radio::mRadioMan);
    Shoot(denied, "setup_1_no_serial_port.png");
    ExpectNothingClipped(*Child<QTabWidget>(denied, "Pages")->widget(0), "no serial port");
    denied.close();

    tSetupEnvironment first = Machine();
    first.firstRun = true;
    first.emulated = true;
    first.comDevicePath = [](int n) { return "/dev/pts/" + std::to_string(n + 2); };
    tdSetup welcome(radioset::tConfiguration{}, first);
    welcome.show();
    const QString text = Child<QLabel>(welcome, "lbWelcome")->text();
    EXPECT_TRUE(text.contains("--virtual"));
    EXPECT_TRUE(text.contains("Volume control"));
    Shoot(welcome, "setup_first_run.png");
    ExpectNothingClipped(*Child<QTabWidget>(welcome, "Pages")->widget(0), "first run");
    EXPECT_LE(welcome.height(), 640);
    welcome.close();
}


} // namespace
} // namespace tunevox::setup
