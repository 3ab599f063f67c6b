// Which child window is current, where the child windows lie, which item has the focus, and what
// the keys do to the items.
#include "debugwin/child_windows_win32.h"
#include "debugwin/display_start.h"
#include "debugwin/item_controls_win32.h"
#include "debugwin/item_moves.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

HWND childAt(const DebugWindowSet& set, int index) {
    return index >= 0 && index < set.childCount ? set.childWindows[index] : nullptr;
}

DebugItem* focusedItemOf(ChildWindowData& data) {
    return data.focusedItem >= 0 && data.focusedItem < data.itemCount ? &data.items[data.focusedItem]
                                                                      : nullptr;
}

void repaintItem(const DebugItem& item) {
    if (item.window != nullptr) InvalidateRect(static_cast<HWND>(item.window), nullptr, TRUE);
}

// Gives child the debugger window's client area above the message window.
void placeChildWindow(const DebugWindowSet& set, HWND child) {
    RECT client;
    GetClientRect(set.debuggerWindow, &client);
    // A minimised debugger window has no client area; the windows keep their size for its return.
    if (IsIconic(set.debuggerWindow) || (client.right == 0 && client.bottom == 0)) return;
    int height = client.bottom;
    if (set.messageWindow != nullptr) {
        RECT outer;
        GetWindowRect(set.messageWindow, &outer);
        const int messageHeight = outer.bottom - outer.top;
        height = messageHeight > client.bottom ? 0 : client.bottom - messageHeight;
    }
    MoveWindow(child, 0, 0, client.right, height, TRUE);
}

// Child window index (or none) becomes the current one, after the previous one has left.
void enterChildWindow(DebugWindowSet& set, int index) {
    set.currentChild = index;
    if (HWND chosen = childAt(set, index)) {
        set.showingCurrent = true;
        set.becameCurrentAt = timeGetTime();
        placeChildWindow(set, chosen);
        ShowWindow(chosen, SW_SHOW);
        set.flags->receiveTrace.store(true);
        SetChildDisplay(chosen, true);
        set.showingCurrent = false;
        GetWindowTextA(chosen, set.currentTitle, kTitleCapacity);
    } else {
        set.currentTitle[0] = '\0';
    }
    set.keysToChild = 1;
    char title[kTitleCapacity];
    composeWindowTitle(set.baseTitle, set.currentTitle, title);
    SetWindowTextA(set.debuggerWindow, title);
}

}  // namespace

void SelectChildWindow(DebugWindowSet& set, int index) {
    if (HWND previous = childAt(set, set.currentChild)) {
        set.flags->switchingChildWindow.store(true);
        // Its stop takes what arrived before the switch, which still belongs to the window that
        // is left; what comes after is stale.
        SetChildDisplay(previous, false);
        set.handover->beginSelection();
        ShowWindow(previous, SW_HIDE);
        set.flags->switchingChildWindow.store(false);
    } else {
        set.handover->beginSelection();
    }
    enterChildWindow(set, index);
}

void selectAfterOpening(DebugWindowSet& set, HWND visibleBefore, int index) {
    // The position held now is that of the last window sorted in, which was never shown: the
    // window to stop and hide is the one that was visible, if it is another one.
    set.currentChild = -1;
    for (int i = 0; i < set.childCount; ++i) {
        if (visibleBefore != nullptr && set.childWindows[i] == visibleBefore) set.currentChild = i;
    }
    if (set.currentChild != -1 && set.currentChild == index) {
        // No file was opened: the same window stays with the values waiting for it, and is
        // started again.
        enterChildWindow(set, index);
        return;
    }
    SelectChildWindow(set, index);
}

void CloseChildWindow(DebugWindowSet& set, int index) {
    HWND child = childAt(set, index);
    if (child == nullptr) return;
    char title[kChildTitleCapacity];
    GetWindowTextA(child, title, sizeof title);
    ReportMessage(*set.messages, kPlain, title, text::kWindowRemoved);
    if (index == set.currentChild) {
        int next = -1;
        if (index >= 1) {
            next = index - 1;
        } else if (set.childCount >= 2) {
            next = 1;
        }
        SelectChildWindow(set, next);
    }
    DestroyWindow(child);
    for (int i = index; i < set.childCount - 1; ++i) set.childWindows[i] = set.childWindows[i + 1];
    --set.childCount;
    set.childWindows[set.childCount] = nullptr;
    if (set.currentChild > index) --set.currentChild;
}

// Only a shown child window is moved here; a hidden one takes its place when it is shown
// (SelectChildWindow). With 200 windows, moving every one took a good part of the start-up, and
// of every step of a resize, for windows nobody sees.
void LayoutChildWindows(DebugWindowSet& set) {
    for (int i = 0; i < set.childCount; ++i) {
        // Shown itself, whatever its parent is (a minimised debugger window keeps it shown).
        if ((GetWindowLongPtrA(set.childWindows[i], GWL_STYLE) & WS_VISIBLE) != 0)
            placeChildWindow(set, set.childWindows[i]);
    }
}

