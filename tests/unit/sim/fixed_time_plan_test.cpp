#include "fixed_time_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

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
    int groupIndex(const char* name) const {
        for (size_t i = 0; i < application.groups.size(); ++i) {
            if (application.groups[i].name == name) return static_cast<int>(i);
        }
        return -1;
    }
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

// The plan takes its times from the memory: a written maximum green time is the next green's length.
TEST_F(DemoPlan, WrittenTimesChangeThePlan) {
    int sg02 = groupIndex("SG02");
    memory.store({fc::kMaxGreenTime, 0, 0}, 400);
    int64_t greenStart = -1;
    int64_t greenLength = -1;
    for (int t = 0; t < 6000 && greenLength < 0; ++t) {
        FixedTimePlan::Light before = plan.lightOf(sg02);
        step();
        FixedTimePlan::Light after = plan.lightOf(sg02);
        if (before != FixedTimePlan::kLightGreen && after == FixedTimePlan::kLightGreen)
            greenStart = plan.elapsedTenths();
        if (greenStart >= 0 && before == FixedTimePlan::kLightGreen && after != FixedTimePlan::kLightGreen) {
            greenLength = plan.elapsedTenths() - greenStart;
        }
    }
    EXPECT_EQ(greenLength, 400);
}

// Values a client may write that make no sense for a plan are held to a range: the plan turns on.
TEST_F(DemoPlan, AbsurdTimesDoNotStopThePlan) {
    for (const SimConflict& c : application.conflicts)
        memory.store({fc::kClearanceTime, c.fromNumber, c.toNumber}, INT32_MAX);
    for (const SimSignalGroup& g : application.groups) {
        memory.store({fc::kFixedGreenTime, g.arrayNumber, 0}, -5);
        memory.store({fc::kMaxGreenTime, g.arrayNumber, 0}, INT32_MAX);
        memory.store({fc::kAmberTime, g.arrayNumber, 0}, INT32_MIN);
    }
    for (int t = 0; t < 10 * 60 * 10; ++t) step();
    EXPECT_GE(memory.load({fc::kCycleCounter, 0, 0}), 2);
}

TEST_F(DemoPlan, ClocksAreActiveBetweenTheirTimes) {
    // The hour and minute, the clock and its array number, and whether it is active.
    const std::tuple<int, int, const char*, int32_t, int32_t> cases[] = {
        {7, 45, "KL_OCHTENDSPITS", 0, 1}, {9, 30, "KL_OCHTENDSPITS", 0, 0}, {6, 59, "KL_OCHTENDSPITS", 0, 0},
        {23, 30, "KL_NACHT", 2, 1},       {5, 59, "KL_NACHT", 2, 1},        {6, 0, "KL_NACHT", 2, 0},
    };
    for (auto [hour, minute, clockName, arrayNumber, active] : cases) {
        plan.publish(memory, secondsFromCalendar(2024, 6, 3, hour, minute, 0));
        EXPECT_EQ(memory.load({fc::kClockActive, arrayNumber, 0}), active) << clockName << " " << hour;
    }
}

TEST(FixedTimePlan, AnApplicationWithoutGroupsOnlyCounts) {
    FixedTimePlan plan;
    ControllerMemory memory;
    plan.configure(SimApplication{}, 1);
    for (int t = 0; t < 100; ++t) plan.step(memory, 0);
    EXPECT_EQ(plan.stageCount(), 0);
    EXPECT_EQ(memory.load({fc::kDate, 0, 0}), 10170);
}

TEST(Calendar, DatesAndCounterValues) {
    struct Case {
        int year, month, day, hour, minute, second;
        int weekday;
        int32_t datum, tijd, clock;
    } cases[] = {
        {1969, 12, 31, 23, 59, 59, 3, 311269, 235959, 2359},  // the second before the epoch
        {1970, 1, 1, 0, 0, 0, 4, 10170, 0, 0},
        {2000, 2, 29, 12, 34, 56, 2, 290200, 123456, 1234},
        {2024, 6, 3, 7, 45, 0, 1, 30624, 74500, 745},
        {2024, 12, 31, 23, 59, 59, 2, 311224, 235959, 2359},
        {2025, 1, 5, 8, 5, 9, 7, 50125, 80509, 805},
        {2100, 3, 1, 0, 0, 1, 1, 10300, 1, 0},
    };
    EXPECT_EQ(secondsFromCalendar(1969, 12, 31, 23, 59, 59), -1);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.year << "-" << c.month << "-" << c.day);
        CalendarTime t =
            calendarFromSeconds(secondsFromCalendar(c.year, c.month, c.day, c.hour, c.minute, c.second));
        EXPECT_EQ(std::make_tuple(t.year, t.month, t.day, t.second, t.weekday),
                  std::make_tuple(c.year, c.month, c.day, c.second, c.weekday));
        EXPECT_EQ(std::make_tuple(datumValue(t), tijdValue(t), clockTimeValue(t)),
                  std::make_tuple(c.datum, c.tijd, c.clock));
    }
}

}  // namespace
}  // namespace tavir::sim
