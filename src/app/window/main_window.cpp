// tdMain: construction of the widgets, the menus and the tray icon from
// the command table, and what the tests read of the panel.

#include "app/window/main_window.h"

#include "app/window/favorites_menus.h"
#include "app/window/layouts.h"
#include "app/window/tray_icon.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "radioset/radio_set.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "widgets/spin_button.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>

#include <vector>

namespace tunevox::app {

using namespace radioset;
using widgets::TGlyphButton;
using widgets::TGroupFrame;
using widgets::TSpinButton;

namespace {

QFont PixelFont(int px, bool bold = false) {
    QFont f = QApplication::font();
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at, int px,
                  Qt::Alignment align, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    l->setFont(PixelFont(px, bold));
    l->setAlignment(align);
    return l;
}

} // namespace

tdMain::tdMain(TRadioSet& set, widgets::IInteraction& ui, tMainOptions options, QWidget* parent)
    : QMainWindow(parent), set_(set), ui_(ui), options_(options) {
    setObjectName("tdMain");
    setWindowTitle("Tunevox");
    // The window takes its size from the display mode, never from the user:
    // a fixed size (ApplyLayout), a title with the system menu and a minimize
    // button, no maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    separator_ = set_.Separator();
    BuildWidgets();
    BuildMenus();
    BuildTray();
    set_.SetView(this);
}

tdMain::~tdMain() { set_.SetView(nullptr); }

void tdMain::BuildWidgets() {
    auto* central = new QWidget(this);
    central->setObjectName("Client");
    setCentralWidget(central);
    central->setFont(PixelFont(11));
    panel_ = new display::TRadioPanel(central);
    panel_->move(kPanelRect.topLeft());
    BuildTuner();
    BuildPresets();
    BuildVolumeAndButtons();
    Temp = new QSlider(Qt::Horizontal, central);
    Temp->setObjectName("Temp");
    Temp->setGeometry(-100, -100, 10, 10); // never seen: it only holds the focus
    // A screen reader still lands on it after a favorite's button.
    Temp->setAccessibleName("Command keys");
    Temp->setAccessibleDescription("Type a command key of the radio");
    Temp->installEventFilter(this);
}

TGlyphButton* tdMain::CommandButton(QWidget* parent, const QString& name, const QString& caption, const QRect& at,
                                    const QString& hint, tCommand command) {
    auto* b = new TGlyphButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(at);
    if (!hint.isEmpty()) b->setToolTip(hint);
    connect(b, &QAbstractButton::clicked, this, [this, command] { RunCommand(command); });
    return b;
}

void tdMain::BuildTuner() {
    gpTuner = new TGroupFrame("Tuner", centralWidget());
    gpTuner->setObjectName("gpTuner");
    gpTuner->setGeometry(*LayoutTemplate(dmComplete).tuner);

    sFrequency = new QSlider(Qt::Horizontal, gpTuner);
    sFrequency->setObjectName("sFrequency");
    sFrequency->setGeometry(4, 24, 238, 18);
    sFrequency->setAccessibleName("Frequency");
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
        Freq[i] = MakeLabel(gpTuner, QString("Freq%1").arg(i + 1, 2, 10, QChar('0')), "", {0, 12, 26, 11}, 9,
                            Qt::AlignHCenter | Qt::AlignVCenter);
    }

    btFM = new TGlyphButton("FM", gpTuner);
    btFM->setObjectName("btFM");
    btFM->setGeometry(248, 15, 30, 24);
    btFM->setToolTip("FM band");
    btFM->setAccessibleName("FM band");
    connect(btFM, &QAbstractButton::clicked, this, &tdMain::btFMClick);
    btAM = new TGlyphButton("AM", gpTuner);
    btAM->setObjectName("btAM");
    btAM->setGeometry(279, 15, 30, 24);
    btAM->setToolTip("AM band");
    btAM->setAccessibleName("AM band");
    connect(btAM, &QAbstractButton::clicked, this, &tdMain::btAMClick);

