#include "trace.h"

#include <cstdlib>
#include <cstring>

namespace tunevox::platform {

std::unique_ptr<TraceSink> TraceSink::FromEnvironment() {
    const char* name = std::getenv("TUNEVOX_TRACE");
    if (name == nullptr || *name == '\0') return nullptr;
    if (std::strcmp(name, "-") == 0) return std::make_unique<TraceSink>(stderr, false);
    std::FILE* f = std::fopen(name, "w");
    if (f == nullptr) {
        std::fprintf(stderr, "tunevox: cannot open trace file %s: %s\n", name, std::strerror(errno));
        return nullptr;
    }
    // Line buffering so a trace survives a crash up to the last operation.
    std::setvbuf(f, nullptr, _IOLBF, 0);
    return std::make_unique<TraceSink>(f, true);
}

TraceSink::TraceSink(std::FILE* stream, bool owned) : stream_(stream), owned_(owned) {}

TraceSink::~TraceSink() {
    if (owned_) std::fclose(stream_);
    else std::fflush(stream_);
}

void TraceSink::Line(const std::string& text) {
    std::fputs(text.c_str(), stream_);
    std::fputc('\n', stream_);
}

void TraceSink::PortWrite(uint16_t port, uint8_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "W %04X %02X", port, value);
    Line(buf);
}

void TraceSink::PortRead(uint16_t port, uint8_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "R %04X %02X", port, value);
    Line(buf);
}

void TraceSink::Wait(unsigned ms) { Line("S " + std::to_string(ms)); }

std::string TraceSink::FormatBytes(std::string_view tag, const uint8_t* bytes, size_t count) {
    std::string s(tag);
    char buf[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, " %02X", bytes[i]);
        s += buf;
    }
    return s;
}

void TraceSink::SerialTx(const uint8_t* bytes, size_t count) { Line(FormatBytes("TX", bytes, count)); }
void TraceSink::SerialRx(const uint8_t* bytes, size_t count) { Line(FormatBytes("RX", bytes, count)); }

void TraceSink::Open(int comNumber, std::string_view device) {
    Line("OPEN COM" + std::to_string(comNumber) + " " + std::string(device));
}

void TraceSink::Close(int comNumber) { Line("CLOSE COM" + std::to_string(comNumber)); }

} // namespace tunevox::platform
