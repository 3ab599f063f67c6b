#include "shell/startup_win32.h"

#include <cstdio>

#include "debugwin/child_windows_win32.h"
#include "definitions/object_tables.h"
#include "resources/shell_texts.h"
#include "shell/load_definitions.h"
#include "shell/main_window_win32.h"

namespace tavir {

namespace {

char debugDirectories[kMainWindowTableCapacity][kDebugDirectoryCapacity];

}  // namespace

MainWindowTable& mainWindowTable() {
    static MainWindowTable table{};
    return table;
}

void clearMainWindowTable() {
    MainWindowTable& table = mainWindowTable();
    for (HWND& window : table.windows) window = nullptr;
    table.highest = -1;
}

void enterMainWindow(int32_t number, HWND window) {
    if (number < 0 || number >= kMainWindowTableCapacity) return;
    MainWindowTable& table = mainWindowTable();
    table.windows[number] = window;
    if (number > table.highest) table.highest = number;
}

void leaveMainWindow(int32_t number, HWND window) {
    if (number < 0 || number >= kMainWindowTableCapacity) return;
    MainWindowTable& table = mainWindowTable();
    if (table.windows[number] == window) table.windows[number] = nullptr;
}

LinkOptions& programLinkOptions() {
    static LinkOptions options;
    return options;
}

HINSTANCE& programInstance() {
    static HINSTANCE instance = nullptr;
    return instance;
}

const char* debugDirectory(int32_t number) {
    if (number < 0 || number >= kMainWindowTableCapacity) return "";
    return debugDirectories[number];
}

HWND OpenDebugger(int32_t number, const char* definitionDirectory, const char* debugDirectoryPath) {
    MainWindowCreation creation{number, definitionDirectory};
    HWND window = CreateWindowExA(0, kMainWindowClass, text::kMainWindowTitle, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                  nullptr, programInstance(), &creation);
    if (window == nullptr) return nullptr;
    MainWindowData& main = *mainWindowData(window);
    if (CreateMessageWindow(main.messageOwner, main.windows.font) == nullptr) {
        DestroyWindow(window);
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);

    DefinitionsResult definitions =
        LoadDefinitions(*main.definitions, programTables(), main.messages, main.boxes, definitionDirectory);
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

    if (number >= 0 && number < kMainWindowTableCapacity) {
        std::snprintf(debugDirectories[number], kDebugDirectoryCapacity, "%s", debugDirectoryPath);
    }
    return window;
}

}  // namespace tavir
