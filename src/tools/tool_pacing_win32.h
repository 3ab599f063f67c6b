#pragma once
// The pacing of the parameter tools in TAVIR.EXE: the tick counter, and a wait that sleeps in the
// message queue instead of spinning.
#include <windows.h>

#include "tools/pacing.h"

namespace tavir {

// Milliseconds of the performance counter, wrapping at 32 bits like the tick count. The tick count
// itself moves in steps of up to 16 ms on some systems (Wine among them), which would let requests
// go out up to a step early.
class TickClock : public Clock {
public:
    uint32_t now() override;
};

// Sleeps until the time is up or a window of this thread must be painted or answer a sent
// message; those it handles, so the dialog and its progress bar are redrawn during a run. Input and
// posted messages stay in the queue and are handled when the run is over, as they would be after
// the busy wait they replace: a click during a run acts only once the run ends.
class PaintingWaiter : public PaceWaiter {
public:
    void waitUpTo(uint32_t milliseconds) override;
};

}  // namespace tavir
