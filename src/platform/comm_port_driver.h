#pragma once
// Serial-port driver for the external radios, on termios.
// The settings are properties with the values the radios use as defaults;
// OpenPort applies them: 9600 8N1, no flow control, DTR and RTS on while
// open, exclusive open. Reads and writes return at once at the OS level;
// ReadByte and WriteBytes implement InputTimeout and OutputTimeout with one
// deadline each, retrying on EINTR and EAGAIN.

#include <cstddef>
#include <cstdint>
#include <string>

#include "com_port_map.h"

namespace tunevox::platform {

class TraceSink;

// pnCOM1 .. pnCOM16, ordinals 0..15.
enum TComPortNumber : int {
    pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8,
    pnCOM9, pnCOM10, pnCOM11, pnCOM12, pnCOM13, pnCOM14, pnCOM15, pnCOM16
};
enum TComPortBaudRate : int {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br115200
};
enum TComPortDataBits : int { db5BITS, db6BITS, db7BITS, db8BITS };
enum TComPortStopBits : int { sb1BITS, sb1HALFBITS, sb2BITS };
enum TComPortParity : int { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum TComPortHwHandshaking : int { hhNONE, hhNONERTSON, hhRTSCTS };
enum TComPortSwHandshaking : int { shNONE, shXONXOFF };

class TCommPortDriver {
public:
    // The map is read at each OpenPort; it must outlive the driver.
    explicit TCommPortDriver(const ComPortMap& map, TraceSink* trace = nullptr);
    ~TCommPortDriver();
    TCommPortDriver(const TCommPortDriver&) = delete;
    TCommPortDriver& operator=(const TCommPortDriver&) = delete;

    // Ignored while the port is open.
    void SetComPort(TComPortNumber port);
    TComPortNumber ComPort() const { return comPort_; }

    TComPortBaudRate ComPortSpeed = br9600;
    TComPortDataBits ComPortDataBits = db8BITS;
    TComPortStopBits ComPortStopBits = sb1BITS;
    TComPortParity ComPortParity = ptNONE;
    TComPortHwHandshaking ComPortHwHandshaking = hhNONERTSON;
    TComPortSwHandshaking ComPortSwHandshaking = shNONE;
    uint16_t ComPortInBufSize = 2048;
    uint16_t ComPortOutBufSize = 2048;
    bool EnableDTROnOpen = true;
    unsigned OutputTimeout = 500; // ms
    unsigned InputTimeout = 200;  // ms
    bool CheckLineStatus = false;
    unsigned ComPortPollingDelay = 50; // ms

    // Opens the device mapped to COM (ComPort()+1) exclusively and applies
    // the settings. Returns whether the port is open.
    // ClosePort waits up to OutputTimeout for the output still queued to
    // leave and only then drops what is left.
    bool OpenPort();
    void ClosePort();
    bool IsOpen() const { return fd_ >= 0; }
    // The device path the last OpenPort used (for messages).
    const std::string& DevicePath() const { return devicePath_; }
    // Why the last OpenPort failed, as an errno: ENOENT (no such device),
    // EACCES or EPERM (not permitted), EBUSY (held by another program or
    // open already), ENOTTY (not a serial device), EINVAL (settings the
    // device refuses) or another system error. 0 after a success.
    int LastOpenError() const { return lastOpenError_; }

    // Returns the number of bytes sent; 0 on a closed port.
    size_t WriteBytes(const uint8_t* bytes, size_t count);
    // Waits up to InputTimeout ms for one byte. False on a closed port.
    bool ReadByte(uint8_t& out);
    void DiscardBuffers(bool input, bool output);
    void SetDtrLine(bool on);
    void SetRtsLine(bool on);

    // Collects bytes until InputTimeout passes without one; the reply is
    // written to the trace as one RX line.
    std::string ReadAll();

private:
    const ComPortMap& map_;
    TraceSink* trace_;
    TComPortNumber comPort_ = pnCOM1;
    int fd_ = -1;
    std::string devicePath_;
    int lastOpenError_ = 0;
};

// Whether COM n (1..16) could be opened exclusively right now.
bool ComPortFree(const ComPortMap& map, int comNumber);

} // namespace tunevox::platform
