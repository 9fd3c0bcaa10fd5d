// Script files: the reader, which checks a whole file before it gives a
// script, and the writer, which writes only what the reader takes back.

#include "script/script.h"

#include "platform/atomic_file.h"
#include "platform/number_text.h"
#include "platform/text_lines.h"
#include "radio/frequency.h"
#include "script/blank_text.h"

#include <algorithm>
#include <array>

namespace tunevox::script {

namespace {

using detail::TrimBlanks;

// Every file within the line limits fits in this many bytes (a byte-order
// mark, each line at its longest with CR LF), so refusing a longer text
// before splitting it never refuses a good one; it only spares reading a
// huge file, or making millions of lines of it, to find out.
constexpr size_t kMaxScriptBytes = 3 + kMaxScriptLines * (kMaxScriptLineBytes + 2);

struct tKeyword {
    std::string_view text;
    tActionKind kind;
};
constexpr std::array<tKeyword, kActionKinds> kKeywords{{
    {"Mute on", akMuteOn},
    {"Mute off", akMuteOff},
    {"Beep", akBeep},
    {"Volume", akVolume},
    {"Jump to", akJumpTo},
    {"Preset", akPreset},
    {"Off", akOff},
}};

// Keywords are ASCII and compared as such, whatever locale the desktop
// set for the C library's tolower.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

tActionKind KindOf(std::string_view keyword) {
    for (const auto& k : kKeywords)
        if (SameLetters(keyword, k.text)) return k.kind;
    return akNone;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> IntegerField(std::string_view field, int low, int high) {
    const auto value = platform::ParseInteger(field);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<int>(*value);
}

// Cuts `rest` at its first "." into the field before it, which is
// returned, and what follows, left in rest; nullopt when there is none.
std::optional<std::string_view> NextField(std::string_view& rest) {
    const size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string_view field = rest.substr(0, dot);
    rest.remove_prefix(dot + 1);
    return field;
}

// "ST" or "MN" in any case, blanks around allowed; only an upper-case
// "ST" sets stereo.
bool IsStereoField(std::string_view field) {
    field = TrimBlanks(field);
    return SameLetters(field, "ST") || SameLetters(field, "MN");
}
bool StereoOf(std::string_view field) { return TrimBlanks(field) == "ST"; }

// One trimmed, non-empty action line: the action, or null when the line
// is not one.
std::unique_ptr<zAction> ParseAction(std::string_view line) {
    std::string_view rest = line;
    const auto keyword = NextField(rest);
    if (!keyword) return nullptr;
    const tActionKind kind = KindOf(*keyword);
    if (kind == akNone) return nullptr;

    if (rest.size() < 4 || !std::all_of(rest.begin(), rest.begin() + 4, IsDigit)) return nullptr;
    const int hour = (rest[0] - '0') * 10 + (rest[1] - '0');
    const int minute = (rest[2] - '0') * 10 + (rest[3] - '0');
    const tMinute time = MakeMinute(hour, minute);
    // Midnight is no time a script can hold.
    if (hour > 23 || minute > 59 || time == 0) return nullptr;
    rest.remove_prefix(4);

    if (kind == akMuteOn || kind == akMuteOff || kind == akOff) {
        if (!rest.empty()) return nullptr;
        return CreateAction(kind, time);
    }
    if (rest.empty() || rest.front() != '.') return nullptr;
    rest.remove_prefix(1);

    switch (kind) {
    case akBeep: {
        const auto countField = NextField(rest);
        const auto frequencyField = countField ? NextField(rest) : std::optional<std::string_view>();
        if (!frequencyField) return nullptr;
        const auto count = IntegerField(*countField, 1, 50);
        const auto frequency = IntegerField(*frequencyField, 1, 20000);
        const auto duration = IntegerField(rest, 1, 1000);
        if (!count || !frequency || !duration) return nullptr;
        auto beep = std::make_unique<zBeep>(time);
        beep->count = *count;
        beep->frequency = *frequency;
        beep->duration = *duration;
        return beep;
    }
    case akVolume: {
        const auto level = IntegerField(rest, 0, 20);
        if (!level) return nullptr;
        auto volume = std::make_unique<zVolume>(time);
        volume->level = *level;
        return volume;
    }
    case akJumpTo: {
        // The band and stereo fields are the last two: the frequency before
        // them may have been written with "." as well as with ",".
        const size_t stereoDot = rest.rfind('.');
        if (stereoDot == std::string_view::npos) return nullptr;
        const std::string_view stereo = rest.substr(stereoDot + 1);
        const std::string_view head = rest.substr(0, stereoDot);
        const size_t bandDot = head.rfind('.');
        if (bandDot == std::string_view::npos) return nullptr;
        const std::string_view band = TrimBlanks(head.substr(bandDot + 1));
        const auto mhz = platform::ParseReal(head.substr(0, bandDot));
        if (!mhz || !(SameLetters(band, "AM") || SameLetters(band, "FM")) || !IsStereoField(stereo)) return nullptr;
        auto jump = std::make_unique<zJumpTo>(time);
        jump->frequency = *mhz;
        jump->band = band == "FM" ? radio::bFM : radio::bAM;
        // An AM line is always written "AM.MN": a hand-written "AM.ST"
        // would not survive the next save, so it is not taken either.
        jump->stereo = jump->band == radio::bFM && StereoOf(stereo);
        return jump;
    }
    case akPreset: {
        const auto numberField = NextField(rest);
        if (!numberField) return nullptr;
        const auto number = IntegerField(*numberField, 1, 100);
        if (!number || !IsStereoField(rest)) return nullptr;
        auto preset = std::make_unique<zPreset>(time);
        preset->number = *number;
        preset->stereo = StereoOf(rest);
        return preset;
    }
    default: return nullptr;
    }
}

// CR, LF and CR LF each end one line, as SplitTextLines counts them.
size_t LineEnds(std::string_view text) {
    size_t ends = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++ends;
    }
    return ends;
}

// ParseScript, saying why a text is refused (for the writer's message).
tScriptResult Parse(std::string_view text, tScript& script, std::string* why) {
    auto refuse = [&](std::string reason) {
        if (why) *why = std::move(reason);
        return srCorrupt;
    };
    const std::string tooMany = "more than " + std::to_string(kMaxScriptLines) + " lines";
    if (text.size() > kMaxScriptBytes) return refuse("larger than any script file can be");
    if (LineEnds(text) > kMaxScriptLines) return refuse(tooMany);
    const std::vector<std::string> lines = platform::SplitTextLines(text);
    if (lines.size() > kMaxScriptLines) return refuse(tooMany);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > kMaxScriptLineBytes)
            return refuse("line " + std::to_string(i + 1) + " is longer than " +
                          std::to_string(kMaxScriptLineBytes) + " bytes");
    }

