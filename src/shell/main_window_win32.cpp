#include "shell/main_window_win32.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "link/reader_win32.h"
#include "link/serial_link_win32.h"
#include "link/tcp_transport_win32.h"
#include "resources/shell_texts.h"
#include "resources/tavir_rc.h"
#include "shell/key_commands.h"
#include "shell/startup_win32.h"
#include "shell/window_settings.h"

namespace tavir {

bool ctrlDown = false;

namespace {

const char* fillIniPath(char (&iniPath)[kSettingsPathCapacity + 1], const char* directory) {
    SettingsPath(directory, iniPath);
    return iniPath;
}

// Opens the controller link chosen on the command line: 0, or -1 when there is no serial port
// (its message has been shown). A TCP connection that cannot be made ends the program itself.
// The transport is made once, for the one debugger window, and never destroyed: the timer
// thread may be sending on it while the process ends.
int openControllerLink(MessageBoxes& boxes) {
    const LinkOptions& options = programLinkOptions();
    ProgramLink& link = programLink();
    if (options.useSerial != 0) {
        SerialLink& serial = programSerialLink();
        serial.settings = defaultSerialSettings(options.comPort, options.baudRate);
        if (OpenSerialLink(serial, boxes) == INVALID_HANDLE_VALUE) return -1;
        link.transport = new SerialTransport(serial);
    } else {
        TcpClient& client = programTcpClient();
        client.port = options.ipPort;
        client.Connect(options.ipAddress);
        link.transport = new TcpTransport(client);
        StartTcpReader(client, boxes);
    }
    return 0;
}

void postStartTool(HWND window) {
    const LinkOptions& options = programLinkOptions();
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
    HFONT creationFont = data.font;
    data.font = CreateFontIndirectA(&data.logFont);
    // Nothing holds the font made at creation yet: the window hands its font on only afterwards.
    if (creationFont != nullptr && creationFont != data.font) DeleteObject(creationFont);
}

LRESULT onCreate(HWND window, const CREATESTRUCTA& create) {
    const auto& creation = *static_cast<const MainWindowCreation*>(create.lpCreateParams);
    // The reader thread shows its boxes through this object; like the link, it is never destroyed.
    static Win32MessageBoxes& linkBoxes = *new Win32MessageBoxes;
    if (openControllerLink(linkBoxes) != 0) return -1;
    postStartTool(window);

    auto* data = new (std::nothrow) MainWindowData(window, creation.number, creation.definitionDirectory);
    if (data == nullptr) return -1;
    data->definitions = new (std::nothrow) MacroTable;
    if (data->definitions == nullptr) {
        delete data;
        return -1;
    }
    clearMacroTable(*data->definitions);
    WindowPlacement placement = readWindowPlacement(data->settings);
    MoveWindow(window, placement.left, placement.top, placement.width, placement.height, TRUE);
    enterMainWindow(creation.number, window);
    data->font = CreateFontIndirectA(&data->logFont);
    applyStoredFont(*data);

    SetMessageFile(data->messages, nullptr);
    SetMessageLine(data->messages, 0);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(data));
    PostMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(data->font), TRUE);
    return 0;
}

void storeWindowRectangle(MainWindowData& data) {
    RECT rect;
    GetWindowRect(data.window, &rect);
    writeWindowRectangle(data.settings, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

HWND MainMessageWindowOwner::ownerWindow() const { return main_.window; }

void MainMessageWindowOwner::messageWindowChanged(HWND messageWindow) { main_.messageWindow = messageWindow; }

void MainMessageWindowOwner::messageWindowActivated() { main_.keysToChild = 0; }

// The child windows are laid out in the space above the message window once they exist.
void MainMessageWindowOwner::messageWindowMoved() {}

MainWindowData::MainWindowData(HWND mainWindow, int32_t debuggerNumber, const char* definitionDirectory)
    : window(mainWindow),
      number(debuggerNumber),
      settings(fillIniPath(iniPath, definitionDirectory)),
      messageSink(messageWindow),
      messageOwner(*this) {
    messages.sink = &messageSink;
    messages.boxes = &boxes;
    std::snprintf(openFileName, sizeof openFileName, "%s", text::kOpenFileDefaultName);
    static_assert(sizeof text::kOpenFileFilter <= sizeof openFileFilter, "the filter fits");
    std::memcpy(openFileFilter, text::kOpenFileFilter, sizeof text::kOpenFileFilter);
    formatOpenFileTitle(number, openFileTitle);
    std::snprintf(openFileDefaultExtension, sizeof openFileDefaultExtension, "%s", text::kOpenFileDefaultExtension);
    formatBaseTitle(number, baseTitle);
    logFont.lfHeight = 8;
    logFont.lfWidth = 6;
    logFont.lfWeight = 500;
    std::snprintf(logFont.lfFaceName, sizeof logFont.lfFaceName, "%s", text::kDefaultFontFace);
}

MainWindowData* mainWindowData(HWND window) {
    if (window == nullptr) return nullptr;
    char className[32];
    if (GetClassNameA(window, className, sizeof className) == 0 || std::strcmp(className, kMainWindowClass) != 0) {
        return nullptr;
    }
    return reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, 0));
}

void UpdateMenu(MainWindowData& main) {
    HMENU menu = GetMenu(main.window);
    for (int id : kUpdatedMenuItems) {
        UINT state = menuItemEnabled(id, main.childCount) ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | state);
    }
}

LRESULT HandleMainKey(MainWindowData& main, WPARAM virtualKey, LPARAM) {
    KeyAction action = keyAction(ctrlDown, static_cast<int>(virtualKey));
    switch (action.effect) {
    case KeyEffect::kCommand:
        SendMessageA(main.window, WM_COMMAND, static_cast<WPARAM>(action.command), 0);
        return 0;
    case KeyEffect::kFlipKeysToChild:
        main.keysToChild = main.keysToChild != 0 ? 0 : 1;
        if (main.keysToChild == 1 && main.currentChild != -1) {
            SetFocus(main.childWindows[main.currentChild]);
        } else {
            SetFocus(main.messageWindow);
        }
        return 0;
    case KeyEffect::kToChild:
        break;
    }
    // Keys for a child window's items: without a current child window nobody takes them.
    return -1;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return onCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
    MainWindowData* data = reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, 0));
    if (data == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        leaveMainWindow(data->number, window);
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        LayoutMessageWindow(data->window, data->messageWindow);
        storeWindowRectangle(*data);
        return 0;
    case WM_SETFOCUS:
        if (data->currentChild != -1) SetFocus(data->childWindows[data->currentChild]);
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = 0;
        return 0;
    case WM_SETFONT:
        if (data->messageWindow != nullptr) SendMessageA(data->messageWindow, WM_SETFONT, wParam, lParam);
        for (int i = 0; i < data->childCount; ++i) SendMessageA(data->childWindows[i], WM_SETFONT, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        if (wParam == static_cast<WPARAM>(kKeyControl)) {
            ctrlDown = true;
            return 0;
        }
        return HandleMainKey(*data, wParam, lParam);
    case WM_KEYUP:
        if (wParam == static_cast<WPARAM>(kKeyControl)) ctrlDown = false;
        return 0;
    case WM_ACTIVATE:
        // A Ctrl released while a dialog was active never reached this window: take the key's
        // state anew, so that a plain key after Ctrl+L and the font dialog is not read as Ctrl+key.
        if (LOWORD(wParam) != WA_INACTIVE) ctrlDown = GetKeyState(VK_CONTROL) < 0;
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
