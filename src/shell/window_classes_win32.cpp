#include "shell/window_classes_win32.h"

#include "debugwin/child_windows_win32.h"
#include "debugwin/item_controls_win32.h"
#include "debugwin/message_window_win32.h"
#include "resources/tavir_rc.h"
#include "shell/main_window_win32.h"

namespace tavir {

bool Win32ClassRegistrar::registerOwnClass(const char* name, WNDPROC procedure, bool withMenuAndIcon) {
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.style = CS_HREDRAW | CS_VREDRAW;
    description.lpfnWndProc = procedure;
    // One extra word holds the window's record.
    description.cbWndExtra = static_cast<int>(sizeof(LONG_PTR));
    description.hInstance = instance_;
    description.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    description.lpszClassName = name;
    if (withMenuAndIcon) {
        description.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
        description.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_TAVIR));
    }
    return RegisterClassExA(&description) != 0;
}

bool Win32ClassRegistrar::registerClass(WindowClass windowClass) {
    switch (windowClass) {
        case WindowClass::kEditItem:
            return registerItemClass(instance_, ItemKind::kEdit);
        case WindowClass::kCheckboxItem:
            return registerItemClass(instance_, ItemKind::kCheckbox);
        case WindowClass::kChild:
            return registerOwnClass(kChildWindowClass, ChildWindowProc, false);
        case WindowClass::kMessage:
            return registerOwnClass(kMessageWindowClass, MessageWindowProc, false);
        case WindowClass::kMain:
            return registerOwnClass(kMainWindowClass, MainWindowProc, true);
    }
    return false;
}

bool Win32ClassRegistrar::unregisterClass(WindowClass windowClass) {
    switch (windowClass) {
        case WindowClass::kEditItem:
            return unregisterItemClass(instance_, ItemKind::kEdit);
        case WindowClass::kCheckboxItem:
            return unregisterItemClass(instance_, ItemKind::kCheckbox);
        case WindowClass::kChild:
            return UnregisterClassA(kChildWindowClass, instance_) != 0;
        case WindowClass::kMessage:
            return UnregisterClassA(kMessageWindowClass, instance_) != 0;
        case WindowClass::kMain:
            return UnregisterClassA(kMainWindowClass, instance_) != 0;
    }
    return false;
}

}  // namespace tavir
