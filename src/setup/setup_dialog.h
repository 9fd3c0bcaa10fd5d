#pragma once
// tdSetup ("Settings"): which radio card is installed and where, how the
// volume is controlled, tuning options, start-up and shutdown behaviour,
// the colours of the display and the buttons, and the key of every
// command. It works on a copy of the configuration; nothing reaches the
// main window or the card before the dialog closes with OK. The same
// dialog greets a newcomer on the first run.

#include "radioset/commands.h"
#include "radioset/configuration.h"
#include "radio/radio_types.h"
#include "radio/v4l2_caps.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLayout;
class QPlainTextEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;

namespace tunevox::display {
class TDisplay;
class TRadioPanel;
}
namespace tunevox::radio {
class TRadioCard;
}
namespace tunevox::platform {
struct tPortAccessError;
class IRadioDeviceOpener;
}

namespace tunevox::setup {

class TColorGrid;

// What the dialog needs to know about the machine; the main window fills
// it from the card, the mixer, the port map and the radio device nodes.
struct tSetupEnvironment {
    radio::tDevCaps models = radio::DefaultModelTable(); // capabilities of each model
    bool hasSoundCard = false;
    // Mixer lines that have both a volume and a mute control.
    bool lineInUsable = false, micUsable = false, cdUsable = false;
    // Whether I/O-port access for (model, port index) can be obtained;
    // `why` receives the system's cause when not. Empty: access is taken
    // to be there.
    std::function<bool(radio::tModel, int port, platform::tPortAccessError* why)> portAccess;
    // ComPortFree(n) on the configured mapping. Empty: no port is free.
    std::function<bool(int com)> comPortFree;
    // The device file COM n stands for. Empty: the path is not shown.
    std::function<std::string(int com)> comDevicePath;
    // The radio device nodes (/dev/radioN): listed when the dialog opens,
    // and the chosen one opened to ask what it can do. Null: no node can be
    // listed. It must outlive the dialog.
    platform::IRadioDeviceOpener* radioDevices = nullptr;
    std::function<void(const QString& topic)> showHelp; // may be empty
    bool emulated = false; // --virtual: the receivers are emulated
    bool firstRun = false; // shown before the main window exists
};

// The card's share of the environment: every model's capabilities as the
// card holds them, whether there is a sound card, and which of its lines
// (line in, microphone, CD) have both a volume and a mute control. The
// port probes, the help and the two flags are left to the caller.
void TakeCardCapabilities(tSetupEnvironment& env, const radio::TRadioCard& card);

// What the dialog remembers for each model while it is open, so that
// switching to another model and back shows the choices made for it. The
// records are the only copy of these settings: the configuration the
// dialog hands back takes them from the selected model's record.
struct tModelRecord {
    uint16_t port = 0;     // 1 or 2 on the I/O-port models, the COM number on the serial ones
    std::string radioDevice; // the node's path on the radio device model
    radio::tVolumeLine volumeLine = radio::vlNative;
    bool japaneseFM = false;
    int32_t threshold = 3; // CheckIfTunedST
    int32_t seconds = 2;   // CheckIfTunedSec
    bool check = false;    // CheckIfTuned
};

class tdSetup : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpTopic = "Tuning_the_configuration";

    tdSetup(const radioset::tConfiguration& config, tSetupEnvironment env, QWidget* parent = nullptr);
    ~tdSetup() override;

    // The working copy with the closing rule applied: while the configured
    // model is still selected, its configured port stays (a change of port
    // alone is not taken over). Hardware is a model code (ordinal + 1),
    // Port a port index of that model. A radio device's path is no port: a
    // different one is handed back and takes effect.
    radioset::tConfiguration Result() const;
    bool OkPressed() const { return okPressed_; }

    // For the caller and the tests: the working copy as it stands (the
    // selected model's record included), the record of a model, the blink
    // state of the preview, the key alphabet.
    radioset::tConfiguration Working() const;
    const tModelRecord& Record(radio::tModel model) const { return records_[model]; }
    radio::tModel SelectedModel() const { return selected_; }
    bool BlinkOn() const { return blinkOn_; }
    static const std::string& KeyAlphabet();

    // Radio card page.
    void HwListChange();
    void PrimaryAddr();
    void AlternateAddr();
    void Port_SerialChange();
    void RadioDeviceListChange();
    void xCheckIfTunedClick();
    void xJapFMClick();
    void StTimeChange();
    void SStrenghtChange();
    // Volume control page.
    void ScListClick();
    // General page.
    void oLastStationClick();
    void oMinimizedClick();
    void oShowTODClick();
    void oStartMutedClick();
    void oStartAlarmClick();
    void oStereoOffClick();
    void oMuteClick();
    void oLeaveClick();
    void oAskClick();
    void oGenHideClick();
    void DblClkChange();
    // Colours page.
    void oSeg16Click();
    void oBulb5x7Click();
    void oDot5x7Click();
    void oSeg7Click();
    void oDigitChange();
    void oPanelChange();
    void TextChoose(QAbstractButton* button);
    void FlagChoose(QAbstractButton* button);
    void ColorTimerTimer();
    // Buttons page.
    void ButtonChoose(QAbstractButton* button);
    // Keys page.
    void CmdChange(QComboBox* list);
    void btDefaultClick();
    // Buttons of the dialog.
    void btOkClick();
    void FormClose();

protected:
    void done(int result) override;

private:
    void BuildRadioCardPage(QWidget* page);
    void BuildVolumePage(QWidget* page);
    void BuildGeneralPage(QWidget* page);
    void BuildColorsPage(QWidget* page);
    void BuildPreview(QWidget* parent);
    void BuildButtonsPage(QWidget* page);
    void BuildKeysPage(QWidget* page);
    QWidget* BuildWelcome();

