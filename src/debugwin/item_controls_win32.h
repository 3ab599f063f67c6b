#pragma once
// The controls that show the items of a debug child window: a checkbox for a state item, a
// one-line edit field for a value item. Both are the system's own controls under a class of the
// program's, which keeps a reference to the item with each control and draws the focus rectangle.
#include <windows.h>

#include "debugwin/debug_item.h"

namespace tavir {

inline constexpr char kEditItemClass[] = "TVREDITITEMCLASS";
inline constexpr char kCheckboxItemClass[] = "TVRCHECKBOXITEMCLASS";

enum class ItemKind { kEdit, kCheckbox };

// Registers the item class of kind with the platform, built on "Edit" or "Button". Gives false
// when it cannot be registered; true also when the base class cannot be had, in which case
// nothing is registered and the items of that kind fail one by one.
bool registerItemClass(HINSTANCE instance, ItemKind kind);

// Unregisters the item class of kind; one that is not registered is passed over (true).
bool unregisterItemClass(HINSTANCE instance, ItemKind kind);

// The item's control in child, control id item.index, disabled until its first value, showing
// the text and the check mark the item keeps of its control (keepShownState), at place (left,
// top, width, height); none when it cannot be made.
HWND createItemControl(DebugItem& item, HWND child, const RECT& place);

// The item keeps what its control shows, its text (which may be typed) and its check mark, for
// the control made again after this one is destroyed.
void keepShownState(DebugItem& item);

// The item record of an item control, or none.
DebugItem* itemOfControl(HWND control);

// Shows the value the item took last (takeItemValue): the control is enabled, and the check mark
// set (only for exactly 1) or the value's text shown.
void showItemValue(const DebugItem& item);

// The text typed into a value item becomes its value and is written, when there is one; in any
// case the item is read back, so that the controller's value replaces the typed one.
void commitItemEdit(Transport& link, DebugItem& item);

// Space flips a checkbox item and writes it, F7 writes the item again: 0; -1 for any other key.
int handleItemKey(Transport& link, DebugItem& item, WPARAM virtualKey);

}  // namespace tavir
