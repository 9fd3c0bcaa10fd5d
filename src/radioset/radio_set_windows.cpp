// TRadioSet: what the windows that edit a copy of the bank and tune the
// card themselves (the scanner, the organizer) need of the radio set around
// their showing, and their long operations.

#include "radioset/radio_set.h"

#include "radio/radio_card.h"

namespace tunevox::radioset {

using radio::bAM;
using radio::bFM;

void TRadioSet::BeginBankWindow() {
    alarmAside_ = alarmOn_;
    sleepAside_ = sleepOn_;
    alarmOn_ = false;
    sleepOn_ = false;
}

void TRadioSet::EndBankWindow(const tFavorites* bank, int current) {
    if (bank) {
        favorites_ = *bank;
        currentFavorite_ = current >= 0 && current <= kFavoriteCount ? current : 0;
    }
    if (view_) view_->ShowFavorites();
    alarmOn_ = alarmAside_;
    sleepOn_ = sleepAside_;

    // The radio goes back to the current favorite, which the window may
    // have changed or emptied.
    const int n = currentFavorite_;
    if (n && favorites_[n].Used) {
        SelectFavorite(n, true);
    } else if (n) {
        favorites_[n].Active = false;
        currentFavorite_ = 0;
        GoToFrequency(card_.Band(), false, 0);
    } else if (card_.Caps().HasFM) {
        GoToFrequency(bFM, false, radio::kFMLower);
    } else {
        GoToFrequency(bAM, false, radio::kAMLower);
    }
    // The window may have silenced the radio or let it play; it ends as
    // the window shows it.
    if (!ShownMuted()) card_.MuteOff();
    else if (!card_.Muted()) card_.MuteOn();
    ShowMute();
    PublishCommands();
}

void TRadioSet::SetBankFromWindow(const tFavorites& bank, int current) {
    favorites_ = bank;
    currentFavorite_ = current >= 0 && current <= kFavoriteCount ? current : 0;
    if (view_) view_->ShowFavorites();
}

bool TRadioSet::StartLongOperation(TLongOperation::tStep step, TLongOperation::tFinish finish) {
    const bool started = operation_.Start(std::move(step), [this, finish = std::move(finish)](bool stopped) {
        if (finish) finish(stopped);
        PublishCommands();
        if (view_) view_->LongOperationEnded();
    });
    if (started) PublishCommands();
    return started;
}

} // namespace tunevox::radioset
