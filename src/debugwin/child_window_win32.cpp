// The debug child window: its creation from a debug window file, its controls on the character
// grid, made when it is shown or ahead of its showing, and the clicks on its items.
#include <new>
#include <vector>

#include "debugwin/child_windows_win32.h"
#include "debugwin/control_budget.h"
#include "debugwin/debug_window_file.h"
#include "debugwin/item_controls_win32.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

// Private message of a child window: lay its controls out on its character grid.
constexpr UINT kLayoutContent = WM_USER + 1;

// The text whose extent gives the size of one character of the grid.
constexpr char kMeasureText[] = "ABCDEFGWWW";
constexpr int kMeasureLength = 10;

// The controls of all the program's child windows together: the platform's limit of windows
// counts the whole program.
ControlBudget controlBudget;

BudgetWindow budgetWindowOf(const ChildWindow& record) {
    return reinterpret_cast<BudgetWindow>(&record);
}

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

// The grid of the window as it is now; false when its font cannot be measured.
bool measureGrid(const ChildWindow& record, ChildGrid& grid) {
    HWND window = static_cast<HWND>(record.data.window);
    HDC dc = GetDC(window);
    HGDIOBJ previous = record.set->font != nullptr ? SelectObject(dc, record.set->font) : nullptr;
    SIZE extent{};
    const BOOL measured = GetTextExtentPoint32A(dc, kMeasureText, kMeasureLength, &extent);
    if (previous != nullptr) SelectObject(dc, previous);
    ReleaseDC(window, dc);
    if (!measured) return false;
    RECT client;
    GetClientRect(window, &client);
    grid = {(extent.cx + 9) / 10, extent.cy,           client.right,
            client.bottom,        record.data.columns, record.data.rows};
    return true;
}

// Where a control of widthInCharacters at column, row lies: left, top, width and height.
RECT placeOnGrid(const ChildGrid& grid, int column, int row, int widthInCharacters) {
    return {column * grid.width / grid.columns, row * grid.height / grid.rows,
            widthInCharacters * grid.charWidth, grid.charHeight};
}

// The child window's controls, made when it is shown or ahead of it, each in its place on the
// grid (at 0,0 and of size 0 when the font could not be measured: the next layout places them)
// and with the window's font, without drawing: the window is hidden while they are made. Each
// control made lies below those made before it, so the items, made first, lie above the labels.
class ChildControlBuilder : public DebugWindowBuilder {
public:
    ChildControlBuilder(const ChildWindow& record, const ChildGrid* grid)
        : record_(record), child_(static_cast<HWND>(record.data.window)), grid_(grid) {}

    ControlHandle addLabel(int labelNumber, const char* text) override {
        auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelControlBase + labelNumber));
        const DebugLabel& label = record_.data.labels[labelNumber];
        const RECT place = placeOf(label.column, label.row, label.length);
        return withFont(CreateWindowExA(0, "static", text, WS_CHILD | WS_VISIBLE, place.left, place.top,
                                        place.right, place.bottom, child_, id, instanceOf(child_), nullptr));
    }
    ControlHandle addItem(DebugItem& item) override {
        return withFont(createItemControl(item, child_, placeOf(item.column, item.row, item.width)));
    }

private:
    RECT placeOf(int column, int row, int widthInCharacters) const {
        return grid_ != nullptr ? placeOnGrid(*grid_, column, row, widthInCharacters) : RECT{};
    }
    HWND withFont(HWND control) const {
        if (control != nullptr && record_.hasFont) SendMessageA(control, WM_SETFONT, record_.font, FALSE);
        return control;
    }

    const ChildWindow& record_;
    HWND child_;
    const ChildGrid* grid_;
};

