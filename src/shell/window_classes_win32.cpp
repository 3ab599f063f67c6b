#include "shell/window_classes_win32.h"

#include "debugwin/message_window_win32.h"
#include "resources/tavir_rc.h"
#include "shell/debug_window_seam_win32.h"
#include "shell/main_window_win32.h"

namespace tavir {

ItemClass& editItemClass() {
    static ItemClass itemClass;
    return itemClass;
}

ItemClass& checkboxItemClass() {
    static ItemClass itemClass;
    return itemClass;
}

bool Win32ClassRegistrar::registerItemClass(const char* baseName, bool askProgramFirst, const char* name,
                                            WNDPROC procedure, ItemClass& itemClass) {
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    bool found = askProgramFirst && GetClassInfoExA(instance_, baseName, &description);
    if (!found) found = GetClassInfoExA(nullptr, baseName, &description);
    // Without the base class nothing is registered; its item controls then fail one by one.
    if (!found) return true;
    itemClass.baseProcedure = description.lpfnWndProc;
    itemClass.recordOffset = description.cbWndExtra;
    description.cbSize = sizeof description;
    description.lpszClassName = name;
    description.lpfnWndProc = procedure;
    // Room for the reference to the item's record (a pointer on this platform).
    description.cbWndExtra += static_cast<int>(sizeof(LONG_PTR));
    description.hInstance = instance_;
    if (RegisterClassExA(&description) == 0) {
        itemClass = ItemClass{};
        return false;
    }
    return true;
}

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
        return registerItemClass("Edit", true, kEditItemClass, EditItemWindowProc, editItemClass());
    case WindowClass::kCheckboxItem:
        return registerItemClass("Button", false, kCheckboxItemClass, CheckboxItemWindowProc, checkboxItemClass());
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
    case WindowClass::kCheckboxItem: {
        bool edit = windowClass == WindowClass::kEditItem;
        ItemClass& itemClass = edit ? editItemClass() : checkboxItemClass();
        if (itemClass.recordOffset < 0) return true;  // not registered: passed over
        bool done = UnregisterClassA(edit ? kEditItemClass : kCheckboxItemClass, instance_) != 0;
        itemClass = ItemClass{};
        return done;
    }
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
