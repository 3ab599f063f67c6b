#include "tools/tool_dialog_controls_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include "resources/tavir_rc.h"
#include "resources/tools_texts.h"
#include "tools/tool_settings.h"

namespace tavir {

namespace {

// In kind order.
constexpr int kKindBoxes[kParameterKindCount] = {IDC_KIND_ONT,     IDC_KIND_VG,   IDC_KIND_GL,   IDC_KIND_MG,
                                                 IDC_KIND_HIAAT,   IDC_KIND_TIJD, IDC_KIND_KLOK, IDC_KIND_SCH,
                                                 IDC_KIND_EGGPARM, IDC_KIND_EPARM};
constexpr int kSpeedRadios[kSpeedCount] = {IDC_SPEED_FASTEST, IDC_SPEED_FAST, IDC_SPEED_NORMAL,
                                           IDC_SPEED_SLOW, IDC_SPEED_SLOWEST};
constexpr int kFileNameCapacity = 260;

// The common dialogs' library is loaded only when the save-as dialog is first asked for, as the
// debugger window does for its own dialogs.
decltype(&GetSaveFileNameA) saveFileDialog() {
    static HMODULE library = LoadLibraryA("comdlg32.dll");
    if (library == nullptr) return nullptr;
    return reinterpret_cast<decltype(&GetSaveFileNameA)>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "GetSaveFileNameA")));
}

}  // namespace

bool isChecked(HWND dialog, int control) {
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

void setChecked(HWND dialog, int control, bool on) {
    CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED);
}

std::string controlText(HWND dialog, int control) {
    char buffer[kFileNameCapacity] = {};
    GetDlgItemTextA(dialog, control, buffer, sizeof buffer);
    return buffer;
}

void setKindBoxes(HWND dialog, const KindSelection& kinds, const ApplicationTables& tables) {
    for (int k = 0; k < kParameterKindCount; ++k) {
        const bool available = kindAvailable(kindAt(k), tables);
        EnableWindow(GetDlgItem(dialog, kKindBoxes[k]), available ? TRUE : FALSE);
        setChecked(dialog, kKindBoxes[k], available && kinds.selected[k]);
    }
}

KindSelection readKindBoxes(HWND dialog) {
    KindSelection kinds;
    for (int k = 0; k < kParameterKindCount; ++k) kinds.selected[k] = isChecked(dialog, kKindBoxes[k]);
    return kinds;
}

void setSpeedRadios(HWND dialog, uint32_t intervalMs) {
    const int choice = speedChoiceOf(intervalMs);
    for (int i = 0; i < kSpeedCount; ++i) setChecked(dialog, kSpeedRadios[i], i == choice);
}

uint32_t readSpeedRadios(HWND dialog, uint32_t intervalMs) {
    for (int i = 0; i < kSpeedCount; ++i) {
        if (isChecked(dialog, kSpeedRadios[i])) return kSpeedIntervals[i];
    }
    return intervalMs;
}

bool chooseSaveFile(HWND dialog, int edit, const char* title, const char* fileType, const char* extension,
                    std::string& name) {
    auto getSaveFileName = saveFileDialog();
    if (getSaveFileName == nullptr) return false;
    // The display text, an empty pattern, and the empty entry that ends the list.
    std::string filter(fileType);
    filter.append(3, '\0');
    char chosen[kFileNameCapacity] = {};
    GetDlgItemTextA(dialog, edit, chosen, sizeof chosen);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof chosen;
    request.lpstrInitialDir = ".";
    request.lpstrTitle = title;
    request.lpstrDefExt = extension;
    if (!getSaveFileName(&request)) return false;
    SetDlgItemTextA(dialog, edit, chosen);
    name = chosen;
    return true;
}

void chooseParameterFile(HWND dialog, int edit, const char* title, Settings& settings, const char* prefix,
                         std::string& fileName) {
    std::string chosen;
    if (!chooseSaveFile(dialog, edit, title, text::kParameterFileType, text::kParameterFileExtension, chosen))
        return;
    if (chosen == fileName) return;
    fileName = chosen;
    writeFileNameKey(settings, prefix, chosen.c_str());
}

void DialogReporter::beginProgress(int total) {
    HWND bar = GetDlgItem(dialog_, IDC_PROGRESS);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    SendMessageA(bar, PBM_SETRANGE32, 0, total);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
}

void DialogReporter::stepProgress() {
    SendMessageA(GetDlgItem(dialog_, IDC_PROGRESS), PBM_STEPIT, 0, 0);
}

void DialogReporter::showMessage(const char* text, const char* caption, ToolIcon icon) {
    MessageBoxA(dialog_, text, caption, icon == ToolIcon::kStop ? MB_ICONSTOP : MB_ICONINFORMATION);
}

}  // namespace tavir