// The last control made of a hidden window goes, so that the making stands where it is made
// again; an item keeps what its control showed, so that the control made again shows the same.
// Gives false when none is left.
bool destroyLastControl(ChildWindow& record) {
    ChildWindowData& data = record.data;
    while (record.making.next > 0) {
        const int slot = --record.making.next;
        ControlHandle& control =
            slot < data.itemCount ? data.items[slot].window : data.labels[slot - data.itemCount].window;
        if (control == nullptr) continue;
        if (slot < data.itemCount) keepShownState(data.items[slot]);
        DestroyWindow(static_cast<HWND>(control));
        control = nullptr;
        --record.making.made;
        record.controlsMade = false;
        return true;
    }
    return false;
}

// The controls of a hidden window go.
void destroyControls(ChildWindow& record) {
    while (destroyLastControl(record)) {
    }
    record.making = ControlMaking{};
    record.controlsBegun = false;
    record.controlsHeld = 0;
    record.laidOut = false;
}

void destroyEach(const std::vector<BudgetWindow>& windows) {
    for (BudgetWindow other : windows) destroyControls(*reinterpret_cast<ChildWindow*>(other));
}

// The window begins to make its controls, which the budget counts from now on; each is given the
// window's font as it is made.
void beginControls(ChildWindow& record) {
    record.controlsBegun = true;
    record.fontDue = false;
    holdControls(controlBudget, budgetWindowOf(record), wantedControls(record.data));
}

// All the window's controls are made: the budget counts them as it was shown last.
void endControls(ChildWindow& record) {
    record.controlsMade = true;
    record.controlsHeld = record.making.made;
    holdControls(controlBudget, budgetWindowOf(record), record.controlsHeld);
}

// The grid the controls about to be made are placed on: the window's grid now, or none when it
// cannot be measured. Controls made before on another grid are laid out when it is shown.
const ChildGrid* gridForMaking(ChildWindow& record, ChildGrid& grid) {
    const bool measured = measureGrid(record, grid);
    if (record.making.made == 0) {
        record.laidOut = measured;
        record.grid = grid;
    } else if (!measured || !(grid == record.grid)) {
        record.laidOut = false;
    }
    return measured ? &grid : nullptr;
}

// The window is about to be shown: its controls are made unless it holds them, after the hidden
// windows shown least recently gave up theirs where they would not fit. Those made ahead of the
// showing stay and the rest are made now.
void makeControlsForShowing(HWND window, ChildWindow& record) {
    if (record.controlsMade) {
        holdControls(controlBudget, budgetWindowOf(record), record.controlsHeld);
        return;
    }
    if (!record.controlsBegun) {
        destroyEach(makeRoom(controlBudget, wantedControls(record.data)));
        beginControls(record);
    }
    char path[kChildTitleCapacity];
    GetWindowTextA(window, path, sizeof path);
    // Made in their places: moving each control after it was made took a good part of the time
    // a window took to be shown the first time.
    ChildGrid grid;
    ChildControlBuilder builder(record, gridForMaking(record, grid));
    makeWindowControls(record.data, path, *record.set->messages, builder, record.making);
    record.aheadFailed = false;
    endControls(record);
}

// Every item, then every label, on the grid of columns by rows scaled to the client area, each
// as wide as its characters and one character high. Nothing is moved when the grid is the one
// the controls were last placed on (a layout asked for before the window was shown and made its
// controls in their places).
void layoutContent(ChildWindow& record) {
    ChildGrid grid;
    if (!measureGrid(record, grid)) return;
    if (record.laidOut && grid == record.grid) return;
    const ChildWindowData& data = record.data;
    auto place = [&](ControlHandle control, int column, int row, int widthInCharacters) {
        if (control == nullptr) return;
        const RECT at = placeOnGrid(grid, column, row, widthInCharacters);
        MoveWindow(static_cast<HWND>(control), at.left, at.top, at.right, at.bottom, FALSE);
    };
    for (int i = 0; i < data.itemCount; ++i) {
        const DebugItem& item = data.items[i];
        place(item.window, item.column, item.row, item.width);
    }
    for (int i = 0; i < data.labelCount; ++i) {
        const DebugLabel& label = data.labels[i];
        place(label.window, label.column, label.row, label.length);
    }
    record.grid = grid;
    record.laidOut = true;
    InvalidateRect(static_cast<HWND>(data.window), nullptr, TRUE);
}