    btTunePrev = CommandButton(gpTuner, "btTunePrev", QString::fromUtf8("\u25C2"), {4, 46, 22, 22}, "Tune left",
                               cmDecFreq);
    btTuneNext = CommandButton(gpTuner, "btTuneNext", QString::fromUtf8("\u25B8"), {27, 46, 22, 22}, "Tune right",
                               cmIncFreq);
    btTunePrev->setAccessibleName("Tune down");
    btTuneNext->setAccessibleName("Tune up");
    LScan = MakeLabel(gpTuner, "LScan", "Seek", {54, 46, 30, 22}, 10, Qt::AlignRight | Qt::AlignVCenter);
    LScan->installEventFilter(this); // a double click sets the signal strength
    btScanPrev = CommandButton(gpTuner, "btScanPrev", QString::fromUtf8("\u25C2\u25C2"), {87, 46, 28, 22},
                               "Scan left", cmScanLeft);
    btScanNext = CommandButton(gpTuner, "btScanNext", QString::fromUtf8("\u25B8\u25B8"), {116, 46, 28, 22},
                               "Scan right", cmScanRight);
    btStopScan = CommandButton(gpTuner, "btStopScan", "Stop", {87, 46, 57, 22}, "Stop scanning", cmStopScan);
    btScanPrev->setAccessibleName("Seek down");
    btScanNext->setAccessibleName("Seek up");
    btStopScan->setAccessibleName("Stop seeking");
    btStopScan->hide();

    LStep = MakeLabel(gpTuner, "LStep", "kHz", {180, 46, 22, 22}, 10, Qt::AlignLeft | Qt::AlignVCenter);
    Step = MakeLabel(gpTuner, "Step", "100", {148, 46, 30, 22}, 11, Qt::AlignRight | Qt::AlignVCenter, true);
    Step->setToolTip("Tuning step");
    sStep = new QSlider(Qt::Horizontal, gpTuner);
    sStep->setObjectName("sStep");
    sStep->setGeometry(203, 48, 58, 18);
    sStep->setMinimum(1);
    sStep->setAccessibleName("Tuning step");
    sStep->installEventFilter(this);
    connect(sStep, &QSlider::valueChanged, this, [this](int v) {
        if (!sStep->signalsBlocked()) sStepChange(v);
    });
    btJump = CommandButton(gpTuner, "btJump", "Go", {263, 46, 28, 22}, "Jump directly to a frequency", cmJump);
    btJump->setAccessibleName("Jump to a frequency");
    btSpinStep = new TSpinButton(gpTuner);
    btSpinStep->setObjectName("btSpinStep");
    btSpinStep->setGeometry(293, 46, 15, 22);
    btSpinStep->setToolTip("Step + / Step -");
    btSpinStep->SetHalfNames("Larger step", "Smaller step");
    connect(btSpinStep, &TSpinButton::topClicked, this, [this] { RunCommand(cmDecStep); });
    connect(btSpinStep, &TSpinButton::bottomClicked, this, [this] { RunCommand(cmIncStep); });
}

