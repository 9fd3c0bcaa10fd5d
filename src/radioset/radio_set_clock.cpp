// TRadioSet: the clock tick with the alarm rule (or the script), the sleep
// timer, programming mode, and the timers' part of the dialog protocol.

#include "radioset/radio_set.h"

#include "radio/radio_card.h"

namespace tunevox::radioset {

void TRadioSet::ClockTick() {
    const tTimeOfDay now = clock_.Now();
    if (view_) view_->ShowTime(now);
    if (programming_) {
        // The script owns the minute then; the alarm stands aside.
        RunScript(now);
        return;
    }
    if (alarmOn_ && config_.AlarmStation != 0 && now.hour == config_.AlarmHour && now.minute == config_.AlarmMinute)
        SelectFavorite(config_.AlarmStation, true);
    // Hour and minute are compared each by itself: an alarm whose hour and
    // minute have both been reached is over, whether it rang or not (07:30
    // set at 08:10 ends at 08:30 without ringing).
    if (alarmOn_ && now.hour >= config_.AlarmHour && now.minute >= config_.AlarmMinute) SwitchAlarmOff();
}

void TRadioSet::SetAlarm(int hour, int minute, int favorite) {
    config_.AlarmHour = hour;
    config_.AlarmMinute = minute;
    config_.AlarmStation = favorite;
    alarmOn_ = true;
    if (view_) view_->ShowAlarm(true);
    PublishCommands();
}

void TRadioSet::SwitchAlarmOff() {
    alarmOn_ = false;
    if (view_) view_->ShowAlarm(false);
    PublishCommands();
}

void TRadioSet::StartSleep(int minutes) {
    sleepMinutes_ = minutes;
    sleepOn_ = true;
    timers_[tmSleep]->Start(minutes * 60000);
    if (view_) view_->ShowSleep(true);
    PublishCommands();
}

void TRadioSet::SwitchSleepOff() {
    sleepOn_ = false;
    timers_[tmSleep]->Stop();
    if (view_) view_->ShowSleep(false);
    PublishCommands();
}

void TRadioSet::SleepExpired() {
    if (programming_) return; // fires again after another full interval
    // The sleep timer mutes the radio; it does not end the program.
    muteState_ = true;
    card_.MuteOn();
    ShowMute();
    SwitchSleepOff();
}

void TRadioSet::SetProgramming(bool on) {
    programming_ = on;
    if (view_) view_->ShowProgramming(on);
    PublishCommands();
}

void TRadioSet::BeginDialog() {
    if (modalDepth_++ == 0) PauseTimers();
}

void TRadioSet::EndDialog() {
    if (modalDepth_ == 0) return;
    if (--modalDepth_ == 0) ResumeTimers();
}

void TRadioSet::PauseTimers() {
    if (pauseDepth_++ > 0) return;
    for (size_t i = 0; i < timers_.size(); ++i) {
        timersWereActive_[i] = timers_[i]->Active();
        timers_[i]->Stop();
    }
}

void TRadioSet::ResumeTimers() {
    if (pauseDepth_ == 0 || --pauseDepth_ > 0) return;
    // Each timer starts again from its full interval, as a fresh start.
    for (size_t i = 0; i < timers_.size(); ++i)
        if (timersWereActive_[i]) timers_[i]->Start(timers_[i]->Interval());
}

} // namespace tunevox::radioset
