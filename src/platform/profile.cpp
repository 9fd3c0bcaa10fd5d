#include "profile.h"

// The program only ever stores plain 8-bit text (UTF-8), so SimpleIni's
// wide-character converters are not wanted; without this it would pull in a
// ConvertUTF library the system does not ship. Debian's header keeps the
// template definitions behind SI_IMPLEMENTATION (its shared library holds
// only other instantiations), so this one file instantiates them.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <climits>
#include <list>

namespace tunevox::platform {

namespace {

// CSimpleIniA compares sections and keys without regard to ASCII letter
// case (CSimpleIniCaseA would be the case-sensitive one).
using Ini = CSimpleIniA;

// SimpleIni keeps raw pointers; a NUL inside a name would cut it short, and
// an embedded line break in a value would split it into two lines of the
// file and let it forge keys. A profile value is one line.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    return out;
}

std::string Trimmed(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

// One line as the document takes it. Blanks in front of it are dropped
// (names are trimmed anyway, and SimpleIni ties an indented comment to its
// section on one save and not on the next), and so is a UTF-8 byte-order
// mark at its start, wherever the line stands (files pasted together carry
// one in the middle, and a key must not change its name by it). A section
// header that lost its "]" names its section by the rest of the line, as
// profile readers of old took it; SimpleIni would run it on into the next
// line and grow the file at every save.
void AppendLine(std::string& out, std::string_view line) {
    const auto skipBlanks = [&] {
        const size_t first = line.find_first_not_of(" \t");
        line.remove_prefix(first == std::string_view::npos ? line.size() : first);
    };
    skipBlanks();
    while (line.substr(0, 3) == "\xEF\xBB\xBF") {
        line.remove_prefix(3);
        skipBlanks();
    }
    // Blank lines before the first line of text carry nothing, and SimpleIni
    // would tie a comment after them to the first section on one save and
    // not on the next. A line that is neither a section, a key=value pair
    // with a key nor a comment means nothing either, and is dropped here for
    // the same reason.
    if (out.empty() && line.empty()) return;
    const size_t equals = line.find('=');
    const bool meaningful = line.empty() || line.front() == '[' || line.front() == ';' || line.front() == '#' ||
                            (equals != std::string_view::npos && equals > 0);
    if (!meaningful) return;
    if (!line.empty() && line.front() == '[') {
        // A header names its section up to "]", or to the line's end; one
        // that names nothing is no header, and what follows stays where it
        // was.
        const std::string_view name = line.substr(1, line.find(']') == std::string_view::npos ? line.npos
                                                                                             : line.find(']') - 1);
        if (name.find_first_not_of(" \t") == std::string_view::npos) return;
        out.append(line);
        if (line.find(']') == std::string_view::npos) out.push_back(']');
        out.push_back('\n');
        return;
    }
    out.append(line);
    out.push_back('\n');
}

// LF, CR LF and lone CR all become LF; NULs become blanks (SimpleIni would
// stop reading at one); every line is taken as AppendLine says.
std::string NormalizedText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            AppendLine(out, line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line.push_back(c == '\0' ? ' ' : c);
        }
    }
    if (!line.empty()) AppendLine(out, line);
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The integer reading of a profile value: "0x" and hexadecimal digits, or an
// optional sign and the leading decimal digits; nothing readable is 0.
// Values beyond the int range saturate instead of wrapping around.
int IntegerOf(std::string_view s) {
    long long value = 0;
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && HexDigit(s[2]) >= 0) {
        for (size_t i = 2; i < s.size() && HexDigit(s[i]) >= 0; ++i) {
            value = std::min(value * 16 + HexDigit(s[i]), kLimit);
        }
        return static_cast<int>(std::min<long long>(value, INT_MAX));
    }
    bool negative = false;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = std::min(value * 10 + (s[i] - '0'), kLimit);
    }
    if (negative) return static_cast<int>(std::max(-value, static_cast<long long>(INT_MIN)));
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

} // namespace

struct TProfile::Impl {
    Ini ini;
    Impl() : ini(/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false) { ini.SetSpaces(false); }

    const char* Value(std::string_view section, std::string_view key) const {
        return ini.GetValue(OneLine(section).c_str(), OneLine(key).c_str(), nullptr);
    }
};

TProfile::TProfile() : impl_(std::make_unique<Impl>()) {}
TProfile::~TProfile() = default;

void TProfile::LoadText(std::string_view text) {
    impl_->ini.Reset();
    const std::string normal = NormalizedText(text);
    impl_->ini.LoadData(normal.data(), normal.size());
    // Comments alone before the first section make a nameless section of no
    // key, which SimpleIni would save as blank lines that the next load
    // drops.
    if (impl_->ini.GetSectionSize("") == 0) impl_->ini.Delete("", nullptr);
}

std::string TProfile::ToText() const {
    std::string out;
    impl_->ini.Save(out, /*addSignature=*/false);
    return out;
}

bool TProfile::SectionExists(std::string_view section) const {
    return impl_->ini.GetSectionSize(OneLine(section).c_str()) >= 0;
}

bool TProfile::ValueExists(std::string_view section, std::string_view key) const {
    return impl_->Value(section, key) != nullptr;
}

std::vector<std::string> TProfile::ReadSection(std::string_view section) const {
    Ini::TNamesDepend keys;
    impl_->ini.GetAllKeys(OneLine(section).c_str(), keys);
    keys.sort(Ini::Entry::LoadOrder());
    std::vector<std::string> names;
    for (const auto& k : keys) names.emplace_back(k.pItem);
    return names;
}

std::string TProfile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    const char* v = impl_->Value(section, key);
    return v ? Trimmed(v) : std::string(fallback);
}

int TProfile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const char* v = impl_->Value(section, key);
    if (!v) return fallback;
    const std::string text = Trimmed(v);
    // An empty value counts as absent, as the profile readers of old had it.
    if (text.empty()) return fallback;
    return IntegerOf(text);
}

bool TProfile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    impl_->ini.SetValue(OneLine(section).c_str(), OneLine(key).c_str(), OneLine(value).c_str());
}

void TProfile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TProfile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TProfile::EraseSection(std::string_view section) {
    impl_->ini.Delete(OneLine(section).c_str(), nullptr);
}

} // namespace tunevox::platform
