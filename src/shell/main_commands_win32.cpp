// The commands of the debugger window's menu and keys.
#include <cstdio>

#include "base/join_path.h"
#include "debugwin/center_dialog_win32.h"
#include "debugwin/child_windows_win32.h"
#include "resources/debugwin_texts.h"
#include "resources/shell_texts.h"
#include "resources/tavir_rc.h"
#include "shell/main_window_win32.h"
#include "shell/open_selection.h"
#include "shell/window_settings.h"
#include "tools/tool_dialogs_win32.h"

namespace tavir {

namespace {

// The common dialogs' library is loaded when a dialog is first asked for: it brings in the
// shell's libraries, which would otherwise add to every start of the program.
template <class Function>
Function commonDialog(const char* name) {
    static HMODULE library = LoadLibraryA("comdlg32.dll");
    if (library == nullptr) return nullptr;
    // Through void (*)(): GetProcAddress gives every address the same type.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CenterDialog(dialog, GetWindow(dialog, GW_OWNER));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

void showAbout(MainWindowData& main) {
    DialogBoxParamA(instanceOf(main.window), MAKEINTRESOURCEA(IDD_ABOUT), main.window, aboutProc, 0);
}

void chooseFont(MainWindowData& main) {
    CHOOSEFONTA& dialog = main.fontDialog;
    dialog = CHOOSEFONTA{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = main.window;
    dialog.lpLogFont = &main.logFont;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ANSIONLY;
    auto chooseFontDialog = commonDialog<decltype(&ChooseFontA)>("ChooseFontA");
    if (chooseFontDialog == nullptr || !chooseFontDialog(&dialog)) return;

    HFONT previous = main.windows.font;
    main.windows.font = CreateFontIndirectA(&main.logFont);
    HDC dc = GetDC(main.window);
    int perInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(main.window, dc);
    writeFontSettings(main.settings, main.logFont.lfFaceName, -MulDiv(main.logFont.lfHeight, 72, perInch),
                      main.logFont.lfWidth);
    SendMessageA(main.window, WM_SETFONT, reinterpret_cast<WPARAM>(main.windows.font), TRUE);
    // Every control has the new font now.
    if (previous != nullptr && previous != main.windows.font) DeleteObject(previous);
}

void reportWindowLimit(MainWindowData& main) {
    if (main.windows.childCount < kMaxChildWindows) return;
    char line[64];
    std::snprintf(line, sizeof line, text::kWindowLimitFormat, main.windows.childCount);
    ReportMessage(main.messages, kWarning, line);
}

void openFiles(MainWindowData& main) {
    std::snprintf(main.openFileName, sizeof main.openFileName, "%s", text::kOpenFileDefaultName);
    OPENFILENAMEA& dialog = main.openFileDialog;
    dialog = OPENFILENAMEA{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = main.window;
    dialog.lpstrFilter = main.openFileFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = main.openFileName;
    dialog.nMaxFile = sizeof main.openFileName;
    dialog.lpstrTitle = main.openFileTitle;
    dialog.lpstrDefExt = main.openFileDefaultExtension;
    // Without the explorer style the selection comes back as a directory and names with blanks.
    dialog.Flags = OFN_ALLOWMULTISELECT;
    auto openFileDialog = commonDialog<decltype(&GetOpenFileNameA)>("GetOpenFileNameA");
    if (openFileDialog == nullptr || !openFileDialog(&dialog)) return;

    DebugWindowSet& windows = main.windows;
    HWND visibleBefore = windows.currentChild != -1 ? windows.childWindows[windows.currentChild] : nullptr;
    char* pieces[kMaxSelectionPieces];
    int count = splitOpenSelection(main.openFileName, pieces);
    if (count == 1) {
        OpenDebugWindowFile(windows, pieces[0]);
    } else {
        for (int i = 1; i < count && windows.childCount < kMaxChildWindows; ++i) {
            const char* path = JoinPath(pieces[0], pieces[i]);
            if (path == nullptr) {
                ReportMessage(main.messages, kError, pieces[i], text::kDebugPathTooLong, pieces[0]);
                continue;
            }
            char copy[kPathCapacity];
            std::snprintf(copy, sizeof copy, "%s", path);
            OpenDebugWindowFile(windows, copy);
        }
    }
    reportWindowLimit(main);
    SendMessageA(main.window, WM_SETFONT, reinterpret_cast<WPARAM>(windows.font), TRUE);
    LayoutChildWindows(windows);
    // The current-child index is now the position of the last file opened; the window shown
    // before is stopped and hidden when another one becomes current.
    selectAfterOpening(windows, visibleBefore, windows.currentChild);
    UpdateMenu(main);
}

// The previous (step -1) or next (+1) child window becomes current, round from one end to the
// other; first the focused item lets go, which may ask to save a typed value.
void stepChildWindow(MainWindowData& main, int step) {
    DebugWindowSet& windows = main.windows;
    if (windows.currentChild != -1) SetItemFocus(windows.childWindows[windows.currentChild], -1);
    if (windows.childCount < 2) return;
    int index = windows.currentChild + step;
    if (index < 0) index = windows.childCount - 1;
    if (index >= windows.childCount) index = 0;
    SelectChildWindow(windows, index);
}

// Continu Weergeven and Stop Weergeven: every item of the current child window.
void setMonitoring(MainWindowData& main, bool on) {
    DebugWindowSet& windows = main.windows;
    if (windows.currentChild == -1) return;
    ChildWindow* current = childWindowOf(windows.childWindows[windows.currentChild]);
    if (current == nullptr) return;
    for (int i = 0; i < current->data.itemCount; ++i)
        setItemMonitoring(*windows.transport, current->data.items[i], on);
}

// The current child window stops its live values while a tool is open; the tool's dialog starts
// them again when it closes.
void runTool(MainWindowData& main, void (*runDialog)(ToolDialogHost&)) {
    ProgramLink& link = main.program.link;
    if (link.transport == nullptr) return;
    DebugWindowSet& windows = main.windows;
    if (windows.currentChild != -1) SetChildDisplay(windows.childWindows[windows.currentChild], false);
    ToolDialogHost host{main.window, windows,         main.settings,       link.router,       link.path,
                        link.flags,  *link.transport, main.debugDirectory, main.program.tools};
    runDialog(host);
}

}  // namespace

LRESULT RunMainCommand(MainWindowData& main, int command) {
    // Every command sees the values received before it, as if each had reached its item at once.
    showArrivedValues(main.windows);
    switch (command) {
        case IDM_OPEN:
            openFiles(main);
            break;
        case IDM_EXIT:
            // The quit message is only taken from an otherwise empty queue: values that keep
            // arriving would keep it waiting, so they stop going to this window first.
            main.program.link.router.windowSink.store(nullptr, std::memory_order_release);
            PostQuitMessage(0);
            break;
        case IDM_CLOSE_WINDOWS:
            runCloseWindowsDialog(main.windows);
            UpdateMenu(main);
            break;
        case IDM_CHOOSE_WINDOW:
            runChooseWindowDialog(main.windows);
            break;
        case IDM_PREVIOUS_WINDOW:
            stepChildWindow(main, -1);
            break;
        case IDM_NEXT_WINDOW:
            stepChildWindow(main, 1);
            break;
        case IDM_DISPLAY_ON:
            setMonitoring(main, true);
            break;
        case IDM_DISPLAY_OFF:
            setMonitoring(main, false);
            break;
        case IDM_FONT:
            chooseFont(main);
            break;
        case IDM_DPCOM:
            runTool(main, RunDumpDialog);
            break;
        case IDM_AFNAME:
            runTool(main, RunSweepDialog);
            break;
        case IDM_PARAMETERS:
            runTool(main, RunAdjustmentDialog);
            break;
        case IDM_VERSCHILLEN:
            runTool(main, RunDifferencesDialog);
            break;
        case IDM_ABOUT:
            showAbout(main);
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace tavir
