#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "calendar.h"
#include "function_codes.h"
#include "sim_random.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;
using testing::Received;

SimSettings quiet() {
    SimSettings settings;
    settings.refreshHz = 0;
    settings.seed = 7;
    return settings;
}

int32_t readOnce(DemoSimulator& sim, int32_t code, int32_t number, int32_t block) {
    sim.request(kRead, code, number, block);
    auto got = sim.replies();
    EXPECT_EQ(got.size(), 1u) << "code " << code;
    return got.empty() ? INT32_MIN : got[0].record.value;
}

// One parameter of each kind of the example application, at the address and in the unit the
// parameter tools use: the table value times the scale, truncated.
TEST(Protocol, ReadGetsTheSeededValueOfEachParameterKind) {
    DemoSimulator sim(quiet());
    ASSERT_EQ(sim.demo.result, 0);
    struct Case {
        const char* what;
        int32_t code, number, block;
        int32_t expected;
    } cases[] = {
        {"clearance SG31 -> SG08 8.5 s", 384, 6, 2, 85},
        {"clearance SG02 -> SG05 3.0 s", 384, 0, 1, 30},
        {"VG SG02 6.0 s", 320, 0, -1, 60},
        {"GL SG05 3.5 s", 325, 1, -1, 35},
        {"GL SG31 0.0 s", 325, 6, -1, 0},
        {"MG SG22 10.0 s", 326, 4, -1, 100},
        {"MG1 SG02 30.0 s", 331, 0, -1, 300},
        {"MG4 SG05 12.0 s", 334, 1, -1, 120},
        {"MG7 SG08 12.0 s", 339, 2, -1, 120},
        {"gap time 1 SG02_D2 3.0 s", 465, 1, -1, 30},
        {"gap time 2 SG02_D2 2.5 s", 466, 1, -1, 25},
        {"occupancy SG22_D1 0.5 s", 463, 8, -1, 5},
        {"timer T_WACHT_VOET 30 s", 34, 4, -1, 300},
        {"clock KL_AVONDSPITS from 16.00", 450, 1, -1, 1600},
        {"clock KL_AVONDSPITS to 18.30", 451, 1, -1, 1830},
        {"switch SCH_FIETS_DUBBEL on", 420, 1, -1, 1},
        {"switch SCH_KNIPPEREN off", 420, 0, -1, 0},
        {"EGGPARM EGGP_MAX_WACHT 90", 33, 1, -1, 90},
        {"EPARM EP_GROEN_MAX 30.0", 32, 2, -1, 300},
        {"EPARM EP_VOET_UITSTEL 2.5", 32, 5, -1, 25},
    };
    for (const Case& c : cases) EXPECT_EQ(readOnce(sim, c.code, c.number, c.block), c.expected) << c.what;
}

