// The editor's time rules: where a new or moved action may go in a list
// kept in order of time, one action a minute.

#include "script/script.h"

#include <algorithm>

namespace tunevox::script {

std::optional<tMinute> AppendTime(const tActions& actions, tMinute now) {
    if (actions.empty()) return std::clamp(now, 0, kLastMinute);
    const tMinute last = actions.back()->time;
    if (last >= kLastMinute) return std::nullopt; // the day is full
    return std::max(last + 1, 0);
}

std::optional<tMinute> InsertTime(const tActions& actions, size_t c) {
    if (actions.empty() || c > actions.size()) return std::nullopt;
    if (c == actions.size()) return AppendTime(actions, 0);
    const tMinute next = actions[c]->time;
    if (c == 0) {
        // A minute before the first, but never midnight, which no file holds.
        if (next <= 1 || next > kLastMinute) return std::nullopt;
        return next - 1;
    }
    const tMinute previous = actions[c - 1]->time;
    if (next - previous <= 1 || previous < 0) return std::nullopt;
    return previous + 1;
}

tTimeRange RangeOf(const tActions& actions, size_t i) {
    if (i >= actions.size()) return {};
    tTimeRange range;
    range.begin = i == 0 ? 0 : actions[i - 1]->time + 1;
    range.end = i + 1 == actions.size() ? kLastMinute : actions[i + 1]->time - 1;
    range.begin = std::clamp(range.begin, 0, kLastMinute);
    range.end = std::clamp(range.end, 0, kLastMinute);
    if (range.begin > range.end) {
        // Neighbours at its own minute (or out of order): it stays put.
        const tMinute own = std::clamp(actions[i]->time, 0, kLastMinute);
        range = {own, own};
    }
    return range;
}

tMinuteLimits MinuteLimits(const tTimeRange& range, int hour) {
    const int beginHour = HourOf(range.begin), endHour = HourOf(range.end);
    hour = std::clamp(hour, beginHour, std::max(beginHour, endHour));
    tMinuteLimits limits;
    if (hour == beginHour) limits.low = MinuteOf(range.begin);
    if (hour == endHour) limits.high = MinuteOf(range.end);
    if (limits.low > limits.high) limits.high = limits.low; // a range given backwards
    return limits;
}

} // namespace tunevox::script
