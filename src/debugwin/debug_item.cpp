#include "debugwin/debug_item.h"

#include "link/request_encoder.h"

namespace tavir {

namespace {

// By category: whether an item needs a signal group, a block, and whether it is a checkbox.
// The value items are Hulpfunctie eenmalig, the WAARDE groups and the counters.
constexpr CategoryAttributes kCategories[16] = {
    {true, false, true},    // 0 Koppel-signalen, Optie without qualifier
    {true, false, false},   // 1 Hulpfunctie eenmalig
    {true, false, true},    // 2 Hulpfunctie SG
    {true, false, true},    // 3 Optie SG
    {false, true, true},    // 4 Hulpfunctie BK
    {false, true, true},    // 5 Optie BK
    {true, true, true},     // 6 Hulpfunctie SG & BK
    {true, true, true},     // 7 Optie SG & BK
    {true, false, true},    // 8 Toestand SG
    {true, false, true},    // 9 Tijd SG LOPEND
    {true, false, false},   // 10 Tijd SG WAARDE
    {true, true, true},     // 11 Onderlinge-tijd SG LOPEND (second signal group in the block)
    {true, true, false},    // 12 Onderlinge-tijd SG WAARDE
    {true, false, true},    // 13 User-defined LOPEND
    {true, false, false},   // 14 User-defined WAARDE
    {false, false, false},  // 15 Tellers
};

}  // namespace

CategoryAttributes categoryAttributes(int32_t functionCode) {
    return kCategories[(functionCode >> 5) & 0x0F];
}

ValueRecord requestKey(const DebugItem& item) {
    ValueRecord record;
    record.functionCode = item.functionCode;
    record.number = item.signalGroup;
    record.block = item.block;
    record.spare = item.isCheckbox;
    record.value = item.value;
    return record;
}

int requestForItem(Transport& link, const DebugItem& item, uint8_t kind) {
    if (!item.window) return -1;
    SendRequest(link, requestKey(item), kind);
    return 0;
}

void setItemMonitoring(Transport& link, DebugItem& item, bool on) {
    if (on) {
        item.flags |= kItemMonitored;
        requestForItem(link, item, kRead);
        requestForItem(link, item, kMonitor);
    } else if (item.flags & kItemMonitored) {
        requestForItem(link, item, kStop);
        item.flags &= ~kItemMonitored;
    }
}

void toggleItem(Transport& link, DebugItem& item) {
    if (!item.isCheckbox) return;
    item.value ^= 1;
    requestForItem(link, item, kWrite);
}

void writeItem(Transport& link, const DebugItem& item) {
    requestForItem(link, item, kWrite);
}

}  // namespace tavir
