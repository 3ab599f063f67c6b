#include "debugwin/message_window_win32.h"

#include <new>

#include "debugwin/message_window_layout.h"
#include "resources/debugwin_texts.h"
#include "shell/main_window_win32.h"

namespace tavir {

namespace {

// Private message of the message window: append the text in lParam and select it.
constexpr UINT kAddLine = WM_APP + 1;

MessageWindowData* messageData(HWND window) {
    return reinterpret_cast<MessageWindowData*>(GetWindowLongPtrA(window, 0));
}

// The debugger window that a message window belongs to.
MainWindowData* ownerData(HWND window) {
    return mainWindowData(GetParent(window));
}

void fillClientArea(MessageWindowData& data) {
    RECT client;
    GetClientRect(data.window, &client);
    MoveWindow(data.list, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT onCreate(HWND window, const CREATESTRUCTA& create) {
    HWND mainWindow = reinterpret_cast<HWND>(create.lpCreateParams);
    MainWindowData* main = mainWindowData(mainWindow);
    auto* data = new (std::nothrow) MessageWindowData{window, nullptr};
    if (data == nullptr || main == nullptr) {
        delete data;
        return -1;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(data));
    main->messageWindow = window;
    RECT client;
    GetClientRect(window, &client);
    data->list = CreateWindowExA(0, "listbox", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                                 client.right, client.bottom, window, nullptr, create.hInstance, nullptr);
    return data->list != nullptr ? 0 : -1;
}

void onGetMinMaxInfo(HWND window, MINMAXINFO& info) {
    MainWindowData* main = ownerData(window);
    if (main == nullptr) return;
    RECT client;
    GetClientRect(main->window, &client);
    info.ptMinTrackSize.x = client.right;
    info.ptMaxTrackSize.x = client.right;
    info.ptMinTrackSize.y = 0;
    info.ptMaxTrackSize.y = client.bottom;
}

int addLineHere(MessageWindowData& data, const char* text) {
    LRESULT position = SendMessageA(data.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (position < 0) return -1;
    SendMessageA(data.list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    return static_cast<int>(position);
}

}  // namespace

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY: {
        MessageWindowData* data = messageData(window);
        SetWindowLongPtrA(window, 0, 0);
        delete data;
        if (MainWindowData* main = ownerData(window)) main->messageWindow = nullptr;
        return 0;
    }
    case WM_MOVE:
    case WM_SIZE:
        if (MessageWindowData* data = messageData(window)) fillClientArea(*data);
        return 0;
    case WM_SETFOCUS:
        if (MainWindowData* main = ownerData(window)) main->keysToChild = 0;
        break;
    case WM_SETCURSOR:
        if (HIWORD(lParam) == WM_LBUTTONDOWN) {
            if (MainWindowData* main = ownerData(window)) main->keysToChild = 0;
        }
        break;
    case WM_GETMINMAXINFO:
        onGetMinMaxInfo(window, *reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SETFONT:
        if (MessageWindowData* data = messageData(window)) SendMessageA(data->list, WM_SETFONT, wParam, lParam);
        return 0;
    case kAddLine: {
        MessageWindowData* data = messageData(window);
        return data != nullptr ? addLineHere(*data, reinterpret_cast<const char*>(lParam)) : -1;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMessageWindow(MainWindowData& main) {
    RECT client;
    GetClientRect(main.window, &client);
    WindowPlace place = initialMessageWindowPlace(client.right, client.bottom);
    HWND window = CreateWindowExA(0, kMessageWindowClass, text::kMessageWindowText,
                                  WS_CHILD | WS_VISIBLE | WS_THICKFRAME, place.x, place.y, place.width, place.height,
                                  main.window, nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(main.window, GWLP_HINSTANCE)),
                                  main.window);
    if (window == nullptr) return nullptr;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(main.font), FALSE);
    return window;
}

void LayoutMessageWindow(MainWindowData& main) {
    if (main.messageWindow == nullptr) return;
    RECT client, outer, inner;
    GetClientRect(main.window, &client);
    GetWindowRect(main.messageWindow, &outer);
    GetClientRect(main.messageWindow, &inner);
    WindowPlace place = dockedMessageWindowPlace(client.right, client.bottom, outer.bottom - outer.top, inner.bottom);
    MoveWindow(main.messageWindow, place.x, place.y, place.width, place.height, TRUE);
}

int AddMessageLine(HWND messageWindow, const char* text) {
    if (messageWindow == nullptr) return -1;
    // A synchronous message runs on the thread that owns the list, so lines from the timer
    // thread never touch the list from that thread.
    return static_cast<int>(SendMessageA(messageWindow, kAddLine, 0, reinterpret_cast<LPARAM>(text)));
}

int MessageWindowSink::addLine(const char* text) {
    return AddMessageLine(main_.messageWindow, text);
}

}  // namespace tavir
