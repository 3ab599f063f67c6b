#include "tools/tool_pacing_win32.h"

namespace tavir {

uint32_t TickClock::now() {
    static const int64_t perSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<int64_t>(frequency.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    // In two steps, so that the product does not overflow in a long run.
    const int64_t ticks = static_cast<int64_t>(count.QuadPart);
    const int64_t ms = ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
    return static_cast<uint32_t>(ms);
}

void PaintingWaiter::waitUpTo(uint32_t milliseconds) {
    // Only paint and sent messages wake the wait: a pending click or timer message would wake it
    // at once, again and again, without being taken from the queue.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_PAINT | QS_SENDMESSAGE);
    MSG message;
    // PeekMessage handles the sent messages itself; PM_QS_PAINT takes only paint messages.
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageA(&message);
}

Pacing& programPacing() {
    static TickClock clock;
    static PaintingWaiter waiter;
    static Pacing pacing{&clock, &waiter, kDefaultIntervalMs, 0};
    return pacing;
}

}  // namespace tavir
