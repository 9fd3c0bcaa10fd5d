#include "radioset/number_text.h"

#include "platform/number_text.h"

namespace tunevox::radioset {

std::string_view TrimBlanks(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string FormatFixed(double x, int decimals, int minIntegerDigits, char separator) {
    std::string text = platform::FormatFixed(x, decimals);

    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.erase(0, 1);
    if (text.find_first_not_of("0.") == std::string::npos) negative = false; // no "-0.000"

    size_t dot = text.find('.');
    const size_t integerDigits = dot == std::string::npos ? text.size() : dot;
    if (minIntegerDigits > 0 && integerDigits < static_cast<size_t>(minIntegerDigits)) {
        const size_t pad = static_cast<size_t>(minIntegerDigits) - integerDigits;
        text.insert(0, pad, '0');
        if (dot != std::string::npos) dot += pad;
    }
    if (dot != std::string::npos) text[dot] = separator;
    if (negative) text.insert(0, 1, '-');
    return text;
}

} // namespace tunevox::radioset
