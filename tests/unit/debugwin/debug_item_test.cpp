// Item operations: which requests reach the transport, in which order, with which bytes.
#include "debugwin/debug_item.h"

#include <gtest/gtest.h>

#include <vector>

#include "../link/link_fakes.h"
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
TEST(DebugItem, RequestKeyAddressesTheItem) {
    testing::RecordedTransport link;
    // Onderlinge-tijd: the second signal group travels in the block's place.
    EXPECT_EQ(requestForItem(link, definedItem(384, 3, 5, 40), kWrite), 0);
    // No block (-1) is sent as none, and the value 1 travels as the flag.
    requestForItem(link, definedItem(69, 7, -1, 1), kWrite);
    EXPECT_EQ(link.writes, (Frames{{0xBC, 0x44, 0x40, 0x43, 0x45, 0x68}, {0xA2, 0x65, 0x47}}));
}

TEST(DebugItem, Operations) {
    testing::RecordedTransport link;
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
    EXPECT_EQ(link.writes, (Frames{frame(box, kRead, 0), frame(box, kMonitor, 0), frame(box, kStop, 0),
                                   frame(box, kWrite, 1), frame(box, kWrite, 0), frame(number, kWrite, 75)}));

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

}  // namespace
}  // namespace tavir
