#include "debugwin/item_value_text.h"

#include <cstdio>
#include <cstring>

namespace tavir {

void formatItemValue(const DebugItem& item, int32_t value, char* text) {
    char full[32];
    if (item.functionCode == kDatumFunctionCode) {
        std::snprintf(full, sizeof full, "%06d", value);
    } else if (item.doubledDisplay && item.lastNonZero != 0) {
        std::snprintf(full, sizeof full, "%d (%d)", value, item.lastNonZero);
    } else {
        std::snprintf(full, sizeof full, "%d", value);
    }
    constexpr size_t kMost = kItemTextCapacity - 1;
    const size_t length = std::strlen(full);
    if (static_cast<int32_t>(length) > item.width) {
        std::memset(text, '#', kMost);
        text[kMost] = '\0';
        return;
    }
    // A doubled display can be wider than the text an item keeps.
    const size_t kept = length < kMost ? length : kMost;
    std::memcpy(text, full, kept);
    text[kept] = '\0';
}

bool takeItemValue(DebugItem& item, int32_t value) {
    if (!item.isCheckbox) formatItemValue(item, value, item.text);
    if (item.doubledDisplay && value != 0) item.lastNonZero = value;
    item.value = value;
    item.textLength = static_cast<int32_t>(std::strlen(item.text));
    item.editPending = 0;
    return value == 1;
}

}  // namespace tavir
