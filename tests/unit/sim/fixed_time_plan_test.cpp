#include "fixed_time_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "calendar.h"
#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

// The example application's plan on its seeded memory, stepped by hand.
struct DemoPlan : ::testing::Test {
    testing::DemoTables demo;
    SimApplication application;
    ControllerMemory memory;
    FixedTimePlan plan;
    int64_t clock = secondsFromCalendar(2024, 6, 3, 7, 45, 0);

    void SetUp() override {
        ASSERT_EQ(demo.load.result, ApplicationLoadResult::kLoaded);
        seedParameters(*demo.tables, memory);
        application = applicationFromTables(*demo.tables);
        plan.configure(application, 3);
        plan.publish(memory, clock);
    }
    void step() { plan.step(memory, clock + plan.elapsedTenths() / 10); }
    bool conflict(int a, int b) const {
        int32_t na = application.groups[a].arrayNumber, nb = application.groups[b].arrayNumber;
        return std::any_of(
            application.conflicts.begin(), application.conflicts.end(), [&](const SimConflict& c) {
                return (c.fromNumber == na && c.toNumber == nb) || (c.fromNumber == nb && c.toNumber == na);
            });
    }
};

// Over ten minutes: no two conflicting groups are ever out of red together, a group goes from
// green through amber (when it has an amber time) to red, a group turns green only after every
// clearance time towards it has run out, the memory shows exactly the plan's lights, one block
// is realised at a time, every detector comes and goes, and a second plan with the same seed
// makes the same run.
TEST_F(DemoPlan, RunsSafely) {
    FixedTimePlan twin;
    ControllerMemory twinMemory;
    seedParameters(*demo.tables, twinMemory);
    twin.configure(application, 3);
    size_t n = application.groups.size();
    std::vector<FixedTimePlan::Light> last(n, FixedTimePlan::kLightRed);
    std::vector<int64_t> redSince(n, -100000);
    std::vector<int> greens(n, 0);
    std::map<int32_t, int> detectorChanges;
    std::map<int32_t, int32_t> occupied;
    for (int t = 0; t < 6000; ++t) {
        step();
        twin.step(twinMemory, clock + twin.elapsedTenths() / 10);
        int blocks = 0;
        for (int b = 0; b < plan.stageCount(); ++b) blocks += memory.load({fc::kBlock, 0, b});
        ASSERT_EQ(blocks, 1) << t;
        ASSERT_EQ(memory.load({fc::kBlock, 0, plan.currentStage()}), 1) << t;
        for (const SimDetector& d : application.detectors) {
            int32_t now = memory.load({fc::kDetectorOccupied, d.arrayNumber, 0});
            if (t > 0 && now != occupied[d.arrayNumber]) ++detectorChanges[d.arrayNumber];
            occupied[d.arrayNumber] = now;
            EXPECT_TRUE(now || memory.load({fc::kOccupiedFor, d.arrayNumber, 0}) == 0) << d.name;
        }
        for (size_t g = 0; g < n; ++g) {
            FixedTimePlan::Light light = plan.lightOf(static_cast<int>(g));
            int32_t number = application.groups[g].arrayNumber;
            EXPECT_EQ(memory.load({fc::kRed, number, 0}), light == FixedTimePlan::kLightRed);
            EXPECT_EQ(memory.load({fc::kGreen, number, 0}), light == FixedTimePlan::kLightGreen);
            EXPECT_EQ(memory.load({fc::kAmber, number, 0}), light == FixedTimePlan::kLightAmber);
            for (size_t other = 0; other < n && light != FixedTimePlan::kLightRed; ++other) {
                if (!conflict(static_cast<int>(g), static_cast<int>(other))) continue;
                EXPECT_EQ(plan.lightOf(static_cast<int>(other)), FixedTimePlan::kLightRed)
                    << g << "/" << other;
            }
            if (light == last[g]) continue;
            if (last[g] == FixedTimePlan::kLightGreen) {
                bool hasAmber = memory.load({fc::kAmberTime, number, 0}) > 0;
                EXPECT_EQ(light, hasAmber ? FixedTimePlan::kLightAmber : FixedTimePlan::kLightRed) << g;
            }
            if (light == FixedTimePlan::kLightRed) redSince[g] = plan.elapsedTenths();
            if (light == FixedTimePlan::kLightGreen) {
                EXPECT_EQ(last[g], FixedTimePlan::kLightRed);
                ++greens[g];
                for (size_t other = 0; other < n; ++other) {
                    if (!conflict(static_cast<int>(g), static_cast<int>(other))) continue;
                    int32_t clearance =
                        memory.load({fc::kClearanceTime, application.groups[other].arrayNumber, number});
                    EXPECT_GE(plan.elapsedTenths() - redSince[other], clearance) << g << " after " << other;
                }
            }
            last[g] = light;
        }
    }
    for (size_t g = 0; g < n; ++g) EXPECT_GE(greens[g], 5) << application.groups[g].name;
    for (const SimDetector& d : application.detectors) EXPECT_GE(detectorChanges[d.arrayNumber], 2) << d.name;
    EXPECT_GE(memory.load({fc::kCycleCounter, 0, 0}), 5);
    EXPECT_EQ(memory.entries(), twinMemory.entries());
}

}  // namespace
}  // namespace tavir::sim
