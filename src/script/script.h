#pragma once
// Scripts: a titled list of timed actions that programming mode carries
// out at their minutes (mute, unmute, beep, volume, tune, recall a
// favorite, switch off), and script files (".tvs"), one line per action:
//
//   ;Morning
//   Preset.0700.3.ST
//   Beep.0701.3.5000.300
//   Jump to.0705.98,700.FM.ST
//   Off.0800
//
// The first line is ";" and the title; each further line a keyword, the
// time HHMM and the action's fields, separated by "."; lines end in CR LF.
// A Jump-to frequency is written with "," whatever the locale (the only
// separator the line leaves unambiguous) and read with "," or "." alike.
//
// No Qt and no radio set: the radio set's runner and the script editor
// both build on this.

#include "radio/radio_types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunevox::script {

enum tActionKind : uint8_t {
    akNone = 0,
    akMuteOn = 1,
    akMuteOff = 2,
    akBeep = 3,
    akVolume = 4,
    akJumpTo = 5,
    akPreset = 6,
    akOff = 7,
};
constexpr int kActionKinds = 7;

// Minutes since midnight, 0..1439.
using tMinute = int;
constexpr tMinute kLastMinute = 23 * 60 + 59;
inline int HourOf(tMinute m) { return m / 60; }
inline int MinuteOf(tMinute m) { return m % 60; }
inline tMinute MakeMinute(int hour, int minute) { return hour * 60 + minute; }
// "HHMM": comparing two keys as strings compares the times. A minute
// outside 0..kLastMinute is clamped, so a key always has four digits.
std::string TimeKey(tMinute m);
// A time a script file can hold: 00:01 to 23:59 (a line at midnight is
// refused on reading, so the editor must not store 00:00).
inline bool StorableTime(tMinute m) { return m >= 1 && m <= kLastMinute; }

// The base of every action. Kind 0 does nothing.
class zAction {
public:
    explicit zAction(tActionKind kind, tMinute time) : kind(kind), time(time) {}
    virtual ~zAction() = default;
    virtual std::unique_ptr<zAction> Clone() const = 0;
    // Same time and the same fields of its kind.
    virtual bool SameAs(const zAction& other) const { return kind == other.kind && time == other.time; }
    std::string Key() const { return TimeKey(time); }

    tActionKind kind;
    tMinute time;
};

template <class Self, tActionKind Kind>
class zActionOf : public zAction {
public:
    explicit zActionOf(tMinute time) : zAction(Kind, time) {}
    std::unique_ptr<zAction> Clone() const override { return std::make_unique<Self>(static_cast<const Self&>(*this)); }
};

class zMuteOn final : public zActionOf<zMuteOn, akMuteOn> {
public:
    using zActionOf::zActionOf;
};
class zMuteOff final : public zActionOf<zMuteOff, akMuteOff> {
public:
    using zActionOf::zActionOf;
};
class zOff final : public zActionOf<zOff, akOff> {
public:
    using zActionOf::zActionOf;
};
class zBeep final : public zActionOf<zBeep, akBeep> {
public:
    using zActionOf::zActionOf;
    bool SameAs(const zAction& other) const override;
    int count = 1;          // 1..50
    int frequency = 5000;   // Hz, 1..20000
    int duration = 300;     // ms of one beep, 1..1000
};
class zVolume final : public zActionOf<zVolume, akVolume> {
public:
    using zActionOf::zActionOf;
    bool SameAs(const zAction& other) const override;
    int level = 0; // 0..20, each 5 % of the card's full volume
};
class zJumpTo final : public zActionOf<zJumpTo, akJumpTo> {
public:
    using zActionOf::zActionOf;
    bool SameAs(const zAction& other) const override;
    double frequency = radio::kJapaneseFMLower; // MHz on both bands
    radio::tBand band = radio::bFM;
    bool stereo = false;
};
class zPreset final : public zActionOf<zPreset, akPreset> {
public:
    using zActionOf::zActionOf;
    bool SameAs(const zAction& other) const override;
    int number = 0; // favorite 1..100; 0 until one is chosen
    bool stereo = false;
};

