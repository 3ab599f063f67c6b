#pragma once
// The program's record: everything of TAVIR.EXE that more than one window, dialog or thread uses.
#include <windows.h>

#include <cstdint>
#include <list>

#include "debugwin/child_windows_win32.h"
#include "definitions/object_tables.h"
#include "link/reader_win32.h"
#include "link/serial_link_win32.h"
#include "link/tcp_transport_win32.h"
#include "shell/link_options.h"
#include "shell/message_boxes_win32.h"
#include "tools/tool_dialogs_win32.h"

namespace tavir {

constexpr int kMainWindowTableCapacity = 1000;

// The debugger windows by number, and the highest number in use (-1: none).
struct MainWindowTable {
    HWND windows[kMainWindowTableCapacity];
    int32_t highest;
};

void clearMainWindowTable(MainWindowTable& table);
// Enters window at number, raising the highest number in use when needed.
void enterMainWindow(MainWindowTable& table, int32_t number, HWND window);
// Empties number's entry when it still holds window.
void leaveMainWindow(MainWindowTable& table, int32_t number, HWND window);

// WinMain makes the record first and hands it to each debugger window at its creation; the window
// hands on what its child windows and the tool dialogs use. It is never destroyed: the reader
// and the timer threads may still be inside the link, the reply store or a window's posts while
// the process ends. docs/architecture.md lists who touches which part from which thread.
struct Program {
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // First: the one socket endpoint exists from the start, whichever link is chosen.
    TcpClient tcpClient;
    HINSTANCE instance = nullptr;  // for window and dialog creation
    LinkOptions linkOptions;       // from the command line
    MainWindowTable mainWindows{};
    ApplicationTables tables{};  // zero until the first header is read
    SerialLink serialLink;
    ProgramLink link;
    Win32MessageBoxes linkBoxes;  // the reader thread shows its boxes through these
    ToolState tools{tables};
    // One per debugger window made; a list, so that none moves while a timer holds it.
    std::list<DebuggerPosts> debuggers;
};

}  // namespace tavir
