#include "radioset/card_setup.h"

#include "platform/port_io.h"
#include "radio/radio_card.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tunevox::radioset {

namespace {

std::string Hex(unsigned v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

} // namespace

int EffectivePort(const radio::tDevCap& caps, int port) {
    return port >= 1 && port <= caps.PortCount ? port : caps.DefaultPort;
}

radio::tVolumeLine SetUsableVolumeLine(radio::TRadioCard& card, radio::tVolumeLine line) {
    card.SetVolumeLine(line);
    if (card.VolumeLine() >= radio::vlLineIn && !card.MixerLineUsable(card.VolumeLine()))
        card.SetVolumeLine(radio::vlNative);
    return card.VolumeLine();
}

std::string PortRangeText(uint16_t base, unsigned count) {
    if (count <= 1) return Hex(base);
    return Hex(base) + "-" + Hex(base + count - 1);
}

std::string PortAccessMessage(uint16_t base, unsigned count, const platform::tPortAccessError& why,
                              const tRemedies& remedies) {
    const std::string what =
        std::string(count <= 1 ? "cannot reach I/O port " : "cannot reach I/O ports ") + PortRangeText(base, count);
    if (why.invalidRange) return what + ": not an address of this card; " + remedies.choosePort;
    const std::string reason = why.Text();
    if (why.Unsupported()) {
        return what + ": this system offers no I/O port access (" + reason + "); " + remedies.useVirtual +
               " to try the program on emulated hardware";
    }
    if (why.PermissionDenied()) {
        return what + " (" + reason + "); run as root or grant CAP_SYS_RAWIO (sudo setcap cap_sys_rawio+ep " +
               remedies.program + "), or " + remedies.useVirtual;
    }
    return what + " (" + reason + ")";
}

std::string ComPortMessage(int com, const std::string& path, int error, const tRemedies& remedies) {
    const std::string head = "cannot open COM" + std::to_string(com) + " (" + path + "): ";
    const std::string text = error != 0 ? std::strerror(error) : "unknown error";
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return head + "no such device (" + text + "); " + remedies.nameDevice;
    case EBUSY:
        return head + "it is in use by another program (" + text + ")";
    case EACCES:
    case EPERM:
        return head + "not permitted (" + text + "); add your user to the dialout group and log in again";
    case ENOTTY:
        return head + "not a serial port (" + text + ")";
    default:
        return head + text;
    }
}

} // namespace tunevox::radioset
