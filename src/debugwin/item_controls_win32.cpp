#include "debugwin/item_controls_win32.h"

#include <cstring>

#include "base/parse_decimal.h"
#include "debugwin/child_windows_win32.h"

namespace tavir {

namespace {

constexpr WPARAM kEnterCharacter = 13;

// An item class built on a system control class: the base class's procedure, and where the
// item's record is kept in each control (the size of the base class's extra bytes; -1 while the
// class is not registered).
struct ItemClass {
    WNDPROC baseProcedure = nullptr;
    int recordOffset = -1;
};

ItemClass itemClasses[2];

ItemClass& itemClass(ItemKind kind) {
    return itemClasses[kind == ItemKind::kEdit ? 0 : 1];
}

DebugItem* itemOf(const ItemClass& base, HWND control) {
    if (base.recordOffset < 0) return nullptr;
    return reinterpret_cast<DebugItem*>(GetWindowLongPtrA(control, base.recordOffset));
}

Transport* linkOf(HWND control) {
    ChildWindow* child = childWindowOf(GetParent(control));
    return child != nullptr ? child->set->transport : nullptr;
}

// The focus rectangle goes over the whole control, so the whole control is painted anew first: a
// rectangle drawn over a partial repaint would be half erased by the next one.
LRESULT paintItem(const ItemClass& base, HWND control, WPARAM wParam, LPARAM lParam) {
    DebugItem* item = itemOf(base, control);
    const bool focused = item != nullptr && (item->flags & kItemFocused) != 0;
    if (focused) InvalidateRect(control, nullptr, TRUE);
    LRESULT result = CallWindowProcA(base.baseProcedure, control, WM_PAINT, wParam, lParam);
    if (focused) {
        RECT client;
        GetClientRect(control, &client);
        client.right -= 1;
        client.bottom -= 1;
        HDC dc = GetDC(control);
        DrawFocusRect(dc, &client);
        ReleaseDC(control, dc);
    }
    return result;
}

LRESULT itemProcedure(ItemKind kind, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const ItemClass& base = itemClass(kind);
    switch (message) {
        case WM_CREATE: {
            // The control keeps its item's record behind the base class's own extra bytes.
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(control, base.recordOffset, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return 0;
        }
        case WM_PAINT:
            return paintItem(base, control, wParam, lParam);
        case WM_CHAR:
            if (kind != ItemKind::kEdit) break;
            // A value received before the keystroke is shown first; the typed text comes after it.
            takeWaitingValues(GetParent(control));
            if (DebugItem* item = itemOf(base, control)) {
                if (wParam == kEnterCharacter) {
                    if (Transport* link = linkOf(control)) commitItemEdit(*link, *item);
                } else {
                    item->editPending = 1;
                }
            }
            break;
        default:
            break;
    }
    return CallWindowProcA(base.baseProcedure, control, message, wParam, lParam);
}

LRESULT CALLBACK EditItemWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return itemProcedure(ItemKind::kEdit, control, message, wParam, lParam);
}

LRESULT CALLBACK CheckboxItemWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return itemProcedure(ItemKind::kCheckbox, control, message, wParam, lParam);
}

}  // namespace

bool registerItemClass(HINSTANCE instance, ItemKind kind) {
    const bool edit = kind == ItemKind::kEdit;
    const char* baseName = edit ? "Edit" : "Button";
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    // The edit class is looked for under the program first, the button class only under the system.
    bool found = edit && GetClassInfoExA(instance, baseName, &description);
    if (!found) found = GetClassInfoExA(nullptr, baseName, &description);
    // Without the base class nothing is registered; its item controls then fail one by one.
    if (!found) return true;
    ItemClass& itemClassOfKind = itemClass(kind);
    itemClassOfKind.baseProcedure = description.lpfnWndProc;
    itemClassOfKind.recordOffset = description.cbWndExtra;
    description.cbSize = sizeof description;
    description.lpszClassName = edit ? kEditItemClass : kCheckboxItemClass;
    description.lpfnWndProc = edit ? EditItemWindowProc : CheckboxItemWindowProc;
    // Room for the reference to the item's record: a pointer, which on x86-64 needs 8 bytes.
    description.cbWndExtra += static_cast<int>(sizeof(LONG_PTR));
    description.hInstance = instance;
    if (RegisterClassExA(&description) == 0) {
        itemClassOfKind = ItemClass{};
        return false;
    }
    return true;
}