void tdMain::BuildPresets() {
    gpPresets = new TGroupFrame("Presets", centralWidget());
    gpPresets->setObjectName("gpPresets");
    gpPresets->setGeometry(*LayoutTemplate(dmComplete).presets);
    gpPresets->setToolTip("Internal");
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
    btNextPrev->SetHalfNames("Previous row of favorites", "Next row of favorites");
    connect(btNextPrev, &TSpinButton::topClicked, this, &tdMain::btNextPrevTopClick);
    connect(btNextPrev, &TSpinButton::bottomClicked, this, &tdMain::btNextPrevBottomClick);

    btMenu = new QMenu(this);
    btMenu->setObjectName("btMenu");
    auto add = [&](const QString& name, const QString& caption, void (tdMain::*handler)()) {
        QAction* a = btMenu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    pmMemory = add("pmMemory", "Memory", &tdMain::Popup_Memory);
    pmClear = add("pmClear", "Clear", &tdMain::Popup_Clear);
    pmClearAll = add("pmClearAll", "Clear all", &tdMain::Stations_ClearAll);
    pmRename = add("pmRename", "Rename", &tdMain::Popup_Rename);
}

void tdMain::BuildVolumeAndButtons() {
    gpVolume = new TGroupFrame("Volume", centralWidget());
    gpVolume->setObjectName("gpVolume");
    gpVolume->setGeometry(*LayoutTemplate(dmComplete).volume);
    sVolume = new QSlider(Qt::Horizontal, gpVolume);
    sVolume->setObjectName("sVolume");
    sVolume->setGeometry(3, 12, 66, 16);
    sVolume->setAccessibleName("Volume");
    sVolume->installEventFilter(this);
    connect(sVolume, &QSlider::valueChanged, this, [this](int v) {
        if (!sVolume->signalsBlocked()) sVolumeChange(v);
    });
    btMixer = CommandButton(gpVolume, "btMixer", "Mixer", {3, 27, 66, 17}, "Goto sound card mixer", cmMixer);
    VcDisabled = MakeLabel(gpVolume, "VcDisabled", "Tunevox can't control\r\nthe volume sound", {3, 12, 66, 32}, 9,
                           Qt::AlignCenter);
    VcDisabled->setWordWrap(true);
    VcDisabled->hide();

    auto fn = [&](const QString& name, const QString& caption, int col, int row, const QString& hint,
                  std::optional<tCommand> command) {
        const QPoint o = LayoutTemplate(dmComplete).buttonsOrigin;
        const QRect at(o.x() + col * (kFunctionButton.width() + 1), o.y() + row * kFunctionButton.height(),
                       kFunctionButton.width(), kFunctionButton.height());
        TGlyphButton* b = command ? CommandButton(centralWidget(), name, caption, at, hint, *command)
                                  : new TGlyphButton(caption, centralWidget());
        b->setObjectName(name);
        b->setGeometry(at);
        b->setToolTip(hint);
        b->setFont(PixelFont(9, true));
        return b;
    };
    btMute = fn("btMute", "MTE", 0, 0, "Mute on/off", cmMuteOnOff);
    btAlarm = fn("btAlarm", "ALM", 1, 0, "Alarm on/off", cmAlarmOnOff);
    btSleep = fn("btSleep", "SLP", 2, 0, "Sleep on/off", cmSleepOnOff);
    btProg = fn("btProg", "PRG", 3, 0, "Programming mode on/off (empty)", cmProgr);
    btClr = fn("btClr", "CLR", 0, 1, "Clear a preset", std::nullopt);
    connect(btClr, &QAbstractButton::clicked, this, &tdMain::btClrClick);
    btMem = fn("btMem", "MEM", 1, 1, "Store the station in a preset", cmMemory);
    btStr = fn("btStr", "STR", 2, 1, "Forced stereo on/off", cmStereo);
    OnOff = fn("OnOff", "OFF", 3, 1, "Exit Tunevox", cmExit);
    // The captions are three-letter codes; a screen reader says what they
    // stand for, and the lamp as the switch's state (SetGlyph).
    btMute->setAccessibleName("Mute");
    btAlarm->setAccessibleName("Alarm");
    btSleep->setAccessibleName("Sleep");
    btProg->setAccessibleName("Programming mode");
    btClr->setAccessibleName("Clear a favorite");
    btMem->setAccessibleName("Store in a favorite");
    btStr->setAccessibleName("Forced stereo");
    OnOff->setAccessibleName("Exit");
}

void tdMain::BuildMenus() {
    TrayMenu = new QMenu(this);
    TrayMenu->setObjectName("TrayMenu");
    QMenuBar* bar = menuBar();
    bar->setObjectName("RadioMenu");
    // The narrow modes are 300 pixels wide: a compact menu bar keeps all
    // six menus in sight there.
    bar->setFont(PixelFont(11));
    bar->setStyleSheet("QMenuBar::item { padding: 2px 5px; }");

    QMenu* mPresets = new QMenu("Presets", this);
    mPresets->setObjectName("mPresets");
    QMenu* tsmPresets = new QMenu("Presets", this);
    tsmPresets->setObjectName("tsmPresets");
    favoritesMenus_ = std::make_unique<TFavoritesMenus>(mPresets, tsmPresets);
    connect(favoritesMenus_.get(), &TFavoritesMenus::chosen, this, &tdMain::FavMenu);

    BuildMenu(nullptr, MainMenuLayout(), false);
    BuildMenu(TrayMenu, TrayMenuLayout(), true);

    TrayMenuAlt = new QMenu(this);
    TrayMenuAlt->setObjectName("TrayMenuAlt");
    QAction* exit = TrayMenuAlt->addAction("Exit");
    exit->setObjectName("taFile_Exit");
    connect(exit, &QAction::triggered, this, [this] { RunItem(iFile_Exit); });
    ShowWindowItems();
}

// Lays a menu out from its data: top == null builds the menu bar, whose
// top-level entries are its menus.
void tdMain::BuildMenu(QMenu* top, std::span<const tMenuEntry> layout, bool tray) {
    std::vector<QMenu*> open;
    if (top) open.push_back(top);
    auto& items = tray ? trayItems_ : mainItems_;
    for (const tMenuEntry& e : layout) {
        switch (e.kind) {
        case tMenuEntry::kSubmenu:
            open.push_back(open.empty() ? menuBar()->addMenu(e.title) : open.back()->addMenu(e.title));
            break;
        case tMenuEntry::kEnd: open.pop_back(); break;
        case tMenuEntry::kSeparator: open.back()->addSeparator(); break;
        case tMenuEntry::kFavorites:
            open.back()->addMenu(tray ? favoritesMenus_->TrayMenu() : favoritesMenus_->MainMenu());
            break;
        case tMenuEntry::kItem: {
            const tCommandItem& row = CommandItems()[e.item];
            QAction* a = open.back()->addAction(tray ? row.trayCaption : row.mainCaption);
            a->setObjectName(QString(tray ? "tsm" : "ms") + row.name);
            a->setCheckable(row.checkable);
            // An item whose window is not part of the program yet is shown
            // disabled, as its key does nothing.
            a->setEnabled(row.handler != nullptr);
            connect(a, &QAction::triggered, this, [this, item = e.item] { RunItem(item); });
            items[e.item] = a;
            break;
        }
        }
    }
}

void tdMain::BuildTray() {
    tray_ = new TTrayIcon(options_.useTray, this);
    tray_->setObjectName("TrayIcon");
    tray_->SetIcon(display::AppIcon(false));
    tray_->SetMenu(TrayMenu);
    connect(tray_, &TTrayIcon::clicked, this, &tdMain::TrayIconClick);
    connect(tray_, &TTrayIcon::doubleClicked, this, &tdMain::TrayIconDblClick);
}

QAction* tdMain::MenuItem(tItem item, bool tray) const { return (tray ? trayItems_ : mainItems_)[item]; }

QAction* tdMain::Action(const QString& objectName) const { return findChild<QAction*>(objectName); }

QWidget* tdMain::Control(const QString& objectName) const { return findChild<QWidget*>(objectName); }

QString tdMain::ReadoutText() const { return panel_->ReadoutText(); }
QString tdMain::StatusText() const { return panel_->StatusText(); }
QString tdMain::StatusColor() const { return panel_->StatusColor().name(); }
QString tdMain::StationNumText() const { return panel_->StationNumberText(); }
QString tdMain::StationText() const { return panel_->StationText(); }
QString tdMain::PresetsHint() const { return gpPresets->toolTip(); }
QString tdMain::TrayHint() const { return tray_->Hint(); }

} // namespace tunevox::app
