#include "debugwin/item_moves.h"

#include <cstdlib>

namespace tavir {

namespace {

// The focused item, or -1 for none (an index outside the items counts as none).
int focused(const ChildWindowData& child) {
    const int f = child.focusedItem;
    return f >= 0 && f < child.itemCount ? f : -1;
}

int stepFrom(int index, int direction, int count) {
    return (index + direction + count) % count;
}

// The walk of itemBelow (direction 1) and itemAbove (direction -1).
int itemInOtherRow(const ChildWindowData& child, int direction) {
    const int count = child.itemCount;
    const int f = focused(child);
    if (f < 0) return direction > 0 ? nextItem(child) : previousItem(child);
    if (count < 2) return -1;
    const DebugItem* items = child.items;
    // The first item of another row in walking order.
    int i = stepFrom(f, direction, count);
    while (i != f && items[i].row == items[f].row) i = stepFrom(i, direction, count);
    if (i == f) return direction > 0 ? nextItem(child) : previousItem(child);
    // Along that row while the next one is no farther from the focused column.
    const int column = items[f].column;
    for (;;) {
        const int j = stepFrom(i, direction, count);
        if (j == f || items[j].row != items[i].row ||
            std::abs(items[j].column - column) > std::abs(items[i].column - column)) {
            return i;
        }
        i = j;
    }
}

}  // namespace

int nextItem(const ChildWindowData& child) {
    const int count = child.itemCount;
    const int f = focused(child);
    if (f < 0) return count > 0 ? 0 : -1;
    return count >= 2 ? stepFrom(f, 1, count) : -1;
}

int previousItem(const ChildWindowData& child) {
    const int count = child.itemCount;
    const int f = focused(child);
    if (f < 0) return count > 0 ? count - 1 : -1;
    return count >= 2 ? stepFrom(f, -1, count) : -1;
}

int itemBelow(const ChildWindowData& child) {
    return itemInOtherRow(child, 1);
}

int itemAbove(const ChildWindowData& child) {
    return itemInOtherRow(child, -1);
}

}  // namespace tavir
