// Loaded into the program under test by the probe's message hook: answers the probe's question
// about the menu of a window, which another process cannot read.
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

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessageHook(int code, WPARAM removal, LPARAM lParam) {
    static const UINT question = RegisterWindowMessageW(L"TavirProbeMenuQuestion");
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == question) {
        HWND answerTo = reinterpret_cast<HWND>(message->wParam);
        std::wstring out;
        HMENU menu = GetMenu(message->hwnd);
        if (menu != nullptr) describeMenu(menu, -1, out);
        COPYDATASTRUCT data{};
        data.dwData = 1;
        data.cbData = static_cast<DWORD>((out.size() + 1) * sizeof(wchar_t));
        data.lpData = const_cast<wchar_t*>(out.c_str());
        SendMessageW(answerTo, WM_COPYDATA, reinterpret_cast<WPARAM>(message->hwnd), reinterpret_cast<LPARAM>(&data));
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}
