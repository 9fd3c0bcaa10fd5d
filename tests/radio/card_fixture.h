#pragma once
// Shared pieces of the card tests: a port bus that records every operation
// (and the waits between them) in one log, and a card wired to it.

#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/com_port_map.h"
#include "platform/port_io.h"
#include "platform/sleeper.h"
#include "radio/radio_card.h"

namespace tunevox::radio::test {

struct Op {
    char kind; // 'W' write, 'R' read, 'S' wait
    uint16_t port;
    uint32_t value; // byte written or read; ms for a wait
    bool operator==(const Op&) const = default;
};

std::string ToString(const std::vector<Op>& ops);

// Answers reads through a script and keeps the log; an attached device (an
// emulator) sees the same operations.
class RecordingPorts final : public platform::IPortIO, public platform::ISleeper {
public:
    std::function<uint8_t(uint16_t)> readValue = [](uint16_t) -> uint8_t { return 0xFF; };
    platform::IPortIO* device = nullptr;
    platform::VirtualSleeper clock;
    // Set: every write throws after it is logged (a port seam that fails).
    bool failWrites = false;

    void PortWrite(uint16_t port, uint8_t value) override {
        log.push_back({'W', port, value});
        if (failWrites) throw std::runtime_error("port write failed");
        if (device) device->PortWrite(port, value);
    }
    uint8_t PortRead(uint16_t port) override {
        uint8_t v = device ? device->PortRead(port) : readValue(port);
        log.push_back({'R', port, v});
        return v;
    }
    void Sleep(unsigned ms) override {
        log.push_back({'S', 0, ms});
        clock.Sleep(ms);
    }

    std::vector<Op> log;
    std::vector<uint8_t> Writes() const;
    unsigned WaitedMs() const;
    void Clear() { log.clear(); }
};

// Port access as the card asks for it: every Acquire and Release in order,
// and a way to refuse.
class RecordingAccess final : public platform::IPortAccess {
public:
    struct Call {
        char kind; // 'A' acquire, 'R' release
        uint16_t base;
        unsigned count;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    std::optional<platform::tPortAccessError> refuse; // set: Acquire fails with it
    bool Acquire(uint16_t base, unsigned count, platform::tPortAccessError* why) override {
        calls.push_back({'A', base, count});
        if (refuse) {
            if (why) *why = *refuse;
            return false;
        }
        held = {base, count};
        return true;
    }
    void Release() override {
        calls.push_back({'R', held.first, held.second});
        held = {0, 0};
    }
    std::pair<uint16_t, unsigned> held{0, 0};
};

struct CardRig {
    RecordingPorts ports;
    RecordingAccess access;
    platform::ComPortMap comPorts;
    std::unique_ptr<TRadioCard> card;

    CardRig() {
        TRadioCardEnvironment env;
        env.portIO = &ports;
        env.sleeper = &ports;
        env.comPorts = &comPorts;
        env.portAccess = &access;
        card = std::make_unique<TRadioCard>(env);
    }
    // Selects a model on a port index and opens it, then forgets the log.
    TRadioCard& Open(tModel model, int port = 1) {
        card->SetModel(model);
        card->SetPort(port);
        card->SetVolumeLine(vlNative);
        card->Open();
        ports.Clear();
        return *card;
    }
};

// The bits a write sequence carries, decoded by the given pattern length.
std::vector<int> BitsOf(const std::vector<uint8_t>& writes, size_t first, size_t count, size_t width,
                        const std::function<int(const uint8_t*)>& decode);

} // namespace tunevox::radio::test
