#pragma once
// The dialog life that the batch tools share: one dialog procedure over a table of what each
// tool's dialog does differently, where the controller's records go while a tool is open, and how
// a tool dialog closes.
#include <windows.h>

#include <atomic>
#include <functional>

#include "tools/tool_context.h"
#include "tools/tool_dialogs_win32.h"

namespace tavir {

struct OpenToolDialog;

// A button of a tool dialog and what it does.
struct ToolCommand {
    int control;  // 0: the end of the list
    void (*run)(HWND dialog, OpenToolDialog& open);
};

constexpr int kMaxToolCommands = 6;

// What one tool's dialog does differently from the others.
struct ToolDialogTable {
    int resource;
    // Fills the controls and routes the records to the tool; the dialog's record is attached.
    void (*initialise)(HWND dialog, OpenToolDialog& open);
    // OK, Cancel or closeButton (0: none besides them) ends the dialog through close.
    void (*close)(HWND dialog, OpenToolDialog& open);
    int closeButton;
    ToolCommand commands[kMaxToolCommands];
    // A message other than a command: true when the tool took it. May be none.
    bool (*takeMessage)(OpenToolDialog& open, UINT message, WPARAM wParam);
};

// A tool dialog while it is open; each tool extends it with its options.
struct OpenToolDialog {
    ToolDialogHost& host;
    const ToolDialogTable& table;
};

// Runs the dialog of open's table modally over the debugger window, with open as its record.
// The progress bar's class is registered first.
void runToolDialog(OpenToolDialog& open);

// The records go to the reply store from now on: the sink first, then the tool's flag.
void openToolRoute(ToolDialogHost& host, std::atomic<bool>& toolActive);

// A run of a parameter tool on the dialog's thread: the wait cursor while it lasts, its progress
// and messages in the dialog, over the program's tables and pacing. A run shows its closing
// message itself, so that comes before the cursor is back.
void runParameterTool(HWND dialog, ToolDialogHost& host,
                      const std::function<void(ToolContext& context)>& run);

// The end of a tool dialog whose settings are written: the current child window's display on
// again, the debugger window shown, the dialog ended, and the records back to the debug windows.
void closeToolDialog(HWND dialog, ToolDialogHost& host, std::atomic<bool>& toolActive);

}  // namespace tavir
