#pragma once
// Where the arrow keys with Ctrl move the item focus of a child window. Every move wraps around;
// the item order is the file order, which runs row by row, left to right.
#include "debugwin/child_window_data.h"

namespace tavir {

// Each gives the index of the item to focus, or -1 when the key moves nothing. The moves start
// from child.focusedItem (-1: no item focused).

// The following item, item 0 after the last; item 0 when none is focused.
int nextItem(const ChildWindowData& child);
// The preceding item, the last before item 0; the last item when none is focused.
int previousItem(const ChildWindowData& child);
// The nearest item by column in the next row that holds items (wrapping to the first row);
// like nextItem when every item is in one row; item 0 when none is focused.
int itemBelow(const ChildWindowData& child);
// The mirror image of itemBelow: the previous row, previousItem in one row, the last item when
// none is focused.
int itemAbove(const ChildWindowData& child);

}  // namespace tavir
