#include "app/dialogs/jump_dialog.h"

#include "radioset/number_text.h"
#include "platform/number_text.h"
#include "radio/frequency.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tunevox::app {

using radioset::FormatFixed;

using radio::bAM;
using radio::bFM;
using radio::tBand;

namespace {

// The edit's light background (0x00FFFBF0 as the window definitions write
// colours) and the colours of a refused text.
const QColor kEditBackground(0xF0, 0xFB, 0xFF);
const QColor kRefusedBackground(0xFF, 0xD6, 0xD6);
const QColor kRefusedText(0xB0, 0x00, 0x00);

constexpr int kFMLength = 7;  // "108.000"
constexpr int kAMLength = 4;  // "1620"

int Thousandths(double mhz) { return static_cast<int>(radio::RoundEvenToInt(mhz * 1000.0)); }

tBand Other(tBand band) { return band == bFM ? bAM : bFM; }

} // namespace

tdJumpTo::tdJumpTo(const tJumpInput& input, widgets::tHelpFn help, QWidget* parent) : QDialog(parent) {
    setObjectName("tdJumpTo");
    setWindowTitle("Jump to");
    if (QLocale().decimalPoint() == ",") separator_ = ",";

    bands_[bFM] = {input.fmMin, input.fmMax, input.fmStep, input.fmMin, {}};
    bands_[bAM] = {radio::kAMLower, radio::kAMUpper, input.amStep > 0.0 ? input.amStep : radio::kAMStep,
                   radio::kAMLower, {}};
    const bool has[2] = {input.hasAM, input.hasFM};
    band_ = input.band == bAM ? bAM : bFM;
    if (!has[band_] && has[Other(band_)]) {
        band_ = Other(band_);
    } else if (std::isfinite(input.frequency)) {
        // The card's own frequency, clamped and put on the grid like any
        // other value the dialog keeps.
        bands_[band_].value = Snap(band_, input.frequency);
    }

    auto* group = new QGroupBox("Set frequency", this);
    Freq = new QLineEdit(group);
    Freq->setObjectName("Freq");
    Freq->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Freq->setMinimumWidth(Freq->fontMetrics().horizontalAdvance("0000.0000") + 12);
    LFreq = new QLabel(group);
    LFreq->setObjectName("LFreq");
    LFreq->setMinimumWidth(LFreq->fontMetrics().horizontalAdvance("MHz_"));
    auto* label = new QLabel("Frequency", group);
    label->setBuddy(Freq);

    btFM = new QPushButton("fm", group);
    btFM->setObjectName("btFM");
    btAM = new QPushButton("am", group);
    btAM->setObjectName("btAM");
    btFM->setAccessibleName("FM band");
    btAM->setAccessibleName("AM band");
    bandButtons_ = new QButtonGroup(this);
    bandButtons_->setExclusive(true);
    for (auto [button, b] : {std::pair{btAM, bAM}, std::pair{btFM, bFM}}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setEnabled(has[b]);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance("fm") + 28);
        bandButtons_->addButton(button, b);
    }

    LRange = new QLabel(group);
    LRange->setObjectName("LRange");

    // Wide enough for the longest hint, so the dialog keeps its size when
    // a text is refused.
    int hintWidth = 0;
    for (tBand b : {bAM, bFM})
        hintWidth = std::max(hintWidth, LRange->fontMetrics().horizontalAdvance("Type a frequency from " + RangeText(b)));
    LRange->setMinimumWidth(hintWidth + 4);

    sFreq = new QSlider(Qt::Horizontal, group);
    sFreq->setObjectName("sFreq");
    sFreq->setMinimumWidth(260);
    sFreq->setAccessibleName("Frequency scale");

    auto* grid = new QGridLayout(group);
    grid->addWidget(label, 0, 0);
    grid->addWidget(Freq, 0, 1);
    grid->addWidget(LFreq, 0, 2);
    auto* bandRow = new QHBoxLayout;
    bandRow->setSpacing(2);
    bandRow->addWidget(btFM);
    bandRow->addWidget(btAM);
    grid->addLayout(bandRow, 0, 4);
    grid->setColumnStretch(3, 1);
    grid->addWidget(LRange, 1, 1, 1, 4);
    grid->addWidget(sFreq, 2, 0, 1, 5);

    // OK is refused while the text is not a frequency of the band.
    const widgets::tDialogButtons b = widgets::LayOutDialog(
        this, group,
        widgets::tButtonRow().WithOk("Ok").OkHandledByDialog().WithHelp("Tuning_radio_frequency", help));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    connect(btOk, &QPushButton::clicked, this, [this] {
        if (!refused_) accept();
    });

    ShowBand();
    connect(Freq, &QLineEdit::textChanged, this, [this] { FreqChange(); });
    connect(sFreq, &QSlider::valueChanged, this, [this](int position) { sFreqChange(position); });
    connect(bandButtons_, &QButtonGroup::idToggled, this, [this](int id, bool down) {
        if (down) SwitchBand(static_cast<tBand>(id));
    });
    Freq->setFocus();
}

