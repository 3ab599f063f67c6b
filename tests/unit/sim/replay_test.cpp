// tavir-sim --replay: the playback's timing against a clock of the test's own.
#include <gtest/gtest.h>

#include "link_buffer.h"
#include "trace_replay.h"

namespace tavir::sim {
namespace {

constexpr char kTrace[] =
    "# tavir trace 1\n"
    "0.000000 > 61 00\n"
    "0.050000 < 21 00 05\n"
    "1.000000 < 21 00 06\n"
    "2.000000 > 01 02\n"
    "2.010000 < 21 00 07\n";

constexpr int64_t kMs = 1000;

TEST(TracePlayback, AnswersNoEarlierThanTheRecordedDelayAfterTheRequest) {
    std::vector<TraceChunk> chunks;
    std::string error;
    ASSERT_TRUE(parseTrace(kTrace, chunks, error)) << error;
    std::vector<std::string> warnings;
    TracePlayback playback(chunks, [&](const std::string& line) { warnings.push_back(line); });
    LinkBuffer out;
    playback.start(0);
    playback.advance(200 * kMs, out);
    EXPECT_FALSE(out.hasPending()) << "the answer waits for its request";
    const uint8_t request[] = {0x61, 0x00};
    playback.receive(request, 1, 300 * kMs);
    playback.receive(request + 1, 1, 400 * kMs);  // complete at 0.4 s
    EXPECT_EQ(playback.nextDeadline(), 450 * kMs);
    playback.advance(449 * kMs, out);
    EXPECT_FALSE(out.hasPending());
    playback.advance(450 * kMs, out);
    EXPECT_EQ(out.size(), 3u);
    // What follows keeps its recorded distance from the request, which came 0.4 s late.
    EXPECT_EQ(playback.nextDeadline(), 1400 * kMs);
    playback.advance(5000 * kMs, out);
    EXPECT_EQ(out.size(), 6u) << "the last answer waits for the second request";
    const uint8_t wrong[] = {0x01, 0x03, 0x99};
    playback.receive(wrong, 3, 6000 * kMs);
    EXPECT_EQ(playback.nextDeadline(), 6010 * kMs);
    playback.advance(6010 * kMs, out);
    EXPECT_EQ(out.size(), 9u);
    EXPECT_TRUE(playback.done());
    EXPECT_EQ(warnings, (std::vector<std::string>{"warning: trace line 5, byte 2: received 03, recorded 02",
                                                  "warning: the client sent more than the trace recorded"}));
}

}  // namespace
}  // namespace tavir::sim