// What new actions take from the radio: a Jump-to its band (frequency the
// band's lowest: 0.531 or 76.0) and stereo, a Preset the stereo setting
// and the favorite given here (0: none chosen yet).
struct tActionDefaults {
    radio::tBand band = radio::bFM;
    bool stereo = false;
    int favorite = 0;
};
// Null for akNone or a code that is no kind.
std::unique_ptr<zAction> CreateAction(tActionKind kind, tMinute time, const tActionDefaults& defaults = {});
// "Mute on", "Mute off", "Beep", "Volume", "Jump to", "Preset", "Off"; ""
// for anything else.
const char* ActionName(tActionKind kind);

using tActions = std::vector<std::unique_ptr<zAction>>;
tActions CopyActions(const tActions& actions);

struct tScript {
    std::string title;
    tActions actions;
};
// The same title (trimmed) and, place by place, the same actions.
bool SameScript(const std::string& titleA, const tActions& a, const std::string& titleB, const tActions& b);

// --- files ---
enum tScriptResult : int { srOk = 0, srCorrupt = 1, srReadError = 2 };
// A script holds at most 1440 actions, one a minute, plus the blank lines
// someone put between them: a file of more lines than this, or with a
// longer line, is refused as corrupt without being read to its end. The
// writer refuses what the reader would refuse.
constexpr size_t kMaxScriptLines = 4096;     // the title line and blank lines included
constexpr size_t kMaxScriptLineBytes = 1024; // without the line's end
// Checks every line first, then builds; on anything but srOk `script` is
// left as it was. The actions are put in order of time, lines of one
// minute in file order. A Jump-to on AM is read with stereo clear, as it
// is written.
tScriptResult ParseScript(std::string_view text, tScript& script);
tScriptResult ReadScriptFile(const std::string& path, tScript& script);
// The file's text. A Preset of an AM favorite is written "MN" whatever its
// stereo flag: `isAmFavorite` tells (null: none is). A line break in the
// title is written as a blank.
std::string FormatScript(const std::string& title, const tActions& actions,
                         const std::function<bool(int favorite)>& isAmFavorite = {});
// Writes atomically: on failure false, the reason in `error`, and the file
// that was there is left whole. A script the reader would refuse (no
// action, an action at 00:00 or with a field out of range, too long) is
// not written: false, saying which line.
bool WriteScriptFile(const std::string& path, const std::string& title, const tActions& actions,
                     const std::function<bool(int favorite)>& isAmFavorite, std::string* error);

// --- the runner's search ---
// The action at `key` ("HHMM") in a list in order of time, found by
// halving; null when none is at that minute.
const zAction* FindAction(const tActions& actions, std::string_view key);

// --- the editor's time rules (lists in order of time, one action a minute) ---
// A new action at the end: a minute after the last (none after 23:59), or
// `now` for an empty list.
std::optional<tMinute> AppendTime(const tActions& actions, tMinute now);
// A new action before line c: a minute after line c - 1, or a minute before
// line 0; none when there is no free minute there. c == size() is the end:
// a minute after the last (none after 23:59, none for an empty list,
// whose time is AppendTime's `now`).
std::optional<tMinute> InsertTime(const tActions& actions, size_t c);
// The minutes the action at i may move within: a minute after the one
// before (00:00 for the first) to a minute before the one after (23:59 for
// the last). Where the neighbours leave no free minute (two actions at one
// minute in a loaded file) the range is the action's own minute.
struct tTimeRange {
    tMinute begin = 0, end = kLastMinute;
};
tTimeRange RangeOf(const tActions& actions, size_t i);
// The minute field's limits for `hour` in a range, and a minute clamped
// into them.
// An hour outside the range takes the limits of the range's nearest hour.
struct tMinuteLimits {
    int low = 0, high = 59;
    int Clamp(int minute) const { return minute < low ? low : minute > high ? high : minute; }
};
tMinuteLimits MinuteLimits(const tTimeRange& range, int hour);

} // namespace tunevox::script
