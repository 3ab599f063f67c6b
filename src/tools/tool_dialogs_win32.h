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

namespace tavir {

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
