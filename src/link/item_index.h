#pragma once
#include <cstdint>

#include "link/value_record.h"

namespace tavir {

struct DebugItem;

// Per child window: from the key of a received record to the item that shows it. A sorted array
// of keys with a parallel array of items, sorted lazily on the first lookup after an insertion
// and searched by bisection.
struct ItemIndex {
    int32_t capacity = 0;  // fixed at creation: the window's item count
    int32_t count = 0;     // entries in use
    int32_t sorted = 0;    // 1 when keys are in ascending order
    int32_t* keys = nullptr;
    DebugItem** items = nullptr;  // parallel to keys; never null in use
};

// functionCode * 576000 + block * 12000 (block > 0) + number (number > 0), so that -1 (an item
// without number or block) and 0 (a received record without them) give the same key.
int32_t RecordKey(const ValueRecord& record);

// None when memory runs out; whatever was allocated is released again.
ItemIndex* CreateItemIndex(int32_t capacity);
void DestroyItemIndex(ItemIndex* index);

// The position of the new entry, or -1 when the key is there already (the first item stays), the
// index is full or item is none.
int InsertItem(ItemIndex* index, const ValueRecord& record, DebugItem* item);

// The item whose key the record has, or none. Sorts the entries first when an insertion left
// them unsorted, so the first lookup after loading is the one that pays for it.
DebugItem* FindItem(ItemIndex* index, const ValueRecord& record);

}  // namespace tavir
