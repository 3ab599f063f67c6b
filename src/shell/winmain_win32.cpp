// The program's entry: command line, window classes, keyboard hook, debugger window number 1,
// the message loop, and the shutdown.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/join_path.h"
#include "shell/command_line.h"
#include "shell/keyboard_hook_win32.h"
#include "shell/message_boxes_win32.h"
#include "shell/startup_win32.h"
#include "shell/window_classes_win32.h"

namespace {

constexpr DWORD kCurrentDirectoryCapacity = 256;  // 255 characters and the terminator

// The directory the debugger reads its definitions and debug window files from. A current
// directory that does not fit is left empty: bare file names then resolve in that same
// directory.
void readCurrentDirectory(char (&directory)[kCurrentDirectoryCapacity]) {
    DWORD length = GetCurrentDirectoryA(kCurrentDirectoryCapacity, directory);
    if (length == 0 || length >= kCurrentDirectoryCapacity) directory[0] = '\0';
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace tavir;
    // Made first, with its socket endpoint, and never destroyed (program_win32.h).
    Program& program = *new Program;
    // The endpoint closes in the exit processing, wherever the program ends: a fatal socket error
    // ends it with std::exit. Registered as the endpoint is made, so it runs where the destructor
    // of a static endpoint would. An exit function is handed nothing, so it reaches the endpoint
    // through this pointer, the one way to the program's record that is not handed down.
    static TcpClient* const endpoint = &program.tcpClient;
    std::atexit([] { endpoint->Close(); });
    Win32MessageBoxes boxes;
    if (commandLine != nullptr && commandLine[0] != '\0') {
        ParseCommandLine(commandLine, program.linkOptions, boxes);
    }
    clearMainWindowTable(program.mainWindows);
    program.instance = instance;

    Win32ClassRegistrar registrar(instance);
    if (registerWindowClasses(registrar, boxes) != 0) return 0;
    InstallKeyboardHook();

    char definitionDirectory[kCurrentDirectoryCapacity];
    readCurrentDirectory(definitionDirectory);
    char debugDirectoryPath[kCurrentDirectoryCapacity + 1];
    std::snprintf(debugDirectoryPath, sizeof debugDirectoryPath, "%s", definitionDirectory);
    size_t length = std::strlen(debugDirectoryPath);
    if (length > 0 && debugDirectoryPath[length - 1] != '\\' && debugDirectoryPath[length - 1] != '/') {
        debugDirectoryPath[length] = '\\';
        debugDirectoryPath[length + 1] = '\0';
    }

    if (OpenDebugger(program, 1, definitionDirectory, debugDirectoryPath) == nullptr) return 0;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The program ends in order from here: a receive or send that fails now is the endpoint
    // closing under the reader or a sender at exit, and is not reported.
    program.tcpClient.closing = true;
    stopReader(program.link);
    RemoveKeyboardHook();
    const MainWindowTable& table = program.mainWindows;
    for (int number = 0; number <= table.highest && number < kMainWindowTableCapacity; ++number) {
        if (table.windows[number] != nullptr) DestroyWindow(table.windows[number]);
    }
    unregisterWindowClasses(registrar);
    return 1;
}
