#pragma once
// The radio set tells one view what changed (the main window), and beside
// it any number of observers that only follow the state (the desktop's
// media controls): each notice goes to the view first, then to the
// observers in the order they were added. Questions and commands never go
// to an observer: it cannot close the program or show a problem.

#include "radioset/radio_set_view.h"

#include <algorithm>
#include <vector>

namespace tunevox::radioset {

class TViewGroup final : public IRadioSetView {
public:
    IRadioSetView* main = nullptr;
    void Add(IRadioSetView* observer) { observers_.push_back(observer); }
    void Remove(IRadioSetView* observer) {
        observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
    }
    bool Empty() const { return !main && observers_.empty(); }

    void ShowCard() override { Each([](IRadioSetView& v) { v.ShowCard(); }); }
    void ShowBand(radio::tBand b) override { Each([b](IRadioSetView& v) { v.ShowBand(b); }); }
    void ShowFrequency(const tFrequencyShown& s) override { Each([&s](IRadioSetView& v) { v.ShowFrequency(s); }); }
    void ShowTunedStatus(int s) override { Each([s](IRadioSetView& v) { v.ShowTunedStatus(s); }); }
    void ShowStation(const tStationShown& s) override { Each([&s](IRadioSetView& v) { v.ShowStation(s); }); }
    void ShowFavorites() override { Each([](IRadioSetView& v) { v.ShowFavorites(); }); }
    void ShowStep() override { Each([](IRadioSetView& v) { v.ShowStep(); }); }
    void ShowVolume() override { Each([](IRadioSetView& v) { v.ShowVolume(); }); }
    void ShowMute(bool m) override { Each([m](IRadioSetView& v) { v.ShowMute(m); }); }
    void ShowTime(const tTimeOfDay& t) override { Each([&t](IRadioSetView& v) { v.ShowTime(t); }); }
    void ShowAlarm(bool on) override { Each([on](IRadioSetView& v) { v.ShowAlarm(on); }); }
    void ShowSleep(bool on) override { Each([on](IRadioSetView& v) { v.ShowSleep(on); }); }
    void ShowProgramming(bool on) override { Each([on](IRadioSetView& v) { v.ShowProgramming(on); }); }
    void ShowStereoWanted(bool on) override { Each([on](IRadioSetView& v) { v.ShowStereoWanted(on); }); }
    void ShowSeek(int d) override { Each([d](IRadioSetView& v) { v.ShowSeek(d); }); }
    void ShowCommands(const tCommandStates& s) override { Each([&s](IRadioSetView& v) { v.ShowCommands(s); }); }
    void LongOperationEnded() override { Each([](IRadioSetView& v) { v.LongOperationEnded(); }); }
    void ReportProblem(const std::string& text) override {
        if (main) main->ReportProblem(text);
    }
    void CloseRequested() override {
        if (main) main->CloseRequested();
    }

private:
    template <class F>
    void Each(F f) {
        if (main) f(*main);
        // A copy: an observer may leave while it is told.
        const std::vector<IRadioSetView*> now = observers_;
        for (IRadioSetView* o : now) f(*o);
    }
    std::vector<IRadioSetView*> observers_;
};

} // namespace tunevox::radioset
