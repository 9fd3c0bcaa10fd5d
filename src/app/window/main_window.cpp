// tdMain: construction of the widgets, the menus and the tray icon, and the
// helpers that show pictures and captions.

#include "app/window/main_window.h"

#include "app/window/layouts.h"
#include "app/window/tray_icon.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "widgets/spin_button.h"
#include "display/palette.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "display/tdisplay.h"
#include "mixer/mixer.h"
#include "platform/profile.h"
#include "radio/radio_card.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTimer>

namespace tunevox::app {

namespace {

QFont PixelFont(int px, bool bold = false) {
    QFont f = QApplication::font();
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at,
                  int px, Qt::Alignment align, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    l->setFont(PixelFont(px, bold));
    l->setAlignment(align);
    return l;
}

} // namespace

tdMain::tdMain(ICardHost& host, IInteraction& ui, IClock& clock, tMainOptions options, QWidget* parent)
    : QMainWindow(parent), host_(host), card_(host.Card()), ui_(ui), clock_(clock),
      options_(std::move(options)) {
    setObjectName("tdMain");
    setWindowTitle("Tunevox");
    // The window takes its size from the display mode, never from the user:
    // a fixed size (ApplyLayout), a title with the system menu and a minimize
    // button, no maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    separator_ = QLocale().decimalPoint().at(0).toLatin1();
    if (separator_ == 0) separator_ = '.';
    ClearBank(favorites_);
    BuildWidgets();
    BuildMenus();
    BuildTray();

    Clock = new QTimer(this);
    Clock->setObjectName("Clock");
    Clock->setInterval(1000);
    connect(Clock, &QTimer::timeout, this, &tdMain::ClockTimer);
    Test = new QTimer(this);
    Test->setObjectName("Test");
    connect(Test, &QTimer::timeout, this, &tdMain::TestTimer);
    Beeper = new QTimer(this);
    Beeper->setObjectName("Beeper");
    TSleep = new QTimer(this);
    TSleep->setObjectName("TSleep");
    connect(TSleep, &QTimer::timeout, this, &tdMain::TSleepTimer);

    card_.OnMixerChange = [this](radio::TRadioCard&, int volume, bool mute) {
        RadioCardMixerChange(volume, mute);
    };
    card_.OnMixerError = [this](radio::TRadioCard&, const mixer::eMMError& e) {
        // Told from inside a card operation: show it once the operation is over.
        const QString text = QString::fromStdString(e.what());
        QTimer::singleShot(0, this, [this, text] { ReportMixerError(text); });
    };
}

tdMain::~tdMain() { card_.OnMixerChange = nullptr; }

void tdMain::BuildWidgets() {
    auto* central = new QWidget(this);
    central->setObjectName("Client");
    setCentralWidget(central);
    central->setFont(PixelFont(11));
    BuildPanel();
    BuildTuner();
    BuildPresets();
    BuildVolumeAndButtons();
    Temp = new QSlider(Qt::Horizontal, central);
    Temp->setObjectName("Temp");
    Temp->setGeometry(-100, -100, 10, 10); // never seen: it only holds the focus
    Temp->installEventFilter(this);
}

void tdMain::BuildPanel() {
    panel_ = new display::TRadioPanel(centralWidget());
    panel_->move(kPanelRect.topLeft());
}

void tdMain::BuildTuner() {
    gpTuner = new TGroupFrame("Tuner", centralWidget());
    gpTuner->setObjectName("gpTuner");
    gpTuner->setGeometry(*LayoutTemplate(dmComplete).tuner);

    sFrequency = new QSlider(Qt::Horizontal, gpTuner);
    sFrequency->setObjectName("sFrequency");
    sFrequency->setGeometry(4, 24, 238, 18);
    sFrequency->installEventFilter(this);
    connect(sFrequency, &QSlider::valueChanged, this, [this](int v) {
        if (frequencyHandlerAttached_) sFrequencyChange(v);
    });
    connect(sFrequency, &QSlider::sliderPressed, this, [this] { sliderDragging_ = true; });
    connect(sFrequency, &QSlider::sliderReleased, this, [this] {
        sliderDragging_ = false;
        EndSliding();
    });
    for (int i = 0; i < 12; ++i) {
        Freq[i] = MakeLabel(gpTuner, QString("Freq%1").arg(i + 1, 2, 10, QChar('0')), "", {0, 12, 26, 11},
                            9, Qt::AlignHCenter | Qt::AlignVCenter);
    }

    btFM = new TGlyphButton("FM", gpTuner);
    btFM->setObjectName("btFM");
    btFM->setGeometry(248, 15, 30, 24);
    btFM->setToolTip("FM band");
    connect(btFM, &QAbstractButton::clicked, this, &tdMain::btFMClick);
    btAM = new TGlyphButton("AM", gpTuner);
    btAM->setObjectName("btAM");
    btAM->setGeometry(279, 15, 30, 24);
    btAM->setToolTip("AM band");
    connect(btAM, &QAbstractButton::clicked, this, &tdMain::btAMClick);

    auto button = [&](const QString& name, const QString& caption, const QRect& at, const QString& hint,
                      void (tdMain::*handler)()) {
        auto* b = new TGlyphButton(caption, gpTuner);
        b->setObjectName(name);
        b->setGeometry(at);
        b->setToolTip(hint);
        connect(b, &QAbstractButton::clicked, this, handler);
        return b;
    };
    btTunePrev = button("btTunePrev", QString::fromUtf8("\u25C2"), {4, 46, 22, 22}, "Tune left",
                        &tdMain::Actions_TunePrev);
    btTuneNext = button("btTuneNext", QString::fromUtf8("\u25B8"), {27, 46, 22, 22}, "Tune right",
                        &tdMain::Actions_TuneNext);
    LScan = MakeLabel(gpTuner, "LScan", "Seek", {54, 46, 30, 22}, 10, Qt::AlignRight | Qt::AlignVCenter);
    LScan->installEventFilter(this); // a double click sets the signal strength
    btScanPrev = button("btScanPrev", QString::fromUtf8("\u25C2\u25C2"), {87, 46, 28, 22}, "Scan left",
                        &tdMain::Actions_ScanPrev);
    btScanNext = button("btScanNext", QString::fromUtf8("\u25B8\u25B8"), {116, 46, 28, 22}, "Scan right",
                        &tdMain::Actions_ScanNext);
    btStopScan = button("btStopScan", "Stop", {87, 46, 57, 22}, "Stop scanning", &tdMain::Actions_StopScan);
    btStopScan->hide();

    LStep = MakeLabel(gpTuner, "LStep", "kHz", {180, 46, 22, 22}, 10, Qt::AlignLeft | Qt::AlignVCenter);
    Step = MakeLabel(gpTuner, "Step", "100", {148, 46, 30, 22}, 11, Qt::AlignRight | Qt::AlignVCenter, true);
    Step->setToolTip("Tuning step");
    sStep = new QSlider(Qt::Horizontal, gpTuner);
    sStep->setObjectName("sStep");
    sStep->setGeometry(203, 48, 58, 18);
    sStep->setMinimum(1);
    sStep->installEventFilter(this);
    connect(sStep, &QSlider::valueChanged, this, [this](int v) {
        if (!sStep->signalsBlocked()) sStepChange(v);
    });
    btJump = button("btJump", "Go", {263, 46, 28, 22}, "Jump directly to a frequency", &tdMain::Actions_Jump);
    btSpinStep = new TSpinButton(gpTuner);
    btSpinStep->setObjectName("btSpinStep");
    btSpinStep->setGeometry(293, 46, 15, 22);
    btSpinStep->setToolTip("Step + / Step -");
    connect(btSpinStep, &TSpinButton::topClicked, this, &tdMain::Actions_StepDec);
    connect(btSpinStep, &TSpinButton::bottomClicked, this, &tdMain::Actions_StepInc);
}

void tdMain::BuildPresets() {
    gpPresets = new TGroupFrame("Presets", centralWidget());
    gpPresets->setObjectName("gpPresets");
    gpPresets->setGeometry(*LayoutTemplate(dmComplete).presets);
    for (int k = 1; k <= 10; ++k) {
        auto* b = new TGlyphButton(TwoDigit(k).c_str(), gpPresets);
        b->setObjectName(QString("btRadio%1").arg(QString::fromStdString(TwoDigit(k))));
        b->SetGlyphOnTop(true);
        b->setGeometry(3 + (k - 1) * 28, 12, 28, 32);
        b->setFont(PixelFont(10));
        b->installEventFilter(this);
        connect(b, &QAbstractButton::clicked, this, [this, k] { btRadioClick(k); });
        connect(b, &TGlyphButton::rightClicked, this, [this, k](QPoint at) {
            btMenuPopup(k);
            btMenu->popup(at);
        });
        btRadio[k - 1] = b;
    }
    btNextPrev = new TSpinButton(gpPresets);
    btNextPrev->setObjectName("btNextPrev");
    btNextPrev->setGeometry(284, 12, 14, 32);
    btNextPrev->setToolTip("Previous / next row of presets");
    connect(btNextPrev, &TSpinButton::topClicked, this, &tdMain::btNextPrevTopClick);
    connect(btNextPrev, &TSpinButton::bottomClicked, this, &tdMain::btNextPrevBottomClick);

    btMenu = new QMenu(this);
    btMenu->setObjectName("btMenu");
    auto add = [&](const QString& name, const QString& caption, void (tdMain::*handler)()) {
        auto* a = btMenu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
    };
    add("pmMemory", "Memory", &tdMain::Popup_Memory);
    add("pmClear", "Clear", &tdMain::Popup_Clear);
    add("pmClearAll", "Clear all", &tdMain::Stations_ClearAll);
    add("pmRename", "Rename", &tdMain::Popup_Rename);
}

void tdMain::BuildVolumeAndButtons() {
    gpVolume = new TGroupFrame("Volume", centralWidget());
    gpVolume->setObjectName("gpVolume");
    gpVolume->setGeometry(*LayoutTemplate(dmComplete).volume);
    sVolume = new QSlider(Qt::Horizontal, gpVolume);
    sVolume->setObjectName("sVolume");
    sVolume->setGeometry(3, 12, 66, 16);
    sVolume->installEventFilter(this);
    connect(sVolume, &QSlider::valueChanged, this, [this](int v) {
        if (!sVolume->signalsBlocked()) sVolumeChange(v);
    });
    btMixer = new TGlyphButton("Mixer", gpVolume);
    btMixer->setObjectName("btMixer");
    btMixer->setGeometry(3, 27, 66, 17);
    btMixer->setToolTip("Goto sound card mixer");
    connect(btMixer, &QAbstractButton::clicked, this, &tdMain::Volume_Mixer);
    VcDisabled = MakeLabel(gpVolume, "VcDisabled", "Tunevox can't control\r\nthe volume sound",
                           {3, 12, 66, 32}, 9, Qt::AlignCenter);
    VcDisabled->setWordWrap(true);
    VcDisabled->hide();

    auto fn = [&](const QString& name, const QString& caption, int col, int row, const QString& hint,
                  void (tdMain::*handler)()) {
        auto* b = new TGlyphButton(caption, centralWidget());
        b->setObjectName(name);
        const QPoint o = LayoutTemplate(dmComplete).buttonsOrigin;
        b->setGeometry(o.x() + col * (kFunctionButton.width() + 1), o.y() + row * kFunctionButton.height(),
                       kFunctionButton.width(), kFunctionButton.height());
        b->setFont(PixelFont(9, true));
        if (!hint.isEmpty()) b->setToolTip(hint);
        if (handler) connect(b, &QAbstractButton::clicked, this, handler);
        return b;
    };
    btMute = fn("btMute", "MTE", 0, 0, "Mute on/off", &tdMain::Volume_Mute);
    btAlarm = fn("btAlarm", "ALM", 1, 0, "Alarm on/off", &tdMain::Actions_Alarm);
    btSleep = fn("btSleep", "SLP", 2, 0, "Sleep on/off", &tdMain::Actions_Sleep);
    btProg = fn("btProg", "PRG", 3, 0, "Programming mode on/off (empty)", nullptr);
    btClr = fn("btClr", "CLR", 0, 1, "Clear a preset", &tdMain::btClrClick);
    btMem = fn("btMem", "MEM", 1, 1, "Store the station in a preset", &tdMain::Stations_Memory);
    btStr = fn("btStr", "STR", 2, 1, "Forced stereo on/off", &tdMain::Actions_Stereo);
    OnOff = fn("OnOff", "OFF", 3, 1, "Exit Tunevox", &tdMain::File_Exit);
    // Programming mode arrives with the script runner.
    btProg->setEnabled(false);
}

QAction* tdMain::AddItem(QMenu* menu, const QString& name, const QString& caption,
                         void (tdMain::*handler)()) {
    auto* a = menu->addAction(caption);
    a->setObjectName(name);
    if (handler) connect(a, &QAction::triggered, this, handler);
    else a->setEnabled(false); // its window is not part of the program yet
    return a;
}

void tdMain::BuildMenus() {
    // Main menu items are named "ms" + handler, tray items "tsm" + handler,
    // so that both copies of a command are found and kept alike.
    auto both = [this](QMenu* main, QMenu* tray, const QString& handlerName, const QString& caption,
                       void (tdMain::*handler)()) {
        if (main) AddItem(main, "ms" + handlerName, caption, handler);
        if (tray) AddItem(tray, "tsm" + handlerName, caption, handler);
    };
    TrayMenu = new QMenu(this);
    TrayMenu->setObjectName("TrayMenu");
    QMenuBar* bar = menuBar();
    bar->setObjectName("RadioMenu");
    // The narrow modes are 300 pixels wide: a compact menu bar keeps all
    // six menus in sight there.
    bar->setFont(PixelFont(11));
    bar->setStyleSheet("QMenuBar::item { padding: 2px 5px; }");

    QMenu* file = bar->addMenu("&File");
    AddItem(file, "msFile_LoadScript", "Load script", nullptr);
    AddItem(file, "msFile_LoadPresets", "Load presets", &tdMain::File_LoadPresets);
    file->addSeparator();
    AddItem(file, "msFile_Exit", "Exit", &tdMain::File_Exit);

    QMenu* actions = bar->addMenu("&Actions");
    QMenu* tActions = TrayMenu->addMenu("Actions");
    both(actions, tActions, "Actions_Jump", "Jump to", &tdMain::Actions_Jump);
    both(actions, tActions, "Actions_TunePrev", "Tune left", &tdMain::Actions_TunePrev);
    both(actions, tActions, "Actions_TuneNext", "Tune right", &tdMain::Actions_TuneNext);
    actions->addSeparator();
    tActions->addSeparator();
    both(actions, tActions, "Actions_StepDec", "Step +", &tdMain::Actions_StepDec);
    both(actions, tActions, "Actions_StepInc", "Step -", &tdMain::Actions_StepInc);
    actions->addSeparator();
    tActions->addSeparator();
    both(actions, tActions, "Actions_ScanPrev", "Scan left", &tdMain::Actions_ScanPrev);
    both(actions, tActions, "Actions_ScanNext", "Scan right", &tdMain::Actions_ScanNext);
    both(actions, tActions, "Actions_StopScan", "Scan stop", &tdMain::Actions_StopScan);
    actions->addSeparator();
    tActions->addSeparator();
    // The main menu lists sleep before alarm, the tray menu alarm before sleep.
    AddItem(actions, "msActions_Sleep", "Sleep", &tdMain::Actions_Sleep)->setCheckable(true);
    AddItem(actions, "msActions_Alarm", "Alarm", &tdMain::Actions_Alarm)->setCheckable(true);
    AddItem(tActions, "tsmActions_Alarm", "Alarm", &tdMain::Actions_Alarm)->setCheckable(true);
    AddItem(tActions, "tsmActions_Sleep", "Sleep", &tdMain::Actions_Sleep)->setCheckable(true);
    both(actions, tActions, "Actions_Prog", "Scripting", nullptr);
    both(actions, tActions, "Actions_Stereo", "Stereo", &tdMain::Actions_Stereo);

    QMenu* volume = bar->addMenu("&Volume");
    QMenu* tVolume = TrayMenu->addMenu("Volume");
    both(volume, tVolume, "Volume_Up", "Up", &tdMain::Volume_Up);
    both(volume, tVolume, "Volume_Down", "Down", &tdMain::Volume_Down);
    both(volume, tVolume, "Volume_Mute", "Mute", &tdMain::Volume_Mute);
    volume->addSeparator();
    tVolume->addSeparator();
    both(volume, tVolume, "Volume_Mixer", "Mixer", &tdMain::Volume_Mixer);
    both(volume, tVolume, "Volume_0", "Reset", &tdMain::Volume_0);
    TrayMenu->addSeparator();

    QMenu* options = bar->addMenu("&Options");
    AddItem(options, "msOptions_Settings", "&Settings", &tdMain::Options_Settings);
    AddItem(TrayMenu, "tsmOptions_Settings", "Setup", &tdMain::Options_Settings);
    both(options, TrayMenu, "Options_SetSignalStrenght", "Set signal strenght", &tdMain::Options_SetSignalStrenght);
    QMenu* display = options->addMenu("D&isplay");
    QMenu* tDisplay = TrayMenu->addMenu("Display");
    both(display, tDisplay, "Display_AlwaysOnTop", "Always on top", &tdMain::Display_AlwaysOnTop);
    tDisplay->addSeparator();
    const char* modeNames[] = {"Display_Complete",  "Display_Minimal",   "Display_MinTuner",
                               "Display_MinPresets", "Display_MinVolBtn", "Display_MinVolBtnPre"};
    const char* modeCaptions[] = {"Complete",          "Display",
                                  "Display + tuner",   "Display + presets",
                                  "Display + volume + buttons",
                                  "Display + volume + buttons + presets"};
    // Menu order: Complete, Display, + tuner, + presets, + volume + buttons, + presets.
    for (int mode : {0, 1, 2, 3, 4, 5}) {
        for (auto [menu, prefix] : {std::pair{display, QString("ms")}, std::pair{tDisplay, QString("tsm")}}) {
            auto* a = menu->addAction(modeCaptions[mode]);
            a->setObjectName(prefix + modeNames[mode]);
            a->setCheckable(true);
            connect(a, &QAction::triggered, this, [this, mode] {
                config_.DisplayType = mode;
                ApplyLayout();
            });
        }
    }
    Action("msDisplay_AlwaysOnTop")->setCheckable(true);
    Action("tsmDisplay_AlwaysOnTop")->setCheckable(true);
    TrayMenu->addSeparator();

    QMenu* stations = bar->addMenu("&Stations");
    both(stations, TrayMenu, "Stations_Organize", "Organize", nullptr);
    both(stations, TrayMenu, "Stations_EditPresets", "Edit presets", nullptr);
    both(stations, TrayMenu, "Stations_Scanner", "Scanner", nullptr);
    stations->addSeparator();
    both(stations, TrayMenu, "Stations_Clear", "Clear", &tdMain::Stations_Clear);
    both(stations, TrayMenu, "Stations_ClearAll", "Clear all", &tdMain::Stations_ClearAll);
    both(stations, TrayMenu, "Stations_Memory", "Memory", &tdMain::Stations_Memory);
    both(stations, TrayMenu, "Stations_Rename", "Rename", &tdMain::Stations_Rename);
    stations->addSeparator();
    mPresets = stations->addMenu("Presets");
    mPresets->setObjectName("mPresets");
    tsmPresets = TrayMenu->addMenu("Presets");
    tsmPresets->setObjectName("tsmPresets");
    TrayMenu->addSeparator();

    QMenu* help = bar->addMenu("&Help");
    QMenu* tHelp = TrayMenu->addMenu("Help");
    both(help, tHelp, "Help_Topics", "Help topics", &tdMain::Help_Topics);
    both(help, tHelp, "Help_About", "About", &tdMain::Help_About);
    TrayMenu->addSeparator();
    AddItem(TrayMenu, "tsmDo_Show", "Show", &tdMain::Do_Show)->setEnabled(false);
    AddItem(TrayMenu, "tsmDo_Hide", "Hide", &tdMain::Do_Hide);
    TrayMenu->addSeparator();
    AddItem(TrayMenu, "tsmFile_Exit", "Exit", &tdMain::File_Exit);

    TrayMenuAlt = new QMenu(this);
    TrayMenuAlt->setObjectName("TrayMenuAlt");
    AddItem(TrayMenuAlt, "taFile_Exit", "Exit", &tdMain::File_Exit);

    Action("msActions_StopScan")->setEnabled(false);
    Action("tsmActions_StopScan")->setEnabled(false);
    for (const char* name : {"msActions_Stereo", "tsmActions_Stereo", "msVolume_Mute", "tsmVolume_Mute"})
        Action(name)->setCheckable(true);
}

void tdMain::BuildTray() {
    tray_ = new TTrayIcon(options_.useTray, this);
    tray_->setObjectName("TrayIcon");
    tray_->SetIcon(display::AppIcon(false));
    tray_->SetMenu(TrayMenu);
    connect(tray_, &TTrayIcon::clicked, this, &tdMain::TrayIconClick);
    connect(tray_, &TTrayIcon::doubleClicked, this, &tdMain::TrayIconDblClick);
}

QAction* tdMain::Action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QWidget* tdMain::Control(const QString& objectName) const { return findChild<QWidget*>(objectName); }

void tdMain::SetCaption(const QString& caption) {
    setWindowTitle("Tunevox - " + caption);
    tray_->SetHint(caption);
}

void tdMain::SetIndicator(QLabel* label, const QString& word, bool on) { panel_->SetIndicator(label, word, on); }

QString tdMain::ReadoutText() const {
    QString s;
    for (int i = 0; i < 6; ++i) {
        s += QChar(panel_->Dig[i]->Digit());
        if (i == 2 && panel_->Point->isVisibleTo(panel_)) s += '.';
    }
    return s;
}

QString tdMain::StatusText() const { return panel_->Tuned->text(); }
QString tdMain::StatusColor() const {
    return panel_->Tuned->palette().color(QPalette::WindowText).name();
}
QString tdMain::StationNumText() const { return panel_->StationNum->text(); }
QString tdMain::StationText() const { return panel_->Station->text(); }
QString tdMain::PresetsHint() const { return gpPresets->toolTip(); }
QString tdMain::TrayHint() const { return tray_->Hint(); }

} // namespace tunevox::app
