// tdMain: the one tuning entry, fine tuning and the tuning step, the band
// switch, the seek loop and everything the window shows about the station.

#include "app/window/main_window.h"

#include "radioset/tuning_rules.h"
#include "widgets/glyph_button.h"
#include "widgets/spin_button.h"
#include "display/palette.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "display/tdisplay.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QTimer>

#include <cmath>

namespace tunevox::app {

using radio::bAM;
using radio::bFM;
using radio::tBand;

namespace {

// Sets a slider without running the handler bound to its change.
void SetQuietly(QSlider* s, int value) {
    const bool was = s->blockSignals(true);
    s->setValue(value);
    s->blockSignals(was);
}

int Milli(double mhz) { return static_cast<int>(radio::RoundEvenToInt(mhz * 1000.0)); }

} // namespace

QString tdMain::FrequencyCaption(double frequency, tBand band) const {
    return QString::fromStdString(app::FrequencyCaption(frequency, band, separator_));
}

QString tdMain::FrequencyTextShown(double mhz) const {
    QString t = QString::fromStdString(
        radio::FrequencyText(card_.MaxFrequency(), card_.MinFrequency(), mhz));
    return t.replace('.', QChar(separator_));
}

int tdMain::GoToFrequency(tBand band, bool quiet, double frequency) {
    const radio::tDevCap& caps = card_.Caps();
    if ((band == bAM && !caps.HasAM) || (band == bFM && !caps.HasFM)) return 0;
    if (band != card_.Band()) SetBandScale(band);

    const double lower = band == bFM ? card_.FMMin() : card_.AMMin();
    const double upper = band == bFM ? card_.FMMax() : card_.AMMax();
    const double grid = band == bFM ? caps.FMStep : caps.AMStep;
    double shown;
    GuardAudio([&] {
        if (frequency > 0) {
            shown = radio::SnapFrequency(upper, lower, grid, frequency);
            card_.TuneTo(stereoWanted_, band, shown);
        } else {
            card_.SetBand(band);
        }
    });
    shown = radio::SnapFrequency(upper, lower, grid, card_.Frequency());
    const std::string t = radio::FrequencyText(upper, lower, shown);

    if (!quiet) {
        for (int n = 1; n <= kFavoriteCount; ++n) {
            const tFavorite& f = favorites_[n];
            if (!f.Used) continue;
            const double fl = f.Band == bFM ? card_.FMMin() : card_.AMMin();
            const double fu = f.Band == bFM ? card_.FMMax() : card_.AMMax();
            if (radio::FrequencyText(fu, fl, f.Frequency) == t) {
                SelectFavorite(n, false);
                ShowTunedStatus(card_.TunedStatus(config_.CheckIfTunedST));
            }
        }
    }
    btFM->SetDown(band == bFM);
    btAM->SetDown(band == bAM);
    SetFrequencySlider(card_.Frequency());

    int status = 0;
    if (!quiet) {
        status = card_.TunedStatus(config_.CheckIfTunedST);
        ShowTunedStatus(status);
    }
    UpdateTuneLimits();
    ShowFrequencyDigits();
    panel_->Station->clear();
    panel_->StationNum->setText("??");
    MatchCurrentFavorite();
    SetMemoryItemsEnabled(!IsCurrentStored());
    return status;
}

void tdMain::SetFrequencySlider(double mhz) {
    SetQuietly(sFrequency, Milli(mhz));
    sFrequency->setToolTip(FrequencyCaption(mhz, card_.Band()));
}

void tdMain::ShowTunedStatus(int status) {
    if (status < 0 || status > 3) return;
    static const char* const texts[] = {"?????", "Tuned", "Stereo", "Mono"};
    panel_->ShowStatus(texts[status], status == 0);
    lastStatus_ = status;
}

void tdMain::ShowFrequencyDigits() {
    const double lower = card_.Band() == bFM ? card_.FMMin() : card_.AMMin();
    const double upper = card_.Band() == bFM ? card_.FMMax() : card_.AMMax();
    const tReadout r = FrequencyReadout(radio::FrequencyText(upper, lower, card_.Frequency()));
    panel_->ShowReadout(r.chars, r.point);
}

void tdMain::UpdateTuneLimits() {
    const double f = card_.Frequency();
    const bool prev = f > card_.MinFrequency();
    const bool next = f < card_.MaxFrequency();
    btTunePrev->setEnabled(prev);
    btTuneNext->setEnabled(next);
    if (!scanning_) {
        btScanPrev->setEnabled(prev && card_.Band() == bFM);
        btScanNext->setEnabled(next && card_.Band() == bFM);
    }
    for (const char* p : {"ms", "tsm"}) {
        const QString prefix = p;
        Action(prefix + "Actions_TunePrev")->setEnabled(prev);
        Action(prefix + "Actions_TuneNext")->setEnabled(next);
        if (!scanning_) {
            Action(prefix + "Actions_ScanPrev")->setEnabled(prev);
            Action(prefix + "Actions_ScanNext")->setEnabled(next);
        }
        Action(prefix + "Volume_Up")->setEnabled(card_.Volume() < card_.MaxVolume() && sVolume->isEnabled());
        Action(prefix + "Volume_Down")->setEnabled(card_.Volume() > 0 && sVolume->isEnabled());
    }
}

void tdMain::UpdateStepMenus() {
    const int k = sStep->value();
    for (const char* p : {"ms", "tsm"}) {
        const QString prefix = p;
        Action(prefix + "Actions_StepInc")->setEnabled(k > 1 && card_.Band() == bFM);
        Action(prefix + "Actions_StepDec")->setEnabled(k < sStep->maximum() && card_.Band() == bFM);
    }
    btSpinStep->SetUpEnabled(k < sStep->maximum());
    btSpinStep->SetDownEnabled(k > 1);
}

void tdMain::Actions_TunePrev() {
    if (scanning_) return;
    const double step = card_.Band() == bAM ? card_.Caps().AMStep : fmTuneStep_;
    GoToFrequency(card_.Band(), false, card_.Frequency() - step);
}

void tdMain::Actions_TuneNext() {
    if (scanning_) return;
    const double step = card_.Band() == bAM ? card_.Caps().AMStep : fmTuneStep_;
    GoToFrequency(card_.Band(), false, card_.Frequency() + step);
}

void tdMain::Actions_StepDec() {
    if (scanning_ || sStep->value() >= sStep->maximum()) return;
    const double s = card_.Caps().FMStep;
    fmTuneStep_ += s;
    SetQuietly(sStep, StepMultiple(fmTuneStep_, s));
    Step->setText(QString::number(StepKHz(fmTuneStep_)));
    UpdateStepMenus();
}

void tdMain::Actions_StepInc() {
    if (scanning_ || sStep->value() <= 1) return;
    const double s = card_.Caps().FMStep;
    fmTuneStep_ -= s;
    SetQuietly(sStep, StepMultiple(fmTuneStep_, s));
    Step->setText(QString::number(StepKHz(fmTuneStep_)));
    UpdateStepMenus();
}

void tdMain::sStepChange(int value) {
    if (scanning_) {
        SetQuietly(sStep, StepMultiple(fmTuneStep_, card_.Caps().FMStep));
        return;
    }
    fmTuneStep_ = value * card_.Caps().FMStep;
    Step->setText(QString::number(StepKHz(fmTuneStep_)));
    UpdateStepMenus();
}

void tdMain::sFrequencyChange(int value) {
    GoToFrequency(card_.Band(), sliderDragging_, value / 1000.0);
}

void tdMain::EndSliding() {
    int status = 0;
    GuardAudio([&] { status = card_.TunedStatus(config_.CheckIfTunedST); });
    ShowTunedStatus(status);
}

void tdMain::btFMClick() {
    if (scanning_) {
        btFM->SetDown(card_.Band() == bFM);
        return;
    }
    GoToFrequency(bFM, false, -1);
}

void tdMain::btAMClick() {
    if (scanning_) {
        btAM->SetDown(card_.Band() == bAM);
        return;
    }
    GoToFrequency(bAM, false, -1);
}

void tdMain::SetSliderRanges() {
    const bool am = card_.Band() == bAM;
    {
        const bool was = sFrequency->blockSignals(true);
        sFrequency->setRange(Milli(card_.MinFrequency()), Milli(card_.MaxFrequency()));
        sFrequency->setSingleStep(am ? Milli(card_.FrequencyStep()) : 1000);
        sFrequency->setPageStep(am ? Milli(card_.FrequencyStep()) * 10 : 1000);
        sFrequency->blockSignals(was);
    }
    const double s = card_.Caps().FMStep;
    const bool was = sStep->blockSignals(true);
    sStep->setRange(1, MaxStepMultiple(s));
    sStep->setValue(StepMultiple(fmTuneStep_, s));
    sStep->blockSignals(was);
    Step->setText(QString::number(StepKHz(fmTuneStep_)));
    UpdateStepMenus();
}

void tdMain::SetBandScale(tBand band) {
    btAM->SetDown(band == bAM);
    btFM->SetDown(band == bFM);
    const bool fm = band == bFM;
    for (QWidget* w : std::initializer_list<QWidget*>{LScan, btScanPrev, btScanNext, LStep, Step, btSpinStep, sStep}) {
        w->setVisible(fm);
        w->setEnabled(fm);
    }
    if (scanning_) {
        btScanPrev->hide();
        btScanNext->hide();
    }
    panel_->AM_FM->setText(fm ? "FM" : "AM");
    panel_->HZ->setText(fm ? "MHz" : "kHz");

    QStringList labels;
    if (!fm) {
        for (int k = 531; k <= 1620; k += 99) labels << QString::number(k);
    } else if (config_.JapaneseFM && card_.Caps().HasJapaneseFM) {
        labels << "76" << "79" << "82" << "85" << "88" << "91";
    } else {
        labels << "87" << "90" << "93" << "96" << "99" << "102" << "105" << "108";
    }
    // The labels sit over the slider's groove, spread evenly from its first
    // to its last position.
    const QRect g = sFrequency->geometry();
    const int first = g.left() + 6;
    const int span = g.width() - 12;
    for (int i = 0; i < 12; ++i) {
        if (i >= labels.size()) {
            Freq[i]->hide();
            continue;
        }
        const int x = first + span * i / (labels.size() - 1);
        Freq[i]->setText(labels[i]);
        Freq[i]->setGeometry(x - 13, 13, 26, 11);
        Freq[i]->show();
    }

    const double lower = fm ? card_.FMMin() : card_.AMMin();
    const double upper = fm ? card_.FMMax() : card_.AMMax();
    const bool was = sFrequency->blockSignals(true);
    sFrequency->setRange(Milli(lower), Milli(upper));
    sFrequency->setSingleStep(fm ? 1000 : Milli(card_.Caps().AMStep));
    sFrequency->setPageStep(fm ? 1000 : Milli(card_.Caps().AMStep) * 10);
    sFrequency->blockSignals(was);
    UpdateStepMenus();
}

void tdMain::Actions_ScanPrev() { Seek(-1); }
void tdMain::Actions_ScanNext() { Seek(+1); }

void tdMain::Seek(int direction) {
    if (scanning_ || card_.Band() != bFM) return;
    const double edge = direction < 0 ? card_.MinFrequency() : card_.MaxFrequency();
    auto atEdge = [&] { return FrequencyTextShown(card_.Frequency()) == FrequencyTextShown(edge); };
    if (atEdge()) {
        UpdateTuneLimits();
        return;
    }
    scanning_ = true;
    frequencyHandlerAttached_ = false;
    for (const char* p : {"ms", "tsm"}) {
        const QString prefix = p;
        Action(prefix + "Actions_ScanPrev")->setEnabled(false);
        Action(prefix + "Actions_ScanNext")->setEnabled(false);
        Action(prefix + "Actions_StopScan")->setEnabled(true);
    }
    btScanPrev->setEnabled(false);
    btScanNext->setEnabled(false);
    btScanPrev->hide();
    btScanNext->hide();
    btStopScan->show();
    btStopScan->setEnabled(true);
    panel_->Station->clear();
    panel_->StationNum->setText("??");
    panel_->ShowScan(direction);
    stopRequested_ = false;
    panel_->Tuned->hide();

    // The seek runs on the window's thread and lets the event loop work
    // between two steps, so the stop button, keys, menus and painting keep
    // working while the card waits for each step to settle.
    while (!atEdge() && !stopRequested_) {
        QApplication::processEvents(QEventLoop::AllEvents);
        if (OnSeekStep) OnSeekStep();
        if (stopRequested_ || closing_) break;
        const int status = GoToFrequency(bFM, false, card_.Frequency() + direction * fmTuneStep_);
        if (status >= 1 && status <= 3) break;
    }

    // The button of the seek direction stays disabled at its band edge.
    const bool edgeReached = atEdge();
    const bool prev = !(direction < 0 && edgeReached);
    const bool next = !(direction > 0 && edgeReached);
    btStopScan->hide();
    btScanPrev->show();
    btScanNext->show();
    btScanPrev->setEnabled(prev);
    btScanNext->setEnabled(next);
    for (const char* p : {"ms", "tsm"}) {
        const QString prefix = p;
        Action(prefix + "Actions_ScanPrev")->setEnabled(prev);
        Action(prefix + "Actions_ScanNext")->setEnabled(next);
        Action(prefix + "Actions_StopScan")->setEnabled(false);
    }
    panel_->ShowScan(0);
    panel_->Tuned->show();
    frequencyHandlerAttached_ = true;
    scanning_ = false;
}

void tdMain::Actions_StopScan() {
    if (card_.Band() == bFM) stopRequested_ = true;
}

void tdMain::Actions_Stereo() {
    if (!card_.Caps().HasStereo) return;
    stereoWanted_ = !stereoWanted_;
    GuardAudio([&] { card_.SetStereo(stereoWanted_); });
    GoToFrequency(card_.Band(), false, card_.Frequency());
    UpdateButtonGlyphs(false);
}

void tdMain::TestTimer() {
    if (!config_.CheckIfTuned || card_.Band() != bFM || scanning_) return;
    int status = 0;
    GuardAudio([&] { status = card_.TunedStatus(config_.CheckIfTunedST); });
    ShowTunedStatus(status);
}

} // namespace tunevox::app
