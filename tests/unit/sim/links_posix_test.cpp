// The simulator's loop over a pseudo-terminal of the test's own as a serial line, waited on with a
// deadline. Loopback TCP and the serial line in use (a Read answered) are the cli cases'
// (cli_cases.py), the control port sim_exe_over_tcp's.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <future>

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
    // The rest of the next announced line, which starts with prefix ("" at the deadline).
    std::string next(const std::string& prefix) {
        std::string line;
        auto deadline = std::chrono::steady_clock::now() + kDeadline;
        while (std::chrono::steady_clock::now() < deadline && (line.empty() || line.back() != '\n')) {
            pollfd p{lines_[0], POLLIN, 0};
            char c;
            if (poll(&p, 1, 100) > 0 && read(lines_[0], &c, 1) == 1) line.push_back(c);
        }
        EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
        return line.size() > prefix.size() ? line.substr(prefix.size(), line.size() - prefix.size() - 1) : "";
    }
    // The loop's exit code; -1 while it still runs at the deadline.
    int exitCode() { return exit_.wait_for(kDeadline) == std::future_status::ready ? exit_.get() : -1; }

private:
    testing::DemoTables demo_;
    SimOptions options_;
    std::unique_ptr<Simulator> simulator_;
    RunnerHooks hooks_;
    std::atomic<bool> stop_{false};
    int lines_[2] = {-1, -1};
    std::future<int> exit_;
};

// A serial line whose far end is gone reports a hang-up for ever: the simulator ends with a
// message instead of waiting on it again and again.
TEST(LinksPosix, AFailedSerialLineEndsTheSimulator) {
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
    SimOptions options;
    options.tcp = false;
    options.serialDevice = ptsname(terminal);
    RunningSimulator running(options);
    EXPECT_EQ(running.next("serial "), options.serialDevice);
    close(terminal);
    EXPECT_EQ(running.exitCode(), 1);
}

}  // namespace
}  // namespace tavir::sim
