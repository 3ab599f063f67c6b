#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;
using testing::quiet;
using testing::Received;

constexpr int64_t kSecond = 1000000;

int32_t readOnce(DemoSimulator& sim, int32_t code, int32_t number, int32_t block) {
    sim.request(kRead, code, number, block);
    auto got = sim.replies();
    EXPECT_EQ(got.size(), 1u) << "code " << code;
    return got.empty() ? INT32_MIN : got[0].record.value;
}

// Each scaled kind, with a table value whose product lands just below an integer in double
// precision: the seeded integer is the one the tools' comparison (within 0.1) finds equal. One
// entry of each kind, at array number 0 (the clearance from 0 to 1).
TEST(Protocol, AProductJustBelowAnIntegerSeedsThatInteger) {
    constexpr double kJustBelow = 1.0999999999999999;  // times 10: 10.999999999999998
    auto t = std::make_unique<ApplicationTables>();
    ApplicationCounts& n = t->counts;
    n.numSignalGroups = n.numDetectors = n.numTimers = n.numClocks = n.numEparms = t->numClearances = 1;
    t->clearances[0].toNumber = 1;
    t->clearances[0].clearanceTime = kJustBelow;
    SignalGroupRecord& g = t->signalGroups[0];
    g.name[0] = 'G';  // VG and GL are seeded only for a named group
    g.vgTime = g.glTime = g.mgTime = kJustBelow;
    for (double& time : g.extraMgTimes) time = kJustBelow;
    t->detectors[0].gapTime1 = t->detectors[0].gapTime2 = t->detectors[0].occupancyTime = kJustBelow;
    t->timers[0].time = t->eparms[0].value = kJustBelow;
    t->clocks[0].time1 = 4.35;  // times 100: 434.99999999999994
    t->clocks[0].time2 = 2.3;   // times 100: 229.99999999999997
    ControllerMemory memory;
    seedParameters(*t, memory);

    struct Case {
        const char* kind;
        SimAddress address;
        double product;
        int32_t expected;
    } cases[] = {
        {"ONT", {fc::kClearanceTime, 0, 1}, kJustBelow * 10, 11},
        {"VG", {fc::kFixedGreenTime, 0, 0}, kJustBelow * 10, 11},
        {"GL", {fc::kAmberTime, 0, 0}, kJustBelow * 10, 11},
        {"MG", {fc::kMaxGreenTime, 0, 0}, kJustBelow * 10, 11},
        {"MG1", {fc::kExtraMaxGreenTime1, 0, 0}, kJustBelow * 10, 11},
        {"MG12", {fc::kExtraMaxGreenTime7 + 5, 0, 0}, kJustBelow * 10, 11},
        {"H_TIJD1", {fc::kGapTime1, 0, 0}, kJustBelow * 10, 11},
        {"H_TIJD2", {fc::kGapTime2, 0, 0}, kJustBelow * 10, 11},
        {"BZT_TIJD", {fc::kOccupancyTime, 0, 0}, kJustBelow * 10, 11},
        {"TIJD", {fc::kTimer, 0, 0}, kJustBelow * 10, 11},
        {"KLOK 1", {fc::kClockTime1, 0, 0}, 4.35 * 100, 435},
        {"KLOK 2", {fc::kClockTime2, 0, 0}, 2.3 * 100, 230},
        {"EPARM", {fc::kEparm, 0, 0}, kJustBelow * 10, 11},
    };
    for (const Case& c : cases) {
        ASSERT_LT(c.product, c.expected) << c.kind << ": the product must land below the integer";
        EXPECT_EQ(memory.load(c.address), c.expected) << c.kind;
    }
}

TEST(Protocol, WriteThenReadRoundTrips) {
    DemoSimulator sim;
    struct Case {
        int32_t code, number, block, value;
    } cases[] = {
        {fc::kFixedGreenTime, 0, -1, 75},
        {fc::kClearanceTime, 0, 1, 45},
        {fc::kEparm, 3, -1, 12345},
        {fc::kSwitch, 0, -1, 1},
        {fc::kCycleCounter, -1, -1, 777},
        {160, -1, 3, 1},                  // a block option (category 5)
        {0, 5, -1, 1},                    // a coupling signal
        {fc::kMaxGreenTime, 1, -1, -20},  // a negative value in six groups
    };
    for (const Case& c : cases) {
        sim.request(kWrite, c.code, c.number, c.block, c.value);
        EXPECT_TRUE(sim.replies().empty()) << "an unmonitored Write is not echoed, code " << c.code;
        EXPECT_EQ(readOnce(sim, c.code, c.number, c.block), c.value) << "code " << c.code;
    }
}

