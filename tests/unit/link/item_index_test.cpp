#include "link/item_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "link_fakes.h"

namespace tavir {
namespace {

using testing::makeRecord;

struct IndexDeleter {
    void operator()(ItemIndex* index) const { DestroyItemIndex(index); }
};
using IndexPtr = std::unique_ptr<ItemIndex, IndexDeleter>;

// The index only stores and returns item addresses, so any distinct addresses stand in for items.
struct FakeItems {
    std::vector<int> slots;
    explicit FakeItems(size_t count) : slots(count) {}
    DebugItem* operator[](size_t i) { return reinterpret_cast<DebugItem*>(&slots[i]); }
};

TEST(ItemIndex, NoneAndZeroAreTheSameAddress) {
    IndexPtr index(CreateItemIndex(4));
    FakeItems items(4);
    ASSERT_EQ(InsertItem(index.get(), makeRecord(128, -1, 5, 0), items[0]), 0);  // a block item
    ASSERT_EQ(InsertItem(index.get(), makeRecord(64, 0, -1, 0), items[1]), 1);
    EXPECT_EQ(FindItem(index.get(), makeRecord(128, 0, 5, 0)), items[0]);  // as it is received
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, -1, -1, 0)), items[1]);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, -1, 0, 7), items[2]), -1)
        << "the same key: the first stays";
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, 0, 0, 0)), items[1]);
    // The key leaves 12000 numbers per block: number 12000 meets block 1.
    EXPECT_EQ(RecordKey(makeRecord(10, 12000, 0, 0)), RecordKey(makeRecord(10, 0, 1, 0)));
}

TEST(ItemIndex, RefusesWhenFullOrWithoutAnItem) {
    IndexPtr index(CreateItemIndex(1));
    FakeItems items(2);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 1, -1, 0), nullptr), -1);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 1, -1, 0), items[0]), 0);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 2, -1, 0), items[1]), -1);
    EXPECT_EQ(index->count, 1);
    IndexPtr none(CreateItemIndex(0));
    EXPECT_EQ(FindItem(none.get(), makeRecord(0, 0, 0, 0)), nullptr);
    EXPECT_EQ(CreateItemIndex(-1), nullptr);
}

// For every size up to 40 and a full window of 500 items, in any insertion order, every key
// inserted is found and every key between, below and above them is not; lookups and insertions
// may alternate.
TEST(ItemIndex, FindsExactlyTheKeysPresent) {
    std::mt19937 random(7);
    for (int size = 1; size <= 500; size += size < 40 ? 1 : 500 - 40) {
        std::vector<int> order(static_cast<size_t>(size));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        IndexPtr index(CreateItemIndex(size));
        FakeItems items(static_cast<size_t>(size));
        for (int i : order) {
            ASSERT_GE(
                InsertItem(index.get(), makeRecord(256, 2 * i + 2, -1, 0), items[static_cast<size_t>(i)]), 0);
            EXPECT_EQ(FindItem(index.get(), makeRecord(256, 2 * i + 2, 0, 0)), items[static_cast<size_t>(i)]);
        }
        for (int number = 0; number <= 2 * size + 1; ++number) {
            DebugItem* expected =
                number % 2 == 0 && number > 0 ? items[static_cast<size_t>(number / 2 - 1)] : nullptr;
            EXPECT_EQ(FindItem(index.get(), makeRecord(256, number, 0, 0)), expected)
                << size << " " << number;
        }
        EXPECT_EQ(FindItem(index.get(), makeRecord(255, 2, 0, 0)), nullptr);
        EXPECT_EQ(FindItem(index.get(), makeRecord(257, 2, 0, 0)), nullptr);
    }
}

}  // namespace
}  // namespace tavir
