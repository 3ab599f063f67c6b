// tavir-sim --replay: reading a trace, the playback's timing against a clock of the test's own,
// and a played-back session over loopback TCP.
#include <gtest/gtest.h>

#include "link_buffer.h"
#include "trace_replay.h"

#ifndef _WIN32
#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>

#include "sim_runner.h"
#endif

namespace tavir::sim {
namespace {

constexpr char kTrace[] =
    "# tavir trace 1\n"
    "0.000000 > 61 00\n"
    "0.050000 < 21 00 05\n"
    "1.000000 < 21 00 06\n"
    "2.000000 > 01 02\n"
    "2.010000 < 21 00 07\n";

struct TraceCase {
    const char* name;
    const char* text;
    size_t chunks;      // when it parses
    const char* error;  // else the start of the error
};

class TraceCases : public ::testing::TestWithParam<TraceCase> {};

TEST_P(TraceCases, Parse) {
    const TraceCase& c = GetParam();
    std::vector<TraceChunk> chunks;
    std::string error;
    bool parsed = parseTrace(c.text, chunks, error);
    EXPECT_EQ(parsed, *c.error == '\0') << error;
    if (parsed)
        EXPECT_EQ(chunks.size(), c.chunks);
    else
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Traces, TraceCases,
    ::testing::Values(TraceCase{"Valid", kTrace, 5, ""},
                      TraceCase{"CrLfAndComments", "# tavir trace 1\r\n# note\r\n\r\n0.5 < FF\r\n", 1, ""},
                      TraceCase{"NoHeader", "0.0 > 61\n", 0, "line 1:"}, TraceCase{"Empty", "", 0, "line 1:"},
                      TraceCase{"BadDirection", "# tavir trace 1\n0.0 = 61\n", 0, "line 2:"},
                      TraceCase{"BadByte", "# tavir trace 1\n0.0 > 61 0G\n", 0, "line 2:"},
                      TraceCase{"ThreeDigitByte", "# tavir trace 1\n0.0 > 610\n", 0, "line 2:"},
                      TraceCase{"NoBytes", "# tavir trace 1\n0.0 >\n", 0, "line 2:"},
                      TraceCase{"NegativeTime", "# tavir trace 1\n-1.0 > 61\n", 0, "line 2:"}),
    [](const auto& param) { return std::string(param.param.name); });

std::vector<TraceChunk> chunksOf(const char* text) {
    std::vector<TraceChunk> chunks;
    std::string error;
    EXPECT_TRUE(parseTrace(text, chunks, error)) << error;
    return chunks;
}

constexpr int64_t kMs = 1000;

TEST(TracePlayback, AnswersNoEarlierThanTheRecordedDelayAfterTheRequest) {
    std::vector<TraceChunk> chunks = chunksOf(kTrace);
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
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "warning: trace line 5, byte 2: received 03, recorded 02");
    EXPECT_EQ(warnings[1], "warning: the client sent more than the trace recorded");
}

#ifndef _WIN32
// The runner's loop with the replay on a thread of its own, a client over loopback TCP.
TEST(TraceReplay, PlaysTheControllerSideBackOverLoopback) {
    std::vector<std::string> lines;
    TraceReplay side(chunksOf(kTrace), [](const std::string&) {});
    SimOptions options;
    options.tcpAddress = {"127.0.0.1", 0};
    options.readStdin = false;
    std::atomic<bool> stop{false};
    std::promise<int> port;
    RunnerHooks hooks;
    hooks.stop = &stop;
    bool announced = false;
    hooks.announce = [&](const std::string& line) {
        if (announced) return;
        announced = true;
        port.set_value(std::stoi(line.substr(line.rfind(':') + 1)));
    };
    auto exit = std::async(std::launch::async, [&] { return runController(side, nullptr, options, hooks); });
    auto portFuture = port.get_future();
    ASSERT_EQ(portFuture.wait_for(std::chrono::seconds(5)), std::future_status::ready);

    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(portFuture.get()));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
    auto readBytes = [&](size_t count) {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            char byte;
            if (poll(&p, 1, 50) > 0 && read(fd, &byte, 1) == 1) got.push_back(byte);
        }
        return got;
    };
    ASSERT_EQ(write(fd, "\x61\x00", 2), 2);
    EXPECT_EQ(readBytes(6), std::string("\x21\x00\x05\x21\x00\x06", 6));
    ASSERT_EQ(write(fd, "\x01\x02", 2), 2);
    EXPECT_EQ(readBytes(3), std::string("\x21\x00\x07", 3));
    close(fd);
    stop = true;
    EXPECT_EQ(exit.wait_for(std::chrono::seconds(5)), std::future_status::ready);
}
#endif

}  // namespace
}  // namespace tavir::sim
