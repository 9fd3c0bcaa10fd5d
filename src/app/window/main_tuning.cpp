// tdMain: the tuner group (frequency slider, band scale, fine tuning, the
// step, the seek buttons) and the readout of the display panel.

#include "app/window/main_window.h"

#include "display/radio_panel.h"
#include "display/spoken_picture.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "widgets/glyph_button.h"
#include "widgets/spin_button.h"

#include <QLabel>
#include <QSlider>

namespace tunevox::app {

using namespace radioset;
using radio::bAM;
using radio::bFM;

namespace {

// Sets a slider without running the handler bound to its change.
void SetQuietly(QSlider* s, int value) {
    const bool was = s->blockSignals(true);
    s->setValue(value);
    s->blockSignals(was);
}

int Milli(double mhz) { return static_cast<int>(radio::RoundEvenToInt(mhz * 1000.0)); }

} // namespace

void tdMain::Actions_TunePrev() { set_.TuneDown(); }
void tdMain::Actions_TuneNext() { set_.TuneUp(); }
void tdMain::Actions_StepDec() { set_.StepLarger(); }
void tdMain::Actions_StepInc() { set_.StepSmaller(); }
void tdMain::sStepChange(int value) { set_.SetStepMultiple(value); }
void tdMain::sFrequencyChange(int value) { set_.TuneFromSlider(value / 1000.0, sliderDragging_); }
void tdMain::EndSliding() { set_.ShowStatus(); }
void tdMain::btFMClick() { set_.SwitchBand(bFM); }
void tdMain::btAMClick() { set_.SwitchBand(bAM); }
void tdMain::Actions_ScanPrev() { set_.Seek(-1); }
void tdMain::Actions_ScanNext() { set_.Seek(+1); }
void tdMain::Actions_StopScan() { set_.StopSeek(); }
void tdMain::Actions_Stereo() { set_.ToggleStereo(); }

void tdMain::ShowCard() {
    const radio::tDevCap& caps = set_.Card().Caps();
    btAM->setEnabled(caps.HasAM);
    btFM->setEnabled(caps.HasFM);
    ShowBand(set_.Card().Band());
    ShowStep();
    ShowVolume();
    ShowVolumeGroup();
}

void tdMain::ShowBand(radio::tBand band) {
    btAM->SetDown(band == bAM);
    btFM->SetDown(band == bFM);
    btAM->SetSwitchOn(band == bAM);
    btFM->SetSwitchOn(band == bFM);
    // Seek and step exist on FM only.
    const bool fm = band == bFM;
    for (QWidget* w : std::initializer_list<QWidget*>{LScan, LStep, Step, btSpinStep, sStep}) {
        w->setVisible(fm);
        w->setEnabled(fm);
    }
    const bool seeking = set_.SeekDirection() != 0;
    btScanPrev->setVisible(fm && !seeking);
    btScanNext->setVisible(fm && !seeking);
    panel_->ShowBand(fm);

    QStringList labels;
    if (!fm) {
        for (int k = 531; k <= 1620; k += 99) labels << QString::number(k);
    } else if (set_.Card().JapaneseFM()) {
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

    const radio::TRadioCard& card = set_.Card();
    const double lower = fm ? card.FMMin() : card.AMMin();
    const double upper = fm ? card.FMMax() : card.AMMax();
    const bool was = sFrequency->blockSignals(true);
    sFrequency->setRange(Milli(lower), Milli(upper));
    sFrequency->setSingleStep(fm ? 1000 : Milli(card.Caps().AMStep));
    sFrequency->setPageStep(fm ? 1000 : Milli(card.Caps().AMStep) * 10);
    sFrequency->blockSignals(was);
    ShowCommands(commands_);
}

void tdMain::ShowFrequency(const tFrequencyShown& shown) {
    btFM->SetDown(shown.band == bFM);
    btAM->SetDown(shown.band == bAM);
    btFM->SetSwitchOn(shown.band == bFM);
    btAM->SetSwitchOn(shown.band == bAM);
    SetQuietly(sFrequency, Milli(shown.frequency));
    sFrequency->setToolTip(QString::fromStdString(shown.caption));
    panel_->ShowReadout(shown.readout.chars, shown.readout.point);
}

void tdMain::ShowTunedStatus(int status) {
    static const char* const texts[] = {"?????", "Tuned", "Stereo", "Mono"};
    if (status < 0 || status > 3) return;
    panel_->ShowStatus(texts[status], status == 0);
}

void tdMain::ShowStep() {
    const bool was = sStep->blockSignals(true);
    sStep->setRange(1, set_.MaxStepMultiple());
    sStep->setValue(set_.StepMultiple());
    sStep->blockSignals(was);
    Step->setText(QString::number(StepKHz(set_.FMTuneStep())));
    // The slider's value is a multiple of the card's step; what it means is
    // the step in kHz the label beside it shows.
    display::SetSpokenDescription(sStep, Step->text() + " kHz");
}

void tdMain::ShowSeek(int direction) {
    const bool seeking = direction != 0;
    // The slider follows the seek without tuning back.
    frequencyHandlerAttached_ = !seeking;
    btScanPrev->setVisible(!seeking);
    btScanNext->setVisible(!seeking);
    btStopScan->setVisible(seeking);
    if (seeking) panel_->ShowStation("??", "");
    panel_->ShowScan(direction);
    panel_->SetStatusShown(!seeking);
}

} // namespace tunevox::app
