// The display start of a child window: which of several quick starts acts, and which requests its
// start, its reply check and its stop send.
#include "debugwin/display_start.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../link/link_fakes.h"
#include "debugwin/value_handover.h"
#include "link/request_encoder.h"

namespace tavir {
namespace {

using Frames = std::vector<std::vector<uint8_t>>;

TEST(DisplayStart, OnlyTheLastOfQuickStartsActsAndARefusedTimerStartsAtOnce) {
    int32_t sequence = -1;
    // PgDn through four windows within half a second: four timers, 0 to 3.
    for (int32_t expected = 0; expected < 4; ++expected) EXPECT_EQ(nextDisplayStart(sequence), expected);
    EXPECT_FALSE(takeDisplayStart(sequence, 0));
    EXPECT_FALSE(takeDisplayStart(sequence, 2));
    EXPECT_TRUE(takeDisplayStart(sequence, 3));
    EXPECT_EQ(sequence, -1);
    EXPECT_FALSE(takeDisplayStart(sequence, 3));  // once only

    // A refused timer starts at once, unless another start is pending.
    nextDisplayStart(sequence);
    EXPECT_TRUE(displayStartRefused(sequence));  // 0: at once
    EXPECT_TRUE(takeDisplayStart(sequence, 0));
    nextDisplayStart(sequence);
    nextDisplayStart(sequence);
    EXPECT_TRUE(displayStartRefused(sequence));  // 1: at once as well
    nextDisplayStart(sequence);
    EXPECT_FALSE(displayStartRefused(sequence));  // 2 is taken back: timer 1 will act
    EXPECT_TRUE(takeDisplayStart(sequence, 1));
}

TEST(DisplayStart, TheTimeSpentShowingTheWindowCountsInTheDelay) {
    const struct {
        uint32_t spent;
        unsigned left;
    } cases[] = {{0, 500}, {120, 380}, {499, 1}, {500, 1}, {5000, 1}};
    for (const auto& c : cases) EXPECT_EQ(displayDelayLeft(c.spent), c.left) << c.spent;
}

class ItemRequestsTest : public ::testing::Test {
protected:
    void SetUp() override {
        child = std::make_unique<ChildWindowData>();
        // Items 0 and 2 monitored with a control, item 1 not monitored, item 3 without a control.
        for (int i = 0; i < 4; ++i) {
            DebugItem& item = child->items[i];
            item.index = i;
            item.window = i == 3 ? nullptr : &item;
            item.flags = i == 1 ? 0 : kItemMonitored;
            item.functionCode = 256;
            item.signalGroup = i + 1;
        }
        child->itemCount = 4;
    }
    std::vector<uint8_t> frame(int index, uint8_t kind) const {
        uint8_t buffer[kRequestBufferSize];
        return {buffer, buffer + encodeRequest(requestKey(child->items[index]), kind, buffer)};
    }
    std::unique_ptr<ChildWindowData> child;
    testing::RecordedTransport link;
};

TEST_F(ItemRequestsTest, StartAndStopAskForTheMonitoredItemsInOrder) {
    requestItemValues(*child, link);
    stopItemValues(*child, link);
    EXPECT_EQ(link.writes, (Frames{frame(0, kRead), frame(0, kMonitor), frame(2, kRead), frame(2, kMonitor),
                                   frame(0, kStop), frame(2, kStop)}));
}

// The window side of the check: values handed over from the reader thread answer the item whose
// signal group they carry once they are taken.
class HandedReplies : public ReplySide {
public:
    ValueHandover handover{[] { return true; }};
    bool shown[4] = {};
    void takeWaitingValues() override {
        handover.drain([this](uint8_t, const ValueRecord& record) { shown[record.number - 1] = true; });
    }
    bool answered(const DebugItem& item) override { return shown[item.index]; }
    void receive(int index) {
        ValueRecord record;
        record.number = index + 1;
        handover.OnWindowValue(kWrite, record);
    }
};

TEST_F(ItemRequestsTest, TheReplyCheckAsksAgainForEveryItemWithoutAValue) {
    // Item 2 got a value that is still waiting for the window when the check runs: it counts;
    // item 1 is asked again although it is not monitored.
    HandedReplies replies;
    replies.receive(2);
    EXPECT_EQ(checkItemReplies(*child, link, replies), 1);
    EXPECT_EQ(link.writes,
              (Frames{frame(0, kRead), frame(0, kMonitor), frame(1, kRead), frame(1, kMonitor)}));
    HandedReplies none;
    EXPECT_EQ(checkItemReplies(*child, link, none), 0);
}

}  // namespace
}  // namespace tavir
