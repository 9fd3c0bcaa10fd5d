#include "serial_line_settings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace tunevox::platform::detail {

bool SetArbitraryLineSpeed(int fd, unsigned rate) {
#if defined(TCGETS2) && defined(BOTHER)
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_ospeed = rate;
    // An input speed of 0 would mean "same as output" only in the old
    // interface; give both explicitly.
    t.c_cflag &= ~(CBAUD << IBSHIFT);
    t.c_cflag |= BOTHER << IBSHIFT;
    t.c_ispeed = rate;
    return ioctl(fd, TCSETS2, &t) == 0;
#else
    (void)fd;
    (void)rate;
    errno = EINVAL;
    return false;
#endif
}

} // namespace tunevox::platform::detail
