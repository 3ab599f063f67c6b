#include "tools/tool_pacing_win32.h"

namespace tavir {

namespace {

int64_t countsPerSecond() {
    static const int64_t perSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<int64_t>(frequency.QuadPart);
    }();
    return perSecond;
}

int64_t counter() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<int64_t>(count.QuadPart);
}

}  // namespace

uint32_t TickClock::now() {
    const int64_t perSecond = countsPerSecond();
    // In two steps, so that the product does not overflow in a long run.
    const int64_t ticks = counter();
    const int64_t ms = ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
    return static_cast<uint32_t>(ms);
}

void PaintingWaiter::waitUpTo(uint32_t milliseconds) {
    // A timed wait ends a little after its time, and each request's pace would add that to the
    // run. So the wait sleeps until the last millisecond, and the last one is yielded away.
    const int64_t deadline = counter() + countsPerSecond() * milliseconds / 1000;
    const DWORD sleep = milliseconds > 1 ? milliseconds - 1 : 0;
    // Only paint and sent messages wake the wait: a pending click or timer message would wake it
    // at once, again and again, without being taken from the queue.
    const DWORD woken = MsgWaitForMultipleObjects(0, nullptr, FALSE, sleep, QS_PAINT | QS_SENDMESSAGE);
    MSG message;
    // PeekMessage handles the sent messages itself; PM_QS_PAINT takes only paint messages.
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageA(&message);
    if (woken != WAIT_TIMEOUT) return;  // the pace asks again for what is left
    while (counter() < deadline) SwitchToThread();
}

}  // namespace tavir
