#include "shell/main_window_win32.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "resources/shell_texts.h"
#include "resources/tavir_rc.h"
#include "shell/key_commands.h"
#include "shell/window_settings.h"

namespace tavir {

namespace {

const char* fillIniPath(char (&iniPath)[kSettingsPathCapacity + 1], const char* directory) {
    SettingsPath(directory, iniPath);
    return iniPath;
}

// Opens the controller link chosen on the command line: 0, or -1 when there is no serial port
// (its message has been shown). A TCP connection that cannot be made ends the program itself.
// The transport is made once, for the one debugger window, and never destroyed: the timer
// thread may be sending on it while the process ends.
int openControllerLink(Program& program) {
    const LinkOptions& options = program.linkOptions;
    ProgramLink& link = program.link;
    MessageBoxes& boxes = program.linkBoxes;
    if (options.useSerial != 0) {
        SerialLink& serial = program.serialLink;
        serial.settings = defaultSerialSettings(options.comPort, options.baudRate);
        if (OpenSerialLink(serial, link, boxes) == INVALID_HANDLE_VALUE) return -1;
        link.transport = new SerialTransport(serial);
    } else {
        TcpClient& client = program.tcpClient;
        client.port = options.ipPort;
        client.Connect(options.ipAddress);
        link.transport = new TcpTransport(client);
        StartTcpReader(client, link, boxes);
    }
    return 0;
}

void postStartTool(HWND window, const LinkOptions& options) {
    int command = 0;
    if (options.openDpcom != 0) {
        command = IDM_DPCOM;
    } else if (options.openAfname != 0) {
        command = IDM_AFNAME;
    } else if (options.openParameters != 0) {
        command = IDM_PARAMETERS;
    } else if (options.openVerschillen != 0) {
        command = IDM_VERSCHILLEN;
    }
    if (command != 0) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

int verticalPixelsPerInch(HWND window) {
    HDC dc = GetDC(window);
    int perInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return perInch;
}

void applyStoredFont(MainWindowData& data) {
    FontSettings stored = readFontSettings(data.settings);
    if (!stored.useStoredFont) return;
    std::snprintf(data.logFont.lfFaceName, sizeof data.logFont.lfFaceName, "%s", stored.faceName);
    data.logFont.lfHeight = -MulDiv(stored.pointSize, verticalPixelsPerInch(data.window), 72);
    data.logFont.lfWidth = stored.width;
    HFONT creationFont = data.windows.font;
    data.windows.font = CreateFontIndirectA(&data.logFont);
    // Nothing holds the font made at creation yet: the window hands its font on only afterwards.
    if (creationFont != nullptr && creationFont != data.windows.font) DeleteObject(creationFont);
}

// The child windows reach the definitions, the link and the message lines through the set; the
// timers and the reader reach the window through its posts.
void connectDebugWindows(MainWindowData& data) {
    ProgramLink& link = data.program.link;
    DebuggerPosts& posts = data.program.debuggers.emplace_back();
    DebugWindowSet& windows = data.windows;
    windows.debuggerWindow = data.window;
    windows.number = data.number;
    windows.messages = &data.messages;
    windows.macros = data.definitions;
    windows.transport = link.transport;
    windows.flags = &link.flags;
    windows.posts = &posts;
    windows.handover = &posts.handover;
    windows.owner = &data.debugWindowOwner;
}

// The values of window number 1 go nowhere once it is gone; the handover itself stays, since the
// reader may be inside it.
void disconnectDebugWindows(MainWindowData& data) {
    leaveDebugWindowSet(data.windows);
    if (data.number == 1) data.program.link.router.windowSink.store(nullptr, std::memory_order_release);
}

LRESULT onCreate(HWND window, const CREATESTRUCTA& create) {
    const auto& creation = *static_cast<const MainWindowCreation*>(create.lpCreateParams);
    Program& program = *creation.program;
    if (openControllerLink(program) != 0) return -1;
    postStartTool(window, program.linkOptions);

    auto* data =
        new (std::nothrow) MainWindowData(program, window, creation.number, creation.definitionDirectory);
    if (data == nullptr) return -1;
    data->definitions = new (std::nothrow) MacroTable;
    if (data->definitions == nullptr) {
        delete data;
        return -1;
    }
    clearMacroTable(*data->definitions);
    connectDebugWindows(*data);
    WindowPlacement placement = readWindowPlacement(data->settings);
    MoveWindow(window, placement.left, placement.top, placement.width, placement.height, TRUE);
    enterMainWindow(program.mainWindows, creation.number, window);
    data->windows.font = CreateFontIndirectA(&data->logFont);
    applyStoredFont(*data);

    SetMessageFile(data->messages, nullptr);
    SetMessageLine(data->messages, 0);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(data));
    enterDebugWindowSet(data->windows);
    // Values for debugger window number 1 come to it from now on: its record is attached and its
    // handover can wake it.
    if (creation.number == 1)
        program.link.router.windowSink.store(data->windows.handover, std::memory_order_release);
    PostMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(data->windows.font), TRUE);
    return 0;
}

void storeWindowRectangle(MainWindowData& data) {
    RECT rect;
    GetWindowRect(data.window, &rect);
    writeWindowRectangle(data.settings, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

HWND MainMessageWindowOwner::ownerWindow() const {
    return main_.window;
}

void MainMessageWindowOwner::messageWindowChanged(HWND messageWindow) {
    main_.windows.messageWindow = messageWindow;
}

void MainMessageWindowOwner::messageWindowActivated() {
    main_.windows.keysToChild = 0;
}

// The child windows end where the message window begins.
void MainMessageWindowOwner::messageWindowMoved() {
    LayoutChildWindows(main_.windows);
}

void MainDebugWindowOwner::updateMenu() {
    UpdateMenu(main_);
}

const char* MainDebugWindowOwner::debugDirectory() const {
    return main_.debugDirectory;
}

MainWindowData::MainWindowData(Program& owner, HWND mainWindow, int32_t debuggerNumber,
                               const char* definitionDirectory)
    : program(owner),
      window(mainWindow),
      number(debuggerNumber),
      settings(fillIniPath(iniPath, definitionDirectory)),
      messageSink(windows.messageWindow),
      messageOwner(*this),
      debugWindowOwner(*this) {
    messages.sink = &messageSink;
    messages.boxes = &boxes;
    std::snprintf(openFileName, sizeof openFileName, "%s", text::kOpenFileDefaultName);
    static_assert(sizeof text::kOpenFileFilter <= sizeof openFileFilter, "the filter fits");
    std::memcpy(openFileFilter, text::kOpenFileFilter, sizeof text::kOpenFileFilter);
    formatOpenFileTitle(number, openFileTitle);
    std::snprintf(openFileDefaultExtension, sizeof openFileDefaultExtension, "%s",
                  text::kOpenFileDefaultExtension);
    formatBaseTitle(number, windows.baseTitle);
    logFont.lfHeight = 8;
    logFont.lfWidth = 6;
    logFont.lfWeight = 500;
    std::snprintf(logFont.lfFaceName, sizeof logFont.lfFaceName, "%s", text::kDefaultFontFace);
}

MainWindowData* mainWindowData(HWND window) {
    if (window == nullptr) return nullptr;
    char className[32];
    if (GetClassNameA(window, className, sizeof className) == 0 ||
        std::strcmp(className, kMainWindowClass) != 0) {
        return nullptr;
    }
    return reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, 0));
}

void UpdateMenu(MainWindowData& main) {
    HMENU menu = GetMenu(main.window);
    for (int id : kUpdatedMenuItems) {
        UINT state = menuItemEnabled(id, main.windows.childCount) ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | state);
    }
}