    if (lines.empty()) return refuse("no title line");
    const std::string_view titleLine = TrimBlanks(lines.front());
    if (titleLine.empty() || titleLine.front() != ';') return refuse("line 1 is no title line");
    if (lines.size() < 2) return refuse("no action");
    // Blank lines between actions are passed over, one at the end is not:
    // it is what is left of a file cut short.
    if (TrimBlanks(lines.back()).empty()) return refuse("a blank line at the end");

    tActions actions;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = TrimBlanks(lines[i]);
        if (line.empty()) continue;
        auto action = ParseAction(line);
        if (!action) return refuse("line " + std::to_string(i + 1) + " is not valid: " + std::string(line));
        actions.push_back(std::move(action));
    }
    // The runner halves the list by time: a hand-edited file out of order
    // would make it miss actions without a word.
    std::stable_sort(actions.begin(), actions.end(),
                     [](const auto& a, const auto& b) { return a->time < b->time; });

    script.title = std::string(titleLine.substr(1));
    script.actions = std::move(actions);
    return srOk;
}

std::string TitleLine(const std::string& title) {
    std::string line = title;
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return ";" + std::string(TrimBlanks(line));
}

// "098,700": the comma cannot be taken for the "." between the fields.
std::string JumpFrequencyField(double mhz) {
    std::string text = radio::FrequencyText(mhz);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// The line of one action; empty for what is no action of a known kind.
std::string ActionLine(const zAction& action, const std::function<bool(int)>& isAmFavorite) {
    std::string line = std::string(ActionName(action.kind)) + "." + action.Key();
    switch (action.kind) {
    case akMuteOn:
    case akMuteOff:
    case akOff: return line;
    case akBeep:
        if (const auto* beep = dynamic_cast<const zBeep*>(&action)) {
            return line + "." + std::to_string(beep->count) + "." + std::to_string(beep->frequency) + "." +
                   std::to_string(beep->duration);
        }
        break;
    case akVolume:
        if (const auto* volume = dynamic_cast<const zVolume*>(&action))
            return line + "." + std::to_string(volume->level);
        break;
    case akJumpTo:
        if (const auto* jump = dynamic_cast<const zJumpTo*>(&action)) {
            line += "." + JumpFrequencyField(jump->frequency) + ".";
            if (jump->band == radio::bFM) return line + (jump->stereo ? "FM.ST" : "FM.MN");
            return line + "AM.MN";
        }
        break;
    case akPreset:
        if (const auto* preset = dynamic_cast<const zPreset*>(&action)) {
            const bool am = isAmFavorite && isAmFavorite(preset->number);
            return line + "." + std::to_string(preset->number) + (preset->stereo && !am ? ".ST" : ".MN");
        }
        break;
    case akNone: break;
    }
    return {};
}

} // namespace

tScriptResult ParseScript(std::string_view text, tScript& script) { return Parse(text, script, nullptr); }

tScriptResult ReadScriptFile(const std::string& path, tScript& script) {
    std::string bytes;
    bool tooLong = false;
    const bool read = platform::ReadFileChunks(path, [&](std::string_view chunk) {
        bytes.append(chunk);
        tooLong = bytes.size() > kMaxScriptBytes;
        return !tooLong;
    });
    if (!read) return srReadError;
    if (tooLong) return srCorrupt;
    return ParseScript(bytes, script);
}

std::string FormatScript(const std::string& title, const tActions& actions,
                         const std::function<bool(int favorite)>& isAmFavorite) {
    std::string text = TitleLine(title) + "\r\n";
    for (const auto& action : actions) {
        if (!action) continue;
        const std::string line = ActionLine(*action, isAmFavorite);
        if (!line.empty()) text += line + "\r\n";
    }
    return text;
}

bool WriteScriptFile(const std::string& path, const std::string& title, const tActions& actions,
                     const std::function<bool(int favorite)>& isAmFavorite, std::string* error) {
    const std::string text = FormatScript(title, actions, isAmFavorite);
    // A file the reader refuses would lose the whole script the next time
    // it is loaded: better to say so now, while the editor still holds it.
    tScript check;
    std::string why;
    if (Parse(text, check, &why) != srOk) {
        if (error) *error = "The script would not read back: " + why;
        return false;
    }
    return platform::WriteFileAtomically(path, text, error);
}

} // namespace tunevox::script
