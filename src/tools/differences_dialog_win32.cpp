// Dialog 107, "Verschillen met KVAPTAB.C zien": the differences tool in TAVIR.EXE.
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

struct DifferencesDialog {
    ToolDialogHost& host;
    DifferencesOptions options;
};

DifferencesDialog* dialogData(HWND dialog) {
    return reinterpret_cast<DifferencesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The check boxes and the speed, into the options and the settings file. The file name changes
// only through the save-as dialog.
void readBack(HWND dialog, DifferencesDialog& data) {
    Pacing& pacing = programPacing();
    data.options.kinds = readKindBoxes(dialog);
    data.options.saveToFile = isChecked(dialog, IDC_SAVE_TO_FILE);
    pacing.requestIntervalMs = readSpeedRadios(dialog, pacing.requestIntervalMs);
    writeDifferencesSettings(data.host.settings, data.options);
    writeSpeedKey(data.host.settings, text::kDifferencesPrefix, pacing.requestIntervalMs);
}

void initialise(HWND dialog, DifferencesDialog& data) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    openToolRoute(data.host.router, data.host.router.verschillenActive);
    CenterDialog(dialog, data.host.mainWindow);

    data.options = readDifferencesSettings(data.host.settings);
    programPacing().requestIntervalMs = readSpeedKey(data.host.settings, text::kDifferencesPrefix);
    setKindBoxes(dialog, data.options.kinds, programTables());
    setChecked(dialog, IDC_SAVE_TO_FILE, data.options.saveToFile);
    SetDlgItemTextA(dialog, IDC_DIFFERENCES_FILE, data.options.fileName.c_str());
    setSpeedRadios(dialog, programPacing().requestIntervalMs);
    SetDlgItemTextA(dialog, IDC_DIFFERENCES_DIRECTORY, data.host.debugDirectory);
}

void start(HWND dialog, DifferencesDialog& data) {
    readBack(dialog, data);
    runParameterTool(dialog, data.host.transport,
                     [&data](ToolContext& context) { runDifferences(context, data.options); });
}

void close(HWND dialog, DifferencesDialog& data) {
    readBack(dialog, data);
    closeToolDialog(dialog, data.host, data.host.router.verschillenActive);
}

INT_PTR CALLBACK differencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, *reinterpret_cast<DifferencesDialog*>(lParam));
        return TRUE;
    }
    DifferencesDialog* data = dialogData(dialog);
    if (message != WM_COMMAND || data == nullptr) return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_START_DIFFERENCES:
            start(dialog, *data);
            return TRUE;
        case IDC_CHOOSE_FILE:
            chooseParameterFile(dialog, IDC_DIFFERENCES_FILE, text::kDifferencesSaveAsTitle,
                                data->host.settings, text::kDifferencesPrefix, data->options.fileName);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            close(dialog, *data);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void RunDifferencesDialog(ToolDialogHost& host) {
    DifferencesDialog data{host, {}};
    runToolDialog(host, IDD_VERSCHILLEN, differencesProc, &data);
}

}  // namespace tavir
