#include "sleeper.h"

#include <chrono>
#include <thread>

namespace tunevox::platform {

void SystemSleeper::Sleep(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint64_t SystemSleeper::NowMs() const {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace tunevox::platform
