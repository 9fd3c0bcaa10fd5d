// SplitTextLines, below every reader of a text file, on any bytes. Beyond
// not crashing: no line keeps a CR or LF, and the lines written again with
// LF endings split into the same lines (no line lost, merged or invented).
// A first line that itself starts with a byte-order mark is left out of the
// second check: written at the very start again, that mark is dropped too.

#include "platform/text_lines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using tunevox::platform::SplitTextLines;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto lines = SplitTextLines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string joined;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
        joined += line;
        joined += '\n';
    }
    if (!lines.empty() && lines.front().starts_with("\xEF\xBB\xBF")) return 0;
    if (SplitTextLines(joined) != lines) __builtin_trap();
    return 0;
}
