#pragma once
// TScanSession: what the band scanner does, without its window. It sweeps
// the FM band in the card's step (a long operation of the radio set: one
// tuning and one status per step, the next on the event loop), keeps the
// points measured and the stations found, lets the user listen to a found
// station and fine-tune it between its neighbours, and edits a working copy
// of the favorites bank that the window hands back on OK.
//
// Frequencies are compared as their "000.000" texts, as everywhere in the
// program: for order too, which for frequencies below 1000 is the numeric
// order.

#include "radio/radio_types.h"
#include "radioset/favorites.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tunevox::radioset {
class TRadioSet;
}

namespace tunevox::scanner {

// A frequency measured in a sweep. level: 3 when something was received,
// 255 when nothing was.
struct tScanPoint {
    double frequency = 0.0;
    bool stereo = false;
    int level = 255;
    bool Received() const { return level != 255; }
};

// A station found: its frequency as "000.000" (fine tuning rewrites it),
// "T", "S" or "M" (tuned, stereo, mono), and the name of the favorite that
// holds it, if any.
struct tFoundRow {
    std::string freqText;
    std::string status;
    std::string description;
};

class TScanSession {
public:
    // Takes a copy of the radio set's bank and current favorite, the band's
    // edges (FM, Japanese FM where set) and the tuning step.
    explicit TScanSession(radioset::TRadioSet& set);
    ~TScanSession();
    TScanSession(const TScanSession&) = delete;
    TScanSession& operator=(const TScanSession&) = delete;

    const radioset::tFavorites& Bank() const { return bank_; }
    int Current() const { return current_; }
    double Low() const { return low_; }
    double High() const { return high_; }
    double CardStep() const { return cardStep_; }
    radio::tBand Band() const { return band_; }
    const std::vector<tScanPoint>& Points() const { return points_; }
    const std::vector<tFoundRow>& Rows() const { return rows_; }
    bool Scanning() const { return scanning_; }

    // --- the sweep ---
    // Starts from the band's low edge (the points and rows of a former sweep
    // go); false while a sweep or another long operation runs.
    bool StartScan();
    // The sweep ends before its next step.
    void StopScan();
    // Told as the sweep goes: each point as soon as it is measured (row: the
    // row it added, -1 when nothing was received), then the end.
    std::function<void(const tScanPoint& point, int row)> onPoint;
    std::function<void(bool stopped)> onEnd;
    // The frequency measured next and how much of the band is done (0..1).
    double NextFrequency() const;
    double Done() const;

    // --- listening and fine tuning (not while scanning) ---
    double RowFrequency(int row) const;
    // The row whose frequency reads `text`, or -1.
    int RowWithText(const std::string& text) const;
    // Tunes to the row's frequency, in stereo where the card can.
    void Listen(int row);
    // A row is moved by the fine step, never onto or past a neighbour (one
    // fine step apart) or past the band's edge; the card follows.
    bool CanTuneDown(int row) const;
    bool CanTuneUp(int row) const;
    bool TuneDown(int row);
    bool TuneUp(int row);

    // --- the fine step, a whole multiple of the card's step ---
    double FineStep() const { return fineStep_; }
    int StepMultiple() const;
    int MaxStepMultiple() const;
    void SetStepMultiple(int k);
    void StepLarger();
    void StepSmaller();

    // --- the working bank (not while scanning) ---
    // Whether the row's station may become a favorite: no used favorite
    // holds it yet (the target's own content does not matter).
    bool CanDrop(int row) const;
    // Favorite n becomes the row's station and the current one, named by
    // the row's description, or "????" without one.
    bool Drop(int row, int n);
    void Clear(int n);
    void ClearAll();

private:
    bool Step();
    void End(bool stopped);
    std::string DescriptionOf(const std::string& freqText) const;
    bool Retune(int row, double mhz);

    radioset::TRadioSet& set_;
    radioset::tFavorites bank_{};
    int current_ = 0;
    radio::tBand band_ = radio::bFM;
    double low_ = radio::kFMLower;
    double high_ = radio::kFMUpper;
    double cardStep_ = 0.05;
    double fineStep_ = 0.05;
    int threshold_ = 3;
    bool hasFM_ = true;
    bool hasJapaneseFM_ = false;
    std::vector<tScanPoint> points_;
    std::vector<tFoundRow> rows_;
    bool scanning_ = false;
    int steps_ = 0;     // points in a whole sweep
    int nextStep_ = 0;  // the step measured next
    // A step queued for a session that is gone ends the sweep instead.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace tunevox::scanner
