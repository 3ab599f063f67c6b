#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <tuple>

#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;

SimSettings withFaults(const FaultOptions& faults) {
    SimSettings settings = testing::quiet(11);
    settings.faults = faults;
    return settings;
}

void readMany(DemoSimulator& sim, int count) {
    for (int i = 0; i < count; ++i) sim.request(kRead, fc::kFixedGreenTime, i % 8, -1);
}

int logEntries(const DemoSimulator& sim, const char* key, const char* value) {
    int count = 0;
    for (const std::string& line : sim.logLines.lines) {
        auto entry = nlohmann::json::parse(line);
        if (entry.contains(key) && entry[key] == nlohmann::json::parse(value)) ++count;
    }
    return count;
}

TEST(Faults, SilentNeverAnswersButStillListens) {
    FaultOptions f;
    f.silent = true;
    DemoSimulator sim(withFaults(f));
    readMany(sim, 10);
    sim.request(kMonitor, fc::kGreen, 0, -1);
    sim.sendBytes({'V', 'M', 'O'});
    sim.runFor(60 * 1000000LL);
    EXPECT_TRUE(sim.link.bytes.empty());
    sim.request(kWrite, fc::kFixedGreenTime, 0, -1, 99);
    EXPECT_EQ(sim.simulator->get({fc::kFixedGreenTime, 0, 0}), 99);
    EXPECT_EQ(logEntries(sim, "kind", "\"Read\""), 10);
}

// Each dropped frame is in the log; the same seed drops the same frames.
TEST(Faults, DropKeepsBackTheGivenFraction) {
    // The fraction, and the least and most of 1000 answers that arrive.
    const std::tuple<double, int, int> cases[] = {
        {0.0, 1000, 1000}, {1.0, 0, 0}, {0.25, 700, 800}, {0.5, 450, 550}};
    for (auto [drop, low, high] : cases) {
        FaultOptions f;
        f.drop = drop;
        DemoSimulator sim(withFaults(f)), again(withFaults(f));
        readMany(sim, 1000);
        readMany(again, 1000);
        int received = static_cast<int>(sim.replies().size());
        EXPECT_TRUE(received >= low && received <= high) << "drop " << drop << ": " << received;
        EXPECT_EQ(logEntries(sim, "dropped", "true"), 1000 - received) << "drop " << drop;
        EXPECT_EQ(sim.link.bytes, again.link.bytes) << "drop " << drop;
    }
}

TEST(Faults, DelayHoldsEveryAnswerBackInOrder) {
    FaultOptions f;
    f.delayMs = 250;
    DemoSimulator sim(withFaults(f));
    sim.request(kRead, fc::kFixedGreenTime, 0, -1);
    sim.sendBytes({'V'});
    sim.runFor(249000);
    EXPECT_TRUE(sim.link.bytes.empty());
    sim.runFor(1000);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.value, 60);
    std::string text(sim.link.bytes.begin() + 5, sim.link.bytes.end());
    EXPECT_EQ(text, "tavir-sim: verbinding in orde\n") << "the dump answer follows the frame";
}

// Garbage between frames never costs the debugger a frame and never makes one up.
TEST(Faults, GarbageLeavesEveryFrameReadable) {
    FaultOptions f;
    f.garbage = 1.0;
    DemoSimulator sim(withFaults(f));
    readMany(sim, 500);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 500u);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].record.number, static_cast<int32_t>(i % 8));
    EXPECT_EQ(logEntries(sim, "kind", "\"garbage\""), 500);
}

TEST(Faults, ConnectionEndsAfterTheGivenNumberOfFrames) {
    // Reset after, close after, the frames that arrive, and whether the end is a reset.
    const std::tuple<int, int, size_t, bool> cases[] = {
        {3, -1, 3, true}, {-1, 5, 5, false}, {0, -1, 0, true}, {-1, 0, 0, false}};
    for (auto [resetAfter, closeAfter, frames, reset] : cases) {
        FaultOptions f;
        f.resetAfter = resetAfter;
        f.closeAfter = closeAfter;
        DemoSimulator sim(withFaults(f));
        readMany(sim, 10);
        EXPECT_EQ(sim.replies().size(), frames);
        EXPECT_EQ(sim.link.ends, 1);
        EXPECT_EQ(sim.link.lastEndWasReset, reset);
        // The next connection counts from 0 again.
        sim.simulator->closeSession(sim.session, sim.now);
        testing::RecordingLink next;
        testing::Client client;
        int session = sim.simulator->openSession(next, "tcp", sim.now);
        auto frame = testing::requestFrame(kRead, fc::kFixedGreenTime, 0, -1);
        for (size_t i = 0; i < frames + 2; ++i)
            sim.simulator->receive(session, frame.data(), frame.size(), sim.now);
        EXPECT_EQ(client.take(next).size(), frames);
        EXPECT_EQ(next.ends, 1);
    }
}

TEST(Faults, PauseHoldsAnswersUntilResume) {
    DemoSimulator sim(withFaults({}));
    sim.request(kMonitor, fc::kFixedGreenTime, 0, -1);
    sim.replies();
    sim.simulator->pause();
    sim.request(kRead, fc::kFixedGreenTime, 1, -1);
    sim.request(kWrite, fc::kFixedGreenTime, 0, -1, 66);
    sim.runFor(1000000);
    EXPECT_TRUE(sim.replies().empty());
    sim.simulator->resume(sim.now);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 1u) << "the monitored value is sent again; the Read is not answered late";
    EXPECT_EQ(got[0].record.value, 66);
}

}  // namespace
}  // namespace tavir::sim
