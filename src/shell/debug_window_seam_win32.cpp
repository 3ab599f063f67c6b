#include "shell/debug_window_seam_win32.h"

#include "shell/window_classes_win32.h"

namespace tavir {

namespace {

LRESULT itemProcedure(const ItemClass& itemClass, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        // The control keeps its item's record behind the base class's own extra bytes.
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, itemClass.recordOffset, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    return CallWindowProcA(itemClass.baseProcedure, window, message, wParam, lParam);
}

}  // namespace

// The seam to the debug child windows. Until the debug window file loader and the child windows'
// live display are built in, CreateChildWindow makes no window: every file found is tried (its
// path line is shown) and fails, and the child and item procedures see no window of their own.

LRESULT CALLBACK ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK EditItemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return itemProcedure(editItemClass(), window, message, wParam, lParam);
}

LRESULT CALLBACK CheckboxItemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return itemProcedure(checkboxItemClass(), window, message, wParam, lParam);
}

HWND CreateChildWindow(MainWindowData&, const char*) {
    return nullptr;
}

}  // namespace tavir
