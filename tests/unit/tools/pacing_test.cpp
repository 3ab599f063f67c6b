#include "tools/pacing.h"

#include <gtest/gtest.h>

#include "tools_fakes.h"

namespace tavir {
namespace {

TEST(Pacing, APaceEndsAtTheFirstTickAnIntervalAfterTheMark) {
    const struct {
        const char* name;
        uint32_t mark, now, longestWait;
        uint32_t endsAt;
        bool waited;
    } rows[] = {
        {"a mark long past: no wait", 0, 5000, 0, 5000, false},
        {"a mark just set: the whole interval", 5000, 5000, 0, 5100, true},
        {"part of the interval passed", 5000, 5030, 0, 5100, true},
        {"a waiter woken early waits again for the rest", 5000, 5000, 7, 5100, true},
        {"the tick counter wraps", 0xFFFFFFC0u, 0xFFFFFFF0u, 0, 0x24, true},
    };
    for (const auto& row : rows) {
        testing::FakeClock clock;
        clock.ms = row.now;
        clock.longestWait = row.longestWait;
        Pacing pacing{&clock, &clock, 100, row.mark};
        pace(pacing);
        EXPECT_EQ(clock.ms, row.endsAt) << row.name;
        EXPECT_EQ(pacing.mark, row.endsAt) << row.name;
        EXPECT_EQ(clock.waits > 0, row.waited) << row.name;
    }
}

TEST(Pacing, AStoredSpeedThatIsNoneOfTheFiveChecksNoRadio) {
    EXPECT_EQ(speedChoiceOf(100), 0);
    EXPECT_EQ(speedChoiceOf(2000), 4);
    EXPECT_EQ(speedChoiceOf(300), -1);
}

}  // namespace
}  // namespace tavir
