#pragma once
// The batch tools' dialogs in TAVIR.EXE. The debugger window opens them modally; each reads its
// settings when it opens, routes the controller's records to the reply store while it is open, and
// switches the current child window's display on again when it closes.
#include <windows.h>

#include "base/settings.h"
#include "debugwin/child_windows_win32.h"
#include "link/delivery_router.h"
#include "link/link_flags.h"
#include "link/reader_route.h"
#include "tools/batch_values.h"
#include "tools/dump_tool.h"
#include "tools/dump_view_win32.h"
#include "tools/tool_pacing_win32.h"

namespace tavir {

// What the tool dialogs share for the whole program run: the parameter tools' one pacing, the
// one reply store over the program's tables, and the dump tool with its dialog's view. The
// program makes it once and never destroys it: the reader may still be inside the store or the
// dump tool when a dialog's flag drops.
struct ToolState {
    explicit ToolState(ApplicationTables& applicationTables)
        : tables(applicationTables), store(applicationTables) {}
    ApplicationTables& tables;
    TickClock clock;
    PaintingWaiter waiter;
    Pacing pacing{&clock, &waiter, kDefaultIntervalMs, 0};
    BatchValueStore store;
    DumpTool dumpTool;
    DumpDialogView dumpView;
};

// What a tool dialog needs of the debugger window that opens it.
struct ToolDialogHost {
    HWND mainWindow;
    DebugWindowSet& windows;  // the current child window's display is switched on at close
    Settings& settings;
    DeliveryRouter& router;    // decoded records, for the parameter tools
    ReceivePath& receivePath;  // raw bytes, for the dump tool
    LinkFlags& flags;
    Transport& transport;
    const char* debugDirectory;  // shown in the dialog, with its trailing separator
    ToolState& tools;
};

// Dialog 107, "Verschillen met KVAPTAB.C zien". Returns when the dialog is closed.
void RunDifferencesDialog(ToolDialogHost& host);

// Dialog 106, "Automatische aanpassing parameters".
void RunAdjustmentDialog(ToolDialogHost& host);

// Dialog 105, "Automatische Afname".
void RunSweepDialog(ToolDialogHost& host);

// Dialog 102, "DPCOM", the memory dump tool.
void RunDumpDialog(ToolDialogHost& host);

}  // namespace tavir
