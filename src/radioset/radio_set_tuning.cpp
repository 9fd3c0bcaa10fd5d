// TRadioSet: the one tuning entry, fine tuning and the tuning step, the band
// switch, the seek as a step machine, stereo and the reception test.

#include "radioset/radio_set.h"

#include "radio/frequency.h"
#include "radio/radio_card.h"

#include <algorithm>

namespace tunevox::radioset {

using radio::bAM;
using radio::bFM;
using radio::tBand;

int TRadioSet::GoToFrequency(tBand band, bool quiet, double frequency) {
    const radio::tDevCap& caps = card_.Caps();
    if ((band == bAM && !caps.HasAM) || (band == bFM && !caps.HasFM)) return 0;
    if (band != card_.Band()) SetBandScale(band);

    const double lower = band == bFM ? card_.FMMin() : card_.AMMin();
    const double upper = band == bFM ? card_.FMMax() : card_.AMMax();
    const double grid = band == bFM ? caps.FMStep : caps.AMStep;
    if (frequency > 0) card_.TuneTo(stereoWanted_, band, radio::SnapFrequency(upper, lower, grid, frequency));
    else card_.SetBand(band); // the band's last frequency
    const std::string tuned = radio::FrequencyText(upper, lower, radio::SnapFrequency(upper, lower, grid, card_.Frequency()));

    if (!quiet) {
        for (int n = 1; n <= kFavoriteCount; ++n) {
            const tFavorite& f = favorites_[n];
            if (!f.Used) continue;
            const double fl = f.Band == bFM ? card_.FMMin() : card_.AMMin();
            const double fu = f.Band == bFM ? card_.FMMax() : card_.AMMax();
            if (radio::FrequencyText(fu, fl, f.Frequency) == tuned) {
                SelectFavorite(n, false);
                ShowTunedStatus(card_.TunedStatus(config_.CheckIfTunedST));
            }
        }
    }
    ShowFrequency();
    int status = 0;
    if (!quiet) {
        status = card_.TunedStatus(config_.CheckIfTunedST);
        ShowTunedStatus(status);
    }
    MatchCurrentFavorite();
    PublishCommands();
    return status;
}

void TRadioSet::ShowFrequency() {
    if (!view_) return;
    const bool fm = card_.Band() == bFM;
    tFrequencyShown shown;
    shown.band = card_.Band();
    shown.frequency = card_.Frequency();
    shown.readout = FrequencyReadout(radio::FrequencyText(fm ? card_.FMMax() : card_.AMMax(),
                                                          fm ? card_.FMMin() : card_.AMMin(), card_.Frequency()));
    shown.caption = FrequencyCaption(card_.Frequency(), card_.Band());
    view_->ShowFrequency(shown);
}

void TRadioSet::ShowTunedStatus(int status) {
    if (status < 0 || status > 3) return;
    lastStatus_ = status;
    if (view_) view_->ShowTunedStatus(status);
}

void TRadioSet::SetBandScale(tBand band) {
    if (view_) view_->ShowBand(band);
}

void TRadioSet::TuneDown() {
    if (Busy()) return;
    const double step = card_.Band() == bAM ? card_.Caps().AMStep : fmTuneStep_;
    GoToFrequency(card_.Band(), false, card_.Frequency() - step);
}

void TRadioSet::TuneUp() {
    if (Busy()) return;
    const double step = card_.Band() == bAM ? card_.Caps().AMStep : fmTuneStep_;
    GoToFrequency(card_.Band(), false, card_.Frequency() + step);
}

void TRadioSet::StepLarger() {
    if (Busy() || StepMultiple() >= MaxStepMultiple()) return;
    fmTuneStep_ += card_.Caps().FMStep;
    if (view_) view_->ShowStep();
    PublishCommands();
}

void TRadioSet::StepSmaller() {
    if (Busy() || StepMultiple() <= 1) return;
    fmTuneStep_ -= card_.Caps().FMStep;
    if (view_) view_->ShowStep();
    PublishCommands();
}

void TRadioSet::SetStepMultiple(int k) {
    // Refused while busy: the slider goes back to the step in use.
    if (!Busy()) fmTuneStep_ = std::clamp(k, 1, MaxStepMultiple()) * card_.Caps().FMStep;
    if (view_) view_->ShowStep();
    PublishCommands();
}

void TRadioSet::SwitchBand(tBand band) {
    if (Busy()) {
        ShowFrequency(); // the band button that was pressed pops back
        return;
    }
    GoToFrequency(band, false, -1);
}

void TRadioSet::TuneFromSlider(double mhz, bool dragging) {
    if (Busy()) {
        ShowFrequency();
        return;
    }
    GoToFrequency(card_.Band(), dragging, mhz);
}

void TRadioSet::ShowStatus() {
    // Between two steps of a long operation the card is the operation's.
    if (!Busy()) ShowTunedStatus(card_.TunedStatus(config_.CheckIfTunedST));
}

bool TRadioSet::AtEdge(int direction) const {
    const double edge = direction < 0 ? card_.MinFrequency() : card_.MaxFrequency();
    return radio::FrequencyText(card_.Frequency()) == radio::FrequencyText(edge);
}

void TRadioSet::Seek(int direction) {
    if (Busy() || card_.Band() != bFM) return;
    if (AtEdge(direction)) {
        PublishCommands();
        return;
    }
    seekDirection_ = direction < 0 ? -1 : +1;
    const int dir = seekDirection_;
    operation_.Start([this, dir] { return SeekStep(dir); }, [this](bool) { SeekEnded(); });
    if (view_) view_->ShowSeek(dir);
    PublishCommands();
}

// One step of a seek: one tuning and its status. It goes on while nothing
// is received and the band's edge is not reached.
bool TRadioSet::SeekStep(int direction) {
    // A receiver that seeks by itself does it in one step: it stops on the
    // next station, or stays where it was at the band's edge.
    if (card_.Caps().HardwareSeek) {
        if (card_.HardwareSeek(direction > 0)) GoToFrequency(bFM, false, card_.Frequency());
        return false;
    }
    const int status = GoToFrequency(bFM, false, card_.Frequency() + direction * fmTuneStep_);
    return !(status >= 1 && status <= 3) && !AtEdge(direction);
}

void TRadioSet::SeekEnded() {
    seekDirection_ = 0;
    if (view_) view_->ShowSeek(0);
    PublishCommands();
    if (view_) view_->LongOperationEnded();
}

void TRadioSet::StopSeek() {
    if (card_.Band() == bFM) operation_.RequestStop();
}

void TRadioSet::ToggleStereo() {
    if (!card_.Caps().HasStereo) return;
    stereoWanted_ = !stereoWanted_;
    card_.SetStereo(stereoWanted_);
    if (view_) view_->ShowStereoWanted(stereoWanted_);
    // Tuned again so that the card applies it.
    GoToFrequency(card_.Band(), false, card_.Frequency());
}

void TRadioSet::TestTick() {
    if (config_.CheckIfTuned && card_.Band() == bFM) ShowStatus();
}

} // namespace tunevox::radioset
