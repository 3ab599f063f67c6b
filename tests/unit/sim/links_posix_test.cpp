// The simulator's loop over a pseudo-terminal of the test's own as a serial line, waited on with a
// deadline. Loopback TCP and the serial line in use are the cli cases' (cli_cases.py), the control
// port sim_exe_over_tcp's.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "function_codes.h"
#include "sim_runner.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

constexpr auto kDeadline = std::chrono::seconds(5);

// tavir-sim's loop on a thread of its own; its announced lines arrive through a pipe.
class RunningSimulator {
public:
    explicit RunningSimulator(SimOptions options) : options_(std::move(options)) {
        simulator_ = std::make_unique<Simulator>(testing::quiet());
        seedParameters(*demo_.tables, simulator_->memory());
        options_.readStdin = false;
        EXPECT_EQ(pipe(lines_), 0);
        hooks_.stop = &stop_;
        hooks_.announce = [this](const std::string& line) {
            std::string text = line + "\n";
            EXPECT_EQ(write(lines_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
        };
        exit_ =
            std::async(std::launch::async, [this] { return runSimulator(*simulator_, options_, hooks_); });
    }
    ~RunningSimulator() {
        stop_ = true;
        if (exit_.valid()) exit_.wait();
        close(lines_[0]);
        close(lines_[1]);
    }
    // The rest of the next announced line, which starts with prefix.
    std::string next(const std::string& prefix) {
        std::string line = readUntil(lines_[0], "\n");
        EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
        return line.substr(prefix.size(), line.size() - prefix.size() - 1);
    }
    // The loop's exit code; -1 while it still runs at the deadline.
    int exitCode() { return exit_.wait_for(kDeadline) == std::future_status::ready ? exit_.get() : -1; }

    // What fd gives until the text read ends with end, or the deadline.
    static std::string readUntil(int fd, const std::string& end) {
        std::string text;
        auto deadline = std::chrono::steady_clock::now() + kDeadline;
        while (std::chrono::steady_clock::now() < deadline &&
               (text.size() < end.size() || text.compare(text.size() - end.size(), end.size(), end) != 0)) {
            pollfd p{fd, POLLIN, 0};
            char c;
            if (poll(&p, 1, 100) > 0 && read(fd, &c, 1) == 1) text.push_back(c);
        }
        return text;
    }

private:
    testing::DemoTables demo_;
    SimOptions options_;
    std::unique_ptr<Simulator> simulator_;
    RunnerHooks hooks_;
    std::atomic<bool> stop_{false};
    int lines_[2] = {-1, -1};
    std::future<int> exit_;
};

// Sends a Read and gives the value of the one frame that answers it.
int32_t readValue(int fd, int32_t code, int32_t number, int32_t block) {
    std::vector<uint8_t> frame = testing::requestFrame(kRead, code, number, block);
    EXPECT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    tavir::testing::DecodedFrames client;
    auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (client.records.empty() && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        char byte;
        if (poll(&p, 1, 100) > 0 && read(fd, &byte, 1) == 1) client.feed(std::string(1, byte));
    }
    return client.records.empty() ? INT32_MIN : client.records[0].record.value;
}

// A serial line whose far end is gone reports a hang-up for ever: the simulator ends with a
// message instead of waiting on it again and again.
TEST(LinksPosix, AFailedSerialLineEndsTheSimulator) {
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
    termios tio{};
    tcgetattr(terminal, &tio);
    cfmakeraw(&tio);
    tcsetattr(terminal, TCSANOW, &tio);
    SimOptions options;
    options.tcp = false;
    options.serialDevice = ptsname(terminal);
    RunningSimulator running(options);
    EXPECT_EQ(running.next("serial "), options.serialDevice);
    EXPECT_EQ(readValue(terminal, fc::kSwitch, 1, -1), 1);
    close(terminal);
    EXPECT_EQ(running.exitCode(), 1);
}

}  // namespace
}  // namespace tavir::sim
