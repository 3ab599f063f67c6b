#include "shell/startup_win32.h"

#include <cstdio>

#include "debugwin/child_windows_win32.h"
#include "resources/shell_texts.h"
#include "shell/load_definitions.h"
#include "shell/main_window_win32.h"

namespace tavir {

void clearMainWindowTable(MainWindowTable& table) {
    for (HWND& window : table.windows) window = nullptr;
    table.highest = -1;
}

void enterMainWindow(MainWindowTable& table, int32_t number, HWND window) {
    if (number < 0 || number >= kMainWindowTableCapacity) return;
    table.windows[number] = window;
    if (number > table.highest) table.highest = number;
}

void leaveMainWindow(MainWindowTable& table, int32_t number, HWND window) {
    if (number < 0 || number >= kMainWindowTableCapacity) return;
    if (table.windows[number] == window) table.windows[number] = nullptr;
}

HWND OpenDebugger(Program& program, int32_t number, const char* definitionDirectory,
                  const char* debugDirectoryPath) {
    MainWindowCreation creation{number, definitionDirectory, &program};
    HWND window = CreateWindowExA(0, kMainWindowClass, text::kMainWindowTitle, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                  nullptr, program.instance, &creation);
    if (window == nullptr) return nullptr;
    MainWindowData& main = *mainWindowData(window);
    if (CreateMessageWindow(main.messageOwner, main.windows.font) == nullptr) {
        DestroyWindow(window);
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);

    DefinitionsResult definitions =
        LoadDefinitions(*main.definitions, program.tables, main.messages, main.boxes, definitionDirectory);
    if (definitions == DefinitionsResult::kFailed) {
        DestroyWindow(window);
        return nullptr;
    }
    if (definitions == DefinitionsResult::kHeaderPathTooLong) return window;

    DebugWindowSet& windows = main.windows;
    LoadDebugWindowFiles(windows, debugDirectoryPath, text::kDebugFilePattern);
    LoadDebugWindowFiles(windows, debugDirectoryPath, text::kDebugFileAltPattern);
    if (windows.childCount >= 1) {
        LayoutChildWindows(windows);
        // Nothing was shown yet: the last window sorted in was never started and is not stopped.
        selectAfterOpening(windows, nullptr, 0);
    }

    std::snprintf(main.debugDirectory, sizeof main.debugDirectory, "%s", debugDirectoryPath);
    return window;
}

}  // namespace tavir
