#include "tools/batch_values.h"

#include <gtest/gtest.h>

#include "tools_fakes.h"

namespace tavir {
namespace {

TEST(BatchValues, TheFirstReplyWinsForTheRestOfTheProgramRun) {
    testing::ToolBench bench;
    TimerRecord& timer = bench.tables->timers[1];
    EXPECT_FALSE(bench.store.anyReplyStored());
    bench.store.OnBatchValue({34, 1, 0, 0, 300});
    bench.store.OnBatchValue({34, 1, 0, 0, 301});
    EXPECT_EQ(timer.controllerValue.load(), 300);
    EXPECT_EQ(timer.received.load(), 1);
    EXPECT_TRUE(bench.store.anyReplyStored());
}

TEST(BatchValues, RepliesThatMatchNoFieldAreDropped) {
    const struct {
        const char* name;
        ValueRecord record;
    } rows[] = {
        {"337 is no extra MG time", {337, 0, 0, 0, 5}},
        {"338 neither", {338, 0, 0, 0, 5}},
        {"an unknown code", {64, 0, 0, 0, 5}},
        {"a timer the application lacks", {34, 7, 0, 0, 5}},
        {"a clearance pair the table lacks", {384, 1, 2, 0, 5}},
        {"a record beyond the count", {33, 0, 0, 0, 5}},  // eggparms[2] holds array number 0 but is unused
    };
    for (const auto& row : rows) {
        testing::ToolBench bench;
        bench.tables->eggparms[0].arrayNumber = 5;  // so that only the unused record holds number 0
        bench.store.OnBatchValue(row.record);
        EXPECT_FALSE(bench.store.anyReplyStored()) << row.name;
    }
}

TEST(BatchValues, OnlyTheFirstEntryWithTheNumberIsConsidered) {
    testing::ToolBench bench;
    bench.tables->timers[1].arrayNumber = 0;
    bench.store.OnBatchValue({34, 0, 0, 0, 20});
    bench.store.OnBatchValue({34, 0, 0, 0, 21});
    EXPECT_EQ(bench.tables->timers[0].controllerValue.load(), 20);
    EXPECT_EQ(bench.tables->timers[1].received.load(), 0);
}

}  // namespace
}  // namespace tavir