void passFontOn(ChildWindow& record, WPARAM font, LPARAM redraw) {
    ChildWindowData& data = record.data;
    for (int i = 0; i < data.itemCount; ++i) {
        if (data.items[i].window != nullptr) {
            SendMessageA(static_cast<HWND>(data.items[i].window), WM_SETFONT, font, redraw);
        }
    }
    for (int i = 0; i < data.labelCount; ++i) {
        if (data.labels[i].window != nullptr) {
            SendMessageA(static_cast<HWND>(data.labels[i].window), WM_SETFONT, font, redraw);
        }
    }
}

// Whether the window itself is shown, whatever its parent is.
bool isShown(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A layout is asked for once however often the size and the font change before it comes.
void queueLayout(ChildWindow& record) {
    if (record.layoutQueued) return;
    record.layoutQueued = true;
    PostMessageA(static_cast<HWND>(record.data.window), kLayoutContent, 0, 0);
}

// The index of the item whose control lies under the cursor, or -1. Found by place rather than
// by the window the click went to, since a disabled control passes its clicks to the child window.
int itemUnderCursor(ChildWindow& record) {
    HWND window = static_cast<HWND>(record.data.window);
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    HWND control = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE);
    if (control == nullptr || control == window) return -1;
    for (int i = 0; i < record.data.itemCount; ++i) {
        if (record.data.items[i].window == control) return i;
    }
    return -1;
}

LRESULT onCreate(HWND window, const CREATESTRUCTA& create) {
    auto* set = static_cast<DebugWindowSet*>(create.lpCreateParams);
    if (set == nullptr || set->childCount >= kMaxChildWindows) return -1;
    auto* record = new (std::nothrow) ChildWindow{};
    if (record == nullptr) return -1;
    record->set = set;
    record->data.window = window;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(record));
    set->childWindows[set->childCount] = window;
    return 0;
}

void onDestroy(HWND window, ChildWindow& record) {
    // The slot is emptied; whoever closes the window closes the gap.
    DebugWindowSet& set = *record.set;
    for (HWND& slot : set.childWindows) {
        if (slot == window) slot = nullptr;
    }
}

}  // namespace

bool makeControlsAhead(HWND child, HWND keep1, HWND keep2) {
    ChildWindow* record = childWindowOf(child);
    if (record == nullptr || record->controlsMade || record->aheadFailed || isShown(child)) return false;
    // Whatever waits for the thread (a message, input, painting) comes first; it is looked at
    // after each control.
    auto somethingWaits = [] {
        return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY)) != 0;
    };
    if (!record->controlsBegun) {
        std::vector<BudgetWindow> kept;
        for (HWND keep : {keep1, keep2}) {
            if (ChildWindow* keptRecord = childWindowOf(keep)) kept.push_back(budgetWindowOf(*keptRecord));
        }
        std::vector<BudgetWindow> going;
        if (!roomKeeping(controlBudget, wantedControls(record->data), kept, going)) return false;
        // The windows that make room give up their controls one at a time too: a window of
        // hundreds of controls takes a while to destroy.
        for (BudgetWindow window : going) {
            ChildWindow& other = *reinterpret_cast<ChildWindow*>(window);
            while (destroyLastControl(other)) {
                if (somethingWaits()) return true;
            }
            destroyControls(other);
            releaseControls(controlBudget, window);
        }
        beginControls(*record);
    }
    ChildGrid grid;
    ChildControlBuilder builder(*record, gridForMaking(*record, grid));
    for (;;) {
        const int step = makeNextControl(record->data, record->making, builder);
        if (step == 0) {
            endControls(*record);
            return false;
        }
        if (step < 0) {
            // Made when it is shown, where what cannot be made is reported.
            destroyControls(*record);
            releaseControls(controlBudget, budgetWindowOf(*record));
            record->aheadFailed = true;
            return false;
        }
        if (somethingWaits()) return true;
    }
}

