#pragma once
// TPresetsEditor: what the presets editor does, without its window. It
// works on a copy of the radio set's bank: the slot selected in the list,
// its name, band and frequency edited with the small tuner's rules, slots
// inserted, deleted, moved and cleared with the current favorite following
// its station, presets files opened and saved, and a slot played for a few
// seconds with the card always tuned back to where it was.
//
// The radio set's own bank is touched once, at the start, to tidy it (the
// list and the "changed" question compare against it); what the editor
// made reaches the radio set only through the main window, after "Ok".

#include "radio/radio_types.h"
#include "radioset/favorites.h"
#include "radioset/presets_file.h"
#include "radioset/station_tuner_rules.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tunevox::radioset {
class TRadioSet;
class ITimer;
}

namespace tunevox::presets {

// What the tuner shows: the selected slot's band and frequency (an empty
// slot shows FM 76.0 MHz until it is given one), whether this card can
// play it, and which fine buttons lead somewhere.
struct tTunerView {
    radio::tBand band = radio::bFM;
    double frequency = radio::kJapaneseFMLower;
    bool outOfRange = false;
    radioset::tTunerButtons buttons;
};

// Which controls the user may use now.
struct tEnabling {
    bool insert = false;
    bool remove = false; // "Delete"
    bool clear = false;
    bool moveUp = false;
    bool moveDown = false;
    bool listen = false;
    // "Ok" and "Save": never while two used slots share a frequency, as the
    // file would then be one no reader takes.
    bool store = false;
};

enum class tPreviewStart {
    Refused,   // not on the card's present band: nothing was tuned
    Station,   // playing, and a station is there
    NoStation, // playing, nothing received
};

class TPresetsEditor {
public:
    static constexpr int kPreviewMs = 5000;

    explicit TPresetsEditor(radioset::TRadioSet& set);
    // A preview still running ends: the card goes back.
    ~TPresetsEditor();
    TPresetsEditor(const TPresetsEditor&) = delete;
    TPresetsEditor& operator=(const TPresetsEditor&) = delete;

    // --- the working bank ---
    const radioset::tFavorites& Bank() const { return bank_; }
    // Slot n (1..100); anything else reads as an empty slot.
    const radioset::tFavorite& Slot(int n) const;
    int Current() const { return current_; }
    int StartingCurrent() const { return startingCurrent_; }
    int UsedCount() const;
    // The presets file the bank belongs to; empty: the favorites kept in
    // the configuration ("internal"), and Save asks for a file.
    const std::string& FileName() const { return fileName_; }
    bool Internal() const { return fileName_.empty(); }
    // "Edit presets - " and the file name, or "Edit presets - Internal".
    std::string Caption() const;

    // --- the selection ---
    int Selected() const { return selected_; }
    // Selects slot n (1..100) and shows it; a preview ends.
    void Select(int n);
    const tTunerView& Tuner() const { return tuner_; }

    // --- edits of the selected slot ---
    // The name as typed, cut at 40 characters. Typed into an empty slot it
    // makes the slot a station: FM, 87.0 MHz.
    void SetName(std::string_view typed);
    // The slot's band and frequency, put on the tuner's band. A frequency
    // <= 0 is the band's lower end (the band buttons), which does not make
    // an empty slot a station; a positive one does, with an empty name.
    void SetFrequency(radio::tBand band, double mhz);
    // The fine buttons: from what the slider shows, one fine step down (-1)
    // or up (+1); on AM the step is 9 kHz.
    void Fine(int direction);

    // --- the fine step, a whole multiple of the card's FM step ---
    double FineStep() const { return fineStep_; }
    int StepMultiple() const;
    int MaxStepMultiple() const;
    int StepKHz() const;
    void SetStepMultiple(int k);
    // One card step more or less, not beyond the step slider's ends.
    void StepBy(int direction);

    // --- slot operations, on the selected slot ---
    // The slot as it is in the radio set's bank.
    void Undo();
    // Slots from here move one down (slot 100's station is lost); the
    // selection follows the slot that was selected.
    void Insert();
    // The slots below move up one; the selection stays on this row.
    void Delete();
    void MoveUp();
    void MoveDown();
    void Clear();
    // Every slot emptied, no current favorite.
    void ClearAll();
    // The radio set's bank and current favorite again.
    void Reload();

    bool HasDuplicates() const;
    tEnabling Enabling() const;

    // --- files ---
    // The bank is replaced only by a whole good file; then there is no
    // current favorite, the file becomes the bank's and slot 1 is selected.
    radioset::tPresetsResult Load(const std::string& path);
    // Writes the used slots; on success the file becomes the bank's. On
    // failure error holds the reason, any file there is left whole and the
    // file name stays what it was.
    bool Save(const std::string& path, std::string* error);

    // --- the preview ---
    // Plays the selected slot on the card for kPreviewMs. Only a station of
    // the band the card is on can be heard: the card goes back to that band.
    tPreviewStart StartPreview();
    // The card back on the frequency, band and stereo setting it had when
    // the editor opened. Nothing when no preview runs.
    void EndPreview();
    bool Previewing() const { return previewing_; }
    // The preview ended by its timer (not by EndPreview).
    std::function<void()> onPreviewEnded;

    // --- closing ---
    // Whether the bank differs for the user from the radio set's: the
    // working bank is tidied first (names trimmed, empty slots wholly
    // empty), then compared slot by slot, names without regard to case.
    bool ChangedOnClose();
    // The bank as "Ok" hands it over: tidied, the current favorite marked.
    void PrepareResult();

private:
    void ShowSelected();
    void ShowTuner(radio::tBand band, double mhz);
    void SelectQuietly(int n);
    void MarkCurrent();
    const radioset::tFavorites& Original() const;
    radioset::tFavorite& SelectedSlot() { return bank_[selected_]; }

    radioset::TRadioSet& set_;
    radioset::tTunerCard tunerCard_;
    radioset::tFavorites bank_{};
    int current_ = 0;
    int startingCurrent_ = 0;
    std::string fileName_;
    int selected_ = 1;
    tTunerView tuner_;
    double fineStep_ = 0.1;
    // Where the card was at the start; every preview ends there.
    double openFrequency_ = radio::kFMLower;
    radio::tBand openBand_ = radio::bFM;
    bool openStereo_ = true;
    bool previewing_ = false;
    std::unique_ptr<radioset::ITimer> previewTimer_;
};

} // namespace tunevox::presets
