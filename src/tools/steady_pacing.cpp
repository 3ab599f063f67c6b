#include "tools/steady_pacing.h"

#include <chrono>
#include <thread>

namespace tavir {

uint32_t SteadyClock::now() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void SleepingWaiter::waitUpTo(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace tavir
