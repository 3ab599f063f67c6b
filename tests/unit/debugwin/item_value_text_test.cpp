// How a received value shows in its item, on the item's own width.
#include "debugwin/item_value_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tavir {
namespace {

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

}  // namespace
}  // namespace tavir
