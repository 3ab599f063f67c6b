#include "shell/keyboard_hook_win32.h"

#include <windows.h>

#include "shell/main_window_win32.h"

namespace tavir {

namespace {

HHOOK keyboardHook = nullptr;
// Set while a key is being handed to the debugger window. A command of that key may run a modal
// dialog inside the hand-over, and Wine keeps the key message in the queue until the hook
// returns: the dialog's own message loop would meet the same key again and run the command a
// second time. A key that arrives while another is being handed over is therefore left alone.
bool handingOver = false;

LRESULT CALLBACK keyboardHookProc(int code, WPARAM virtualKey, LPARAM keyData) {
    if (code == HC_ACTION) {
        HWND active = GetActiveWindow();
        // Keys typed while a dialog or another program is active stay there.
        // A debugger window carries its record from its creation until it is gone: the same
        // windows as the program's MainWindowTable, found without reaching the program.
        if (!handingOver && active != nullptr && mainWindowData(active) != nullptr) {
            UINT message = (static_cast<DWORD>(keyData) & 0x80000000u) != 0 ? WM_KEYUP : WM_KEYDOWN;
            handingOver = true;
            LRESULT result = SendMessageA(active, message, virtualKey, keyData);
            handingOver = false;
            // 0: the window used the key; it still goes on to the focused control.
            if (result == 0) return 0;
        }
    }
    return CallNextHookEx(keyboardHook, code, virtualKey, keyData);
}

}  // namespace

int InstallKeyboardHook() {
    keyboardHook = SetWindowsHookExA(WH_KEYBOARD, keyboardHookProc, nullptr, GetCurrentThreadId());
    return keyboardHook != nullptr ? 0 : -1;
}

void RemoveKeyboardHook() {
    if (keyboardHook != nullptr) UnhookWindowsHookEx(keyboardHook);
    keyboardHook = nullptr;
}

}  // namespace tavir
