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
    Flush();
    if (owned_) std::fclose(stream_);
}

void TraceSink::Flush() {
    if (heldCount_ > 0) {
        std::string text = std::move(held_);
        if (heldCount_ > 1) text += " x" + std::to_string(heldCount_);
        held_.clear();
        heldCount_ = 0;
        Logical(std::move(text));
    }
    EndBlock();
    std::fflush(stream_);
}

void TraceSink::Line(std::string text) {
    if (heldCount_ > 0 && text == held_) {
        ++heldCount_;
        return;
    }
    if (heldCount_ > 0) {
        std::string done = std::move(held_);
        if (heldCount_ > 1) done += " x" + std::to_string(heldCount_);
        Logical(std::move(done));
    }
    held_ = std::move(text);
    heldCount_ = 1;
}

void TraceSink::Logical(std::string text) {
    if (!block_.empty()) {
        if (text == block_[blockPos_]) {
            if (++blockPos_ == block_.size()) {
                ++blockRepeats_;
                blockPos_ = 0;
            }
            return;
        }
        EndBlock();
    }
    // Does this line start a repetition of the last k lines written?
    // Consecutive lines differ (identical ones were folded), so k >= 2.
    for (size_t k = 2; k <= written_.size(); ++k) {
        if (written_[written_.size() - k] == text) {
            block_.assign(written_.end() - static_cast<std::ptrdiff_t>(k), written_.end());
            blockPos_ = 1;
            blockRepeats_ = 0;
            return;
        }
    }
    Emit(text);
}

void TraceSink::EndBlock() {
    if (block_.empty()) return;
    std::vector<std::string> block = std::move(block_);
    block_.clear();
    if (blockRepeats_ > 0) {
        Emit("REPEAT " + std::to_string(block.size()) + " x" + std::to_string(blockRepeats_ + 1));
    }
    // The lines of a repetition that did not complete were held back.
    for (size_t i = 0; i < blockPos_; ++i) Emit(block[i]);
    blockPos_ = 0;
    blockRepeats_ = 0;
}

void TraceSink::Emit(const std::string& text) {
    std::fputs(text.c_str(), stream_);
    std::fputc('\n', stream_);
    written_.push_back(text);
    if (written_.size() > kMaxBlock) written_.pop_front();
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
