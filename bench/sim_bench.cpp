// tavir-sim over loopback TCP, measured from a client's side: how many value frames per second
// reach a client that drains them, and how long a Read takes to be answered. Prints its figures;
// the goals are at least 20,000 frames per second and a 99th percentile below 2 ms.
//
//   build/native/bench/sim_bench [seconds]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/message_log.h"
#include "link/frame_decoder.h"
#include "link/request_encoder.h"
#include "seed_tables.h"
#include "sim_runner.h"

namespace {

using namespace tavir;
using namespace tavir::sim;
using Clock = std::chrono::steady_clock;

struct Counter : ValueDelivery {
    long frames = 0;
    void deliver(uint8_t, const ValueRecord&) override { ++frames; }
};

int connectTo(int port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) return -1;
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

void sendRequest(int fd, uint8_t kind, int32_t code, int32_t number, int32_t block) {
    ValueRecord r;
    r.functionCode = code;
    r.number = number;
    r.block = block;
    uint8_t frame[kRequestBufferSize];
    int length = encodeRequest(r, kind, frame);
    if (write(fd, frame, static_cast<size_t>(length)) != length) std::exit(2);
}

// The simulator with the example application on a thread of its own.
struct Server {
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    std::unique_ptr<Simulator> simulator;
    SimOptions options;
    RunnerHooks hooks;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable announced;
    int port = 0;
    std::thread thread;

    explicit Server(double refreshHz) {
        MessageLog log;
        if (loadApplicationDirectory(TAVIR_EXAMPLES "/demo", *tables, log).result !=
            ApplicationLoadResult::kLoaded)
            std::exit(2);
        SimSettings settings;
        settings.refreshHz = refreshHz;
        settings.seed = 1;
        simulator = std::make_unique<Simulator>(settings);
        seedParameters(*tables, simulator->memory());
        simulator->loadApplication(applicationFromTables(*tables));
        options.tcpAddress = {"127.0.0.1", 0};
        options.readStdin = false;
        hooks.stop = &stop;
        hooks.announce = [this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex);
            port = std::atoi(line.substr(line.rfind(':') + 1).c_str());
            announced.notify_all();
        };
        thread = std::thread([this] { runSimulator(*simulator, options, hooks); });
        std::unique_lock<std::mutex> lock(mutex);
        announced.wait(lock, [this] { return port != 0; });
    }
    ~Server() {
        stop = true;
        thread.join();
    }
};

// Monitors `addresses` values with the given refresh and counts the frames that arrive.
double framesPerSecond(double seconds, int addresses, double refreshHz) {
    Server server(refreshHz);
    int fd = connectTo(server.port);
    if (fd < 0) std::exit(2);
    for (int i = 0; i < addresses; ++i) sendRequest(fd, kMonitor, 320 + i / 64, i % 64, -1);
    Counter counter;
    FrameDecoder decoder;
    decoder.delivery = &counter;
    uint8_t bytes[65536];
    // The first second fills the pipe; the count starts after it.
    auto warm = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < warm) {
        ssize_t n = read(fd, bytes, sizeof bytes);
        for (ssize_t i = 0; i < n; ++i) decoder.FeedByte(bytes[i]);
    }
    counter.frames = 0;
    auto start = Clock::now();
    auto end = start + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        ssize_t n = read(fd, bytes, sizeof bytes);
        if (n <= 0) break;
        for (ssize_t i = 0; i < n; ++i) decoder.FeedByte(bytes[i]);
    }
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    close(fd);
    return static_cast<double>(counter.frames) / elapsed;
}

// Sends `count` Reads one after the other, each after the answer to the previous one.
std::vector<double> readLatenciesMicros(int count) {
    Server server(0);
    int fd = connectTo(server.port);
    if (fd < 0) std::exit(2);
    Counter counter;
    FrameDecoder decoder;
    decoder.delivery = &counter;
    std::vector<double> latencies;
    latencies.reserve(static_cast<size_t>(count));
    uint8_t bytes[256];
    for (int i = 0; i < count; ++i) {
        long before = counter.frames;
        auto sent = Clock::now();
        sendRequest(fd, kRead, 320 + i % 7, i % 8, -1);
        while (counter.frames == before) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) std::exit(3);
            ssize_t n = read(fd, bytes, sizeof bytes);
            if (n <= 0) std::exit(3);
            for (ssize_t k = 0; k < n; ++k) decoder.FeedByte(bytes[k]);
        }
        latencies.push_back(std::chrono::duration<double, std::micro>(Clock::now() - sent).count());
    }
    close(fd);
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

double percentile(const std::vector<double>& sorted, double p) {
    size_t at = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    if (seconds <= 0) seconds = 3.0;
    double rate = framesPerSecond(seconds, 500, 200.0);
    std::printf(
        "value frames to a draining client: %.0f frames/s (500 monitored values refreshed 200 times a "
        "second; goal >= 20000)\n",
        rate);
    std::vector<double> latency = readLatenciesMicros(5000);
    std::printf(
        "Read to reply over loopback, 5000 Reads: p50 %.0f us, p99 %.0f us, max %.0f us (goal p99 < 2000 "
        "us)\n",
        percentile(latency, 0.50), percentile(latency, 0.99), latency.back());
    bool met = rate >= 20000.0 && percentile(latency, 0.99) < 2000.0;
    std::printf("%s\n", met ? "goals met" : "goals NOT met");
    return met ? 0 : 1;
}
