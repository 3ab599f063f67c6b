#include "debugwin/value_handover.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tavir {
namespace {

ValueRecord recordWithValue(int32_t value) {
    ValueRecord record;
    record.functionCode = 320;
    record.value = value;
    return record;
}

TEST(ValueHandover, OneWakePerBatchAndStaleValuesDropped) {
    int wakes = 0;
    ValueHandover handover([&] { return ++wakes != 0; });
    handover.OnWindowValue(kWrite, recordWithValue(1));
    handover.OnWindowValue(kWrite, recordWithValue(2));
    EXPECT_EQ(wakes, 1);
    handover.beginSelection();  // both were received for the window that was current before
    handover.OnWindowValue(kWrite, recordWithValue(3));
    EXPECT_EQ(wakes, 1);  // the first wake-up has not been answered yet

    std::vector<int32_t> shown;
    EXPECT_EQ(handover.drain([&](uint8_t, const ValueRecord& r) { shown.push_back(r.value); }), 1u);
    EXPECT_EQ(shown, std::vector<int32_t>{3});
    handover.OnWindowValue(kWrite, recordWithValue(4));
    EXPECT_EQ(wakes, 2);
}

TEST(ValueHandover, AWakeUpThatCouldNotBePostedIsTriedAgain) {
    int tries = 0;
    ValueHandover handover([&] { return ++tries > 1; });  // the first post fails
    handover.OnWindowValue(kWrite, recordWithValue(1));
    handover.OnWindowValue(kWrite, recordWithValue(2));
    handover.OnWindowValue(kWrite, recordWithValue(3));
    EXPECT_EQ(tries, 2);
}

// The reader thread queues a long stream while the user-interface thread drains it and switches
// windows now and then: every value received under the last selection is shown exactly once, in
// the order received, and nothing of an earlier selection reaches the window after the switch.
TEST(ValueHandover, ConcurrentStreamKeepsOrderAndLosesNothing) {
    constexpr int kValues = 20000;
    constexpr int kSwitches = 5;
    std::atomic<int> wakes{0};
    // Every third wake-up cannot be posted and is tried again with a later record.
    ValueHandover handover([&] { return wakes.fetch_add(1) % 3 != 0; });
    std::atomic<bool> switched{false};
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (int i = 0; i < kValues; ++i) {
            // The second half goes out only after the last switch, so that the last window has
            // values of its own whatever the threads' timing.
            if (i == kValues / 2) {
                while (!switched.load()) std::this_thread::yield();
            }
            handover.OnWindowValue(kWrite, recordWithValue(i));
        }
        done.store(true);
    });

    std::vector<int32_t> shown;
    auto take = [&] { handover.drain([&](uint8_t, const ValueRecord& r) { shown.push_back(r.value); }); };
    for (int n = 0; n < kSwitches; ++n) {
        take();
        handover.beginSelection();
        shown.clear();  // what the new window shows starts here
        std::this_thread::yield();
    }
    switched.store(true);
    while (!done.load()) take();
    reader.join();
    take();

    ASSERT_GE(shown.size(), static_cast<size_t>(kValues / 2));
    for (size_t i = 1; i < shown.size(); ++i) ASSERT_EQ(shown[i], shown[i - 1] + 1) << "at " << i;
    EXPECT_EQ(shown.back(), kValues - 1);
    EXPECT_GE(wakes.load(), 1);
}

}  // namespace
}  // namespace tavir
