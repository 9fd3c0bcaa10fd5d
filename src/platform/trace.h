#pragma once
// Opt-in hardware trace for diagnosing a card. When TUNEVOX_TRACE names a
// file (or "-" for standard error) every hardware operation is written
// there, one line each:
//   W 030C D8        port write (port, value; upper-case hex)
//   R 030C FF        port read and the value read
//   S 125            a wait, in decimal milliseconds
//   TX 1D 23 05 23   the bytes of one serial write
//   RX 06 1D 23 04   the bytes one reply collected
//   OPEN COM1 /dev/ttyS0
//   CLOSE COM1
// Repetition is folded so that a trace stays readable and small (one
// Aztech status read makes 81,920 port reads):
//   R 0351 FF x5     a run of identical consecutive lines: the line once,
//                    " x" and how many times it occurred
//   REPEAT 8 x10240  the block of the 8 lines written just above (as
//                    written: an "x" line counts as one) occurred 10240
//                    times in a row in all; blocks of 2..16 lines
// A folded line is written when the run ends, so the last few lines reach
// the file only at the next different line, at Flush or when the sink
// goes away.
// When tracing is off nothing is wrapped and no sink exists, so it costs
// nothing on the hardware paths.

#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "port_io.h"
#include "sleeper.h"

namespace tunevox::platform {

class TraceSink {
public:
    // Opens the sink named by TUNEVOX_TRACE; null when unset, empty, or the
    // file cannot be opened (a warning then goes to standard error).
    static std::unique_ptr<TraceSink> FromEnvironment();
    // Writes to an already open stream that the sink does not own.
    explicit TraceSink(std::FILE* stream, bool owned = false);
    ~TraceSink();
    TraceSink(const TraceSink&) = delete;
    TraceSink& operator=(const TraceSink&) = delete;

    void PortWrite(uint16_t port, uint8_t value);
    void PortRead(uint16_t port, uint8_t value);
    void Wait(unsigned ms);
    void SerialTx(const uint8_t* bytes, size_t count);
    void SerialRx(const uint8_t* bytes, size_t count);
    void Open(int comNumber, std::string_view device);
    void Close(int comNumber);

    // Writes out what the folding holds back and flushes the stream. A run
    // still going on is cut there.
    void Flush();

    // Formats one line without the newline; exposed for tests.
    static std::string FormatBytes(std::string_view tag, const uint8_t* bytes, size_t count);

    // The longest block of lines that REPEAT folds.
    static constexpr size_t kMaxBlock = 16;

private:
    void Line(std::string text);    // raw lines: identical runs fold here
    void Logical(std::string text); // folded lines: repeated blocks fold here
    void EndBlock();
    void Emit(const std::string& text);

    std::FILE* stream_;
    bool owned_;
    // The last raw line, not written yet, and how often it came in a row.
    std::string held_;
    uint64_t heldCount_ = 0;
    // Lines written as they are, the last kMaxBlock of them.
    std::deque<std::string> written_;
    // A block being repeated: its lines, how far the current repetition
    // has come, and the complete repetitions after the first.
    std::vector<std::string> block_;
    size_t blockPos_ = 0;
    uint64_t blockRepeats_ = 0;
};

// Decorators that write every operation to the sink and pass it on.
class TracingPortIO final : public IPortIO {
public:
    TracingPortIO(IPortIO& inner, TraceSink& sink) : inner_(inner), sink_(sink) {}
    void PortWrite(uint16_t port, uint8_t value) override {
        sink_.PortWrite(port, value);
        inner_.PortWrite(port, value);
    }
    uint8_t PortRead(uint16_t port) override {
        uint8_t v = inner_.PortRead(port);
        sink_.PortRead(port, v);
        return v;
    }

private:
    IPortIO& inner_;
    TraceSink& sink_;
};

class TracingSleeper final : public ISleeper {
public:
    TracingSleeper(ISleeper& inner, TraceSink& sink) : inner_(inner), sink_(sink) {}
    void Sleep(unsigned ms) override {
        sink_.Wait(ms);
        inner_.Sleep(ms);
    }

private:
    ISleeper& inner_;
    TraceSink& sink_;
};

} // namespace tunevox::platform