bool unregisterItemClass(HINSTANCE instance, ItemKind kind) {
    ItemClass& itemClassOfKind = itemClass(kind);
    if (itemClassOfKind.recordOffset < 0) return true;
    const bool done =
        UnregisterClassA(kind == ItemKind::kEdit ? kEditItemClass : kCheckboxItemClass, instance) != 0;
    itemClassOfKind = ItemClass{};
    return done;
}

HWND createItemControl(DebugItem& item, HWND child, const RECT& place) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(child, GWLP_HINSTANCE));
    auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.index));
    if (item.isCheckbox) {
        HWND box =
            CreateWindowExA(0, kCheckboxItemClass, "", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_CHECKBOX,
                            place.left, place.top, place.right, place.bottom, child, id, instance, &item);
        if (box != nullptr && (item.flags & kItemChecked) != 0)
            SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
        return box;
    }
    // Both alignment bits, as the field has always been made; the platform makes it right-aligned.
    HWND edit = CreateWindowExA(0, kEditItemClass, item.text,
                                WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_NOHIDESEL | ES_CENTER | ES_RIGHT,
                                place.left, place.top, place.right, place.bottom, child, id, instance, &item);
    if (edit != nullptr) SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(item.width - 1), 0);
    return edit;
}

void keepShownState(DebugItem& item) {
    HWND control = static_cast<HWND>(item.window);
    if (control == nullptr) return;
    if (item.isCheckbox) {
        const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        item.flags = checked ? item.flags | kItemChecked : item.flags & ~kItemChecked;
        return;
    }
    item.textLength = GetWindowTextA(control, item.text, kItemTextCapacity);
}

DebugItem* itemOfControl(HWND control) {
    char className[32];
    if (control == nullptr || GetClassNameA(control, className, sizeof className) == 0) return nullptr;
    if (lstrcmpA(className, kEditItemClass) == 0) return itemOf(itemClass(ItemKind::kEdit), control);
    if (lstrcmpA(className, kCheckboxItemClass) == 0) return itemOf(itemClass(ItemKind::kCheckbox), control);
    return nullptr;
}

void showItemValue(const DebugItem& item) {
    HWND control = static_cast<HWND>(item.window);
    if (control == nullptr) return;
    EnableWindow(control, TRUE);
    if (item.isCheckbox) SendMessageA(control, BM_SETCHECK, item.value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    // A monitored value comes again and again unchanged. Setting the same text once more would
    // show nothing new but repaint the control each time: with a window of values streaming, the
    // repaints are most of the work. The control with the focus always takes the text, which puts
    // its caret back at the start as a received value does.
    if (control != GetFocus()) {
        char shown[kItemTextCapacity];
        const int length = GetWindowTextA(control, shown, kItemTextCapacity);
        if (length == item.textLength && std::strcmp(shown, item.text) == 0) return;
    }
    SetWindowTextA(control, item.text);
}

void commitItemEdit(Transport& link, DebugItem& item) {
    keepShownState(item);
    if (item.text[0] != '\0') {
        item.value = decimalValue(item.text);
        writeItem(link, item);
    }
    requestForItem(link, item, kRead);
}

int handleItemKey(Transport& link, DebugItem& item, WPARAM virtualKey) {
    if (virtualKey == VK_SPACE) {
        toggleItem(link, item);
        return 0;
    }
    if (virtualKey == VK_F7) {
        writeItem(link, item);
        return 0;
    }
    return -1;
}

}  // namespace tavir
