#include "number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tunevox::platform {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

} // namespace

std::string FormatFixed(double x, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 17) decimals = 17;
    if (!std::isfinite(x)) x = 0.0;
    char buf[400]; // the largest double has 309 integer digits
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "0";
    return std::string(buf, r.ptr);
}

std::optional<double> ParseReal(std::string_view text) {
    text = Trim(text);
    std::string s;
    s.reserve(text.size());
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool separator = false, digit = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            s += c;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            s += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    if (s.front() == '.') s.insert(s.begin(), '0'); // from_chars wants a digit first
    double v = 0.0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

std::optional<long long> ParseInteger(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    long long v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v, 10);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return v;
}

} // namespace tunevox::platform
