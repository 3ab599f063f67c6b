// Ctrl with the arrow keys: where the item focus goes, on pictures of item places.
#include "debugwin/item_moves.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace tavir {
namespace {

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
            {"below from the left end", 5, itemBelow, 0},
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
