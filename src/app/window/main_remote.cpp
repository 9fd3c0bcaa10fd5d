// tdMain: commands given on the command line, to this start or handed over
// by a later one. They act as the matching keys and buttons do.

#include "app/window/main_window.h"

#include "radio/radio_card.h"
#include "radioset/favorites.h"
#include "radioset/radio_set.h"

namespace tunevox::app {

void tdMain::RunRemoteCommand(const tRemoteCommand& c) {
    if (set_.Busy()) return;
    switch (c.kind) {
    case tRemoteCommand::Show: Do_Show(); break;
    case tRemoteCommand::Tune: set_.GoToFrequency(c.band, false, c.mhz); break;
    case tRemoteCommand::Preset: set_.RecallFavorite(c.favorite); break;
    case tRemoteCommand::Mute:
        if (!set_.MuteState()) set_.ToggleMute();
        break;
    case tRemoteCommand::Unmute:
        if (set_.MuteState()) set_.ToggleMute();
        break;
    case tRemoteCommand::Next:
    case tRemoteCommand::Previous: {
        const int n = radioset::NextUsedFavorite(set_.Favorites(), set_.CurrentFavorite(),
                                                 c.kind == tRemoteCommand::Next ? +1 : -1,
                                                 [this](int k) { return set_.FavoriteReceivable(k); });
        if (n) set_.RecallFavorite(n);
        break;
    }
    }
}

} // namespace tunevox::app
