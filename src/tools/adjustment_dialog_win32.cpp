// Dialog 106, "Automatische aanpassing parameters": the parameter adjustment in TAVIR.EXE.
#include "debugwin/center_dialog_win32.h"
#include "resources/tavir_rc.h"
#include "resources/tools_texts.h"
#include "tools/tool_dialog_controls_win32.h"
#include "tools/tool_dialogs_win32.h"
#include "tools/tool_pacing_win32.h"
#include "tools/tool_settings.h"
#include "tools/tool_store_win32.h"

namespace tavir {

namespace {

struct AdjustmentDialog {
    ToolDialogHost& host;
    AdjustmentOptions options;
};

AdjustmentDialog* dialogData(HWND dialog) {
    return reinterpret_cast<AdjustmentDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The check boxes and the speed, into the options and the settings file. The file name changes
// only through the save-as dialog.
void readBack(HWND dialog, AdjustmentDialog& data) {
    Pacing& pacing = programPacing();
    data.options.kinds = readKindBoxes(dialog);
    data.options.saveToFile = isChecked(dialog, IDC_SAVE_TO_FILE);
    data.options.separateFiles = isChecked(dialog, IDC_SEPARATE_FILES);
    data.options.verify = isChecked(dialog, IDC_VERIFY);
    pacing.requestIntervalMs = readSpeedRadios(dialog, pacing.requestIntervalMs);
    writeAdjustmentSettings(data.host.settings, data.options);
    writeSpeedKey(data.host.settings, text::kAdjustmentPrefix, pacing.requestIntervalMs);
}

void initialise(HWND dialog, AdjustmentDialog& data) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    openToolRoute(data.host.router, data.host.router.aanpasActive);
    CenterDialog(dialog, data.host.mainWindow);

    data.options = readAdjustmentSettings(data.host.settings);
    programPacing().requestIntervalMs = readSpeedKey(data.host.settings, text::kAdjustmentPrefix);
    setKindBoxes(dialog, data.options.kinds, programTables());
    setChecked(dialog, IDC_SAVE_TO_FILE, data.options.saveToFile);
    setChecked(dialog, IDC_SEPARATE_FILES, data.options.separateFiles);
    setChecked(dialog, IDC_VERIFY, data.options.verify);
    SetDlgItemTextA(dialog, IDC_ADJUSTMENT_FILE, data.options.fileName.c_str());
    setSpeedRadios(dialog, programPacing().requestIntervalMs);
    SetDlgItemTextA(dialog, IDC_ADJUSTMENT_DIRECTORY, data.host.debugDirectory);
}

void start(HWND dialog, AdjustmentDialog& data) {
    readBack(dialog, data);
    runParameterTool(dialog, data.host.transport,
                     [&data](ToolContext& context) { runAdjustment(context, data.options); });
}

INT_PTR CALLBACK adjustmentProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, *reinterpret_cast<AdjustmentDialog*>(lParam));
        return TRUE;
    }
    AdjustmentDialog* data = dialogData(dialog);
    if (message != WM_COMMAND || data == nullptr) return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_START_ADJUSTMENT:
            start(dialog, *data);
            return TRUE;
        case IDC_CHOOSE_FILE:
            chooseParameterFile(dialog, IDC_ADJUSTMENT_FILE, text::kAdjustmentSaveAsTitle,
                                data->host.settings, text::kAdjustmentPrefix, data->options.fileName);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            readBack(dialog, *data);
            closeToolDialog(dialog, data->host, data->host.router.aanpasActive);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void RunAdjustmentDialog(ToolDialogHost& host) {
    AdjustmentDialog data{host, {}};
    runToolDialog(host, IDD_PARAMETERS, adjustmentProc, &data);
}

}  // namespace tavir
