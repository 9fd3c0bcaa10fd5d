#include "app/dialogs/alarm_dialog.h"

#include "radio/frequency.h"
#include "radioset/number_text.h"
#include "display/spoken_picture.h"
#include "display/tdisplay.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::app {

using radioset::kFavoriteCount;
using radioset::TwoDigit;
using radioset::tFavorite;
using radioset::tFavorites;

namespace {

constexpr display::TColor kLime = display::MakeColor(0x00, 0xFF, 0x00);
constexpr display::TColor kGreen = display::MakeColor(0x00, 0x80, 0x00);
constexpr int kCellWidth = 26;
constexpr int kCellHeight = 44;

// The colon between hours and minutes: two lime squares on the black panel.
class TColon : public QWidget {
public:
    explicit TColon(QWidget* parent) : QWidget(parent) { setFixedSize(10, kCellHeight); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        const int side = 4;
        const int x = (width() - side) / 2;
        p.fillRect(x, height() / 3 - side / 2, side, side, display::ToQColor(kLime));
        p.fillRect(x, 2 * height() / 3 - side / 2, side, side, display::ToQColor(kLime));
    }
};

display::TDisplay* MakeCell(const char* name, QWidget* parent) {
    auto* cell = new display::TDisplay(parent);
    cell->setObjectName(name);
    cell->SetDigitStyle(display::ds7Seg);
    cell->SetSegWidth(3);
    cell->SetMargin(3);
    cell->SetOnColor(kLime);
    cell->SetOffColor(kGreen);
    cell->setFixedSize(kCellWidth, kCellHeight);
    return cell;
}

} // namespace

tdAlarm::tdAlarm(int hour, int minute, int favorite, const tFavorites& bank, bool hasAM, bool hasFM, double fmMin,
                 double fmMax, int currentFavorite, widgets::tHelpFn help, QWidget* parent)
    : QDialog(parent) {
    setObjectName("tdAlarm");
    setWindowTitle("Alarm setting");

    auto* group = new QGroupBox("Set alarm time", this);

    // The four cells sit on a black strip, as on a clock radio; a screen
    // reader reads the strip as the time it shows.
    auto* panel = new display::TSpokenPicture(group);
    panel->setObjectName("AlarmPanel");
    panel->setAutoFillBackground(true);
    QPalette black = panel->palette();
    black.setColor(QPalette::Window, Qt::black);
    panel->setPalette(black);
    auto* cells = new QHBoxLayout(panel);
    cells->setContentsMargins(8, 6, 8, 6);
    cells->setSpacing(2);
    H1 = MakeCell("H1", panel);
    H2 = MakeCell("H2", panel);
    M1 = MakeCell("M1", panel);
    M2 = MakeCell("M2", panel);
    cells->addWidget(H1);
    cells->addWidget(H2);
    cells->addWidget(new TColon(panel));
    cells->addWidget(M1);
    cells->addWidget(M2);
    H1->setToolTip("Alarm time");
    panel->setAccessibleDescription("Alarm time");
    timeShown_ = panel;

    HH = new widgets::TSpinField(0, 23, 2, 2, group);
    HH->setObjectName("HH");
    // 60 is in range so that spinning up from 59 can carry into the hour.
    MM = new widgets::TSpinField(0, 60, 2, 2, group);
    MM->setObjectName("MM");
    HH->setValue(std::clamp(hour, 0, 23));
    MM->setValue(std::clamp(minute, 0, 59));

    Favorites = new QComboBox(group);
    Favorites->setObjectName("Favorites");
    Favorites->setMinimumContentsLength(24);
    Favorites->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = bank[n];
        if (!f.Used || !radioset::CanReceive(f, hasAM, hasFM, fmMin, fmMax)) continue;
        Favorites->addItem(QString::fromStdString(TwoDigit(n) + " - " + f.Name), n);
    }
    int index = Favorites->findData(favorite);
    if (index < 0) index = Favorites->findData(currentFavorite);
    Favorites->setCurrentIndex(index);

    auto* fields = new QHBoxLayout;
    auto* hourLabel = new QLabel("Hour", group);
    hourLabel->setBuddy(HH);
    auto* minuteLabel = new QLabel("Minutes", group);
    minuteLabel->setBuddy(MM);
    fields->addWidget(hourLabel);
    fields->addWidget(HH);
    fields->addSpacing(12);
    fields->addWidget(minuteLabel);
    fields->addWidget(MM);
    fields->addStretch(1);

    auto* jump = new QHBoxLayout;
    auto* jumpLabel = new QLabel("Jump to", group);
    jumpLabel->setBuddy(Favorites);
    jump->addWidget(jumpLabel);
    jump->addWidget(Favorites, 1);

    auto* inGroup = new QVBoxLayout(group);
    inGroup->addWidget(panel, 0, Qt::AlignHCenter);
    inGroup->addLayout(fields);
    inGroup->addLayout(jump);
    if (Favorites->count() == 0) {
        auto* none = new QLabel("No favorite this radio can receive is stored.", group);
        none->setObjectName("NoFavorites");
        none->setWordWrap(true);
        inGroup->addWidget(none);
    }

    const widgets::tDialogButtons b =
        widgets::LayOutDialog(this, group, widgets::tButtonRow().WithHelp("The_Alarm_function", help));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;

    connect(HH, &QSpinBox::valueChanged, this, [this] { HHChange(); });
    connect(MM, &QSpinBox::valueChanged, this, [this](int v) { MMChange(v); });
    // A field emptied or half typed keeps its last value but must not be
    // taken for it: OK waits until the text is a number again.
    for (auto* spin : {HH, MM}) connect(spin, &widgets::TSpinField::TextEdited, this, [this] { UpdateOk(); });
    connect(Favorites, &QComboBox::currentIndexChanged, this, [this] { UpdateOk(); });

    ShowCells();
    UpdateOk();
    HH->setFocus();
}

int tdAlarm::Hour() const { return HH->value(); }
int tdAlarm::Minute() const { return MM->value(); }

int tdAlarm::Favorite() const {
    const int index = Favorites->currentIndex();
    return index < 0 ? 0 : Favorites->itemData(index).toInt();
}

void tdAlarm::HHChange() {
    ShowCells();
    UpdateOk();
}

void tdAlarm::MMChange(int value) {
    if (value == 60) {
        // Carry into the hour; the field then reads 00.
        HH->setValue(HH->value() == 23 ? 0 : HH->value() + 1);
        MM->setValue(0);  // comes back here with 0
        return;
    }
    ShowCells();
    UpdateOk();
}

void tdAlarm::ShowCells() {
    const int h = HH->value();
    const int m = MM->value();
    H1->SetDigit(static_cast<std::uint8_t>('0' + h / 10));
    H2->SetDigit(static_cast<std::uint8_t>('0' + h % 10));
    M1->SetDigit(static_cast<std::uint8_t>('0' + m / 10));
    M2->SetDigit(static_cast<std::uint8_t>('0' + m % 10));
    timeShown_->SetSpokenText(QString("%1:%2").arg(h, 2, 10, QChar('0')).arg(m, 2, 10, QChar('0')));
}

void tdAlarm::UpdateOk() {
    const bool timeOk = HH->HoldsNumber() && MM->HoldsNumber() && HH->value() <= 23 && MM->value() < 60;
    btOk->setEnabled(timeOk && Favorites->count() > 0 && Favorites->currentIndex() >= 0);
}

} // namespace tunevox::app
