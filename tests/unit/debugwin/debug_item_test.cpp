// Item operations: which requests reach the transport, in which order, with which bytes; and how a
// received value shows in its item, on the item's own width.
#include "debugwin/debug_item.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../link/link_fakes.h"
#include "debugwin/item_moves.h"
#include "debugwin/item_value_text.h"
#include "link/request_encoder.h"

namespace tavir {
namespace {

using Bytes = std::vector<uint8_t>;
using Frames = std::vector<Bytes>;

DebugItem definedItem(int32_t functionCode, int32_t signalGroup, int32_t block, int32_t value) {
    DebugItem item;
    item.window = &item;  // any control will do
    item.flags = kItemMonitored;
    item.functionCode = functionCode;
    item.signalGroup = signalGroup;
    item.block = block;
    item.isCheckbox = categoryAttributes(functionCode).isCheckbox ? 1 : 0;
    item.value = value;
    return item;
}

Bytes frame(DebugItem item, uint8_t kind, int32_t value) {
    item.value = value;
    uint8_t buffer[kRequestBufferSize];
    return Bytes(buffer, buffer + encodeRequest(requestKey(item), kind, buffer));
}

// Each request is one write of the whole frame: a frame split over two writes could interleave
// with a frame of the timer thread.
TEST(DebugItem, Operations) {
    testing::RecordedTransport link;
    // Onderlinge-tijd: the second signal group travels in the block's place.
    EXPECT_EQ(requestForItem(link, definedItem(384, 3, 5, 40), kWrite), 0);
    DebugItem box = definedItem(264, 2, -1, 0);
    setItemMonitoring(link, box, true);  // monitored already: Read and Monitor all the same
    setItemMonitoring(link, box, false);
    setItemMonitoring(link, box, false);  // no longer monitored: nothing
    EXPECT_EQ(box.flags & kItemMonitored, 0u);
    toggleItem(link, box);
    toggleItem(link, box);
    DebugItem number = definedItem(320, 2, -1, 75);
    toggleItem(link, number);  // a value item is left alone
    writeItem(link, number);
    EXPECT_EQ(link.writes, (Frames{{0xBC, 0x44, 0x40, 0x43, 0x45, 0x68},
                                   frame(box, kRead, 0),
                                   frame(box, kMonitor, 0),
                                   frame(box, kStop, 0),
                                   frame(box, kWrite, 1),
                                   frame(box, kWrite, 0),
                                   frame(number, kWrite, 75)}));

    // Without a control an item sends nothing, whatever is asked.
    link.writes.clear();
    box.window = nullptr;
    EXPECT_EQ(requestForItem(link, box, kRead), -1);
    setItemMonitoring(link, box, true);
    setItemMonitoring(link, box, false);
    toggleItem(link, box);
    writeItem(link, box);
    EXPECT_TRUE(link.writes.empty());
}

DebugItem valueItem(int32_t functionCode, int32_t width, int32_t lastNonZero = -1) {
    DebugItem item;
    item.functionCode = functionCode;
    item.width = width;
    item.doubledDisplay = lastNonZero >= 0;
    item.lastNonZero = lastNonZero >= 0 ? lastNonZero : 0;
    return item;
}

TEST(ItemValueText, OnTheItemsWidth) {
    const std::string hashes(15, '#');
    const struct {
        const char* what;
        DebugItem item;
        int32_t value;
        std::string text;
    } cases[] = {
        {"three tildes: four characters fit", valueItem(320, 4), 1234, "1234"},
        {"three tildes: five do not", valueItem(320, 4), 12345, hashes},
        {"the sign counts", valueItem(320, 2), -1, "-1"},
        {"the sign counts, one past", valueItem(320, 2), -10, hashes},
        {"datum: six digits, exactly the width", valueItem(kDatumFunctionCode, 6), 12345, "012345"},
        {"datum: one past the width", valueItem(kDatumFunctionCode, 5), 12345, hashes},
        {"doubled: exactly the width", valueItem(462, 6, 5), 10, "10 (5)"},
        {"doubled: one past the width", valueItem(462, 6, 5), 100, hashes},
        {"doubled without a non-zero value yet", valueItem(462, 6, 0), 7, "7"},
        {"wider than an item's text: cut to 15", valueItem(462, 21, 1234567), 1234567890, "1234567890 (123"},
    };
    for (const auto& c : cases) {
        char text[kItemTextCapacity];
        formatItemValue(c.item, c.value, text);
        EXPECT_EQ(text, c.text) << c.what;
    }
}

TEST(ItemValueText, TakingValues) {
    // A doubled display shows the previous non-zero value; a received value ends an edit.
    DebugItem item = valueItem(462, 10, 0);
    const std::pair<int32_t, std::string> shown[] = {{5, "5"}, {0, "0 (5)"}, {7, "7 (5)"}, {8, "8 (7)"}};
    for (const auto& [value, text] : shown) {
        item.editPending = 1;
        EXPECT_FALSE(takeItemValue(item, value));
        EXPECT_EQ(item.text, text);
        EXPECT_EQ(item.textLength, static_cast<int32_t>(text.size()));
        EXPECT_EQ(item.value, value);
        EXPECT_EQ(item.editPending, 0);
    }
    // A checkbox shows its check mark for exactly 1; its caption stays as it was.
    DebugItem box = valueItem(264, 2);
    box.isCheckbox = 1;
    for (int32_t value : {0, 2, -1, 1}) {
        EXPECT_EQ(takeItemValue(box, value), value == 1) << value;
        EXPECT_STREQ(box.text, "");
    }
}

// Ctrl with the arrow keys: where the item focus goes, on pictures of item places.
using Move = int (*)(const ChildWindowData&);

struct Case {
    const char* what;
    int focused;
    Move move;
    int expected;
};

// places: column and row of each item, in file order.
void run(const std::vector<std::pair<int, int>>& places, const std::vector<Case>& cases) {
    auto child = std::make_unique<ChildWindowData>();
    for (const auto& [column, row] : places) {
        DebugItem& item = child->items[child->itemCount];
        item.index = child->itemCount++;
        item.column = column;
        item.row = row;
    }
    for (const Case& c : cases) {
        child->focusedItem = c.focused;
        EXPECT_EQ(c.move(*child), c.expected) << c.what;
    }
}

TEST(ItemMoves, OnAGrid) {
    //  row 0:  0 at 2    1 at 10    2 at 20
    //  row 1:        3 at 8   4 at 12
    //  row 3:  5 at 0    6 at 9     7 at 18    8 at 30
    run({{2, 0}, {10, 0}, {20, 0}, {8, 1}, {12, 1}, {0, 3}, {9, 3}, {18, 3}, {30, 3}},
        {
            {"next without focus", -1, nextItem, 0},
            {"previous without focus", -1, previousItem, 8},
            {"below without focus", -1, itemBelow, 0},
            {"above without focus", -1, itemAbove, 8},
            {"next wraps after the last", 8, nextItem, 0},
            {"previous wraps before the first", 0, previousItem, 8},
            {"below: equally near, the later one", 1, itemBelow, 4},
            {"below: the nearest column, over an empty row", 3, itemBelow, 6},
            {"below from the last row wraps to the first", 7, itemBelow, 2},
            {"above wraps to the last row", 0, itemAbove, 5},
            {"above: the nearest column", 7, itemAbove, 4},
            {"above: the nearest column in row 0", 3, itemAbove, 1},
            {"a focus outside the items counts as none", 9, nextItem, 0},
        });
}

TEST(ItemMoves, OneRowAndFewItems) {
    run({{0, 5}, {10, 5}, {20, 5}}, {{"below in one row is next", 1, itemBelow, 2},
                                     {"below in one row wraps", 2, itemBelow, 0},
                                     {"above in one row is previous", 0, itemAbove, 2}});
    std::vector<Case> none;
    for (Move m : {nextItem, previousItem, itemBelow, itemAbove}) {
        none.push_back({"one item, focused: no move", 0, m, -1});
        none.push_back({"one item, no focus: that item", -1, m, 0});
    }
    run({{4, 2}}, none);
    for (Case& c : none) c.expected = -1, c.what = "no items: no move";
    run({}, none);
}

}  // namespace
}  // namespace tavir