// What the differences tool does against a freshly started simulator: read every parameter it
// would visit and compare with the table value times the scale. Nothing may differ.
TEST(Protocol, NoParameterDiffersFromTheTableSource) {
    DemoSimulator sim(quiet());
    const ApplicationTables& t = *sim.demo.tables;
    int compared = 0;
    auto check = [&](int32_t code, int32_t number, int32_t block, double expected, const std::string& what) {
        int32_t got = readOnce(sim, code, number, block);
        EXPECT_LE(std::fabs(expected - got), 0.1) << what;
        ++compared;
    };
    for (int i = 0; i < t.numClearances; ++i) {
        const ClearanceEntry& c = t.clearances[i];
        check(384, c.fromNumber, c.toNumber, c.clearanceTime * 10,
              std::string("ONT ") + c.fromName + c.toName);
    }
    for (int i = 0; i < t.counts.numSignalGroups; ++i) {
        const SignalGroupRecord& g = t.signalGroups[i];
        check(320, g.arrayNumber, -1, g.vgTime * 10, std::string("VG ") + g.name);
        check(325, g.arrayNumber, -1, g.glTime * 10, std::string("GL ") + g.name);
        if (g.mgTime > -0.1) check(326, g.arrayNumber, -1, g.mgTime * 10, std::string("MG ") + g.name);
        for (int k = 1; k <= 12; ++k) {
            double time = g.extraMgTimes[k - 1];
            if (time > -0.1) check(k <= 6 ? 330 + k : 332 + k, g.arrayNumber, -1, time * 10, "MG extra");
        }
    }
    for (int i = 0; i < t.counts.numDetectors; ++i) {
        const DetectorRecord& d = t.detectors[i];
        if (d.gapTime1 > -0.1) check(465, d.arrayNumber, -1, d.gapTime1 * 10, std::string("H1 ") + d.name);
        if (d.gapTime2 > -0.1) check(466, d.arrayNumber, -1, d.gapTime2 * 10, std::string("H2 ") + d.name);
        if (d.occupancyTime > -0.1) check(463, d.arrayNumber, -1, d.occupancyTime * 10, "BZT");
    }
    for (int i = 0; i < t.counts.numTimers; ++i)
        check(34, t.timers[i].arrayNumber, -1, t.timers[i].time * 10, "T");
    for (int i = 0; i < t.counts.numClocks; ++i) {
        check(450, t.clocks[i].arrayNumber, -1, std::trunc(t.clocks[i].time1 * 100), "KL1");
        check(451, t.clocks[i].arrayNumber, -1, std::trunc(t.clocks[i].time2 * 100), "KL2");
    }
    for (int i = 0; i < t.counts.numSwitches; ++i)
        check(420, t.switches[i].arrayNumber, -1, t.switches[i].value, "SCH");
    for (int i = 0; i < t.counts.numEggparms; ++i)
        check(33, t.eggparms[i].arrayNumber, -1, t.eggparms[i].value, "EGGP");
    for (int i = 0; i < t.counts.numEparms; ++i)
        check(32, t.eparms[i].arrayNumber, -1, t.eparms[i].value * 10, "EP");
    EXPECT_GT(compared, 100);
}

TEST(Protocol, WriteThenReadRoundTrips) {
    DemoSimulator sim(quiet());
    struct Case {
        int32_t code, number, block, value;
    } cases[] = {
        {320, 0, -1, 75},    // VG time
        {384, 0, 1, 45},     // clearance, two signal groups
        {32, 3, -1, 12345},  // EPARM, 16 bits
        {420, 0, -1, 1},     // switch flag
        {450, 2, -1, 2230},  // clock time
        {480, -1, -1, 777},  // counter
        {160, -1, 3, 1},     // block option
        {0, 5, -1, 1},       // coupling signal
        {326, 1, -1, -20},   // a negative value in six groups
    };
    for (const Case& c : cases) {
        sim.request(kWrite, c.code, c.number, c.block, c.value);
        EXPECT_TRUE(sim.replies().empty()) << "an unmonitored Write is not echoed, code " << c.code;
        EXPECT_EQ(readOnce(sim, c.code, c.number, c.block), c.value) << "code " << c.code;
    }
}

TEST(Protocol, WriteToAMonitoredAddressSendsTheNewValue) {
    DemoSimulator sim(quiet());
    sim.request(kMonitor, 320, 3, -1);
    ASSERT_EQ(sim.replies().size(), 1u);
    sim.request(kWrite, 320, 3, -1, 90);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.functionCode, 320);
    EXPECT_EQ(got[0].record.number, 3);
    EXPECT_EQ(got[0].record.value, 90);
}

// A Monitor answers at once and then with every change; the green state of SG02 goes on and off
// as the plan turns, and every reply carries a changed value.
TEST(Protocol, MonitorStreamsChangesAndStopEndsThem) {
    DemoSimulator sim(quiet());
    sim.request(kMonitor, fc::kGreen, 0, -1);
    auto first = sim.replies();
    ASSERT_EQ(first.size(), 1u);
    sim.runFor(120 * 1000000LL);
    auto changes = sim.replies();
    ASSERT_GE(changes.size(), 2u) << "SG02 turns green and red again within two minutes";
    int32_t previous = first[0].record.value;
    for (const Received& r : changes) {
        EXPECT_EQ(r.record.functionCode, fc::kGreen);
        EXPECT_EQ(r.record.number, 0);
        EXPECT_NE(r.record.value, previous);
        previous = r.record.value;
    }
    sim.request(kStop, fc::kGreen, 0, -1);
    sim.runFor(120 * 1000000LL);
    EXPECT_TRUE(sim.replies().empty());
}

