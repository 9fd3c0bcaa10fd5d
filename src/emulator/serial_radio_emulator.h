#pragma once
// An emulated external serial radio on a pseudo-terminal. The program side
// opens DevicePath() as its COM port; a background thread reads what it
// sends, decodes the radio's four-byte commands (1D 23 xx 23, the tuning
// commands followed by a three-digit channel) and answers status requests
// the way the radio does: 1D 23 04 23 while a station of the list is heard.
//
// The emulator keeps its own descriptor of the terminal side open, so the
// program may close and reopen the port as often as it likes.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "station_list.h"

namespace tunevox::emulator {

struct SerialRadioOptions {
    // Models without AM do not know the AM frequency command.
    bool hasAM = true;
    // Audio state at power-on; the radio keeps it until told otherwise.
    bool startAudioOn = false;
    // Bytes sent before and after every answer to a status request (a
    // line that picks up noise).
    std::vector<uint8_t> replyPrefix;
    std::vector<uint8_t> replySuffix;
    // What the radio answers when nothing is received. Only the tuned
    // answer is known; any other frame must read as "not tuned", so by
    // default the radio answers with a frame of the same shape.
    std::vector<uint8_t> notTunedReply = {0x1D, 0x23, 0x03, 0x23};
    // Never answers (a radio switched off or on another port).
    bool silent = false;
    // Answers every status request with bytes that are no valid frame.
    bool garbage = false;
    // Delay before an answer, and between its bytes, in ms.
    unsigned replyDelayMs = 0;
    unsigned replyByteGapMs = 0;
    // A command whose bytes stop arriving for this long is abandoned.
    unsigned commandTimeoutMs = 500;
};

class SerialRadioEmulator {
public:
    using Options = SerialRadioOptions;

    // The stations are copied; the list may go away after construction.
    explicit SerialRadioEmulator(const StationList& stations, Options options = {});
    ~SerialRadioEmulator();
    SerialRadioEmulator(const SerialRadioEmulator&) = delete;
    SerialRadioEmulator& operator=(const SerialRadioEmulator&) = delete;

    // Creates the pseudo-terminal and starts serving it. False with Error()
    // filled when that fails; true at once when already running.
    bool Start();
    const std::string& Error() const { return error_; }
    // The terminal the program opens (/dev/pts/N); empty before Start.
    const std::string& DevicePath() const { return devicePath_; }
    // Stops the thread and closes the terminal; safe to call twice.
    void Stop();

    ReceiverState State() const;
    // Complete, valid commands decoded so far (status requests included)
    // and status requests answered (or, when silent, received).
    size_t CommandsDecoded() const;
    size_t StatusRequests() const;
    // Waits (bounded) until at least n commands have been decoded.
    bool WaitForCommands(size_t n, std::chrono::milliseconds timeout) const;

private:
    void Run();
    void Feed(uint8_t byte);
    void Restart(uint8_t byte);
    void Execute(uint8_t code);
    void Tune(bool am, int channel);
    void Answer();
    bool Send(const std::vector<uint8_t>& bytes);
    bool PauseMs(unsigned ms);

    const StationList stations_;
    const Options options_;
    std::string error_;
    std::string devicePath_;
    int master_ = -1;
    int slave_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread thread_;

    // Decoder state, used by the thread only.
    enum class Stage { Idle, Hash1, Code, Hash2, Digits };
    Stage stage_ = Stage::Idle;
    uint8_t code_ = 0;
    std::string digits_;
    std::chrono::steady_clock::time_point lastByte_{};

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    ReceiverState state_;
    size_t commands_ = 0;
    size_t statusRequests_ = 0;
};

} // namespace tunevox::emulator
