// The INI document (TProfile::LoadText) on any bytes. Beyond not crashing,
// a document must survive its own save: the program reads Tunevox.ini,
// writes it back at exit and reads it again at the next start, so
//   - the text written after a load, loaded again, is written identically
//     (otherwise the file drifts or grows with every start), and
//   - every key readable after the first load reads the same value after
//     the second (otherwise a save loses or changes settings of others).

#include "platform/profile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using tunevox::platform::TProfile;

namespace {

// The sections of a saved document: the nameless one (keys before any
// header) and every "[name]" line ToText wrote.
std::vector<std::string> SectionsOf(const std::string& text) {
    std::vector<std::string> sections{""};
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + start, end - start);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            sections.emplace_back(line.substr(1, line.size() - 2));
        start = end + 1;
    }
    return sections;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    TProfile first;
    first.LoadText(input);
    const std::string t1 = first.ToText();

    TProfile second;
    second.LoadText(t1);
    const std::string t2 = second.ToText();
    if (t1 != t2) __builtin_trap();

    for (const std::string& section : SectionsOf(t1)) {
        for (const std::string& key : first.ReadSection(section)) {
            if (!second.ValueExists(section, key)) __builtin_trap();
            if (first.ReadString(section, key, "") != second.ReadString(section, key, ""))
                __builtin_trap();
        }
    }
    return 0;
}
