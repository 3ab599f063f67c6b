#pragma once
// The spacing of the parameter tools' requests: every request of a run is followed by one pace,
// which returns once the request interval has passed since the previous pace ended.
#include <cstdint>

#include "tools/clock.h"

namespace tavir {

// The five speeds of the dialogs, in the order of their radio buttons.
constexpr uint32_t kSpeedIntervals[] = {100, 200, 500, 1000, 2000};
constexpr int kSpeedCount = 5;
constexpr uint32_t kDefaultIntervalMs = 1000;

// The radio of an interval (0..4), or -1 for a stored value that is none of the five: then no
// radio is checked and that interval stays in force.
int speedChoiceOf(uint32_t intervalMs);

// One set for the whole program: the three parameter tools share the interval and the mark.
struct Pacing {
    Clock* clock = nullptr;
    PaceWaiter* waiter = nullptr;
    uint32_t requestIntervalMs = kDefaultIntervalMs;
    uint32_t mark = 0;  // the tick at which the last pace ended
};

// Waits until requestIntervalMs have passed since the mark (unsigned 32-bit difference), then
// sets the mark to now. The waiting is the waiter's: no busy loop here.
void pace(Pacing& pacing);

// Sets the mark to now, so the next pace waits a whole interval.
void resetPacing(Pacing& pacing);

}  // namespace tavir
