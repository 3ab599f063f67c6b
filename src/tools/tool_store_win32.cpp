#include "tools/tool_store_win32.h"

#include <commctrl.h>

#include "tools/tool_dialog_controls_win32.h"

namespace tavir {

namespace {

OpenToolDialog* openDialog(HWND dialog) {
    return reinterpret_cast<OpenToolDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR CALLBACK toolDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OpenToolDialog& open = *reinterpret_cast<OpenToolDialog*>(lParam);
        open.table.initialise(dialog, open);
        return TRUE;
    }
    OpenToolDialog* open = openDialog(dialog);
    if (open == nullptr) return FALSE;
    const ToolDialogTable& table = open->table;
    if (message != WM_COMMAND)
        return table.takeMessage != nullptr && table.takeMessage(*open, message, wParam) ? TRUE : FALSE;
    const int control = LOWORD(wParam);
    if (control == IDOK || control == IDCANCEL || (table.closeButton != 0 && control == table.closeButton)) {
        table.close(dialog, *open);
        return TRUE;
    }
    for (const ToolCommand& command : table.commands) {
        if (command.control == 0) break;
        if (command.control != control) continue;
        command.run(dialog, *open);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void openToolRoute(ToolDialogHost& host, std::atomic<bool>& toolActive) {
    host.router.batchSink.store(&host.tools.store, std::memory_order_release);
    toolActive.store(true, std::memory_order_release);
}

void runToolDialog(OpenToolDialog& open) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    HWND owner = open.host.mainWindow;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(open.table.resource), owner, toolDialogProc,
                    reinterpret_cast<LPARAM>(&open));
}

void runParameterTool(HWND dialog, ToolDialogHost& host,
                      const std::function<void(ToolContext& context)>& run) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    DialogReporter reporter(dialog);
    ToolContext context{host.tools.tables, host.transport, host.tools.pacing, reporter};
    run(context);
    SetCursor(previous);
}

void closeToolDialog(HWND dialog, ToolDialogHost& host, std::atomic<bool>& toolActive) {
    DebugWindowSet& windows = host.windows;
    if (windows.currentChild != -1) SetChildDisplay(windows.childWindows[windows.currentChild], true);
    ShowWindow(host.mainWindow, SW_SHOW);
    EndDialog(dialog, 0);
    toolActive.store(false, std::memory_order_release);
}

}  // namespace tavir
