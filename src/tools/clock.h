#pragma once
#include <cstdint>

namespace tavir {

// The platform's millisecond tick counter. It wraps after 49.7 days; users subtract in unsigned
// 32-bit arithmetic, so a wrap is harmless.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t now() = 0;
};

// How a run passes the time until its next request may go out. The wait may end early (the
// Win32 side wakes for every message it must handle while it waits); the caller reads the clock
// again and waits for the rest. It must not send requests or touch the run's state.
class PaceWaiter {
public:
    virtual ~PaceWaiter() = default;
    virtual void waitUpTo(uint32_t milliseconds) = 0;
};

}  // namespace tavir