TEST(Protocol, RefreshSendsUnchangedMonitoredValuesAgain) {
    SimSettings settings = quiet();
    settings.refreshHz = 4;
    DemoSimulator sim(settings);
    sim.request(kMonitor, 320, 0, -1);  // a setting: it never changes by itself
    sim.replies();
    sim.runFor(2 * 1000000LL);
    auto got = sim.replies();
    EXPECT_EQ(got.size(), 8u);
    for (const Received& r : got) EXPECT_EQ(r.record.value, 60);
}

TEST(Protocol, CountersFollowTheClock) {
    SimSettings settings = quiet();
    settings.clockStartSeconds = secondsFromCalendar(2024, 12, 31, 23, 59, 58);
    DemoSimulator sim(settings);
    EXPECT_EQ(readOnce(sim, fc::kDate, -1, -1), 311224);
    EXPECT_EQ(readOnce(sim, fc::kTime, -1, -1), 235958);
    EXPECT_EQ(readOnce(sim, fc::kWeekday, -1, -1), 2);  // a Tuesday
    sim.runFor(3 * 1000000LL);
    EXPECT_EQ(readOnce(sim, fc::kDate, -1, -1), 10125);  // shown as 010125
    EXPECT_EQ(readOnce(sim, fc::kTime, -1, -1), 1);
    EXPECT_EQ(readOnce(sim, fc::kYear, -1, -1), 2025);
}

std::string dumpText(const std::vector<uint8_t>& bytes, size_t from) {
    return std::string(bytes.begin() + static_cast<long>(from), bytes.end());
}

TEST(Protocol, DumpExchangeEndsWithTheEndMarker) {
    DemoSimulator sim(quiet());
    sim.sendBytes({'V'});
    EXPECT_EQ(dumpText(sim.link.bytes, 0), "tavir-sim: verbinding in orde\n");

    size_t mark = sim.link.bytes.size();
    sim.sendBytes({'O'});
    EXPECT_EQ(dumpText(sim.link.bytes, mark), "geen dump gemaakt\n\xFF\n");

    mark = sim.link.bytes.size();
    sim.sendBytes({'M'});
    std::string made = dumpText(sim.link.bytes, mark);
    EXPECT_EQ(made.rfind("dump gemaakt: ", 0), 0u) << made;

    mark = sim.link.bytes.size();
    sim.sendBytes({'O'});
    sim.runFor(10 * 1000000LL);
    std::string dump = dumpText(sim.link.bytes, mark);
    ASSERT_GE(dump.size(), 2u);
    EXPECT_EQ(dump.substr(dump.size() - 2), "\xFF\n");
    EXPECT_EQ(dump.find('\xFF'), dump.size() - 2) << "the marker comes only at the end";
    EXPECT_EQ(dump.find("  "), std::string::npos) << "two blanks would switch the dialog's display off";
    EXPECT_EQ(dump.rfind("DUMP tavir-sim datum ", 0), 0u);
    // The VG time of SG02 is one of the lines: code, number, block, value.
    EXPECT_NE(dump.find("\n320 0 0 60\n"), std::string::npos);
}

