#pragma once
#include <windows.h>

#include <cstdint>

#include "shell/link_options.h"

namespace tavir {

struct MainWindowData;

constexpr int kMainWindowTableCapacity = 1000;
constexpr int kDebugDirectoryCapacity = 260;

// The debugger windows by number, and the highest number in use (-1: none).
struct MainWindowTable {
    HWND windows[kMainWindowTableCapacity];
    int32_t highest;
};

MainWindowTable& mainWindowTable();
void clearMainWindowTable();
// Enters window at number, raising the highest number in use when needed.
void enterMainWindow(int32_t number, HWND window);
// Empties number's entry when it still holds window.
void leaveMainWindow(int32_t number, HWND window);

// The link options and start-tool flags from the command line.
LinkOptions& programLinkOptions();

// The program's instance, kept for window and dialog creation.
HINSTANCE& programInstance();

// The directory searched for number's debug window files (with its trailing separator).
const char* debugDirectory(int32_t number);

// The start-up of debugger window number: the window with its link and message window, the
// definitions, and the debug window files. Gives the window, or none when the program is to end.
HWND OpenDebugger(int32_t number, const char* definitionDirectory, const char* debugDirectory);

}  // namespace tavir
