#pragma once
// Helpers of the simulator tests: a link that records what the simulator sends, and a client
// that reads it back with a frame decoder of its own, as the debugger does.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../link/link_fakes.h"
#include "base/message_log.h"
#include "definitions/object_tables.h"
#include "link/request_encoder.h"
#include "seed_tables.h"
#include "simulator.h"

namespace tavir::sim::testing {

struct RecordingLink : LinkOutput {
    std::vector<uint8_t> bytes;
    void send(const uint8_t* data, size_t count) override { bytes.insert(bytes.end(), data, data + count); }
    void end(bool) override {}
};

using Received = tavir::testing::Delivered;

// The debugger's side: decodes every byte the link got since the last call.
struct Client : tavir::testing::DecodedFrames {
    size_t consumed = 0;
    // Feeds the new bytes and gives the records they completed.
    std::vector<Received> take(const RecordingLink& link) {
        size_t first = records.size();
        for (; consumed < link.bytes.size(); ++consumed) decoder.FeedByte(link.bytes[consumed]);
        return std::vector<Received>(records.begin() + static_cast<long>(first), records.end());
    }
};

// The frame of a request, as the debugger's encoder builds it.
inline std::vector<uint8_t> requestFrame(uint8_t kind, int32_t functionCode, int32_t number, int32_t block,
                                         int32_t value = 0) {
    uint8_t buffer[kRequestBufferSize];
    int length = encodeRequest({functionCode, number, block, 0, value}, kind, buffer);
    return std::vector<uint8_t>(buffer, buffer + length);
}

// Monitored values are sent only when they change.
inline SimSettings quiet(uint64_t seed = 7) {
    SimSettings settings;
    settings.refreshHz = 0;
    settings.seed = seed;
    return settings;
}

// The example application, loaded as tavir-sim loads it.
struct DemoTables {
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    ApplicationLoad load;
    DemoTables() {
        MessageLog log;
        load = loadApplicationDirectory(TAVIR_EXAMPLES "/demo", *tables, log);
    }
};

// A simulator seeded from the example application, with one connected client.
struct DemoSimulator {
    DemoTables demo;
    std::unique_ptr<Simulator> simulator;
    RecordingLink link;
    Client client;
    int session = -1;
    int64_t now = 0;

    explicit DemoSimulator(SimSettings settings = quiet()) {
        simulator = std::make_unique<Simulator>(settings);
        seedParameters(*demo.tables, simulator->memory());
        simulator->loadApplication(applicationFromTables(*demo.tables));
        session = simulator->openSession(link, "tcp", now);
    }
    void request(uint8_t kind, int32_t functionCode, int32_t number, int32_t block, int32_t value = 0) {
        std::vector<uint8_t> frame = requestFrame(kind, functionCode, number, block, value);
        simulator->receive(session, frame.data(), frame.size(), now);
    }
    void sendBytes(const std::vector<uint8_t>& bytes) {
        simulator->receive(session, bytes.data(), bytes.size(), now);
    }
    void runFor(int64_t micros) {
        int64_t end = now + micros;
        while (now < end) {
            now = std::min(end, std::max(now + 1, simulator->nextDeadline()));
            simulator->advance(now);
        }
    }
    std::vector<Received> replies() { return client.take(link); }
};

}  // namespace tavir::sim::testing
