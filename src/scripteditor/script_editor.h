#pragma once
// TScriptEditor: what the script editor does, without its window. It works
// on a copy of the radio set's internal script: a list of actions kept in
// order of time, one a minute, that grows from the palette (at the end or
// before a line), shrinks, is reordered by moving an action to another
// place (it takes the free minute there), and whose selected action is
// edited through the property panel's values. It loads and writes script
// files, tells whether the work differs from the internal script, and
// plays a Jump-to's frequency or a Beep for a moment, the card always
// going back to where it was when the editor opened.
//
// Refusals (no free minute, a field out of range, midnight) change nothing
// and return false; the window answers them with the desktop's beep.
//
// Midnight: a script file cannot hold an action at 00:00, so no action is
// ever put there. Add on an empty list at 00:00 takes 00:01; an insert
// before a first action at 00:01 is refused; the panel may show 00:00 as
// the start of the first action's range, but saving it there is refused.
//
// A new script's file is "NoName.Tvs" in the configuration folder (where
// the program keeps the files it writes), never in whatever folder the
// process happens to run in; without a configuration folder the save
// dialog asks instead.
//
// The internal script is never touched: OK's result goes to the radio set
// through the main window.

#include "radio/radio_types.h"
#include "script/script.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tunevox::radioset {
class TRadioSet;
class ITimer;
}

namespace tunevox::scripteditor {

// A used favorite as the Preset panel offers it: "03 - Radio One".
struct tFavoriteEntry {
    int number = 0; // 1..100
    std::string text;
    bool am = false;
};

// The property panel's fields: what selecting an action shows and what
// Save applies to it (each kind takes its own fields).
struct tPanelValues {
    int hour = 0, minute = 0;
    int count = 1, frequency = 5000, duration = 300; // Beep
    int level = 0;                                   // Volume, 0..20
    double jumpFrequency = radio::kJapaneseFMLower;  // Jump to, MHz on `band`
    radio::tBand band = radio::bFM;                  // Jump to
    bool stereo = false;                             // Jump to, Preset
    int favorite = 0;                                // Preset; 0: none chosen, the action keeps its own
};

// The Jump-to frequency field on a band: its range (the band buttons put
// the field at the minimum), and whether "Stereo" and "Test" can be used.
struct tBandField {
    double minimum = radio::kJapaneseFMLower;
    double maximum = radio::kFMUpper;
    bool stereoEnabled = true;
    bool testEnabled = true;
};

enum class tFrequencyPreview {
    Refused,  // not on the card's present band: nothing was tuned
    Tuned,    // playing, a station is there
    NotTuned, // playing, nothing received
};

enum class tPreview { None, Frequency, Beep };

class TScriptEditor {
public:
    static constexpr int kFrequencyPreviewMs = 5000;
    static constexpr int kBeepPreviewMs = 1000;
    static constexpr const char* kNoName = "NoName.Tvs";

    explicit TScriptEditor(radioset::TRadioSet& set);
    // A preview still running ends: the card goes back.
    ~TScriptEditor();
    TScriptEditor(const TScriptEditor&) = delete;
    TScriptEditor& operator=(const TScriptEditor&) = delete;

    // --- the working script ---
    const script::tActions& Actions() const { return actions_; }
    size_t Count() const { return actions_.size(); }
    bool Empty() const { return actions_.empty(); }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // --- the file ---
    // The radio set's script file, or NoName.Tvs (see above).
    const std::string& FileName() const { return fileName_; }
    // Save shows the save dialog first: the editor opened with the radio
    // set's file, and nothing has been written since.
    bool AskOnSave() const { return askOnSave_; }
    // "Programming -" until a file is loaded or written (or the radio set
    // had one), then "Script - (" + file name + ")".
    std::string Caption() const;

    // --- the palette and the favorites ---
    // "Preset" first while a favorite is used, then Mute on, Mute off,
    // Beep, Volume, Jump to, Off.
    const std::vector<script::tActionKind>& PaletteKinds() const { return palette_; }
    // What a new Preset recalls: the lowest used favorite, 0 when none is.
    int DefaultFavorite() const { return defaultFavorite_; }
    // Every used favorite, in order of number.
    const std::vector<tFavoriteEntry>& FavoriteEntries() const { return favorites_; }
    bool FavoriteIsAM(int n) const;

