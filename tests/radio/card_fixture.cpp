#include "card_fixture.h"

#include <cstdio>

namespace tunevox::radio::test {

std::string ToString(const std::vector<Op>& ops) {
    std::string s;
    char buf[32];
    for (const Op& op : ops) {
        if (op.kind == 'S') std::snprintf(buf, sizeof buf, "S%u ", op.value);
        else std::snprintf(buf, sizeof buf, "%c%X:%02X ", op.kind, op.port, op.value);
        s += buf;
    }
    return s;
}

std::vector<uint8_t> RecordingPorts::Writes() const {
    std::vector<uint8_t> w;
    for (const Op& op : log) {
        if (op.kind == 'W') w.push_back(static_cast<uint8_t>(op.value));
    }
    return w;
}

unsigned RecordingPorts::WaitedMs() const {
    unsigned t = 0;
    for (const Op& op : log) {
        if (op.kind == 'S') t += op.value;
    }
    return t;
}

std::vector<int> BitsOf(const std::vector<uint8_t>& writes, size_t first, size_t count, size_t width,
                        const std::function<int(const uint8_t*)>& decode) {
    std::vector<int> bits;
    for (size_t i = 0; i < count && first + (i + 1) * width <= writes.size(); ++i) {
        bits.push_back(decode(&writes[first + i * width]));
    }
    return bits;
}

} // namespace tunevox::radio::test
