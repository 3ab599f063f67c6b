#pragma once
// The dialog life that the batch tools share: where the controller's records go while a tool is
// open, and how a tool dialog opens and closes.
#include <windows.h>

#include <atomic>
#include <functional>

#include "tools/batch_values.h"
#include "tools/tool_context.h"
#include "tools/tool_dialogs_win32.h"

namespace tavir {

// The one reply store of the program, over the program's tables. It lives as long as the link:
// the reader may still be inside it when a dialog's flag drops.
BatchValueStore& programBatchStore();

// The records go to the reply store from now on: the sink first, then the tool's flag.
void openToolRoute(DeliveryRouter& router, std::atomic<bool>& toolActive);

// Runs dialog resource id modally over the debugger window, with data as its WM_INITDIALOG
// parameter. The progress bar's class is registered first.
void runToolDialog(ToolDialogHost& host, int id, DLGPROC procedure, void* data);

// A run of a parameter tool on the dialog's thread: the wait cursor while it lasts, its progress
// and messages in the dialog, over the program's tables and pacing. A run shows its closing
// message itself, so that comes before the cursor is back.
void runParameterTool(HWND dialog, Transport& transport,
                      const std::function<void(ToolContext& context)>& run);

// The end of a tool dialog whose settings are written: the current child window's display on
// again, the debugger window shown, the dialog ended, and the records back to the debug windows.
void closeToolDialog(HWND dialog, ToolDialogHost& host, std::atomic<bool>& toolActive);

}  // namespace tavir
