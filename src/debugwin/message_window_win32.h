#pragma once
#include <windows.h>

#include "debugwin/message_sink.h"

namespace tavir {

struct MainWindowData;

inline constexpr char kMessageWindowClass[] = "TVRMSGCLASS";

// The record of a message window: the window and its list.
struct MessageWindowData {
    HWND window;
    HWND list;
};

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the docked message window of the debugger window with its list, and gives it the
// debugger window's font; none when it cannot be made.
HWND CreateMessageWindow(MainWindowData& main);

// Docks the message window along the bottom of the debugger window's client area.
void LayoutMessageWindow(MainWindowData& main);

// Appends text as the last line and selects it, on the thread that owns the list whichever
// thread calls; gives its position, or a negative value when the list refused it.
int AddMessageLine(HWND messageWindow, const char* text);

// The lines of ReportMessage, into the debugger window's message window.
class MessageWindowSink : public MessageSink {
public:
    explicit MessageWindowSink(MainWindowData& main) : main_(main) {}
    int addLine(const char* text) override;

private:
    MainWindowData& main_;
};

}  // namespace tavir
