// The simulator's protocol with one client: Monitor, the dump commands, the value frames,
// and the faults it can play.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "function_codes.h"
#include "sim_test_support.h"
#include "value_frames.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;
using testing::Received;

constexpr int64_t kSecond = 1000000;

int32_t readOnce(DemoSimulator& sim, int32_t code, int32_t number, int32_t block) {
    sim.request(kRead, code, number, block);
    auto got = sim.replies();
    EXPECT_EQ(got.size(), 1u) << "code " << code;
    return got.empty() ? INT32_MIN : got[0].record.value;
}

// A Write is echoed only when its address is monitored. A Monitor answers at once, then with
// every change (the plan turns SG02 green and red again, a Write changes a setting); after a Stop
// nothing more comes.
TEST(Protocol, MonitorSendsEveryChangeUntilStop) {
    DemoSimulator sim;
    sim.request(kWrite, fc::kClearanceTime, 0, 1, 45);
    sim.request(kWrite, 0, 5, -1, 1);
    EXPECT_TRUE(sim.replies().empty()) << "an unmonitored Write is not echoed";
    EXPECT_EQ(readOnce(sim, fc::kClearanceTime, 0, 1), 45);
    EXPECT_EQ(readOnce(sim, 0, 5, -1), 1);
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

// Every category's value frame is read back by the debugger's decoder as the address sent and
// the value cut to what the category carries, which is also the value the log shows.
TEST(ValueFrames, EveryCategoryReadsBackAsSent) {
    struct Case {
        SimAddress address;
        int32_t value;
        ValueRecord expected;  // functionCode, number, block, spare, value
    } cases[] = {
        {{0, 5, 0}, 1, {0, 0, 0, 0, 1}},                              // koppelsignaal: no number on receive
        {{fc::kEparm, 4321, 0}, 750, {fc::kEparm, 4321, 0, 0, 750}},  // 16-bit number and value
        {{fc::kEparm, 1, 0}, 70000, {fc::kEparm, 1, 0, 0, 70000 & 0xFFFF}},
        {{fc::kRequest, 3, 0}, 1, {fc::kRequest, 3, 0, 0, 1}},  // a flag in a short frame
        {{fc::kBlock, 0, 2}, 1, {fc::kBlock, 0, 2, 0, 1}},      // block only
        {{192, 7, 9}, 1, {192, 7, 9, 0, 1}},                    // signal group and block
        {{fc::kFixedGreenTime, 63, 0}, 100000, {fc::kFixedGreenTime, 63, 0, 0, 100000}},
        {{fc::kMaxGreenTime, 2, 0}, -10, {fc::kMaxGreenTime, 2, 0, 0, -10}},  // six groups: 32 bits
        {{fc::kClearanceTime, 3, 5}, 40, {fc::kClearanceTime, 3, 5, 0, 40}},  // from and to
        {{fc::kSwitch, 4000, 0}, 2, {fc::kSwitch, 4000, 0, 0, 1}},            // 12-bit number, "not 0"
        {{fc::kGapTime1, 1, 0}, 5000, {fc::kGapTime1, 1, 0, 0, 5000 & 0x0FFF}},
        {{fc::kCycleCounter, 0, 0}, 0x1234567, {fc::kCycleCounter, 0, 0, 0, 0x234567}},  // 24 bits
    };
    for (const Case& c : cases) {
        uint8_t frame[kRequestBufferSize];
        const int length = encodeValueFrame(c.address, c.value, frame);
        tavir::testing::DecodedFrames decoded;
        ASSERT_EQ(decoded.feed(std::vector<uint8_t>(frame, frame + length)), 1) << c.address.functionCode;
        EXPECT_EQ(decoded.records[0].kind, kWrite);
        EXPECT_EQ(decoded.records[0].record, c.expected) << c.address.functionCode;
        EXPECT_EQ(wireValue(c.address, c.value), c.expected.value);
    }
}

int logEntries(const DemoSimulator& sim, const char* key, const char* value) {
    int count = 0;
    for (const std::string& line : sim.logLines.lines) {
        auto entry = nlohmann::json::parse(line);
        if (entry.contains(key) && entry[key] == nlohmann::json::parse(value)) ++count;
    }
    return count;
}

// Each fault on a simulator with one client that sends Reads of the eight VG times in turn: how
// many answers arrive after how long, how the connection ends, and what the log marks. Every
// answer that arrives is readable and in order, and the same seed gives the same bytes.
TEST(Faults, WhatTheClientGets) {
    const struct Row {
        const char* name;
        FaultOptions faults;  // silent, drop, delay in ms, garbage, reset after, close after
        int reads;
        int64_t waitUs;      // between the Reads and the count (a delay: just too short, then enough)
        size_t least, most;  // answers that arrive
        int ends;            // of the connection, after the answers
        bool reset;
        const char *logKey, *logValue;  // an entry per Read, or per answer kept back
        int logged;
    } rows[] = {
        {"silent", {true, 0, 0, 0, -1, -1}, 10, 60000000, 0, 0, 0, false, "kind", "\"Read\"", 10},
        {"drop half", {false, 0.5, 0, 0, -1, -1}, 1000, 0, 450, 550, 0, false, "dropped", "true", -1},
        {"delay", {false, 0, 250, 0, -1, -1}, 1, 249000, 0, 0, 0, false, "kind", "\"Read\"", 1},
        {"delay passed", {false, 0, 250, 0, -1, -1}, 1, 250000, 1, 1, 0, false, "kind", "\"Read\"", 1},
        {"garbage", {false, 0, 0, 1, -1, -1}, 500, 0, 500, 500, 0, false, "kind", "\"garbage\"", 500},
        {"reset after 3", {false, 0, 0, 0, 3, -1}, 10, 0, 3, 3, 1, true, "kind", "\"Read\"", 3},
        {"close after 5", {false, 0, 0, 0, -1, 5}, 10, 0, 5, 5, 1, false, "kind", "\"Read\"", 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimSettings settings = testing::quiet(11);
        settings.faults = row.faults;
        DemoSimulator sim(settings), again(settings);
        for (DemoSimulator* s : {&sim, &again})
            for (int i = 0; i < row.reads; ++i) s->request(kRead, fc::kFixedGreenTime, i % 8, -1);
        sim.runFor(row.waitUs);
        auto got = sim.replies();
        EXPECT_GE(got.size(), row.least);
        EXPECT_LE(got.size(), row.most);
        for (size_t i = 0; i < got.size() && row.faults.drop == 0; ++i) {
            EXPECT_EQ(got[i].record.number, static_cast<int32_t>(i % 8));
        }
        EXPECT_EQ(logEntries(sim, row.logKey, row.logValue),
                  row.logged >= 0 ? row.logged : row.reads - static_cast<int>(got.size()));
        EXPECT_EQ(sim.link.ends, row.ends);
        EXPECT_EQ(sim.link.lastEndWasReset, row.reset);
        again.runFor(row.waitUs);
        EXPECT_EQ(sim.link.bytes, again.link.bytes);
        if (row.ends == 0) continue;
        // The next connection counts from 0 again.
        sim.simulator->closeSession(sim.session, sim.now);
        testing::RecordingLink next;
        testing::Client client;
        int session = sim.simulator->openSession(next, "tcp", sim.now);
        auto frame = testing::requestFrame(kRead, fc::kFixedGreenTime, 0, -1);
        for (size_t i = 0; i < got.size() + 2; ++i)
            sim.simulator->receive(session, frame.data(), frame.size(), sim.now);
        EXPECT_EQ(client.take(next).size(), got.size());
        EXPECT_EQ(next.ends, 1);
    }
}

// A delayed answer keeps its place before the dump answer that follows it; a pause holds answers
// until the resume, which sends the monitored value again but not a late answer to a Read.
TEST(Faults, DelayAndPauseKeepTheOrder) {
    SimSettings settings = testing::quiet(11);
    settings.faults.delayMs = 250;
    DemoSimulator sim(settings);
    sim.request(kRead, fc::kFixedGreenTime, 0, -1);
    sim.sendBytes({'V'});
    sim.runFor(250000);
    ASSERT_EQ(sim.replies().size(), 1u);
    EXPECT_EQ(std::string(sim.link.bytes.begin() + 5, sim.link.bytes.end()),
              "tavir-sim: verbinding in orde\n");

    DemoSimulator paused(testing::quiet(11));
    paused.request(kMonitor, fc::kFixedGreenTime, 0, -1);
    paused.replies();
    paused.simulator->pause();
    paused.request(kRead, fc::kFixedGreenTime, 1, -1);
    paused.request(kWrite, fc::kFixedGreenTime, 0, -1, 66);
    paused.runFor(1000000);
    EXPECT_TRUE(paused.replies().empty());
    paused.simulator->resume(paused.now);
    auto got = paused.replies();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.value, 66);
}

}  // namespace
}  // namespace tavir::sim