double tdJumpTo::Snap(tBand band, double mhz) const {
    const tBandState& s = bands_[band];
    return radio::SnapFrequency(s.max, s.min, s.step, mhz);
}

std::optional<double> tdJumpTo::TypedValue() const {
    const auto typed = platform::ParseReal(Freq->text().toStdString());
    if (!typed) return std::nullopt;
    const tBandState& s = bands_[band_];
    if (band_ == bAM) {
        // kHz; the range is compared in whole kHz so that 1620 is in.
        if (*typed < Thousandths(s.min) || *typed > Thousandths(s.max)) return std::nullopt;
        return *typed / 1000.0;
    }
    if (*typed < s.min || *typed > s.max) return std::nullopt;
    return *typed;
}

QString tdJumpTo::ValueText(tBand band, double mhz) const {
    if (band == bAM) return QString::number(Thousandths(mhz));
    return QString::fromStdString(FormatFixed(mhz, 3, 1, separator_.at(0).toLatin1()));
}

QString tdJumpTo::RangeText(tBand band) const {
    const tBandState& s = bands_[band];
    if (band == bAM) return QString("%1 to %2 kHz").arg(Thousandths(s.min)).arg(Thousandths(s.max));
    auto mhz = [this](double v) { return QString::number(v, 'g', 6).replace(".", separator_); };
    return QString("%1 to %2 MHz").arg(mhz(s.min), mhz(s.max));
}

void tdJumpTo::ShowBand() {
    tBandState& s = bands_[band_];
    const int step = std::max(1, Thousandths(s.step));
    {
        const QSignalBlocker blockEdit(Freq);
        const QSignalBlocker blockSlider(sFreq);
        const QSignalBlocker blockButtons(bandButtons_);
        (band_ == bFM ? btFM : btAM)->setChecked(true);
        LFreq->setText(band_ == bFM ? "MHz" : "kHz");
        Freq->setMaxLength(band_ == bFM ? kFMLength : kAMLength);
        sFreq->setRange(Thousandths(s.min), Thousandths(s.max));
        sFreq->setSingleStep(step);
        sFreq->setPageStep(band_ == bFM ? 1000 : 10 * step);
        sFreq->setValue(Thousandths(s.value));
        // A text refused on this band earlier comes back as it was typed.
        Freq->setText(s.refusedText.isEmpty() ? ValueText(band_, s.value) : s.refusedText);
    }
    SetRefused(!s.refusedText.isEmpty());
    s.refusedText.clear();
    Freq->selectAll();
}

void tdJumpTo::FreqChange() {
    const auto typed = TypedValue();
    if (!typed) {
        SetRefused(true);
        return;
    }
    tBandState& s = bands_[band_];
    s.value = Snap(band_, *typed);
    {
        const QSignalBlocker block(sFreq);
        sFreq->setValue(Thousandths(s.value));
    }
    SetRefused(false);
}

void tdJumpTo::sFreqChange(int position) {
    tBandState& s = bands_[band_];
    s.value = Snap(band_, position / 1000.0);
    {
        const QSignalBlocker block(Freq);
        Freq->setText(ValueText(band_, s.value));
    }
    SetRefused(false);
}

void tdJumpTo::SwitchBand(tBand band) {
    if (band == band_) return;
    bands_[band_].refusedText = refused_ ? Freq->text() : QString();
    band_ = band;
    ShowBand();
    Freq->setFocus();
}

void tdJumpTo::SetRefused(bool refused) {
    refused_ = refused;
    QPalette p = Freq->palette();
    p.setColor(QPalette::Base, refused ? kRefusedBackground : kEditBackground);
    p.setColor(QPalette::Text, refused ? kRefusedText : palette().color(QPalette::Text));
    Freq->setPalette(p);

    QPalette hint = LRange->palette();
    hint.setColor(QPalette::WindowText, refused ? kRefusedText : palette().color(QPalette::PlaceholderText));
    LRange->setPalette(hint);
    const QString range = RangeText(band_);
    LRange->setText(refused ? "Type a frequency from " + range : range);
    Freq->setToolTip(refused ? "Not a frequency of this band: " + range : QString());

    const bool bandAvailable = (band_ == bFM ? btFM : btAM)->isEnabled();
    btOk->setEnabled(!refused && bandAvailable);
}

} // namespace tunevox::app
