// The simulator over real descriptors: a loopback TCP client, the control port and
// pseudo-terminals, each waited on with a deadline.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "function_codes.h"
#include "sim_runner.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

constexpr auto kDeadline = std::chrono::seconds(5);

// tavir-sim's loop on a thread of its own, with the lines it announces and its exit code.
class RunningSimulator {
public:
    explicit RunningSimulator(SimOptions options) : options_(std::move(options)) {
        SimSettings settings;
        settings.refreshHz = 0;
        simulator_ = std::make_unique<Simulator>(settings);
        seedParameters(*demo_.tables, simulator_->memory());
        options_.readStdin = false;
        hooks_.stop = &stop_;
        hooks_.announce = [this](const std::string& line) { update([&] { lines_.push_back(line); }); };
        thread_ = std::thread([this] {
            int code = runSimulator(*simulator_, options_, hooks_);
            update([&] { exitCode_ = code; });
        });
    }
    ~RunningSimulator() {
        stop_ = true;
        thread_.join();
    }
    // The first announced line that starts with prefix, without the prefix; empty at the deadline.
    std::string waitFor(const std::string& prefix) {
        std::string found;
        waitUntil([&] {
            for (const std::string& line : lines_) {
                if (line.rfind(prefix, 0) == 0) found = line.substr(prefix.size());
            }
            return !found.empty();
        });
        return found;
    }
    // The loop's exit code; -1 when it still runs at the deadline.
    int waitForExit() {
        waitUntil([&] { return exitCode_ >= 0; });
        return exitCode_;
    }

private:
    template <typename Change>
    void update(Change change) {
        std::lock_guard<std::mutex> lock(mutex_);
        change();
        changed_.notify_all();
    }
    template <typename Condition>
    void waitUntil(Condition condition) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, kDeadline, condition);
    }

    testing::DemoTables demo_;
    SimOptions options_;
    std::unique_ptr<Simulator> simulator_;
    RunnerHooks hooks_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    int exitCode_ = -1;
    std::thread thread_;
};

int connectLoopback(const std::string& hostPort) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(std::stoi(hostPort.substr(hostPort.rfind(':') + 1))));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Reads from fd until stop says it has enough or the deadline has passed.
template <typename Stop>
void readUntil(int fd, Stop& stop) {
    auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (!stop() && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        uint8_t bytes[256];
        ssize_t n = read(fd, bytes, sizeof bytes);
        if (n <= 0) return;
        stop.feed(bytes, static_cast<size_t>(n));
    }
}

// The values of the first count frames that arrive on fd.
std::vector<int32_t> readValues(int fd, size_t count) {
    struct Frames {
        testing::RecordingLink link;
        testing::Client client;
        size_t count;
        bool operator()() const { return client.records.size() >= count; }
        void feed(const uint8_t* bytes, size_t n) {
            link.send(bytes, n);
            client.take(link);
        }
    } frames{{}, {}, count};
    readUntil(fd, frames);
    std::vector<int32_t> values;
    for (const testing::Received& r : frames.client.records) values.push_back(r.record.value);
    return values;
}

// The first count lines that arrive on fd, with their line ends.
std::string readLines(int fd, long count) {
    struct Lines {
        std::string text;
        long count;
        bool operator()() const { return std::count(text.begin(), text.end(), '\n') >= count; }
        void feed(const uint8_t* bytes, size_t n) { text.append(reinterpret_cast<const char*>(bytes), n); }
    } lines{"", count};
    readUntil(fd, lines);
    return lines.text;
}

void writeFrame(int fd, uint8_t kind, int32_t code, int32_t number, int32_t block, int32_t value = 0) {
    std::vector<uint8_t> frame = testing::requestFrame(kind, code, number, block, value);
    ASSERT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
}

// A pseudo-terminal of the test's own; the far side's path is the device.
int openTerminal(std::string& device) {
    int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) return -1;
    device = ptsname(fd);
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

TEST(LinksPosix, LoopbackTcpServesOneClientAfterAnother) {
    SimOptions options;
    options.tcpAddress = {"127.0.0.1", 0};
    options.control = true;
    options.controlAddress = {"127.0.0.1", 0};
    RunningSimulator running(options);

    int first = connectLoopback(running.waitFor("listening on "));
    ASSERT_GE(first, 0);
    writeFrame(first, kWrite, fc::kFixedGreenTime, 4, -1, 77);
    writeFrame(first, kRead, fc::kFixedGreenTime, 4, -1);
    writeFrame(first, kRead, fc::kClearanceTime, 6, 2);
    EXPECT_EQ(readValues(first, 2), (std::vector<int32_t>{77, 85}));
    // Half a frame, then the client leaves; the next client is served from a clean start.
    const uint8_t half[] = {0xBC, 0x44};
    ASSERT_EQ(write(first, half, sizeof half), 2);
    close(first);

    int second = connectLoopback(running.waitFor("listening on "));
    ASSERT_GE(second, 0);
    writeFrame(second, kRead, fc::kFixedGreenTime, 4, -1);
    EXPECT_EQ(readValues(second, 1), std::vector<int32_t>{77}) << "the memory outlives the connection";

    int control = connectLoopback(running.waitFor("control on "));
    ASSERT_GE(control, 0);
    const char command[] = "get 320 4 0\nset 320 4 0 12\n";
    ASSERT_EQ(write(control, command, sizeof command - 1), static_cast<ssize_t>(sizeof command - 1));
    EXPECT_EQ(readLines(control, 2), "77\nok\n");
    ASSERT_EQ(write(control, "quit\n", 5), 5);
    EXPECT_EQ(running.waitForExit(), 0);
    close(control);
    close(second);
}

TEST(LinksPosix, PseudoTerminalCarriesTheProtocol) {
    SimOptions options;
    options.tcp = false;
    options.pty = true;
    RunningSimulator running(options);
    std::string path = running.waitFor("pty ");
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0) << path;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    writeFrame(fd, kRead, fc::kSwitch, 1, -1);
    EXPECT_EQ(readValues(fd, 1), std::vector<int32_t>{1});
    close(fd);
}

// A serial line whose far end is gone reports a hang-up for ever: the simulator ends with a
// message instead of waiting on it again and again.
TEST(LinksPosix, AFailedSerialLineEndsTheSimulator) {
    std::string device;
    int terminal = openTerminal(device);
    ASSERT_GE(terminal, 0);
    SimOptions options;
    options.tcp = false;
    options.serialDevice = device;
    RunningSimulator running(options);
    ASSERT_EQ(running.waitFor("serial "), device);
    writeFrame(terminal, kRead, fc::kSwitch, 1, -1);
    EXPECT_EQ(readValues(terminal, 1), std::vector<int32_t>{1});
    close(terminal);
    EXPECT_EQ(running.waitForExit(), 1);
}

}  // namespace
}  // namespace tavir::sim
