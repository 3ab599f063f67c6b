#include "debugwin/message_window_win32.h"

#include <new>

#include "debugwin/message_window_layout.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

// Private message of the message window: append the text in lParam and select it.
constexpr UINT kAddLine = WM_APP + 1;

MessageWindowData* messageData(HWND window) {
    return reinterpret_cast<MessageWindowData*>(GetWindowLongPtrA(window, 0));
}

MessageWindowOwner* ownerOf(HWND window) {
    MessageWindowData* data = messageData(window);
    return data != nullptr ? data->owner : nullptr;
}

void fillClientArea(MessageWindowData& data) {
    RECT client;
    GetClientRect(data.window, &client);
    MoveWindow(data.list, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT onCreate(HWND window, const CREATESTRUCTA& create) {
    auto* owner = static_cast<MessageWindowOwner*>(create.lpCreateParams);
    auto* data = new (std::nothrow) MessageWindowData{window, nullptr, owner};
    if (data == nullptr || owner == nullptr) {
        delete data;
        return -1;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(data));
    owner->messageWindowChanged(window);
    RECT client;
    GetClientRect(window, &client);
    data->list = CreateWindowExA(0, "listbox", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                                 client.right, client.bottom, window, nullptr, create.hInstance, nullptr);
    return data->list != nullptr ? 0 : -1;
}

void onGetMinMaxInfo(HWND window, MINMAXINFO& info) {
    MessageWindowOwner* owner = ownerOf(window);
    if (owner == nullptr) return;
    RECT client;
    GetClientRect(owner->ownerWindow(), &client);
    info.ptMinTrackSize.x = client.right;
    info.ptMaxTrackSize.x = client.right;
    info.ptMinTrackSize.y = 0;
    info.ptMaxTrackSize.y = client.bottom;
}

int addLineHere(MessageWindowData& data, const char* text) {
    LRESULT position = SendMessageA(data.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (position < 0) return -1;
    if (data.held) {
        data.lastHeld = position;
    } else {
        SendMessageA(data.list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
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
            if (data != nullptr && data->owner != nullptr) data->owner->messageWindowChanged(nullptr);
            delete data;
            return 0;
        }
        case WM_MOVE:
        case WM_SIZE:
            if (MessageWindowData* data = messageData(window)) {
                fillClientArea(*data);
                if (data->owner != nullptr) data->owner->messageWindowMoved();
            }
            return 0;
        case WM_SETFOCUS:
            if (MessageWindowOwner* owner = ownerOf(window)) owner->messageWindowActivated();
            break;
        case WM_SETCURSOR:
            if (HIWORD(lParam) == WM_LBUTTONDOWN) {
                if (MessageWindowOwner* owner = ownerOf(window)) owner->messageWindowActivated();
            }
            break;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(window, *reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_SETFONT:
            if (MessageWindowData* data = messageData(window))
                SendMessageA(data->list, WM_SETFONT, wParam, lParam);
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

HWND CreateMessageWindow(MessageWindowOwner& owner, HFONT font) {
    HWND ownerWindow = owner.ownerWindow();
    RECT client;
    GetClientRect(ownerWindow, &client);
    WindowPlace place = initialMessageWindowPlace(client.right, client.bottom);
    HWND window = CreateWindowExA(
        0, kMessageWindowClass, text::kMessageWindowText, WS_CHILD | WS_VISIBLE | WS_THICKFRAME, place.x,
        place.y, place.width, place.height, ownerWindow, nullptr,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(ownerWindow, GWLP_HINSTANCE)), &owner);
    if (window == nullptr) return nullptr;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

void LayoutMessageWindow(HWND ownerWindow, HWND messageWindow) {
    if (messageWindow == nullptr) return;
    RECT client, outer, inner;
    GetClientRect(ownerWindow, &client);
    // A minimised debugger window has no client area: the message window keeps its height for the
    // window's return instead of shrinking to nothing.
    if (IsIconic(ownerWindow) || (client.right == 0 && client.bottom == 0)) return;
    GetWindowRect(messageWindow, &outer);
    GetClientRect(messageWindow, &inner);
    WindowPlace place =
        dockedMessageWindowPlace(client.right, client.bottom, outer.bottom - outer.top, inner.bottom);
    MoveWindow(messageWindow, place.x, place.y, place.width, place.height, TRUE);
}

int AddMessageLine(HWND messageWindow, const char* text) {
    if (messageWindow == nullptr) return -1;
    // A synchronous message runs on the thread that owns the list, so lines from the timer
    // thread never touch the list from that thread.
    return static_cast<int>(SendMessageA(messageWindow, kAddLine, 0, reinterpret_cast<LPARAM>(text)));
}

void HoldMessageLines(HWND messageWindow, bool hold) {
    MessageWindowData* data = messageWindow != nullptr ? messageData(messageWindow) : nullptr;
    if (data == nullptr) return;
    data->held = hold;
    if (!hold && data->lastHeld >= 0) {
        SendMessageA(data->list, LB_SETCURSEL, static_cast<WPARAM>(data->lastHeld), 0);
        data->lastHeld = -1;
    }
    SendMessageA(data->list, WM_SETREDRAW, hold ? FALSE : TRUE, 0);
    if (!hold) RedrawWindow(data->list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

int MessageWindowSink::addLine(const char* text) {
    return AddMessageLine(messageWindow_, text);
}

}  // namespace tavir
