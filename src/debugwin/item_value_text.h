#pragma once
// How a received value shows in its item: the text of a value item, the check mark of a
// checkbox item, and what the item keeps of it. The window side enables the control and puts
// the text and the check mark on the screen.
#include <cstdint>

#include "debugwin/debug_item.h"

namespace tavir {

constexpr int32_t kDatumFunctionCode = 481;  // datum of the counters: shown as six digits

// The text a value item shows for value, on the item's width: "%06d" for datum, "%d (%d)" with
// the last non-zero value for a doubled display that has one, else "%d"; 15 "#" when that is
// longer than the item's width; never more than 15 characters. text holds kItemTextCapacity.
void formatItemValue(const DebugItem& item, int32_t value, char* text);

// The item takes a received value: a value item's text is formatted, a doubled display
// remembers a non-zero value (after formatting, so the brackets show the previous one), value
// and textLength follow, and an uncommitted edit is dropped. Gives whether a checkbox shows its
// check mark: only for exactly 1.
bool takeItemValue(DebugItem& item, int32_t value);

}  // namespace tavir
