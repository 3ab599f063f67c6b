#include "link/item_index.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(RecordKey, Table) {
    struct Case {
        const char* name;
        ValueRecord record;
        int32_t key;
    } cases[] = {
        {"highest valid address", makeRecord(511, 11999, 47, 0), 294911999},
        {"function code alone", makeRecord(1, -1, -1, 0), 576000},
        {"-1 and 0 are both none", makeRecord(64, 0, 0, 0), 64 * 576000},
        {"item without number or block", makeRecord(64, -1, -1, 0), 64 * 576000},
        {"block and number", makeRecord(200, 3, 5, 0), 200 * 576000 + 5 * 12000 + 3},
        {"negative block counts as none", makeRecord(200, 3, -7, 0), 200 * 576000 + 3},
        {"number 12000 meets the next block", makeRecord(10, 12000, 0, 0), 10 * 576000 + 12000},
        {"value and spare do not count", makeRecord(10, 2, 1, 99), 10 * 576000 + 12000 + 2},
    };
    for (const Case& c : cases) EXPECT_EQ(RecordKey(c.record), c.key) << c.name;
    EXPECT_EQ(RecordKey(makeRecord(10, 12000, 0, 0)), RecordKey(makeRecord(10, 0, 1, 0)));
}

TEST(ItemIndex, EmptyIndexFindsNothing) {
    IndexPtr index(CreateItemIndex(4));
    ASSERT_TRUE(index);
    EXPECT_EQ(index->capacity, 4);
    EXPECT_EQ(index->count, 0);
    EXPECT_EQ(FindItem(index.get(), makeRecord(0, 0, 0, 0)), nullptr);

    IndexPtr none(CreateItemIndex(0));
    ASSERT_TRUE(none);
    FakeItems items(1);
    EXPECT_EQ(FindItem(none.get(), makeRecord(0, 0, 0, 0)), nullptr);
    EXPECT_EQ(InsertItem(none.get(), makeRecord(0, 0, 0, 0), items[0]), -1);  // full from the start

    EXPECT_EQ(CreateItemIndex(-1), nullptr);
}

TEST(ItemIndex, DuplicateKeepsTheFirstItem) {
    IndexPtr index(CreateItemIndex(4));
    FakeItems items(4);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 3, -1, 0), items[0]), 0);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 3, -1, 1), items[1]), -1);
    EXPECT_EQ(index->count, 1);
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, 3, 0, 0)), items[0]);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 4, -1, 0), items[2]), 1);
    EXPECT_EQ(index->sorted, 0);
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, 4, 0, 0)), items[2]);
    EXPECT_EQ(index->sorted, 1);
}

TEST(ItemIndex, NoneAndZeroFindEachOther) {
    IndexPtr index(CreateItemIndex(4));
    FakeItems items(4);
    ASSERT_EQ(InsertItem(index.get(), makeRecord(128, -1, 5, 0), items[0]), 0);  // block item, number -1
    ASSERT_EQ(InsertItem(index.get(), makeRecord(64, 0, -1, 0), items[1]), 1);   // number 0
    EXPECT_EQ(FindItem(index.get(), makeRecord(128, 0, 5, 0)), items[0]);
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, -1, -1, 0)), items[1]);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, -1, 0, 0), items[2]), -1);  // the same key as items[1]
}

TEST(ItemIndex, NullItemIsRefused) {
    IndexPtr index(CreateItemIndex(2));
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 1, -1, 0), nullptr), -1);
    EXPECT_EQ(index->count, 0);
}

// For every size up to 40, every key inserted is found and every key between, below and above
// them is not, whatever the insertion order.
TEST(ItemIndex, BisectionFindsExactlyTheKeysPresent) {
    std::mt19937 random(7);
    for (int size = 1; size <= 40; ++size) {
        std::vector<int> order(static_cast<size_t>(size));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        IndexPtr index(CreateItemIndex(size));
        FakeItems items(static_cast<size_t>(size));
        // Items sit at even numbers 2, 4, ...; the odd numbers between are absent.
        for (int i : order) {
            const size_t slot = static_cast<size_t>(i);
            ASSERT_GE(InsertItem(index.get(), makeRecord(256, 2 * i + 2, -1, 0), items[slot]), 0);
        }
        for (int i = 0; i < size; ++i) {
            EXPECT_EQ(FindItem(index.get(), makeRecord(256, 2 * i + 2, -1, 0)), items[static_cast<size_t>(i)])
                << "size " << size << " item " << i;
        }
        for (int odd = 1; odd <= 2 * size + 1; odd += 2) {
            EXPECT_EQ(FindItem(index.get(), makeRecord(256, odd, -1, 0)), nullptr)
                << "size " << size << " " << odd;
        }
        EXPECT_EQ(FindItem(index.get(), makeRecord(255, 2, -1, 0)), nullptr);
        EXPECT_EQ(FindItem(index.get(), makeRecord(257, 2, -1, 0)), nullptr);
    }
}

TEST(ItemIndex, FullWindowInRandomOrder) {
    constexpr int kItems = 500;
    std::vector<ValueRecord> records;
    for (int fc = 0; fc < 512 && records.size() < kItems; fc += 3) {
        for (int block = -1; block < 48 && records.size() < kItems; block += 23) {
            for (int number = -1; number < 80 && records.size() < kItems; number += 41)
                records.push_back(makeRecord(fc, number, block, 0));
        }
    }
    ASSERT_EQ(records.size(), static_cast<size_t>(kItems));
    std::mt19937 random(11);
    std::shuffle(records.begin(), records.end(), random);

    IndexPtr index(CreateItemIndex(kItems));
    FakeItems items(kItems);
    for (size_t i = 0; i < records.size(); ++i)
        ASSERT_EQ(InsertItem(index.get(), records[i], items[i]), static_cast<int>(i));
    for (size_t i = 0; i < records.size(); ++i) {
        ValueRecord received = records[i];
        if (received.number < 0) received.number = 0;
        if (received.block < 0) received.block = 0;
        EXPECT_EQ(FindItem(index.get(), received), items[i]) << testing::describe(records[i]);
    }
    EXPECT_TRUE(std::is_sorted(index->keys, index->keys + index->count));
    EXPECT_EQ(InsertItem(index.get(), records[0], items[0]), -1);
}

}  // namespace
}  // namespace tavir
