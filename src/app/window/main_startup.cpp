// tdMain: reading the configuration at start-up, setting up and opening the
// card, restoring the last station, the close question and saving.

#include "app/window/main_window.h"

#include "radioset/atomic_file.h"
#include "platform/text_lines.h"
#include "radioset/tuning_rules.h"
#include "app/dialogs/exit_dialog.h"
#include "app/window/tray_icon.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "display/radio_panel.h"
#include "platform/profile.h"
#include "radio/radio_card.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstring>

namespace tunevox::app {

using radio::bAM;
using radio::bFM;

void tdMain::LoadIni(platform::TProfile& into) {
    if (auto bytes = platform::ReadWholeFile(options_.files.IniPath())) into.LoadText(*bytes);
}

bool tdMain::ReadConfiguration() {
    config_ = tConfiguration{};
    ClearBank(favorites_);
    profile_ = std::make_unique<platform::TProfile>();
    LoadIni(*profile_);
    config_ = app::ReadConfiguration(*profile_);
    if (!host_.Emulated()) {
        for (int n = 1; n <= 8; ++n)
            if (config_.ComPorts[n - 1]) host_.SetComDevicePath(n, *config_.ComPorts[n - 1]);
    }

    const bool firstRun = config_.Hardware == 0;
    if (config_.Hardware == 0 || config_.Port == 0 || options_.configureSwitch) {
        if (config_.Port == 0) config_.Port = card_.GetCaps(config_.Model()).DefaultPort;
        // The first-run dialog comes before the window: no tray menu yet.
        QMenu* menu = tray_->Menu();
        tray_->SetMenu(nullptr);
        tConfiguration edited = config_;
        const bool ok = RunSetupDialog ? RunSetupDialog(edited) : RunSettingsDialog(edited, true);
        tray_->SetMenu(menu);
        if (!ok) return false; // the program ends without writing anything
        config_ = edited;
        if (config_.Hardware == 0) config_.Hardware = ModelCode(config_.Model());
        // A radio switched on for the first time should be heard: half
        // volume rather than the silent 0 of an empty configuration.
        if (firstRun && config_.Volume == 0) config_.Volume = 128;
    }

    SetUpCard();

    const double s = card_.Caps().FMStep;
    fmTuneStep_ = TuneStepFor(config_.TuneStep, s);

    if (config_.Band == bAM) card_.SetLastAM(config_.Frequency);
    else card_.SetLastFM(config_.Frequency);

    ReadFavorites(*profile_, favorites_);
    currentFavorite_ = config_.Current >= 1 && config_.Current <= kFavoriteCount && favorites_[config_.Current].Used
                           ? config_.Current
                           : 0;
    if (currentFavorite_) favorites_[currentFavorite_].Active = true;

    RefreshAfterCardChange();
    ApplyLayout();
    PlaceWindow();
    ApplyColors();
    Action("msDisplay_AlwaysOnTop")->setChecked(config_.AlwaysOnTop);
    Action("tsmDisplay_AlwaysOnTop")->setChecked(config_.AlwaysOnTop);
    setWindowFlag(Qt::WindowStaysOnTopHint, config_.AlwaysOnTop);

    RestoreStation();
    Step->setText(QString::number(StepKHz(fmTuneStep_)));
    gpPresets->setToolTip("Internal");
    btProg->setToolTip("Programming mode on/off (empty)");
    UpdateButtonGlyphs(true);

    tray_->SetDoubleClickTime(config_.DoubleClick);
    panel_->HHMMSS->setText(QLocale().toString(clock_.Now().time(), QLocale::LongFormat));
    Clock->start();
    if (config_.CheckIfTuned) Test->start(std::max(1, config_.CheckIfTunedSec) * 1000);
    ArmAlarmAtStart();
    ShowSleepState();
    configRead_ = true;
    // On its first run the radio looks for a station by itself, as a new
    // set does when first switched on; the user sees it seek.
    if (firstRun && card_.Band() == bFM && lastStatus_ == 0) QTimer::singleShot(0, this, &tdMain::Actions_ScanNext);
    if (config_.TipOfTheDay) ShowTipOfTheDay();
    return configRead_;
}

// The stored place is the client area's top left, the one thing that means
// the same before the window is shown (when the frame is not known yet) and
// after: storing the frame's corner instead would move the window up by its
// title bar at every start.
void tdMain::PlaceWindow() {
    // Never placed before (a first run): the desktop chooses, title bar
    // included; the place it chose is stored at exit.
    if (!config_.HasPosition) return;
    QPoint at(config_.X, config_.Y);
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().contains(at + QPoint(20, 20));
    if (!visible && QGuiApplication::primaryScreen())
        at = QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(40, 40);
    // The client area's geometry, on every platform; move() would place the
    // frame on some and the client on others.
    setGeometry(QRect(at, size()));
}

void tdMain::RememberPlace() {
    config_.X = geometry().x();
    config_.Y = geometry().y();
}

void tdMain::SetUpCard() {
    const radio::tModel model = config_.Model();
    card_.SetMutedStartup(config_.StartMuted);
    card_.SetModel(model);
    const radio::tDevCap caps = card_.GetCaps(model);
    const int port = config_.Port >= 1 && config_.Port <= caps.PortCount ? config_.Port : caps.DefaultPort;
    config_.Port = port;
    card_.SetPort(port);
    try {
        card_.SetVolumeLine(config_.VolumeLine);
    } catch (const std::exception&) {
        card_.SetVolumeLine(radio::vlNative);
    }
    // A mixer line this computer does not have (the file came from another
    // machine, the sound card is gone) would leave the radio without any
    // volume or mute: the card's own controls take over, as the settings
    // dialog would choose.
    if (card_.VolumeLine() >= radio::vlLineIn && !card_.MixerLineUsable(card_.VolumeLine()))
        card_.SetVolumeLine(radio::vlNative);
    card_.SetJapaneseFM(config_.JapaneseFM);
    muteState_ = config_.StartMuted;
    card_.SetMuteOnExit(false);
    card_.SetStereo(!config_.ForceStereoOff);
    const bool mixerLine = card_.VolumeLine() >= radio::vlLineIn;
    if (config_.StartMuted && mixerLine) GuardAudio([&] { card_.MuteOn(); });

    OpenCard();
    card_.StoreVolume(config_.Volume);
    stereoWanted_ = card_.Stereo();
}

void tdMain::OpenCard() {
    const radio::tDevCap& caps = card_.Caps();
    const int port = card_.Port();
    try {
        card_.Open();
    } catch (const radio::eNoPortAccess& e) {
        ui_.MessageBox(this, "Warning",
                       QString("The %1 needs access to the I/O ports 0x%2: %3.\n"
                               "Run Tunevox as root, or give it the CAP_SYS_RAWIO capability "
                               "(sudo setcap cap_sys_rawio+ep %4), or start it with --virtual.")
                           .arg(QString::fromStdString(caps.DevName))
                           .arg(e.Base(), 0, 16)
                           .arg(QString::fromStdString(e.Error().Text()), QApplication::applicationFilePath()),
                       tMsgIcon::Error, tMsgButtons::Ok);
    } catch (const std::exception& e) {
        // The window comes up all the same; the user picks another port in
        // the settings. Say which device and why.
        QString where = caps.PortKind == radio::kSerialPort
                            ? QString("COM%1 (%2)").arg(port).arg(QString::fromStdString(host_.ComDevicePath(port)))
                            : QString("port 0x%1").arg(caps.Ports[port], 0, 16);
        QString reason = card_.SerialOpenError() ? QString::fromLocal8Bit(std::strerror(card_.SerialOpenError()))
                                                 : QString::fromLocal8Bit(e.what());
        if (reason.isEmpty()) reason = "the device could not be opened";
        ui_.MessageBox(this, "Warning",
                       QString("The radio (%1) could not be opened on %2: %3.\n"
                               "Choose another port in the settings.")
                           .arg(QString::fromStdString(caps.DevName), where, reason),
                       tMsgIcon::Error, tMsgButtons::Ok);
    }
}

void tdMain::RefreshAfterCardChange() {
    const radio::tDevCap& caps = card_.Caps();
    btAM->setEnabled(caps.HasAM);
    btFM->setEnabled(caps.HasFM);
    SetBandScale(card_.Band());
    SetSliderRanges();
    ShowVolumeSlider();
    EnableVolumeGroup();
    RebuildFavoritesMenus();
    ShowFavoritesRow(currentFavorite_ ? RowOf(currentFavorite_) : favoritesRow_);
    for (const char* p : {"ms", "tsm"}) Action(QString(p) + "Actions_Stereo")->setEnabled(caps.HasStereo);
    btStr->setEnabled(caps.HasStereo);
}

void tdMain::RestoreStation() {
    const radio::tDevCap& caps = card_.Caps();
    if (config_.LastStation) {
        if (currentFavorite_) {
            const tFavorite& f = favorites_[currentFavorite_];
            if ((f.Band == bFM && caps.HasFM) || (f.Band == bAM && caps.HasAM)) {
                if (f.Band != card_.Band()) SetBandScale(f.Band);
                SelectFavorite(currentFavorite_, true);
            } else {
                GoToFrequency(bFM, false, card_.FMMin());
            }
        } else if ((config_.Band == bFM && caps.HasFM) || (config_.Band == bAM && caps.HasAM)) {
            GoToFrequency(config_.Band, false, config_.Frequency);
        } else {
            // Nothing is tuned, but the window still shows where the card is.
            SetBandScale(card_.Band());
            ShowFrequencyDigits();
            SetFrequencySlider(card_.Frequency());
            MatchCurrentFavorite();
        }
    } else {
        GoToFrequency(bFM, false, card_.FMMin());
    }
    if (!config_.StartMuted) GuardAudio([&] { card_.MuteOff(); });
    muteState_ = card_.Muted();
    ShowMuteState();
}

bool tdMain::SaveConfiguration() {
    if (!profile_) profile_ = std::make_unique<platform::TProfile>();
    RememberPlace();
    config_.Volume = card_.Volume();
    config_.Band = card_.Band();
    config_.Frequency = card_.Frequency();
    config_.TuneStep = StepMultiple(fmTuneStep_, card_.Caps().FMStep);
    config_.Current = currentFavorite_;
    WriteConfiguration(*profile_, config_, favorites_);

    std::string error;
    if (!EnsureConfigDir(options_.files, &error) ||
        !WriteFileAtomically(options_.files.IniPath(), profile_->ToText(), &error)) {
        ui_.MessageBox(this, "Warning",
                       QString("The configuration could not be saved to %1:\n%2")
                           .arg(QString::fromStdString(options_.files.IniPath()), QString::fromStdString(error)),
                       tMsgIcon::Error, tMsgButtons::Ok);
        return false;
    }
    return true;
}

bool tdMain::AskExitQuestion() {
    tdExit dialog(!card_.Caps().AlwaysMuteOnExit, this);
    // The tray icon has no menu at all while the question is up.
    QMenu* menu = tray_->Menu();
    int answer = 0;
    RunDialog([&] {
        tray_->SetMenu(nullptr);
        return answer = ui_.RunModal(dialog);
    });
    tray_->SetMenu(menu);
    if (answer == tdExit::NotExit) return false;
    if (answer == tdExit::No) GuardAudio([&] { card_.Close(); });
    // "&Yes", or the title-bar close: the music plays on.
    return true;
}

void tdMain::closeEvent(QCloseEvent* event) {
    if (!configRead_) {
        event->accept();
        return;
    }
    if (scanning_) {
        // Let the seek loop end first; it checks the flag after each step.
        stopRequested_ = true;
        event->ignore();
        QTimer::singleShot(0, this, &tdMain::File_Exit);
        return;
    }
    RememberPlace();
    if (!sessionEnding_) {
        switch (config_.ShutDown) {
        case 0: GuardAudio([&] { card_.Close(); }); break;
        case 1: break;
        default:
            if (!AskExitQuestion()) {
                event->ignore();
                return;
            }
        }
    } else {
        try {
            GuardAudio([&] { card_.Close(); });
        } catch (const std::exception&) {
            // The session is ending: a card that will not close is left as is.
        }
    }
    SaveConfiguration();
    configRead_ = false; // written once
    event->accept();
    tray_->Hide();
    QApplication::quit();
}

void tdMain::EndSession() {
    sessionEnding_ = true;
    stopRequested_ = true;
    close();
}

} // namespace tunevox::app
