// The live values of the current child window: the display start half a second after it became
// current, the reply check half a second after that, and the values the reader thread received.
// Nothing here runs on another thread but the timer callbacks and the handover's wake-up, and
// those only post a message to the debugger window: the window, its child windows, their items
// and the sequence of starts belong to the user-interface thread alone.
#include <atomic>

#include "debugwin/child_windows_win32.h"
#include "debugwin/display_start.h"
#include "debugwin/item_controls_win32.h"
#include "debugwin/item_value_text.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

constexpr UINT kValuesArrived = WM_APP + 20;
constexpr UINT kDisplayStartDue = WM_APP + 21;
constexpr UINT kReplyCheckDue = WM_APP + 22;
// The timer that takes the values while the user's input waits.
constexpr UINT_PTR kValuesTimer = 0x5641;

constexpr int kDebuggerNumbers = 1000;

// The debugger windows by number, for the posts of the other threads: set and cleared by the
// user-interface thread, read by the timer and reader threads.
std::atomic<HWND> debuggerWindows[kDebuggerNumbers];

// The two pending one-shot timers, so that the debugger window can cancel them when it goes.
std::atomic<UINT> pendingDisplayStart{0};
std::atomic<UINT> pendingReplyCheck{0};

// Gives false when the message could not be posted to a window that is there.
bool postToDebugger(int32_t number, UINT message, WPARAM wParam) {
    if (number < 0 || number >= kDebuggerNumbers) return true;
    HWND window = debuggerWindows[number].load(std::memory_order_acquire);
    return window == nullptr || PostMessageA(window, message, wParam, 0) != 0;
}

// A timer's user data: the debugger number in the high 16 bits, the sequence in the low 16.
DWORD_PTR timerData(int32_t number, int32_t sequence) {
    return (static_cast<DWORD_PTR>(static_cast<uint32_t>(number) & 0xFFFFu) << 16) |
           (static_cast<uint32_t>(sequence) & 0xFFFFu);
}
int32_t numberOf(DWORD_PTR data) {
    return static_cast<int32_t>((data >> 16) & 0xFFFFu);
}
int32_t sequenceOf(DWORD_PTR data) {
    return static_cast<int32_t>(data & 0xFFFFu);
}

void forget(std::atomic<UINT>& pending, UINT id) {
    pending.compare_exchange_strong(id, 0);
}

// A wake-up that could not be posted (the debugger window's queue was full) is posted again by a
// timer until it goes through, so that the values appear even when the stream stops right after.
constexpr UINT kWakeRetryMs = 50;

void CALLBACK wakeRetryElapsed(UINT, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR);

// Gives whether the wake-up is on its way: posted now, or later by the timer.
bool wakeDebugger(int32_t number) {
    if (postToDebugger(number, kValuesArrived, 0)) return true;
    return timeSetEvent(kWakeRetryMs, kWakeRetryMs, wakeRetryElapsed, static_cast<DWORD_PTR>(number),
                        TIME_ONESHOT | TIME_CALLBACK_FUNCTION) != 0;
}

void CALLBACK wakeRetryElapsed(UINT, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
    wakeDebugger(static_cast<int32_t>(data));
}

void CALLBACK displayStartElapsed(UINT id, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
    forget(pendingDisplayStart, id);
    postToDebugger(numberOf(data), kDisplayStartDue, static_cast<WPARAM>(sequenceOf(data)));
}

void CALLBACK replyCheckElapsed(UINT id, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
    forget(pendingReplyCheck, id);
    postToDebugger(numberOf(data), kReplyCheckDue, 0);
}

