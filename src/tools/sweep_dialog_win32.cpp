// Dialog 105, "Automatische Afname": the acceptance sweep in TAVIR.EXE.
#include <cstdio>

#include "base/parse_decimal.h"
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

constexpr int kStartValueCapacity = 101;

struct SweepDialog {
    ToolDialogHost& host;
    SweepOptions options;  // those of the last start: the reset uses them
    SweepState state;
};

SweepDialog* dialogData(HWND dialog) {
    return reinterpret_cast<SweepDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void readBack(HWND dialog, SweepDialog& data) {
    Pacing& pacing = programPacing();
    SweepOptions& options = data.options;
    options.kinds = readKindBoxes(dialog);
    const bool on = isChecked(dialog, IDC_KIND_SCH_ON);
    options.kinds.set(ParameterKind::SCH, on || isChecked(dialog, IDC_KIND_SCH_OFF));
    options.switchesOn = on;
    char startText[kStartValueCapacity] = {};
    GetDlgItemTextA(dialog, IDC_START_VALUE, startText, sizeof startText);
    options.startValue = decimalValue(startText);
    options.resetPerKind = isChecked(dialog, IDC_RESET_PER_KIND);
    options.saveToFile = isChecked(dialog, IDC_SAVE_TO_FILE);
    options.separateFiles = isChecked(dialog, IDC_SEPARATE_FILES);
    options.rememberOriginals = isChecked(dialog, IDC_REMEMBER_ORIGINALS);
    pacing.requestIntervalMs = readSpeedRadios(dialog, pacing.requestIntervalMs);
    writeSweepSettings(data.host.settings, options);
    writeSpeedKey(data.host.settings, text::kSweepPrefix, pacing.requestIntervalMs);
}

void initialise(HWND dialog, SweepDialog& data) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    openToolRoute(data.host.router, data.host.router.afnameActive);
    CenterDialog(dialog, data.host.mainWindow);

    const SweepOptions& options = data.options = readSweepSettings(data.host.settings);
    programPacing().requestIntervalMs = readSpeedKey(data.host.settings, text::kSweepPrefix);
    setKindBoxes(dialog, options.kinds, programTables());
    // The single switch box is not in this dialog; the two boxes stand for it.
    const bool switches = kindAvailable(ParameterKind::SCH, programTables());
    EnableWindow(GetDlgItem(dialog, IDC_KIND_SCH_ON), switches ? TRUE : FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_KIND_SCH_OFF), switches ? TRUE : FALSE);
    const bool selected = switches && options.kinds.has(ParameterKind::SCH);
    setChecked(dialog, IDC_KIND_SCH_ON, selected && options.switchesOn);
    setChecked(dialog, IDC_KIND_SCH_OFF, selected && !options.switchesOn);
    char startText[16];
    std::snprintf(startText, sizeof startText, "%d", static_cast<int>(options.startValue));
    SetDlgItemTextA(dialog, IDC_START_VALUE, startText);
    setChecked(dialog, IDC_RESET_PER_KIND, options.resetPerKind);
    setChecked(dialog, IDC_SAVE_TO_FILE, options.saveToFile);
    setChecked(dialog, IDC_SEPARATE_FILES, options.separateFiles);
    setChecked(dialog, IDC_REMEMBER_ORIGINALS, options.rememberOriginals);
    SetDlgItemTextA(dialog, IDC_SWEEP_FILE, options.fileName.c_str());
    setSpeedRadios(dialog, programPacing().requestIntervalMs);
    EnableWindow(GetDlgItem(dialog, IDC_RESET_ORIGINALS), FALSE);
}

void start(HWND dialog, SweepDialog& data) {
    readBack(dialog, data);
    runParameterTool(dialog, data.host.transport,
                     [&data](ToolContext& context) { runSweep(context, data.options, data.state); });
    if (programBatchStore().anyReplyStored()) EnableWindow(GetDlgItem(dialog, IDC_RESET_ORIGINALS), TRUE);
}

// With the options of the last start, not read back from the dialog.
void reset(HWND dialog, SweepDialog& data) {
    runParameterTool(dialog, data.host.transport,
                     [&data](ToolContext& context) { resetOriginals(context, data.options); });
}

// Checking one switch box unchecks the other; unchecking leaves the other as it is.
void switchBoxClicked(HWND dialog, int clicked, int other) {
    if (isChecked(dialog, clicked)) setChecked(dialog, other, false);
}

INT_PTR CALLBACK sweepProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, *reinterpret_cast<SweepDialog*>(lParam));
        return TRUE;
    }
    SweepDialog* data = dialogData(dialog);
    if (message != WM_COMMAND || data == nullptr) return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_START_SWEEP:
            start(dialog, *data);
            return TRUE;
        case IDC_RESET_ORIGINALS:
            reset(dialog, *data);
            return TRUE;
        case IDC_CHOOSE_FILE:
            chooseParameterFile(dialog, IDC_SWEEP_FILE, text::kSweepSaveAsTitle, data->host.settings,
                                text::kSweepPrefix, data->options.fileName);
            return TRUE;
        case IDC_KIND_SCH_ON:
            switchBoxClicked(dialog, IDC_KIND_SCH_ON, IDC_KIND_SCH_OFF);
            return TRUE;
        case IDC_KIND_SCH_OFF:
            switchBoxClicked(dialog, IDC_KIND_SCH_OFF, IDC_KIND_SCH_ON);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            readBack(dialog, *data);
            closeToolDialog(dialog, data->host, data->host.router.afnameActive);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void RunSweepDialog(ToolDialogHost& host) {
    SweepDialog data{host, {}, {}};
    runToolDialog(host, IDD_AFNAME, sweepProc, &data);
}

}  // namespace tavir
