// Whole applications read end to end: fixtures against their golden descriptions, and the
// largest application the tables hold.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "app_generator.h"
#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"
#include "definitions_support.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::newMacroTable;
using testing::newTables;
using testing::ScratchFolder;

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char buffer[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

// One line per macro the header added, per count, per record in use and per clearance.
std::string describe(const MacroTable& macros, int builtIn, const ApplicationTables& t) {
    std::string out;
    for (int i = builtIn; i < macros.count; ++i) {
        out += format("macro %s %d\n", macros.entries[i].name, macros.entries[i].value);
    }
    const ApplicationCounts& n = t.counts;
    out += format("counts SG %d D %d T %d KL %d EGGP %d EP %d SCH %d\n", n.numSignalGroups, n.numDetectors,
                  n.numTimers, n.numClocks, n.numEggparms, n.numEparms, n.numSwitches);
    for (int i = 0; i < usableCount(n.numSignalGroups, kSignalGroupCapacity); ++i) {
        const SignalGroupRecord& r = t.signalGroups[static_cast<size_t>(i)];
        out += format("SG %s %d vg %.3f gl %.3f mg %.3f extra", r.name, r.arrayNumber, r.vgTime, r.glTime,
                      r.mgTime);
        for (double time : r.extraMgTimes) out += format(" %.3f", time);
        out += "\n";
    }
    for (int i = 0; i < usableCount(n.numDetectors, kDetectorCapacity); ++i) {
        const DetectorRecord& r = t.detectors[static_cast<size_t>(i)];
        out += format("D %s %d gap1 %.3f gap2 %.3f occupancy %.3f\n", r.name, r.arrayNumber, r.gapTime1,
                      r.gapTime2, r.occupancyTime);
    }
    for (int i = 0; i < usableCount(n.numTimers, kTimerCapacity); ++i) {
        const TimerRecord& r = t.timers[static_cast<size_t>(i)];
        out += format("T %s %d time %.3f\n", r.name, r.arrayNumber, r.time);
    }
    for (int i = 0; i < usableCount(n.numClocks, kClockCapacity); ++i) {
        const ClockRecord& r = t.clocks[static_cast<size_t>(i)];
        out += format("KL %s %d time1 %.3f time2 %.3f\n", r.name, r.arrayNumber, r.time1, r.time2);
    }
    for (int i = 0; i < usableCount(n.numSwitches, kSwitchCapacity); ++i) {
        const SwitchRecord& r = t.switches[static_cast<size_t>(i)];
        out += format("SCH %s %d value %d\n", r.name, r.arrayNumber, r.value);
    }
    for (int i = 0; i < usableCount(n.numEggparms, kEggparmCapacity); ++i) {
        const EggparmRecord& r = t.eggparms[static_cast<size_t>(i)];
        out += format("EGGP %s %d value %d\n", r.name, r.arrayNumber, r.value);
    }
    for (int i = 0; i < usableCount(n.numEparms, kEparmCapacity); ++i) {
        const EparmRecord& r = t.eparms[static_cast<size_t>(i)];
        out += format("EP %s %d value %.3f\n", r.name, r.arrayNumber, r.value);
    }
    out += format("clearances %d\n", t.numClearances);
    for (int i = 0; i < usableCount(t.numClearances, kClearanceCapacity); ++i) {
        const ClearanceEntry& e = t.clearances[static_cast<size_t>(i)];
        out +=
            format("ONT %s %d %s %d %.9g\n", e.fromName, e.fromNumber, e.toName, e.toNumber, e.clearanceTime);
    }
    return out;
}

// The hand-written test crossing, an application of the table source's edges, and a header of the
// section pass's edges.
TEST(ApplicationGolden, Fixtures) {
    for (const std::string name : {"kruispunt", "edges", "header"}) {
        const std::string dir = TAVIR_FIXTURES "/definitions/" + name + "/";
        auto macros = newMacroTable();
        auto tables = newTables();
        LoggedLines logged;
        ASSERT_EQ(loadBuiltInMacros(*macros, logged.log), 0);
        int builtIn = macros->count;
        ASSERT_EQ(loadApplicationHeader(*macros, *tables, logged.log, (dir + "KVAPDEF.H").c_str()), 0);
        EXPECT_TRUE(logged.all().empty()) << name;
        testing::expectGolden(describe(*macros, builtIn, *tables), dir + "expected.txt");
    }
}

TEST(ApplicationGolden, LargestApplication) {
    namespace gen = tavir::bench;
    ScratchFolder dir;
    gen::writeMaxApplication(dir.dir());
    auto macros = newMacroTable();
    auto tables = newTables();
    LoggedLines logged;
    ASSERT_EQ(loadBuiltInMacros(*macros, logged.log), 0);
    ASSERT_EQ(loadApplicationHeader(*macros, *tables, logged.log, dir.file("KVAPDEF.H").c_str()), 0);
    EXPECT_TRUE(logged.all().empty());
    EXPECT_EQ(macros->count, kMacroTableCapacity) << "the header fills the MacroTable exactly";

    const gen::ApplicationShape& shape = gen::kMaxApplication;
    const ApplicationCounts& n = tables->counts;
    EXPECT_EQ((std::vector<int>{n.numSignalGroups, n.numDetectors, n.numTimers, n.numClocks, n.numSwitches,
                                n.numEparms, n.numEggparms}),
              (std::vector<int>{shape.signalGroups, shape.detectors, shape.timers, shape.clocks,
                                shape.switches, shape.eparms, shape.eggparms}));
    // Every table is filled; the largest ones are compared value by value.
    ASSERT_EQ(tables->numClearances, shape.clearances);

    for (int i = 0; i < shape.signalGroups; ++i) {
        const SignalGroupRecord& r = tables->signalGroups[static_cast<size_t>(i)];
        ASSERT_EQ(std::make_tuple(std::string(r.name), r.arrayNumber, r.vgTime, r.glTime, r.mgTime),
                  std::make_tuple(gen::signalGroupName(i), i, gen::vgTimeOf(i), gen::glTimeOf(i),
                                  gen::mgTimeOf(i)));
        for (int k = 1; k <= 12; ++k)
            ASSERT_EQ(r.extraMgTimes[k - 1], gen::extraMgTimeOf(i, k)) << r.name << " " << k;
    }
    for (int i = 0; i < shape.eparms; ++i) {
        ASSERT_EQ(tables->eparms[static_cast<size_t>(i)].value, gen::eparmValueOf(i)) << i;
        ASSERT_EQ(tables->eggparms[static_cast<size_t>(i)].value, gen::eggparmValueOf(i)) << i;
    }
    // The clearance rows are read as the golden applications show; here only the last one.
    int from = 0, to = 0;
    double time = 0;
    gen::clearanceOf(shape.clearances - 1, shape.signalGroups, &from, &to, &time);
    const ClearanceEntry& last = tables->clearances[static_cast<size_t>(shape.clearances - 1)];
    EXPECT_EQ(std::make_tuple(last.fromNumber, last.toNumber, last.clearanceTime),
              std::make_tuple(from, to, static_cast<double>(static_cast<float>(time))));
}

}  // namespace
}  // namespace tavir