LRESULT HandleMainKey(MainWindowData& main, WPARAM virtualKey, LPARAM keyData) {
    DebugWindowSet& windows = main.windows;
    KeyAction action = keyAction(main.ctrlDown, static_cast<int>(virtualKey));
    switch (action.effect) {
        case KeyEffect::kCommand:
            SendMessageA(main.window, WM_COMMAND, static_cast<WPARAM>(action.command), 0);
            return 0;
        case KeyEffect::kFlipKeysToChild:
            windows.keysToChild = windows.keysToChild != 0 ? 0 : 1;
            if (windows.keysToChild == 1 && windows.currentChild != -1) {
                SetFocus(windows.childWindows[windows.currentChild]);
            } else {
                SetFocus(windows.messageWindow);
            }
            return 0;
        case KeyEffect::kToChild:
            break;
    }
    // Keys for a child window's items, whatever the menu states are.
    if (windows.keysToChild != 1 || windows.currentChild == -1) return -1;
    return HandleChildKey(windows.childWindows[windows.currentChild], main.ctrlDown, virtualKey, keyData);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return onCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
    MainWindowData* data = reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, 0));
    if (data == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (handleDebugWindowMessage(data->windows, message, wParam, lParam)) return 0;
    switch (message) {
        case WM_DESTROY:
            disconnectDebugWindows(*data);
            leaveMainWindow(data->program.mainWindows, data->number, window);
            PostQuitMessage(0);
            return 0;
        case WM_MOVE:
        case WM_SIZE:
            LayoutMessageWindow(data->window, data->windows.messageWindow);
            storeWindowRectangle(*data);
            return 0;
        case WM_SETFOCUS:
            if (data->windows.currentChild != -1)
                SetFocus(data->windows.childWindows[data->windows.currentChild]);
            return 0;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = 0;
            return 0;
        case WM_SETFONT:
            if (data->windows.messageWindow != nullptr) {
                SendMessageA(data->windows.messageWindow, WM_SETFONT, wParam, lParam);
            }
            for (int i = 0; i < data->windows.childCount; ++i) {
                SendMessageA(data->windows.childWindows[i], WM_SETFONT, wParam, lParam);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == static_cast<WPARAM>(kKeyControl)) {
                data->ctrlDown = true;
                return 0;
            }
            return HandleMainKey(*data, wParam, lParam);
        case WM_KEYUP:
            if (wParam == static_cast<WPARAM>(kKeyControl)) data->ctrlDown = false;
            return 0;
        case WM_ACTIVATE:
            // A Ctrl released while a dialog was active never reached this window: take the key's
            // state anew, so that a plain key after Ctrl+L and the font dialog is not read as Ctrl+key.
            if (LOWORD(wParam) != WA_INACTIVE) data->ctrlDown = GetKeyState(VK_CONTROL) < 0;
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0) return RunMainCommand(*data, LOWORD(wParam));
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace tavir
