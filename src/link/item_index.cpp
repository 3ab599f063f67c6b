#include "link/item_index.h"

#include <cstddef>
#include <new>

namespace tavir {
namespace {

constexpr uint32_t kFunctionCodeStride = 576000;  // 48 blocks of 12000 numbers
constexpr uint32_t kBlockStride = 12000;

void swapEntries(ItemIndex* index, int32_t a, int32_t b) {
    const int32_t key = index->keys[a];
    index->keys[a] = index->keys[b];
    index->keys[b] = key;
    DebugItem* item = index->items[a];
    index->items[a] = index->items[b];
    index->items[b] = item;
}

// Quicksort with the middle entry as pivot, recursing into the lower part and looping over the
// upper part. Keys are distinct (InsertItem refuses duplicates), so the order is total.
void sortEntries(ItemIndex* index, int32_t lo, int32_t hi) {
    while (lo < hi) {
        swapEntries(index, lo, (lo + hi) / 2);
        int32_t last = lo;
        for (int32_t i = lo + 1; i <= hi; ++i) {
            if (index->keys[i] < index->keys[lo]) swapEntries(index, ++last, i);
        }
        swapEntries(index, lo, last);
        sortEntries(index, lo, last - 1);
        lo = last + 1;
    }
}

}  // namespace

int32_t RecordKey(const ValueRecord& record) {
    // Unsigned arithmetic so that a function code outside 0..511 wraps instead of overflowing;
    // every key of a valid record fits in 31 bits.
    uint32_t key = static_cast<uint32_t>(record.functionCode) * kFunctionCodeStride;
    if (record.block > 0) key += static_cast<uint32_t>(record.block) * kBlockStride;
    if (record.number > 0) key += static_cast<uint32_t>(record.number);
    return static_cast<int32_t>(key);
}

ItemIndex* CreateItemIndex(int32_t capacity) {
    if (capacity < 0) return nullptr;
    ItemIndex* index = new (std::nothrow) ItemIndex;
    if (!index) return nullptr;
    const size_t size = static_cast<size_t>(capacity);
    index->keys = new (std::nothrow) int32_t[size]();
    index->items = new (std::nothrow) DebugItem*[size]();
    if (!index->keys || !index->items) {
        DestroyItemIndex(index);
        return nullptr;
    }
    index->capacity = capacity;
    return index;
}

void DestroyItemIndex(ItemIndex* index) {
    if (!index) return;
    delete[] index->keys;
    delete[] index->items;
    delete index;
}

int InsertItem(ItemIndex* index, const ValueRecord& record, DebugItem* item) {
    if (!index || !item) return -1;
    if (FindItem(index, record)) return -1;
    if (index->count >= index->capacity) return -1;
    const int32_t position = index->count;
    index->keys[position] = RecordKey(record);
    index->items[position] = item;
    index->count = position + 1;
    index->sorted = 0;
    return position;
}

DebugItem* FindItem(ItemIndex* index, const ValueRecord& record) {
    if (!index || index->count <= 0) return nullptr;
    if (!index->sorted) {
        sortEntries(index, 0, index->count - 1);
        index->sorted = 1;
    }
    const int32_t key = RecordKey(record);
    int32_t lo = 0;
    int32_t hi = index->count - 1;
    int32_t mid = hi / 2;
    while (lo < hi) {
        if (index->keys[mid] > key) {
            hi = mid - 1;
        } else if (index->keys[mid] == key) {
            break;
        } else {
            lo = mid + 1;
        }
        mid = (lo + hi) / 2;
    }
    return index->keys[mid] == key ? index->items[mid] : nullptr;
}

}  // namespace tavir
