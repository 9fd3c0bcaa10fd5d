#pragma once
// Blanks as the script file trims them: spaces and tabs, nothing else (a
// title keeps whatever other bytes it holds).

#include <string_view>

namespace tunevox::script::detail {

inline std::string_view TrimBlanks(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

} // namespace tunevox::script::detail
