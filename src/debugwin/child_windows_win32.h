#pragma once
// The debug child windows of a debugger window: one per debug window file, one of them current
// (shown, with live values). Everything the debugger window does with its child windows goes
// through this header.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/message_log.h"
#include "debugwin/child_window_data.h"
#include "debugwin/debug_window_file.h"
#include "debugwin/value_handover.h"
#include "debugwin/window_list.h"
#include "definitions/macro_table.h"
#include "link/link_flags.h"
#include "link/transport.h"

namespace tavir {

inline constexpr char kChildWindowClass[] = "TVRCHILDCLASS";

// What the child windows need of the debugger window above them; the debugger window implements it.
class DebugWindowOwner {
public:
    virtual ~DebugWindowOwner() = default;
    // The menu states follow the number of child windows (UpdateMenu).
    virtual void updateMenu() = 0;
    // The directory searched for the debug window files, with its trailing separator; the window
    // lists look for their list file there.
    virtual const char* debugDirectory() const = 0;
};

// What the other threads reach of a debugger window: the window that the timers and the value
// handover post to (none while it is not there), the handover of its values, and its pending
// one-shot timers. Made with the program and never destroyed: a timer or the reader may still
// hold it while the program ends. The timers carry it as their user data.
struct DebuggerPosts {
    DebuggerPosts();
    DebuggerPosts(const DebuggerPosts&) = delete;
    DebuggerPosts& operator=(const DebuggerPosts&) = delete;

    std::atomic<HWND> window{nullptr};
    std::atomic<UINT> pendingDisplayStart{0};
    std::atomic<UINT> pendingReplyCheck{0};
    ValueHandover handover;  // it wakes window
};

// The debugger window's side of its child windows, part of its record. Everything in it belongs to
// the user-interface thread; the reader thread reaches only flags and handover, the timers posts.
struct DebugWindowSet {
    HWND debuggerWindow = nullptr;
    int32_t number = 0;  // the debugger number
    int32_t childCount = 0;
    int32_t currentChild = -1;  // index into childWindows of the shown window, -1 = none
    int32_t keysToChild = 0;    // 1: keys the debugger window does not use go to the current child
    int32_t displayStartSequence = -1;
    UINT displayStartTimer = 0;  // the latest display start's timer, and the sequence it carries
    int32_t displayStartTimerSequence = -1;
    // While the window made current is being shown: when it became current (timeGetTime). Its
    // display start comes half a second after that, so that making its controls counts in it.
    bool showingCurrent = false;
    uint32_t becameCurrentAt = 0;
    HWND messageWindow = nullptr;
    HWND childWindows[kMaxChildWindows] = {};  // in display order: ascending by title
    char baseTitle[kTitleCapacity] = {};
    char currentTitle[kTitleCapacity] = {};
    HFONT font = nullptr;  // of the message window, the labels and the items