    // --- the selection ---
    int Selected() const { return selected_; } // -1: the list is empty
    const script::zAction* SelectedAction() const;
    // A running preview ends; a Jump-to puts the frequency field on its band.
    void Select(int i);
    // The selected action's minutes (begin..end) and the minute field's
    // limits for an hour of it.
    script::tTimeRange Range() const;
    script::tMinuteLimits MinuteLimits(int hour) const;
    // "The range is from 06:11 to 23:59".
    std::string RangeText() const;
    // What the panel shows for the selected action (Reload too: the
    // frequency field goes back to the action's band).
    tPanelValues PanelValues() const;
    tPanelValues Reload();

    // --- edits; false: refused, nothing changed ---
    // A new action of `kind` after the last, selected.
    bool Add(script::tActionKind kind);
    // A new action before line `line` (Count(): after the last), selected.
    bool InsertAt(script::tActionKind kind, size_t line);
    // The action at `from` dropped on line `to` (Count(): below the last):
    // it goes before that line and takes the free minute there, counted
    // without itself. Dropped on its own line it stays as it is (true).
    bool Move(size_t from, size_t to);
    // The action at i (the selected one by default); the one that took its
    // place, or the new last, is selected.
    bool Delete(int i = -1);
    // The panel's values become the selected action's: its time within its
    // range (never midnight), the fields of its kind within their limits, a
    // Jump-to's frequency snapped to its band's grid.
    bool Apply(const tPanelValues& values);
    // The list emptied; title and file name stay.
    void New();

    // --- the Jump-to frequency field ---
    radio::tBand FieldBand() const { return fieldBand_; }
    tBandField BandField(radio::tBand band) const;
    // The band buttons: the field goes to `band`.
    tBandField ChooseBand(radio::tBand band);
    // Where Save puts a frequency: within the band, on its grid (AM 9 kHz
    // steps from 531 kHz, FM the card's steps from 76 MHz).
    double SnapToBand(radio::tBand band, double mhz) const;

    // --- files ---
    // The list, title and file name are replaced only by a whole good file;
    // its first action is selected.
    script::tScriptResult Load(const std::string& path);
    // Writes the list with the trimmed title to `path` (empty: FileName()).
    // On success the file becomes the editor's and no longer asks; on
    // failure `error` says why and a file that was there is left whole.
    bool Save(const std::string& path, std::string* error);

    // --- closing ---
    // Whether the work differs from the internal script: the trimmed
    // titles, then place by place the actions' times and fields.
    bool Changed() const;
    // What OK hands over: the trimmed title and a copy of the list.
    script::tScript Result() const;
    // However the window closes: a preview ends, the card is back where it
    // was when the editor opened, and its mute follows the radio set's.
    void Close();

    // --- previews, on the one "Preview" timer ---
    // Tunes the card to `mhz` on the field's band for five seconds, when
    // that is the card's present band and within it.
    tFrequencyPreview StartFrequencyPreview(double mhz, bool stereo);
    // `count` beeps of the given pitch and length, one a second, the first
    // after a second. false for values out of their limits.
    bool StartBeepPreview(int count, int frequency, int duration);
    // Stops the timer; a frequency preview puts the card back.
    void EndPreview();
    tPreview Previewing() const { return preview_; }
    // The timer ended a preview (its five seconds passed, the last beep).
    std::function<void()> onPreviewEnded;

private:
    void PreviewTick();
    script::tActionDefaults Defaults() const;
    bool Insert(script::tActionKind kind, size_t line, script::tMinute time);
    void RestoreCard();

    radioset::TRadioSet& set_;
    script::tActions actions_;
    std::string title_;
    std::string fileName_;
    bool askOnSave_ = false;
    bool fileKnown_ = false;
    int selected_ = -1;
    radio::tBand fieldBand_ = radio::bFM;

    std::vector<script::tActionKind> palette_;
    std::vector<tFavoriteEntry> favorites_;
    int defaultFavorite_ = 0;

    // Where the card was at the start; every preview and the close end there.
    double openFrequency_ = radio::kFMLower;
    radio::tBand openBand_ = radio::bFM;
    bool openStereo_ = true;

    tPreview preview_ = tPreview::None;
    int beepCount_ = 0, beepFrequency_ = 0, beepDuration_ = 0, beepCounter_ = 0;
    std::unique_ptr<radioset::ITimer> previewTimer_;
};

} // namespace tunevox::scripteditor
