#include "tools/batch_values.h"

#include <gtest/gtest.h>

#include "tools/comparison.h"
#include "tools_fakes.h"

namespace tavir {
namespace {

// The first reply wins for the rest of the program run, and only the first entry with the number
// is considered.
TEST(BatchValues, TheFirstReplyToTheFirstEntryWithTheNumberWins) {
    testing::ToolBench bench;
    TimerRecord& timer = bench.tables->timers[1];
    EXPECT_FALSE(bench.store.anyReplyStored());
    bench.store.OnBatchValue({34, 1, 0, 0, 300});
    bench.store.OnBatchValue({34, 1, 0, 0, 301});
    EXPECT_EQ(timer.controllerValue.load(), 300);
    EXPECT_EQ(timer.received.load(), 1);
    EXPECT_TRUE(bench.store.anyReplyStored());

    testing::ToolBench twice;
    twice.tables->timers[1].arrayNumber = 0;
    twice.store.OnBatchValue({34, 0, 0, 0, 20});
    EXPECT_EQ(twice.tables->timers[0].controllerValue.load(), 20);
    EXPECT_EQ(twice.tables->timers[1].received.load(), 0);
}

TEST(BatchValues, RepliesThatMatchNoFieldAreDropped) {
    const struct {
        const char* name;
        ValueRecord record;
    } rows[] = {
        {"337 is no extra MG time", {337, 0, 0, 0, 5}},
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

TEST(Comparison, ScaleTruncateCompareAndShow) {
    const struct {
        const char* name;
        ParameterKind kind;
        double table;
        int32_t controller;
        int32_t written;
        bool differs;
        int32_t shown;
    } rows[] = {
        {"2.35 s is written as 23, not rounded", ParameterKind::TIJD, 2.35, 23, 23, true, 2},
        {"4.35 gives 434.99999999999994", ParameterKind::KLOK, 4.35, 434, 434, true, 4},
        {"which lies within 0.1 of 435", ParameterKind::KLOK, 4.35, 435, 434, false, 4},
        {"7.30 is exactly 730", ParameterKind::KLOK, 7.30, 730, 730, false, 7},
        {"3.0 s against 31", ParameterKind::ONT, 3.0, 31, 30, true, 3},
        {"negative values truncate toward zero", ParameterKind::EPARM, -1.55, -15, -15, true, -1},
        {"beyond 32 bits", ParameterKind::EPARM, 1e12, INT32_MAX, INT32_MAX, true, INT32_MAX / 10},
        {"EGGPARMs show both integers", ParameterKind::EGGPARM, 90, 91, 90, true, 91},
    };
    for (const auto& row : rows) {
        ControllerValue value{row.controller};
        ReceivedMark mark{1};
        ParameterField f{};
        f.kind = row.kind;
        f.tableValue = row.table;
        f.controllerValue = &value;
        f.received = &mark;
        EXPECT_EQ(scaledTableValue(f), row.written) << row.name;
        EXPECT_EQ(fieldDiffers(f), row.differs) << row.name;
        EXPECT_EQ(shownControllerValue(f), row.shown) << row.name;
    }
}

}  // namespace
}  // namespace tavir