ChildWindow* childWindowOf(HWND child) {
    if (child == nullptr) return nullptr;
    char className[32];
    if (GetClassNameA(child, className, sizeof className) == 0 ||
        lstrcmpA(className, kChildWindowClass) != 0) {
        return nullptr;
    }
    return reinterpret_cast<ChildWindow*>(GetWindowLongPtrA(child, 0));
}

LRESULT CALLBACK ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return onCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
    auto* record = reinterpret_cast<ChildWindow*>(GetWindowLongPtrA(window, 0));
    if (record == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_DESTROY:
            onDestroy(window, *record);
            return 0;
        case WM_NCDESTROY:
            // After the controls, which keep references into the record until they are gone.
            SetWindowLongPtrA(window, 0, 0);
            releaseControls(controlBudget, budgetWindowOf(*record));
            DestroyItemIndex(record->data.itemIndex);
            delete record;
            break;
        case WM_SIZE:
            queueLayout(*record);
            return 0;
        case WM_SETFONT:
            record->hasFont = true;
            record->font = wParam;
            // Laid out and drawn again whatever the size of its characters.
            record->laidOut = false;
            if (isShown(window)) {
                passFontOn(*record, wParam, lParam);
            } else {
                record->fontDue = true;
            }
            queueLayout(*record);
            return 0;
        case kLayoutContent:
            record->layoutQueued = false;
            if (isShown(window)) {
                layoutContent(*record);
            } else {
                record->layoutDue = true;
            }
            return 0;
        case WM_SHOWWINDOW:
            // Sent before the window appears: what was left for the showing is done now, and the
            // controls take the font and their places. Shown, it makes its neighbours' controls
            // ahead of their showing, while nothing else waits.
            if (wParam != 0) {
                makeControlsForShowing(window, *record);
                if (record->fontDue) passFontOn(*record, record->font, FALSE);
                layoutContent(*record);
                record->fontDue = false;
                record->layoutDue = false;
                SetTimer(window, kMakeAheadTimer, USER_TIMER_MINIMUM, nullptr);
            } else {
                KillTimer(window, kMakeAheadTimer);
            }
            break;
        case WM_TIMER:
            if (wParam != kMakeAheadTimer) break;
            if (const UINT wait = makeNeighboursAhead(window)) {
                SetTimer(window, kMakeAheadTimer, wait, nullptr);
            } else {
                KillTimer(window, kMakeAheadTimer);
            }
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam != 0) {
                // A click on a checkbox: the item takes the check state the control shows.
                takeWaitingValues(window);
                if (DebugItem* item = itemOfControl(reinterpret_cast<HWND>(lParam))) {
                    item->value =
                        static_cast<int32_t>(SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0));
                }
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (HIWORD(lParam) == WM_LBUTTONDOWN && LOWORD(lParam) == HTCLIENT) {
                takeWaitingValues(window);
                int index = itemUnderCursor(*record);
                if (index >= 0) {
                    if (Transport* link = record->set->transport)
                        toggleItem(*link, record->data.items[index]);
                    SetItemFocus(window, index);
                }
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateChildWindow(DebugWindowSet& set, const char* path) {
    HWND child = CreateWindowExA(0, kChildWindowClass, path, WS_CHILD | WS_BORDER, 0, 0, 0, 0,
                                 set.debuggerWindow, nullptr, instanceOf(set.debuggerWindow), &set);
    if (child == nullptr) {
        // Out of memory, or out of the window handles the platform gives one program.
        ReportMessage(*set.messages, kError, text::kChildWindowFailed);
        return nullptr;
    }
    ChildWindow& record = *childWindowOf(child);
    if (loadDebugWindowFile(record.data, path, *set.messages, *set.macros) != 0) {
        DestroyWindow(child);
        return nullptr;
    }
    ++set.childCount;
    set.owner->updateMenu();
    return child;
}

}  // namespace tavir