    MessageLog* messages = nullptr;
    const MacroTable* macros = nullptr;
    Transport* transport = nullptr;  // the controller link
    LinkFlags* flags = nullptr;
    ValueHandover* handover = nullptr;  // the values received for this debugger window
    DebuggerPosts* posts = nullptr;     // holds handover
    DebugWindowOwner* owner = nullptr;
};

// The character grid of a child window's client area in the window's font: where its controls lie.
struct ChildGrid {
    int charWidth = 0;
    int charHeight = 0;
    int width = 0;  // of the client area
    int height = 0;
    int columns = 1;
    int rows = 1;
    bool operator==(const ChildGrid& other) const {
        return charWidth == other.charWidth && charHeight == other.charHeight && width == other.width &&
               height == other.height && columns == other.columns && rows == other.rows;
    }
};

// The record of a child window: its set, what its file made of it, and the items that took a
// value their control does not show yet.
struct ChildWindow {
    DebugWindowSet* set;
    ChildWindowData data;
    // The labels and item controls are made when the window is shown, or a few at a time ahead of
    // its showing while it is a neighbour of the current window, and may be destroyed again while
    // it is hidden (control_budget.h); the items keep what their controls showed.
    ControlMaking making;
    bool controlsBegun = false;  // some are made or being made: the budget counts them
    bool controlsMade = false;   // all are made
    bool aheadFailed = false;    // one could not be made ahead: they are made when it is shown
    int controlsHeld = 0;
    int unshownCount = 0;
    int16_t unshown[kMaxDebugItems] = {};  // item indexes, in the order they first took a value
    bool isUnshown[kMaxDebugItems] = {};
    // A hidden window's controls are laid out and given the font only when it is shown: at the
    // start-up and on every resize most windows are hidden, and they hold thousands of controls.
    bool layoutQueued = false;  // a layout message is on its way
    bool layoutDue = false;     // the last layout was left for the showing
    bool fontDue = false;       // the font below was left for the showing
    bool hasFont = false;       // a font was given to the window: font
    WPARAM font = 0;
    // The controls lie on this grid (child_window_win32.cpp): a layout for the same grid is left out.
    bool laidOut = false;
    ChildGrid grid;
};

// The record of child (a window of TVRCHILDCLASS), or none.
ChildWindow* childWindowOf(HWND child);

LRESULT CALLBACK ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Opening --------------------------------------------------------------------------------

// Creates a hidden child window titled path, loads the file into it, counts it and updates the
// menu; gives the window, or none when it could not be made or loaded. Its controls are made when
// it is first shown.
HWND CreateChildWindow(DebugWindowSet& set, const char* path);

// Opens one debug window file as a child window sorted in among the others by path, and makes
// its position the current-child index (without showing it); 0 or -1.
int OpenDebugWindowFile(DebugWindowSet& set, const char* path);

// Opens a child window for every file in directory that matches pattern; the number tried.
int LoadDebugWindowFiles(DebugWindowSet& set, const char* directory, const char* pattern);

// After files were opened: makes child window index current, where visibleBefore (none at the
// start-up) is the window that was shown before the new windows were sorted in. It is stopped and
// hidden as the previous current window when it is another one.
void selectAfterOpening(DebugWindowSet& set, HWND visibleBefore, int index);

// ---- Selection, layout, focus and keys ----------------------------------------------------

// Makes child window index (or none, -1) the current one: the previous one is stopped and hidden,
// the new one shown and started, and the debugger window's title names it.
void SelectChildWindow(DebugWindowSet& set, int index);

// Destroys child window index and closes the gap; a current one hands over to a neighbour first.
void CloseChildWindow(DebugWindowSet& set, int index);

// Gives the shown child window the debugger window's client area above the message window; a
// hidden one is given it when it is shown.
void LayoutChildWindows(DebugWindowSet& set);

// The timer of the current child window that makes its neighbours' controls ahead of their
// showing: it starts when the window is shown and ends when they are made.
constexpr UINT_PTR kMakeAheadTimer = 0x4D41;

// The neighbours of child, the current window (the next and the previous one in PgDn and PgUp
// order), make their controls while nothing waits for the thread, except from its display start
// until its reply check, while its first values come; gives the milliseconds until it is to go on,
// 0 when nothing is left to make ahead.
UINT makeNeighboursAhead(HWND child);

// The hidden window child makes its controls while nothing waits for the thread, as when it is
// shown, keeping the controls of the windows in kept within the budget; gives whether it stopped
// for what waits, with controls left to make.
bool makeControlsAhead(HWND child, HWND keep1, HWND keep2);

// Stops (disabled controls, Stop for the monitored items) or starts (half a second later) the live
// values of one child window.
void SetChildDisplay(HWND child, bool on);

// Moves the item focus of child to item index (-1: none), asking whether to save a change typed
// into the item that loses it.
void SetItemFocus(HWND child, int index);

// A key that the debugger window passed on: 0 when used, -1 when not.
LRESULT HandleChildKey(HWND child, bool ctrlDown, WPARAM virtualKey, LPARAM keyData);

// A received record for the current child window, on the user-interface thread (the reader's
// side is the handover's OnWindowValue): 0 when one of its items took it, -1 when not. kind is
// not used. The control shows the value at the end of the records handed over together
// (showArrivedValues): nothing is painted in between, so only the last value of each item could
// be seen.
int TakeWindowValue(DebugWindowSet& set, uint8_t kind, const ValueRecord& record);

// ---- Live values and their timers -----------------------------------------------------------

// The debugger window of set receives what its timers and its value handover post to it from now
// on; leaveDebugWindowSet cancels both pending timers and ends that.
void enterDebugWindowSet(DebugWindowSet& set);
void leaveDebugWindowSet(DebugWindowSet& set);

// Schedules the display start of the current child window (SetChildDisplay on).
void scheduleDisplayStart(DebugWindowSet& set);

// The debugger window's private messages of its child windows (values arrived, display start,
// reply check): runs the one given and gives true, false for any other message.
bool handleDebugWindowMessage(DebugWindowSet& set, UINT message, WPARAM wParam, LPARAM lParam);

// The values received so far go to the current child window's items and their controls.
void showArrivedValues(DebugWindowSet& set);

// Runs first in everything that reads or writes an item of child (keys, clicks, the item focus,
// the reply check, the display's stop), so that it sees every value received before it, as if
// each had reached its item at once: the waiting values are shown when child is the current
// child window. A window that is not current takes none; its values were left behind when it
// stopped being current.
void takeWaitingValues(HWND child);

// ---- Window list dialogs --------------------------------------------------------------------

// "Debug Vensters Sluiten" (dialog 101): closes the chosen child windows one by one.
void runCloseWindowsDialog(DebugWindowSet& set);

// "Debug Venster Kiezen" (dialog 104): makes the chosen child window current.
void runChooseWindowDialog(DebugWindowSet& set);

}  // namespace tavir
