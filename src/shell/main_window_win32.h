#pragma once
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <cstdint>

#include "base/message_log.h"
#include "debugwin/child_windows_win32.h"
#include "debugwin/message_window_win32.h"
#include "definitions/macro_table.h"
#include "shell/menu_states.h"
#include "shell/message_boxes_win32.h"
#include "shell/program_win32.h"
#include "shell/settings_path.h"
#include "shell/settings_win32.h"
#include "shell/window_title.h"

namespace tavir {

inline constexpr char kMainWindowClass[] = "TVRMAINCLASS";

constexpr int kOpenFileNameCapacity = 1024;
constexpr int kDebugDirectoryCapacity = 260;

struct MainWindowData;

// The debugger window's side of its message window.
class MainMessageWindowOwner : public MessageWindowOwner {
public:
    explicit MainMessageWindowOwner(MainWindowData& main) : main_(main) {}
    HWND ownerWindow() const override;
    void messageWindowChanged(HWND messageWindow) override;
    void messageWindowActivated() override;
    void messageWindowMoved() override;

private:
    MainWindowData& main_;
};

// The debugger window's side of its child windows.
class MainDebugWindowOwner : public DebugWindowOwner {
public:
    explicit MainDebugWindowOwner(MainWindowData& main) : main_(main) {}
    void updateMenu() override;
    const char* debugDirectory() const override;

private:
    MainWindowData& main_;
};

// The record of a debugger window, attached to it while it exists. Its child windows, the current
// one, the keys for it, the titles, the font and the message window are in windows.
struct MainWindowData {
    explicit MainWindowData(Program& owner, HWND mainWindow, int32_t debuggerNumber,
                            const char* definitionDirectory);

    Program& program;
    HWND window;
    int32_t number;
    // Whether the Ctrl key is held, from the forwarded key messages.
    bool ctrlDown = false;
    // Searched for the debug window files (with its trailing separator); set once the start-up
    // has loaded them.
    char debugDirectory[kDebugDirectoryCapacity] = {};
    DebugWindowSet windows;
    MacroTable* definitions = nullptr;
    OPENFILENAMEA openFileDialog{};
    MessageLog messages;  // messageFileContext and messageLineContext, and where the lines go
    char openFileName[kOpenFileNameCapacity] = {};
    char openFileFilter[256] = {};
    char openFileTitle[kTitleCapacity] = {};
    char openFileDefaultExtension[8] = {};
    char iniPath[kSettingsPathCapacity + 1] = {};
    CHOOSEFONTA fontDialog{};
    LOGFONTA logFont{};

    ProfileSettings settings;
    MessageWindowSink messageSink;
    MainMessageWindowOwner messageOwner;
    MainDebugWindowOwner debugWindowOwner;
    Win32MessageBoxes boxes;
};

// What CreateWindow hands to the debugger window's creation.
struct MainWindowCreation {
    int32_t number;
    const char* definitionDirectory;
    Program* program;
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The record of a debugger window; none while it is being created or for another window.
MainWindowData* mainWindowData(HWND window);

// Sets the menu states that follow the number of child windows.
void UpdateMenu(MainWindowData& main);

// The commands of the menu and the keys; result 0.
LRESULT RunMainCommand(MainWindowData& main, int command);

// The key commands of a key that the keyboard hook forwarded.
LRESULT HandleMainKey(MainWindowData& main, WPARAM virtualKey, LPARAM keyData);

}  // namespace tavir