TEST(Protocol, AbortStopsARunningDump) {
    DemoSimulator sim(quiet());
    sim.sendBytes({'M', 'O'});
    size_t mark = sim.link.bytes.size();
    sim.runFor(50000);  // a few chunks
    sim.sendBytes({'A'});
    std::string tail = dumpText(sim.link.bytes, mark);
    EXPECT_GT(tail.size(), 0u);
    EXPECT_EQ(tail.substr(tail.size() - 21), "ophalen afgebroken\n\xFF\n");
    size_t afterAbort = sim.link.bytes.size();
    sim.runFor(10 * 1000000LL);
    EXPECT_EQ(sim.link.bytes.size(), afterAbort) << "nothing follows an abort";
    sim.sendBytes({'A'});
    EXPECT_EQ(dumpText(sim.link.bytes, afterAbort), "ophalen niet actief\n");
}

// Inside a frame the dump command letters are ordinary data bytes.
TEST(Protocol, CommandLettersInsideAFrameAreData) {
    DemoSimulator sim(quiet());
    // A Read of EGGPARM 13: its sub byte is 0x41 ('A') and its last byte 0x4D ('M').
    std::vector<uint8_t> frame = testing::requestFrame(kRead, 33, 0x0D, -1);
    ASSERT_NE(std::find(frame.begin(), frame.end(), 'M'), frame.end());
    sim.sendBytes(frame);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.functionCode, 33);
    EXPECT_EQ(got[0].record.number, 0x0D);
}

// Bytes that are no frames, a frame cut off by a disconnect and a flood of requests leave the
// memory as it was and the next client is served normally.
TEST(Protocol, BadInputNeitherCrashesNorLosesState) {
    DemoSimulator sim(quiet());
    sim.request(kWrite, 320, 2, -1, 88);
    SimRandom random(99);
    std::vector<uint8_t> junk(30000);
    for (uint8_t& b : junk) b = static_cast<uint8_t>(random.next());
    sim.sendBytes(junk);
    for (int i = 0; i < 5000; ++i)
        sim.request(kMonitor, 320 + i % 32, i % 64, -1);  // beyond the monitor bound
    sim.sendBytes({0xBC, 0x44, 0x40});                    // half a frame, then the client leaves
    sim.simulator->closeSession(sim.session, sim.now);

    testing::RecordingLink link;
    testing::Client client;
    int session = sim.simulator->openSession(link, "tcp", sim.now);
    auto frame = testing::requestFrame(kRead, 320, 2, -1);
    sim.simulator->receive(session, frame.data(), frame.size(), sim.now);
    auto got = client.take(link);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.value, 88);
}

TEST(Protocol, TheLogHasOneEntryPerFrameInAndOut) {
    DemoSimulator sim(quiet());
    sim.request(kRead, 320, 0, -1);
    sim.sendBytes({'V'});
    ASSERT_EQ(sim.logLines.lines.size(), 5u);  // connect, Read, Value, dump command, dump bytes
    auto connect = nlohmann::json::parse(sim.logLines.lines[0]);
    EXPECT_EQ(connect["kind"], "connect");
    auto in = nlohmann::json::parse(sim.logLines.lines[1]);
    EXPECT_EQ(in["dir"], "in");
    EXPECT_EQ(in["kind"], "Read");
    EXPECT_EQ(in["functionCode"], 320);
    EXPECT_EQ(in["number"], 0);
    EXPECT_EQ(in["block"], 0);
    EXPECT_EQ(in["link"], "tcp");
    EXPECT_EQ(in["hex"], "ea4040");
    auto out = nlohmann::json::parse(sim.logLines.lines[2]);
    EXPECT_EQ(out["dir"], "out");
    EXPECT_EQ(out["kind"], "Value");
    EXPECT_EQ(out["value"], 60);
    EXPECT_EQ(out["hex"], "ba4340407c");
    EXPECT_TRUE(out["timeUs"].is_number_integer());
    auto command = nlohmann::json::parse(sim.logLines.lines[3]);
    EXPECT_EQ(command["kind"], "dumpCommand");
    EXPECT_EQ(command["command"], "V");
    auto dump = nlohmann::json::parse(sim.logLines.lines[4]);
    EXPECT_EQ(dump["kind"], "dump");
    EXPECT_EQ(dump["dir"], "out");
}

}  // namespace
}  // namespace tavir::sim