UINT startTimer(LPTIMECALLBACK elapsed, DWORD_PTR data, std::atomic<UINT>& pending,
                UINT delay = kDisplayDelayMs) {
    UINT id = timeSetEvent(delay, kDisplayDelayMs, elapsed, data, TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
    if (id != 0) pending.store(id);
    return id;
}

void cancelTimer(std::atomic<UINT>& pending) {
    UINT id = pending.exchange(0);
    if (id != 0) timeKillEvent(id);
}

ChildWindow* currentChildOf(DebugWindowSet& set) {
    if (set.currentChild < 0 || set.currentChild >= set.childCount) return nullptr;
    return childWindowOf(set.childWindows[set.currentChild]);
}

// The reply check's side: the values waiting for the window first, then the controls that show
// a value since the start.
class WindowReplies : public ReplySide {
public:
    explicit WindowReplies(DebugWindowSet& set) : set_(set) {}
    void takeWaitingValues() override { showArrivedValues(set_); }
    bool answered(const DebugItem& item) override {
        return item.window != nullptr && IsWindowEnabled(static_cast<HWND>(item.window));
    }

private:
    DebugWindowSet& set_;
};

// Every monitored item of the current child window is asked for, when sequence is still the
// latest start; half a second later its replies are checked.
void startDisplay(DebugWindowSet& set, int32_t sequence) {
    if (!takeDisplayStart(set.displayStartSequence, sequence)) return;
    ChildWindow* current = currentChildOf(set);
    if (current == nullptr) return;
    requestItemValues(current->data, *set.transport);
    startTimer(replyCheckElapsed, timerData(set.number, 0), pendingReplyCheck);
}

// An item whose control is still disabled got no value: it is asked once more.
void checkReplies(DebugWindowSet& set) {
    ChildWindow* current = currentChildOf(set);
    if (current == nullptr) return;
    WindowReplies replies(set);
    if (checkItemReplies(current->data, *set.transport, replies) == 0) {
        ReportMessage(*set.messages, kSystem, text::kNoConnection);
    }
}

}  // namespace

ValueHandover& makeValueHandover(int32_t number) {
    return *new ValueHandover([number] { return wakeDebugger(number); });
}

void enterDebugWindowSet(DebugWindowSet& set) {
    if (set.number < 0 || set.number >= kDebuggerNumbers) return;
    debuggerWindows[set.number].store(set.debuggerWindow, std::memory_order_release);
}

void leaveDebugWindowSet(DebugWindowSet& set) {
    cancelTimer(pendingDisplayStart);
    cancelTimer(pendingReplyCheck);
    if (set.number < 0 || set.number >= kDebuggerNumbers) return;
    debuggerWindows[set.number].store(nullptr, std::memory_order_release);
}

void scheduleDisplayStart(DebugWindowSet& set) {
    const int32_t sequence = nextDisplayStart(set.displayStartSequence);
    const UINT delay =
        set.showingCurrent ? displayDelayLeft(timeGetTime() - set.becameCurrentAt) : kDisplayDelayMs;
    if (startTimer(displayStartElapsed, timerData(set.number, sequence), pendingDisplayStart, delay) != 0)
        return;
    if (displayStartRefused(set.displayStartSequence)) startDisplay(set, sequence);
}

int OnWindowValue(DebugWindowSet& set, uint8_t, const ValueRecord& record) {
    ChildWindow* current = currentChildOf(set);
    if (current == nullptr) return -1;
    ChildWindowData& data = current->data;
    if (data.itemCount == 0 || data.itemIndex == nullptr) return -1;
    DebugItem* item = FindItem(data.itemIndex, record);
    if (item == nullptr) return -1;
    takeItemValue(*item, record.value);
    if (!current->isUnshown[item->index]) {
        current->isUnshown[item->index] = true;
        current->unshown[current->unshownCount++] = static_cast<int16_t>(item->index);
    }
    return 0;
}

void takeWaitingValues(HWND child) {
    ChildWindow* record = childWindowOf(child);
    if (record != nullptr && currentChildOf(*record->set) == record) showArrivedValues(*record->set);
}

void showArrivedValues(DebugWindowSet& set) {
    set.handover->drain(
        [&set](uint8_t kind, const ValueRecord& record) { OnWindowValue(set, kind, record); });
    ChildWindow* current = currentChildOf(set);
    if (current == nullptr) return;
    for (int i = 0; i < current->unshownCount; ++i) {
        const int index = current->unshown[i];
        current->isUnshown[index] = false;
        showItemValue(current->data.items[index]);
    }
    current->unshownCount = 0;
}

bool handleDebugWindowMessage(DebugWindowSet& set, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case kValuesArrived:
            // Posted messages come before the user's input and before painting, and a stream of
            // values would keep one posted all the time. Input that waits goes first: the values
            // follow on a timer, which comes after it. What the values changed is painted at once,
            // before the next ones are taken.
            if (HIWORD(GetQueueStatus(QS_INPUT)) != 0) {
                SetTimer(set.debuggerWindow, kValuesTimer, USER_TIMER_MINIMUM, nullptr);
                return true;
            }
            showArrivedValues(set);
            RedrawWindow(set.debuggerWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            return true;
        case WM_TIMER:
            if (wParam != kValuesTimer) return false;
            KillTimer(set.debuggerWindow, kValuesTimer);
            showArrivedValues(set);
            return true;
        case kDisplayStartDue:
            startDisplay(set, static_cast<int32_t>(wParam));
            return true;
        case kReplyCheckDue:
            checkReplies(set);
            return true;
        default:
            return false;
    }
}

}  // namespace tavir
