#pragma once
// What the radio set needs of the world outside it: the hardware (real or
// emulated), the time of day and timers that the owner's event loop drives.
// The program passes real ones; the tests pass ones they control, so every
// rule of the radio set runs without a display, a card or a clock.

#include "radio/radio_types.h"

#include <functional>
#include <memory>
#include <string>

namespace tunevox::radio {
class TRadioCard;
}
namespace tunevox::platform {
class ISoundSystem;
class IEventPoster;
class IRadioDeviceOpener;
struct tPortAccessError;
}

namespace tunevox::radioset {

// The card and its surroundings.
class ICardHost {
public:
    virtual ~ICardHost() = default;
    virtual radio::TRadioCard& Card() = 0;
    // Whether the I/O ports of a port-card model can be reached (always on
    // emulated hardware); `why` receives the system's cause when not.
    virtual bool PortAccessAvailable(radio::tModel model, int port, platform::tPortAccessError* why) = 0;
    // Whether COM n can be opened now (a settings dialog lists only those).
    virtual bool ComPortFree(int com) = 0;
    // The owner's own waits (the settle time after opening some models).
    virtual void Wait(unsigned ms) = 0;
    // The device file that stands for COM n.
    virtual std::string ComDevicePath(int com) const = 0;
    virtual void SetComDevicePath(int com, const std::string& path) = 0;
    virtual bool Emulated() const = 0;
    // The radio device nodes (/dev/radioN) the card opens, for a settings
    // dialog that lists them and asks what each can do. Null: none.
    virtual platform::IRadioDeviceOpener* RadioDevices() { return nullptr; }
    // The sound card for a mixer window of its own (null: none), and the
    // event loop: mixer notifications and the steps of long operations are
    // posted there, never run inside the call that caused them.
    virtual platform::ISoundSystem* Sound() = 0;
    virtual platform::IEventPoster& Events() = 0;
};

// A time of day, to the second, in the user's time zone.
struct tTimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual tTimeOfDay Now() const = 0;
};

// A repeating timer of the owner's event loop.
class ITimer {
public:
    virtual ~ITimer() = default;
    // Starts, or starts again, with a full interval.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
    virtual int Interval() const = 0;
};

class ITimerFactory {
public:
    virtual ~ITimerFactory() = default;
    // name: what the timer is for ("Clock", "Test", "Beeper", "TSleep"), so
    // that the owner's tools can find it. onTimeout runs from the event loop.
    virtual std::unique_ptr<ITimer> MakeTimer(const std::string& name, std::function<void()> onTimeout) = 0;
};

} // namespace tunevox::radioset
