#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;

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
        {"no drop", {false, 0, 0, 0, -1, -1}, 1000, 0, 1000, 1000, 0, false, "dropped", "true", 0},
        {"drop all", {false, 1, 0, 0, -1, -1}, 1000, 0, 0, 0, 0, false, "dropped", "true", 1000},
        {"drop a quarter", {false, 0.25, 0, 0, -1, -1}, 1000, 0, 700, 800, 0, false, "dropped", "true", -1},
        {"drop half", {false, 0.5, 0, 0, -1, -1}, 1000, 0, 450, 550, 0, false, "dropped", "true", -1},
        {"delay", {false, 0, 250, 0, -1, -1}, 1, 249000, 0, 0, 0, false, "kind", "\"Read\"", 1},
        {"delay passed", {false, 0, 250, 0, -1, -1}, 1, 250000, 1, 1, 0, false, "kind", "\"Read\"", 1},
        {"garbage", {false, 0, 0, 1, -1, -1}, 500, 0, 500, 500, 0, false, "kind", "\"garbage\"", 500},
        {"reset after 3", {false, 0, 0, 0, 3, -1}, 10, 0, 3, 3, 1, true, "kind", "\"Read\"", 3},
        {"reset at once", {false, 0, 0, 0, 0, -1}, 10, 0, 0, 0, 1, true, "kind", "\"Read\"", 0},
        {"close after 5", {false, 0, 0, 0, -1, 5}, 10, 0, 5, 5, 1, false, "kind", "\"Read\"", 5},
        {"close at once", {false, 0, 0, 0, -1, 0}, 10, 0, 0, 0, 1, false, "kind", "\"Read\"", 0},
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

// A silent simulator still listens: a Write is stored, and dump commands get no answer.
TEST(Faults, SilentStoresWritesAndAnswersNoCommand) {
    SimSettings settings = testing::quiet(11);
    settings.faults.silent = true;
    DemoSimulator sim(settings);
    sim.request(kMonitor, fc::kGreen, 0, -1);
    sim.sendBytes({'V', 'M', 'O'});
    sim.runFor(60 * 1000000LL);
    EXPECT_TRUE(sim.link.bytes.empty());
    sim.request(kWrite, fc::kFixedGreenTime, 0, -1, 99);
    EXPECT_EQ(sim.simulator->get({fc::kFixedGreenTime, 0, 0}), 99);
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
