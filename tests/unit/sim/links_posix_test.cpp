// The simulator over real descriptors: a loopback TCP client, the control port and a
// pseudo-terminal, each waited on with a deadline.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sim_runner.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using Clock = std::chrono::steady_clock;

// tavir-sim's loop on a thread of its own, with the lines it announces.
class RunningSimulator {
public:
    explicit RunningSimulator(SimOptions options) : options_(std::move(options)) {
        SimSettings settings;
        settings.refreshHz = 0;
        settings.seed = 5;
        simulator_ = std::make_unique<Simulator>(settings);
        seedParameters(*demo_.tables, simulator_->memory());
        simulator_->loadApplication(applicationFromTables(*demo_.tables));
        options_.readStdin = false;
        hooks_.stop = &stop_;
        hooks_.announce = [this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(line);
            changed_.notify_all();
        };
        thread_ = std::thread([this] { exitCode_ = runSimulator(*simulator_, options_, hooks_); });
    }
    ~RunningSimulator() {
        stop_ = true;
        thread_.join();
    }
    // The first announced line that starts with prefix, without the prefix; empty after 5 s.
    std::string waitFor(const std::string& prefix) {
        std::unique_lock<std::mutex> lock(mutex_);
        std::string found;
        changed_.wait_for(lock, std::chrono::seconds(5), [&] {
            for (const std::string& line : lines_) {
                if (line.rfind(prefix, 0) == 0) {
                    found = line.substr(prefix.size());
                    return true;
                }
            }
            return false;
        });
        return found;
    }

private:
    testing::DemoTables demo_;
    SimOptions options_;
    std::unique_ptr<Simulator> simulator_;
    RunnerHooks hooks_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::thread thread_;
    int exitCode_ = -1;
};

int portOf(const std::string& hostPort) {
    size_t colon = hostPort.rfind(':');
    return colon == std::string::npos ? -1 : std::stoi(hostPort.substr(colon + 1));
}

int connectLoopback(int port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Reads from fd into the client's decoder until it holds count records or 5 s have passed.
std::vector<testing::Received> readRecords(int fd, testing::Client& client, size_t count) {
    auto deadline = Clock::now() + std::chrono::seconds(5);
    testing::RecordingLink link;
    while (client.records.size() < count && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        uint8_t bytes[256];
        ssize_t n = read(fd, bytes, sizeof bytes);
        if (n <= 0) break;
        link.send(bytes, static_cast<size_t>(n));
        client.take(link);
    }
    return client.records;
}

std::string readLine(int fd) {
    auto deadline = Clock::now() + std::chrono::seconds(5);
    std::string line;
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        if (read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line.push_back(c);
    }
    return line;
}

void writeFrame(int fd, uint8_t kind, int32_t code, int32_t number, int32_t block, int32_t value = 0) {
    std::vector<uint8_t> frame = testing::requestFrame(kind, code, number, block, value);
    ASSERT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
}

TEST(LinksPosix, LoopbackTcpServesOneClientAfterAnother) {
    SimOptions options;
    options.tcpAddress = {"127.0.0.1", 0};
    options.control = true;
    options.controlAddress = {"127.0.0.1", 0};
    RunningSimulator running(options);
    int port = portOf(running.waitFor("listening on "));
    ASSERT_GT(port, 0);

    int first = connectLoopback(port);
    ASSERT_GE(first, 0);
    testing::Client client;
    writeFrame(first, kWrite, 320, 4, -1, 77);
    writeFrame(first, kRead, 320, 4, -1);
    writeFrame(first, kRead, 384, 6, 2);
    auto got = readRecords(first, client, 2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].record.value, 77);
    EXPECT_EQ(got[1].record.value, 85);
    // Half a frame, then the client leaves; the next client is served from a clean start.
    const uint8_t half[] = {0xBC, 0x44};
    ASSERT_EQ(write(first, half, sizeof half), 2);
    close(first);

    int second = connectLoopback(port);
    ASSERT_GE(second, 0);
    testing::Client again;
    writeFrame(second, kRead, 320, 4, -1);
    auto next = readRecords(second, again, 1);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].record.value, 77) << "the memory outlives the connection";

    int control = connectLoopback(portOf(running.waitFor("control on ")));
    ASSERT_GE(control, 0);
    const char command[] = "get 320 4 0\nset 320 4 0 12\n";
    ASSERT_EQ(write(control, command, sizeof command - 1), static_cast<ssize_t>(sizeof command - 1));
    EXPECT_EQ(readLine(control), "77");
    EXPECT_EQ(readLine(control), "ok");
    close(control);
    close(second);
}

TEST(LinksPosix, PseudoTerminalCarriesTheProtocol) {
    SimOptions options;
    options.tcp = false;
    options.pty = true;
    RunningSimulator running(options);
    std::string path = running.waitFor("pty ");
    ASSERT_FALSE(path.empty());
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0) << path;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);

    testing::Client client;
    writeFrame(fd, kRead, 481, -1, -1);
    writeFrame(fd, kRead, 420, 1, -1);
    auto got = readRecords(fd, client, 2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].record.functionCode, 481);
    EXPECT_GT(got[0].record.value, 10100);
    EXPECT_EQ(got[1].record.value, 1);
    close(fd);
}

}  // namespace
}  // namespace tavir::sim