// A Monitor answers at once, then with every change (the plan turns SG02 green and red again,
// a Write changes a setting); after a Stop nothing more comes.
TEST(Protocol, MonitorSendsEveryChangeUntilStop) {
    DemoSimulator sim;
    sim.request(kMonitor, fc::kGreen, 0, -1);
    sim.request(kMonitor, fc::kFixedGreenTime, 3, -1);
    auto first = sim.replies();
    ASSERT_EQ(first.size(), 2u);
    sim.request(kWrite, fc::kFixedGreenTime, 3, -1, 90);
    auto written = sim.replies();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].record.value, 90);

    sim.runFor(120 * kSecond);
    auto changes = sim.replies();
    ASSERT_GE(changes.size(), 2u) << "SG02 turns green and red again within two minutes";
    int32_t previous = first[0].record.value;
    for (const Received& r : changes) {
        EXPECT_EQ(r.record.functionCode, fc::kGreen);
        EXPECT_NE(r.record.value, previous);
        previous = r.record.value;
    }
    sim.request(kStop, fc::kGreen, 0, -1);
    sim.runFor(120 * kSecond);
    EXPECT_TRUE(sim.replies().empty());
}

TEST(Protocol, RefreshSendsUnchangedMonitoredValuesAgain) {
    SimSettings settings = quiet();
    settings.refreshHz = 4;
    DemoSimulator sim(settings);
    sim.request(kMonitor, fc::kFixedGreenTime, 0, -1);  // a setting: it never changes by itself
    sim.replies();
    sim.runFor(2 * kSecond);
    auto got = sim.replies();
    EXPECT_EQ(got.size(), 8u);
    for (const Received& r : got) EXPECT_EQ(r.record.value, 60);
}

std::string sentSince(const DemoSimulator& sim, size_t from) {
    return std::string(sim.link.bytes.begin() + static_cast<long>(from), sim.link.bytes.end());
}

// V, O without a dump, M, O streaming to its end marker, A while streaming and A afterwards.
TEST(Protocol, DumpExchange) {
    DemoSimulator sim;
    sim.sendBytes({'V', 'O'});
    EXPECT_EQ(sentSince(sim, 0), "tavir-sim: verbinding in orde\ngeen dump gemaakt\n\xFF\n");
    sim.sendBytes({'M'});
    size_t mark = sim.link.bytes.size();
    sim.sendBytes({'O'});
    sim.runFor(10 * kSecond);
    std::string dump = sentSince(sim, mark);
    EXPECT_EQ(dump.rfind("DUMP tavir-sim datum ", 0), 0u);
    EXPECT_EQ(dump.find('\xFF'), dump.size() - 2)
        << "the marker comes only at the end, followed by a newline";
    EXPECT_EQ(dump.find("  "), std::string::npos) << "two blanks would switch the dialog's display off";
    EXPECT_NE(dump.find("\n320 0 0 60\n"), std::string::npos) << "code, number, block and value of SG02's VG";

    sim.sendBytes({'O'});
    sim.runFor(50000);  // a few chunks
    sim.sendBytes({'A'});
    std::string sent = sentSince(sim, 0);
    EXPECT_EQ(sent.substr(sent.size() - 21), "ophalen afgebroken\n\xFF\n");
    mark = sim.link.bytes.size();
    sim.runFor(10 * kSecond);
    sim.sendBytes({'A'});
    EXPECT_EQ(sentSince(sim, mark), "ophalen niet actief\n") << "nothing follows an abort";
}

// Inside a frame the dump command letters are ordinary data bytes.
TEST(Protocol, CommandLettersInsideAFrameAreData) {
    DemoSimulator sim;
    // A Read of EGGPARM 13: its sub byte is 0x41 ('A') and its last byte 0x4D ('M').
    std::vector<uint8_t> frame = testing::requestFrame(kRead, fc::kEggparm, 0x0D, -1);
    ASSERT_NE(std::find(frame.begin(), frame.end(), 'M'), frame.end());
    sim.sendBytes(frame);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.number, 0x0D);
}

// The end-to-end tests read the log: one entry per frame in and out, with its bytes.
TEST(Protocol, TheLogHasOneEntryPerFrameInAndOut) {
    DemoSimulator sim;
    sim.request(kRead, fc::kFixedGreenTime, 0, -1);
    sim.sendBytes({'V'});
    std::vector<nlohmann::json> log;
    for (const std::string& line : sim.logLines.lines) log.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0]["kind"], "connect");
    EXPECT_EQ(log[1], nlohmann::json::parse(R"({"timeUs":0,"dir":"in","link":"tcp","kind":"Read",
        "functionCode":320,"number":0,"block":0,"value":0,"hex":"ea4040"})"));
    EXPECT_EQ(log[2]["kind"], "Value");
    EXPECT_EQ(log[2]["value"], 60);
    EXPECT_EQ(log[2]["hex"], "ba4340407c");
    EXPECT_EQ(log[3]["command"], "V");
    EXPECT_EQ(log[4]["kind"], "dump");
}

}  // namespace
}  // namespace tavir::sim
