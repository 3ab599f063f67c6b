// The simulator's protocol with one client: Monitor, the dump commands and the value frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../link/link_fakes.h"
#include "base/message_log.h"
#include "function_codes.h"
#include "link/request_encoder.h"
#include "seed_tables.h"
#include "simulator.h"
#include "value_frames.h"

namespace tavir::sim {
namespace {

constexpr int64_t kSecond = 1000000;

// The frame of a request, as the debugger's encoder builds it.
std::vector<uint8_t> requestFrame(uint8_t kind, int32_t functionCode, int32_t number, int32_t block,
                                  int32_t value = 0) {
    uint8_t buffer[kRequestBufferSize];
    int length = encodeRequest({functionCode, number, block, 0, value}, kind, buffer);
    return std::vector<uint8_t>(buffer, buffer + length);
}

// A simulator seeded from the example application as tavir-sim seeds it (monitored values sent
// only when they change), with one client that decodes what it gets as the debugger does.
struct DemoSimulator : LinkOutput {
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    std::unique_ptr<Simulator> simulator;
    std::vector<uint8_t> bytes;  // everything sent to the client
    tavir::testing::DecodedFrames client;
    size_t decoded = 0;
    int session = -1;
    int64_t now = 0;

    DemoSimulator() {
        MessageLog log;
        loadApplicationDirectory(TAVIR_EXAMPLES "/demo", *tables, log);
        SimSettings settings;
        settings.refreshHz = 0;
        settings.seed = 7;
        simulator = std::make_unique<Simulator>(settings);
        seedParameters(*tables, simulator->memory());
        simulator->loadApplication(applicationFromTables(*tables));
        session = simulator->openSession(*this, "tcp", now);
    }
    void send(const uint8_t* data, size_t count) override { bytes.insert(bytes.end(), data, data + count); }
    void end(bool) override {}
    void request(uint8_t kind, int32_t functionCode, int32_t number, int32_t block, int32_t value = 0) {
        sendBytes(requestFrame(kind, functionCode, number, block, value));
    }
    void sendBytes(const std::vector<uint8_t>& request) {
        simulator->receive(session, request.data(), request.size(), now);
    }
    void runFor(int64_t micros) {
        int64_t end = now + micros;
        while (now < end) {
            now = std::min(end, std::max(now + 1, simulator->nextDeadline()));
            simulator->advance(now);
        }
    }
    // The records the bytes sent since the last call completed.
    std::vector<tavir::testing::Delivered> replies() {
        size_t first = client.records.size();
        for (; decoded < bytes.size(); ++decoded) client.decoder.FeedByte(bytes[decoded]);
        return {client.records.begin() + static_cast<long>(first), client.records.end()};
    }
};

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
    for (const auto& r : changes) {
        EXPECT_EQ(r.record.functionCode, fc::kGreen);
        EXPECT_NE(r.record.value, previous);
        previous = r.record.value;
    }
    sim.request(kStop, fc::kGreen, 0, -1);
    sim.runFor(120 * kSecond);
    EXPECT_TRUE(sim.replies().empty());
}

std::string sentSince(const DemoSimulator& sim, size_t from) {
    return std::string(sim.bytes.begin() + static_cast<long>(from), sim.bytes.end());
}

// V, O without a dump, M, O streaming to its end marker, A while streaming and A afterwards.
TEST(Protocol, DumpExchange) {
    DemoSimulator sim;
    sim.sendBytes({'V', 'O'});
    EXPECT_EQ(sentSince(sim, 0), "tavir-sim: verbinding in orde\ngeen dump gemaakt\n\xFF\n");
    sim.sendBytes({'M'});
    size_t mark = sim.bytes.size();
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
    mark = sim.bytes.size();
    sim.runFor(10 * kSecond);
    sim.sendBytes({'A'});
    EXPECT_EQ(sentSince(sim, mark), "ophalen niet actief\n") << "nothing follows an abort";
}

// Inside a frame the dump command letters are ordinary data bytes.
TEST(Protocol, CommandLettersInsideAFrameAreData) {
    DemoSimulator sim;
    // A Read of EGGPARM 13: its sub byte is 0x41 ('A') and its last byte 0x4D ('M').
    std::vector<uint8_t> frame = requestFrame(kRead, fc::kEggparm, 0x0D, -1);
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

}  // namespace
}  // namespace tavir::sim
