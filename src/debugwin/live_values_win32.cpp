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

// Gives false when the message could not be posted to a window that is there.
bool postToDebugger(DebuggerPosts& posts, UINT message, WPARAM wParam) {
    HWND window = posts.window.load(std::memory_order_acquire);
    return window == nullptr || PostMessageA(window, message, wParam, 0) != 0;
}

DebuggerPosts& postsOf(DWORD_PTR data) {
    return *reinterpret_cast<DebuggerPosts*>(data);
}

void forget(std::atomic<UINT>& pending, UINT id) {
    pending.compare_exchange_strong(id, 0);
}

// A wake-up that could not be posted (the debugger window's queue was full) is posted again by a
// timer until it goes through, so that the values appear even when the stream stops right after.
constexpr UINT kWakeRetryMs = 50;

void CALLBACK wakeRetryElapsed(UINT, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR);

// Gives whether the wake-up is on its way: posted now, or later by the timer.
bool wakeDebugger(DebuggerPosts& posts) {
    if (postToDebugger(posts, kValuesArrived, 0)) return true;
    return timeSetEvent(kWakeRetryMs, kWakeRetryMs, wakeRetryElapsed, reinterpret_cast<DWORD_PTR>(&posts),
                        TIME_ONESHOT | TIME_CALLBACK_FUNCTION) != 0;
}

void CALLBACK wakeRetryElapsed(UINT, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
    wakeDebugger(postsOf(data));
}

// The timer tells its id; the debugger window knows which start that is (startOfTimer).
void CALLBACK displayStartElapsed(UINT id, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
    DebuggerPosts& posts = postsOf(data);
    forget(posts.pendingDisplayStart, id);
    postToDebugger(posts, kDisplayStartDue, static_cast<WPARAM>(id));
}

void CALLBACK replyCheckElapsed(UINT id, UINT, DWORD_PTR data, DWORD_PTR, DWORD_PTR) {
    DebuggerPosts& posts = postsOf(data);
    forget(posts.pendingReplyCheck, id);
    postToDebugger(posts, kReplyCheckDue, 0);
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
    startTimer(replyCheckElapsed, reinterpret_cast<DWORD_PTR>(set.posts), set.posts->pendingReplyCheck);
}

// The sequence of the display start whose timer this is. Only the latest timer can carry the
// latest sequence; an earlier one gives a sequence no start has (-2), and does nothing. The id is
// known before the timer's message can be taken: both belong to this thread.
int32_t startOfTimer(const DebugWindowSet& set, UINT id) {
    return id == set.displayStartTimer ? set.displayStartTimerSequence : -2;
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

DebuggerPosts::DebuggerPosts() : handover([this] { return wakeDebugger(*this); }) {}

void enterDebugWindowSet(DebugWindowSet& set) {
    set.posts->window.store(set.debuggerWindow, std::memory_order_release);
}

void leaveDebugWindowSet(DebugWindowSet& set) {
    cancelTimer(set.posts->pendingDisplayStart);
    cancelTimer(set.posts->pendingReplyCheck);
    set.posts->window.store(nullptr, std::memory_order_release);
}

void scheduleDisplayStart(DebugWindowSet& set) {
    const int32_t sequence = nextDisplayStart(set.displayStartSequence);
    const UINT delay =
        set.showingCurrent ? displayDelayLeft(timeGetTime() - set.becameCurrentAt) : kDisplayDelayMs;
    const UINT timer = startTimer(displayStartElapsed, reinterpret_cast<DWORD_PTR>(set.posts),
                                  set.posts->pendingDisplayStart, delay);
    if (timer != 0) {
        set.displayStartTimer = timer;
        set.displayStartTimerSequence = sequence;
        return;
    }
    if (displayStartRefused(set.displayStartSequence)) startDisplay(set, sequence);
}

int TakeWindowValue(DebugWindowSet& set, uint8_t, const ValueRecord& record) {
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
        [&set](uint8_t kind, const ValueRecord& record) { TakeWindowValue(set, kind, record); });
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
            startDisplay(set, startOfTimer(set, static_cast<UINT>(wParam)));
            return true;
        case kReplyCheckDue:
            checkReplies(set);
            return true;
        default:
            return false;
    }
}

}  // namespace tavir