    // Shows the selected model's record in the tuning controls, the
    // volume page and the port groups.
    void ShowModel();
    void ShowTuningOptions();
    void ShowPortGroup();
    void ShowSerialPort();
    void BuildRadioDeviceGroups(QWidget* page, QLayout* ports);
    void ShowRadioDevice();
    void ShowRadioDeviceName();
    // Opens the chosen radio device and asks what it can do; done when the
    // model is chosen or another device, never while the page is drawn.
    void AskRadioDevice();
    // The selected model's capabilities: for the radio device model, what
    // the chosen device answered (or a stand-in when it could not be asked).
    const radio::tDevCap& SelectedCaps() const;
    void RebuildVolumeList();
    void SetStyle(int style);
    void ShowPreviewColors();
    void ShowBlink();
    void ShowButtonRows();
    void ShowKeys();
    void SetScheme(QButtonGroup* group, int scheme);
    tModelRecord& SelectedRecord() { return records_[selected_]; }
    const radio::tDevCap& Caps(radio::tModel m) const { return env_.models[m]; }

    tSetupEnvironment env_;
    radioset::tConfiguration working_;
    radio::tModel configuredModel_;
    uint16_t configuredPort_;
    // A card was configured when the dialog opened (not the first run),
    // which is when a port change alone is not taken over.
    bool keepConfiguredPort_;
    bool hasConfiguredCard_;
    radio::tModel selected_;
    std::array<tModelRecord, radio::kModelCount> records_{};
    std::vector<int> serialPorts_; // COM numbers offered, ascending
    std::vector<std::string> radioDevices_; // the nodes present when the dialog opened
    // What the chosen radio device answered; empty when it could not be
    // asked, and then `deviceStandIn_` stands for it.
    std::optional<radio::tRadioDeviceCaps> deviceCaps_;
    radio::tDevCap deviceStandIn_;
    std::string deviceText_; // the device described, or why it could not be asked
    bool okPressed_ = false;
    bool blinkOn_ = true;
    bool updating_ = false; // controls are being set by the dialog itself

    // Controls, named as in the window definition (tests find them by name).
    QTabWidget* Pages = nullptr;
    QLabel* lbWelcome = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btHelp = nullptr;
    // Radio card.
    QListWidget* HwList = nullptr;
    QGroupBox* gbIOPort = nullptr;
    QLabel* lbIOPort = nullptr;
    QRadioButton* rbPrimaryAddr = nullptr;
    QRadioButton* rbAlternateAddr = nullptr;
    QLabel* lbInstalledIO = nullptr;
    QGroupBox* gbSerialPort = nullptr;
    QComboBox* Port_Serial = nullptr;
    QLabel* lbDevicePath = nullptr;
    QLabel* lbInstalledSerial = nullptr;
    QGroupBox* gbNoSerial = nullptr;
    QGroupBox* gbRadioDevice = nullptr;
    QComboBox* RadioDeviceList = nullptr;
    QLabel* lbRadioDeviceName = nullptr;
    QLabel* lbInstalledDevice = nullptr;
    QGroupBox* gbNoRadioDevice = nullptr;
    QGroupBox* gbNoPortAccess = nullptr;
    QLabel* lbNoPortAccess = nullptr;
    QPlainTextEdit* edSetcap = nullptr;
    QLabel* lbEmulated = nullptr;
    QCheckBox* xCheckIfTuned = nullptr;
    QSpinBox* StTime = nullptr;
    QLabel* lbSecs = nullptr;
    QCheckBox* xJapFM = nullptr;
    QSlider* SStrenght = nullptr;
    std::array<QLabel*, 3> lbStrenght{}; // "Strenght", "wk", "st"
    // Volume control.
    QLabel* LMessage = nullptr;
    QLabel* ScLabel = nullptr;
    QListWidget* ScList = nullptr;
    // General.
    QCheckBox* oLastStation = nullptr;
    QCheckBox* oMinimized = nullptr;
    QCheckBox* oShowTOD = nullptr;
    QCheckBox* oStartMuted = nullptr;
    QCheckBox* oStartAlarm = nullptr;
    QCheckBox* oStereoOff = nullptr;
    QRadioButton* oMute = nullptr;
    QRadioButton* oLeave = nullptr;
    QRadioButton* oAsk = nullptr;
    QCheckBox* oGenHide = nullptr;
    QSlider* DblClk = nullptr;
    QLabel* ms = nullptr;
    // Colours.
    TColorGrid* oDigit = nullptr;
    TColorGrid* oPanel = nullptr;
    QRadioButton* oSeg16 = nullptr;
    QRadioButton* oBulb5x7 = nullptr;
    QRadioButton* oDot5x7 = nullptr;
    QRadioButton* oSeg7 = nullptr;
    QButtonGroup* TextGroup = nullptr;
    QButtonGroup* FlagGroup = nullptr;
    display::TRadioPanel* Preview = nullptr;
    QTimer* Timer = nullptr;
    // Buttons: generic, assigned FM, assigned AM, not assigned.
    std::array<QButtonGroup*, 4> ButtonRows{};
    std::array<QLabel*, 4> RowActive{};
    std::array<QLabel*, 4> RowNotActive{};
    // Keys: one list per command ordinal (none at ordinal 32).
    std::array<QComboBox*, radioset::kCommandCount> KeyLists{};
    QPushButton* btDefault = nullptr;
};

} // namespace tunevox::setup
