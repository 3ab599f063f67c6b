#include "tools/comparison.h"

#include <gtest/gtest.h>

namespace tavir {
namespace {

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
