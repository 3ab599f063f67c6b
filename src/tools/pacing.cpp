#include "tools/pacing.h"

namespace tavir {

int speedChoiceOf(uint32_t intervalMs) {
    for (int i = 0; i < kSpeedCount; ++i) {
        if (kSpeedIntervals[i] == intervalMs) return i;
    }
    return -1;
}

void pace(Pacing& pacing) {
    for (;;) {
        const uint32_t now = pacing.clock->now();
        const uint32_t elapsed = now - pacing.mark;
        if (elapsed >= pacing.requestIntervalMs) {
            pacing.mark = now;
            return;
        }
        pacing.waiter->waitUpTo(pacing.requestIntervalMs - elapsed);
    }
}

void resetPacing(Pacing& pacing) {
    pacing.mark = pacing.clock->now();
}

}  // namespace tavir
