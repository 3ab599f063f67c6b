#include "tools/tool_store_win32.h"

#include <commctrl.h>

#include "definitions/object_tables.h"
#include "tools/tool_dialog_controls_win32.h"
#include "tools/tool_pacing_win32.h"

namespace tavir {

BatchValueStore& programBatchStore() {
    static BatchValueStore store(programTables());
    return store;
}

void openToolRoute(DeliveryRouter& router, std::atomic<bool>& toolActive) {
    router.batchSink.store(&programBatchStore(), std::memory_order_release);
    toolActive.store(true, std::memory_order_release);
}

void runToolDialog(ToolDialogHost& host, int id, DLGPROC procedure, void* data) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(host.mainWindow, GWLP_HINSTANCE));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(id), host.mainWindow, procedure,
                    reinterpret_cast<LPARAM>(data));
}

void runParameterTool(HWND dialog, Transport& transport,
                      const std::function<void(ToolContext& context)>& run) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    DialogReporter reporter(dialog);
    ToolContext context{programTables(), transport, programPacing(), reporter};
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
