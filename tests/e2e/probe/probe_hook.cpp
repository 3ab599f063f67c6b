// Loaded into the program under test by the probe's hooks: answers the probe's questions about
// the menu of a window, which another process cannot read, and records the window events that
// the benchmarks time (a control's new text, a window shown or hidden, enabled or disabled).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Each item as "popup<TAB>position<TAB>id<TAB>type<TAB>state<TAB>text" on a line of its own; a
// popup's own line has id -1 and its title as text.
void describeMenu(HMENU menu, int popup, std::wstring& out) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = L"";
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        wchar_t line[400];
        int id = item.hSubMenu != nullptr ? -1 : static_cast<int>(item.wID);
        std::swprintf(line, 400, L"%d\t%d\t%d\t%u\t%u\t%ls\n", popup, position, id, item.fType, item.fState,
                      (item.fType & MFT_SEPARATOR) != 0 ? L"" : text);
        out += line;
        if (item.hSubMenu != nullptr && popup < 0) describeMenu(item.hSubMenu, position, out);
    }
}

// A question of at least this value asks the thread to sleep that many milliseconds.
constexpr LPARAM kHoldQuestion = 16;

// Events wait here until the probe takes them; only the program's user-interface thread, which
// runs both hooks, touches them.
std::wstring events;

long long microseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<long long>(static_cast<double>(counter.QuadPart) * 1e6 /
                                  static_cast<double>(frequency.QuadPart));
}

}  // namespace

// After the window procedure has handled the message: the time the change took effect.
extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndRetHook(int code, WPARAM sent, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && (message->message == WM_SETTEXT || message->message == WM_SHOWWINDOW ||
                              message->message == WM_ENABLE)) {
        wchar_t text[32] = L"";
        if (message->message == WM_SETTEXT) GetWindowTextW(message->hwnd, text, 32);
        wchar_t line[96];
        std::swprintf(line, 96, L"%lld\t%llu\t%u\t%llu\t%ls\n", microseconds(),
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(message->hwnd)),
                      message->message, static_cast<unsigned long long>(message->wParam), text);
        events += line;
    }
    return CallNextHookEx(nullptr, code, sent, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeGetMessageHook(int code, WPARAM removal, LPARAM lParam) {
    static const UINT question = RegisterWindowMessageW(L"TavirProbeQuestion");
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == question) {
        HWND answerTo = reinterpret_cast<HWND>(message->wParam);
        std::wstring out;
        // A hold: answered at once, then the thread sleeps lParam ms while messages and input queue.
        const DWORD hold = message->lParam >= kHoldQuestion ? static_cast<DWORD>(message->lParam) : 0;
        if (message->lParam == 1) {
            HMENU menu = GetMenu(message->hwnd);
            if (menu != nullptr) describeMenu(menu, -1, out);
        } else if (hold == 0) {
            out.swap(events);
        }
        COPYDATASTRUCT data{};
        data.dwData = 1;
        data.cbData = static_cast<DWORD>((out.size() + 1) * sizeof(wchar_t));
        data.lpData = const_cast<wchar_t*>(out.c_str());
        SendMessageW(answerTo, WM_COPYDATA, reinterpret_cast<WPARAM>(message->hwnd),
                     reinterpret_cast<LPARAM>(&data));
        message->message = WM_NULL;
        Sleep(hold);
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}
