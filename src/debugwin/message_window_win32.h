#pragma once
#include <windows.h>

#include "base/message_sink.h"

namespace tavir {

inline constexpr char kMessageWindowClass[] = "TVRMSGCLASS";

// What the message window needs of the debugger window that docks it. The debugger window
// implements it; the message window knows nothing else of its owner.
class MessageWindowOwner {
public:
    virtual ~MessageWindowOwner() = default;
    // The debugger window whose client area the message window is docked in.
    virtual HWND ownerWindow() const = 0;
    // The message window exists (with its list) or is gone (nullptr).
    virtual void messageWindowChanged(HWND messageWindow) = 0;
    // The user clicked into the message window or gave it the focus: keys no longer go to a
    // child window.
    virtual void messageWindowActivated() = 0;
    // The message window was moved or resized; the space above it changed.
    virtual void messageWindowMoved() = 0;
};

// The record of a message window: the window, its list and its owner.
struct MessageWindowData {
    HWND window;
    HWND list;
    MessageWindowOwner* owner;
    // While lines are held (a search of debug window files), the last line added is selected when
    // they are let go: selecting each as it came took a fifth of the start-up with 200 files.
    bool held = false;
    LRESULT lastHeld = -1;
};

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the docked message window of the owner's window with its list, and gives it font;
// none when it cannot be made.
HWND CreateMessageWindow(MessageWindowOwner& owner, HFONT font);

// Docks the message window along the bottom of the owner window's client area.
void LayoutMessageWindow(HWND ownerWindow, HWND messageWindow);

// Appends text as the last line and selects it, on the thread that owns the list whichever
// thread calls; gives its position, or a negative value when the list refused it.
int AddMessageLine(HWND messageWindow, const char* text);

// While held, lines join the message window's list without painting it; released, the list is
// painted once with all of them.
void HoldMessageLines(HWND messageWindow, bool hold);

// The lines of ReportMessage, into the message window held in *messageWindow (read at each line,
// since the window is made after the sink).
class MessageWindowSink : public MessageSink {
public:
    explicit MessageWindowSink(const HWND& messageWindow) : messageWindow_(messageWindow) {}
    int addLine(const char* text) override;

private:
    const HWND& messageWindow_;
};

}  // namespace tavir
