#pragma once
// A clock and a waiter from the standard library, for a front end without a message loop (the
// command line): the waiter sleeps, so a paced run does not keep a processor busy.
#include "tools/clock.h"

namespace tavir {

class SteadyClock : public Clock {
public:
    uint32_t now() override;  // milliseconds of the monotonic clock, wrapping at 32 bits
};

class SleepingWaiter : public PaceWaiter {
public:
    void waitUpTo(uint32_t milliseconds) override;
};

}  // namespace tavir
