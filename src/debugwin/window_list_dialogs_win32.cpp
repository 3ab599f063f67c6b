// The two window list dialogs of the debugger window: closing child windows, and choosing the
// current one. Each lists the child windows in their order, by the line of the list file that
// names the file, or else by path.
#include <cstdio>

#include "debugwin/center_dialog_win32.h"
#include "debugwin/child_windows_win32.h"
#include "resources/debugwin_texts.h"
#include "resources/tavir_rc.h"

namespace tavir {

namespace {

DebugWindowSet& setOf(HWND dialog) {
    return *reinterpret_cast<DebugWindowSet*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Fills the list with the child windows and selects entry requested, or the current child window
// when none is requested (-1), at most the last entry.
void fillWindowList(HWND dialog, DebugWindowSet& set, int requested) {
    HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    char listPath[kChildTitleCapacity + sizeof text::kWindowListFile];
    std::snprintf(listPath, sizeof listPath, "%s%s", set.owner->debugDirectory(), text::kWindowListFile);
    std::FILE* listFile = std::fopen(listPath, "r");
    char title[kChildTitleCapacity];
    char entry[kChildTitleCapacity];
    for (int i = 0; i < set.childCount; ++i) {
        GetWindowTextA(set.childWindows[i], title, sizeof title);
        windowListEntry(title, listFile, entry);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    if (listFile != nullptr) std::fclose(listFile);
    int selection = requested >= 0 ? requested : set.currentChild;
    if (selection > set.childCount - 1) selection = set.childCount - 1;
    if (selection >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int selectedEntry(HWND dialog) {
    LRESULT selection = SendDlgItemMessageA(dialog, IDC_WINDOW_LIST, LB_GETCURSEL, 0, 0);
    return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

bool chosen(WPARAM wParam) {
    return LOWORD(wParam) == IDOK || (LOWORD(wParam) == IDC_WINDOW_LIST && HIWORD(wParam) == LBN_DBLCLK);
}

void openList(HWND dialog, LPARAM set, int requested) {
    SetWindowLongPtrA(dialog, DWLP_USER, set);
    CenterDialog(dialog, GetWindow(dialog, GW_OWNER));
    fillWindowList(dialog, setOf(dialog), requested);
}

// The dialog stays open: one window after the other can be closed until "&Annuleren".
INT_PTR CALLBACK closeWindowsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            openList(dialog, lParam, 0);
            return TRUE;
        case WM_COMMAND:
            if (chosen(wParam)) {
                const int entry = selectedEntry(dialog);
                if (entry >= 0) {
                    CloseChildWindow(setOf(dialog), entry);
                    fillWindowList(dialog, setOf(dialog), entry);
                }
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

INT_PTR CALLBACK chooseWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            openList(dialog, lParam, -1);
            return TRUE;
        case WM_COMMAND:
            if (chosen(wParam)) {
                DebugWindowSet& set = setOf(dialog);
                const int entry = selectedEntry(dialog);
                // Leaving the focused item may ask whether to save what was typed into it.
                if (set.currentChild >= 0) SetItemFocus(set.childWindows[set.currentChild], -1);
                if (entry >= 0) SelectChildWindow(set, entry);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

void runListDialog(DebugWindowSet& set, int dialogId, DLGPROC procedure) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(set.debuggerWindow, GWLP_HINSTANCE));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), set.debuggerWindow, procedure,
                    reinterpret_cast<LPARAM>(&set));
}

}  // namespace

void runCloseWindowsDialog(DebugWindowSet& set) {
    runListDialog(set, IDD_CLOSE_WINDOWS, closeWindowsProc);
}

void runChooseWindowDialog(DebugWindowSet& set) {
    runListDialog(set, IDD_CHOOSE_WINDOW, chooseWindowProc);
}

}  // namespace tavir