// Whether every item asked for at the display start shows a value.
bool firstValuesShown(const ChildWindowData& data) {
    for (int i = 0; i < data.itemCount; ++i) {
        const DebugItem& item = data.items[i];
        if ((item.flags & kItemMonitored) != 0 &&
            (item.window == nullptr || !IsWindowEnabled(static_cast<HWND>(item.window))))
            return false;
    }
    return true;
}

// Paging on shows the next or the previous window, so those make their controls before they are
// shown, in the moments the thread would idle: a window whose controls are made is shown at once.
// The current window's first values come first: from its display start until they are all shown,
// or until its reply check, nothing is made ahead. Waiting for the reply check whatever came had
// left a page soon after the start-up to a window whose making had not begun.
UINT makeNeighboursAhead(HWND child) {
    ChildWindow* record = childWindowOf(child);
    if (record == nullptr) return 0;
    DebugWindowSet& set = *record->set;
    if (childAt(set, set.currentChild) != child || set.childCount < 2) return 0;
    const uint32_t current = timeGetTime() - set.becameCurrentAt;
    constexpr uint32_t kFirstValuesLookMs = 20;
    if (current >= kDisplayDelayMs && current < 2 * kDisplayDelayMs && !firstValuesShown(record->data)) {
        const uint32_t left = 2 * kDisplayDelayMs - current;
        return left < kFirstValuesLookMs ? left : kFirstValuesLookMs;
    }
    HWND next = childAt(set, (set.currentChild + 1) % set.childCount);
    HWND previous = childAt(set, (set.currentChild + set.childCount - 1) % set.childCount);
    for (HWND neighbour : {next, previous}) {
        ChildWindow* ahead = childWindowOf(neighbour);
        if (ahead == nullptr || ahead->controlsMade) continue;
        // In the place it is given when shown, so that its controls lie where they will be seen.
        if (!ahead->controlsBegun) placeChildWindow(set, neighbour);
        if (makeControlsAhead(neighbour, child, neighbour == next ? previous : next))
            return USER_TIMER_MINIMUM;
    }
    return 0;
}

void SetChildDisplay(HWND child, bool on) {
    ChildWindow* record = childWindowOf(child);
    if (record == nullptr) return;
    ChildWindowData& data = record->data;
    if (on) {
        scheduleDisplayStart(*record->set);
    } else {
        // No value received before the stop may enable a control after it. Then greyed until the
        // next value arrives after the next start.
        takeWaitingValues(child);
        for (int i = 0; i < data.itemCount; ++i) {
            if (data.items[i].window != nullptr) EnableWindow(static_cast<HWND>(data.items[i].window), FALSE);
        }
        stopItemValues(data, *record->set->transport);
    }
    SetItemFocus(child, data.focusedItem);
}

void SetItemFocus(HWND child, int index) {
    ChildWindow* record = childWindowOf(child);
    if (record == nullptr) return;
    takeWaitingValues(child);
    ChildWindowData& data = record->data;
    if (DebugItem* left = focusedItemOf(data)) {
        left->flags &= ~kItemFocused;
        repaintItem(*left);
        if (data.focusedItem != index && left->editPending != 0) {
            Transport& link = *record->set->transport;
            if (MessageBoxA(child, text::kUnsavedChange, text::kUnsavedChangeCaption,
                            MB_YESNO | MB_ICONQUESTION) == IDYES) {
                commitItemEdit(link, *left);
            } else {
                requestForItem(link, *left, kRead);
            }
            left->editPending = 0;
        }
    }
    HWND control = nullptr;
    if (index >= 0 && index < data.itemCount) {
        DebugItem& item = data.items[index];
        item.flags |= kItemFocused;
        repaintItem(item);
        control = static_cast<HWND>(item.window);
    }
    data.focusedItem = index;
    SetFocus(control);
}

LRESULT HandleChildKey(HWND child, bool ctrlDown, WPARAM virtualKey, LPARAM) {
    ChildWindow* record = childWindowOf(child);
    if (record == nullptr) return -1;
    takeWaitingValues(child);
    ChildWindowData& data = record->data;
    Transport& link = *record->set->transport;
    DebugItem* focused = focusedItemOf(data);
    if (virtualKey == VK_RETURN) {
        if (focused != nullptr) toggleItem(link, *focused);
        return 0;
    }
    if (ctrlDown) {
        int target = -1;
        switch (virtualKey) {
            case VK_LEFT:
                target = previousItem(data);
                break;
            case VK_RIGHT:
                target = nextItem(data);
                break;
            case VK_UP:
                target = itemAbove(data);
                break;
            case VK_DOWN:
                target = itemBelow(data);
                break;
            default:
                break;
        }
        if (target != -1) SetItemFocus(child, target);
        return 0;
    }
    if (virtualKey == VK_ESCAPE) {
        if (focused != nullptr) {
            // The controller's value comes back and replaces the typed text.
            focused->editPending = 0;
            requestForItem(link, *focused, kRead);
            SetItemFocus(child, -1);
        }
        return 0;
    }
    if (focused == nullptr) return -1;
    return handleItemKey(link, *focused, virtualKey);
}

}  // namespace tavir
