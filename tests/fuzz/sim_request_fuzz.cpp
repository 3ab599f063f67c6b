// Feeds arbitrary bytes to the simulator as a client's requests, with the plan running between
// chunks and faults chosen by the first byte. Every value frame the simulator sends is decoded
// by the debugger's decoder and encoded again: it must come out as the same bytes, so a reply
// always means what it says. The memory never grows beyond its bound.
#include <memory>
#include <string>
#include <vector>

#include "controller_memory.h"
#include "fuzz_files.h"
#include "link/request_encoder.h"
#include "seed_tables.h"
#include "simulator.h"
#include "value_frames.h"

namespace {

using namespace tavir::sim;
using tavir::fuzz::check;

struct Sink : LinkOutput {
    void send(const uint8_t*, size_t) override {}
    void end(bool) override {}
};

// Keeps the value frames the simulator sends (the log holds each one as hex).
struct Frames : LogWriter {
    std::vector<std::string> lines;
    void writeLine(const std::string& line) override { lines.push_back(line); }
};

// The value of "key":"..." in a log line.
std::string field(const std::string& line, const std::string& key) {
    const std::string marker = "\"" + key + "\":\"";
    const size_t at = line.find(marker);
    if (at == std::string::npos) return "";
    const size_t from = at + marker.size();
    return line.substr(from, line.find('"', from) - from);
}

const tavir::ApplicationTables& demoTables() {
    static std::unique_ptr<tavir::ApplicationTables> tables = [] {
        auto t = std::make_unique<tavir::ApplicationTables>();
        tavir::MessageLog log;
        loadApplicationDirectory(TAVIR_EXAMPLES "/demo", *t, log);
        return t;
    }();
    return *tables;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    SimSettings settings;
    settings.seed = data[0];
    settings.refreshHz = (data[0] & 0x01) ? 50.0 : 0.0;
    settings.faults.garbage = (data[0] & 0x02) ? 0.5 : 0.0;
    settings.faults.drop = (data[0] & 0x04) ? 0.3 : 0.0;
    settings.faults.delayMs = (data[0] & 0x08) ? 20 : 0;
    settings.faults.closeAfter = (data[0] & 0x10) ? 40 : -1;
    Frames frames;
    Simulator simulator(settings, &frames);
    seedParameters(demoTables(), simulator.memory());
    simulator.loadApplication(applicationFromTables(demoTables()));
    Sink sink;
    int64_t now = 0;
    int session = simulator.openSession(sink, "tcp", now);

    // Chunks of up to 16 bytes; the byte after each chunk says how far the clock moves on.
    for (size_t at = 1; at < size;) {
        size_t chunk = 1 + data[at] % 16;
        ++at;
        if (at + chunk > size) chunk = size - at;
        simulator.receive(session, data + at, chunk, now);
        at += chunk;
        if (at < size) now += static_cast<int64_t>(data[at++]) * 400;
        simulator.advance(now);
    }
    simulator.closeSession(session, now);
    check(simulator.memory().size() <= ControllerMemory::kCapacity);

    for (const std::string& line : frames.lines) {
        if (field(line, "kind") != "Value" || field(line, "dir") != "out") continue;
        const std::string hex = field(line, "hex");
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        const tavir::fuzz::Decoded decoded = tavir::fuzz::decodeFrame(bytes.data(), bytes.size());
        check(decoded.kind == tavir::kWrite);
        // Category 0 carries no number on receive; every other field is what the frame said.
        const tavir::ValueRecord& r = decoded.record;
        uint8_t again[tavir::kRequestBufferSize];
        const int length = encodeValueFrame({r.functionCode, r.number, r.block}, r.value, again);
        if ((bytes[0] & 0x0F) != 0) check(std::vector<uint8_t>(again, again + length) == bytes);
    }
    return 0;
}
