#pragma once
// Internals of the serial driver, apart so they can be checked directly:
// a pseudo-terminal silently forces eight data bits and no parity, so the
// mapping of those settings cannot be observed through one.

struct termios;

namespace tunevox::platform {
class TCommPortDriver;
}

namespace tunevox::platform::detail {

// Turns the driver's settings into t (raw binary line, speed included).
// customRate is set to a rate that has no Bxxx constant (then to be applied
// with SetArbitraryLineSpeed after tcsetattr), else 0. False for a setting
// outside its enumeration.
bool BuildLineSettings(const TCommPortDriver& driver, termios& t, unsigned& customRate);

// Baud rates without a Bxxx constant (14400, 56000) can only be set through
// the kernel's termios2 interface, whose header cannot be mixed with
// <termios.h>; it lives in its own translation unit. Sets input and output
// speed of the terminal fd; false (errno set) when the device refuses.
bool SetArbitraryLineSpeed(int fd, unsigned rate);

} // namespace tunevox::platform::detail
