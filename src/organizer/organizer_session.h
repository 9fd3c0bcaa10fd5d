#pragma once
// TOrganizerSession: what the organizer does, without its window. It holds
// the station archive while the window is open, plays the selected station
// (and silences the radio while a folder is selected), edits the station's
// band and frequency with the small tuner's rules, seeks on FM as a long
// operation of the radio set, and stores archive stations as favorites.
//
// Favorites are changed in the radio set's own bank at once: what the user
// drops or clears in the organizer stays, whichever way the window closes.
// The archive reaches its file only through Save (the window's OK).

#include "archive/archive.h"
#include "radioset/favorites.h"
#include "radioset/station_tuner_rules.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tunevox::radioset {
class TRadioSet;
}
namespace tunevox::radio {
class TRadioCard;
}

namespace tunevox::organizer {

// What the tuner shows after a tuning: the station's band and frequency,
// whether this card can play it, the buttons, and the tuned state: 1..3
// tuned, stereo, mono; 0 none (not on FM, or out of range); -1 not asked
// (the slider's thumb is held), which leaves the letter as it was.
struct tTuning {
    radio::tBand band = radio::bFM;
    double frequency = 0.0;
    bool outOfRange = false;
    radioset::tTunerButtons buttons;
    int tunedStatus = -1;
};

class TOrganizerSession {
public:
    explicit TOrganizerSession(radioset::TRadioSet& set);
    ~TOrganizerSession();
    TOrganizerSession(const TOrganizerSession&) = delete;
    TOrganizerSession& operator=(const TOrganizerSession&) = delete;

    // --- the archive and its file ---
    archive::TArchive& Archive() { return archive_; }
    // Reads Tunevox.db; an unreadable file (not a missing one) is never
    // overwritten by Save.
    archive::TArchive::tLoadResult Load();
    bool Save(std::string* error);
    const std::string& Path() const { return path_; }

    // --- the selection ---
    // A station plays (the radio heard again) and its tuning is returned;
    // a folder or the root silences the radio and returns nullopt. While a
    // name is being edited a station is not played again.
    std::optional<tTuning> Select(archive::tArchiveNode* node, bool editingName = false);
    archive::tArchiveNode* Selected() const { return selected_; }
    // Where a new folder or station goes: the selected folder, or the root
    // when nothing or the root is selected; null for a selected station or
    // during a seek.
    archive::tArchiveNode* AddTarget();
    // A new station starts at the tuner band's lower edge: 87.0 MHz (76.0
    // with the Japanese FM setting), or 0.531 on AM.
    double NewStationFrequency() const;

    // --- the tuner (on the selected station; not while seeking) ---
    radio::tBand Band() const { return band_; }
    const radioset::tTunerCard& TunerCard() const { return tunerCard_; }
    bool CardHasBand(radio::tBand band) const;
    // Tunes the selected station to `mhz` on `band` (mhz <= 0: the band's
    // start, as the band buttons do): the card plays it (or the band's
    // default when out of range), the station takes the frequency. The
    // tuned state is read only when `check` (not while the slider's thumb
    // is held).
    tTuning Tune(radio::tBand band, double mhz, bool check);
    // One fine step down (-1) or up (+1) from `mhz` (the slider's value).
    std::optional<tTuning> Fine(int direction);
    // The tuned state now: 1..3 tuned, stereo, mono; 0 none.
    int TunedStatus() const;

    // --- the fine step, a whole multiple of the card's FM step ---
    double FineStep() const { return fineStep_; }
    int StepMultiple() const;
    int MaxStepMultiple() const;
    void SetStepMultiple(int k);
    void StepBy(int direction);

    // --- the seek (FM only), a long operation of the radio set ---
    // false when it cannot start: no FM, already at that edge, a station
    // not selected, or another long operation running.
    bool StartSeek(int direction);
    void StopSeek();
    bool Seeking() const { return seeking_; }
    int SeekDirection() const { return seekDirection_; }
    std::function<void(const tTuning&)> onSeekStep;
    std::function<void(const tTuning&)> onSeekEnd;

    // --- favorites (the radio set's bank, at once) ---
    const radioset::tFavorites& Bank() const;
    int Current() const;
    // Whether the selected node may become a favorite: a station no used
    // favorite holds yet (same "000.000" frequency and band).
    bool CanStoreSelected() const;
    bool StoreSelected(int n);
    void ClearFavorite(int n);
    void ClearAllFavorites();

private:
    radio::TRadioCard& Card() const;
    bool SeekStep();
    void SeekEnded();
    tTuning Shown(double mhz, bool outOfRange, int status) const;

    radioset::TRadioSet& set_;
    archive::TArchive archive_;
    std::string path_;
    bool fileUnreadable_ = false;
    archive::tArchiveNode* selected_ = nullptr;
    radio::tBand band_ = radio::bFM;
    radioset::tTunerCard tunerCard_;
    double fineStep_ = 0.05;
    bool seeking_ = false;
    int seekDirection_ = 0;
    std::optional<tTuning> lastSeek_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace tunevox::organizer
