// The simulator's links on every platform: one loop over the TCP listener and its client, the
// serial side, standard input and the control port, through the platform's SimIo.
#include "sim_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "control_commands.h"
#include "link_buffer.h"
#include "sim_io.h"

namespace tavir::sim {

namespace {

// The loop wakes at least this often to look at the stop flag.
constexpr int64_t kLongestWaitMicros = 200000;
// Answers waiting for a control client that does not read; beyond this it is dropped.
constexpr size_t kMaxControlPending = 1 << 20;

struct ControlClient {
    Channel channel = kNoChannel;
    ControlLines lines;
    std::string pending;
};

class Runner {
public:
    Runner(ControllerSide& side, Simulator* simulator, const SimOptions& options, const RunnerHooks& hooks,
           SimIo& io)
        : side_(side), sim_(simulator), options_(options), hooks_(hooks), io_(io) {}
    ~Runner();
    int run();

private:
    void announce(const std::string& line) {
        if (hooks_.announce) hooks_.announce(line);
    }
    bool open();
    bool flush(Channel channel, LinkBuffer& link);
    void acceptClient();
    void readClient();
    void closeClient(bool reset);
    void readSerial();
    void serialFailed();
    void readStdin();
    void acceptControl();
    void readControl(ControlClient& client);
    void writeControl(ControlClient& client);
    void command(const std::string& line, ControlClient* client);
    void flushAll();

    ControllerSide& side_;
    Simulator* sim_;  // none while a trace is played back: no control commands then
    const SimOptions& options_;
    const RunnerHooks& hooks_;
    SimIo& io_;
    Channel listener_ = kNoChannel;
    Channel client_ = kNoChannel;
    LinkBuffer clientLink_;
    Channel serial_ = kNoChannel;
    std::string serialName_;
    std::string serialPath_;
    LinkBuffer serialLink_;
    Channel controlListener_ = kNoChannel;
    std::vector<std::unique_ptr<ControlClient>> controls_;
    Channel stdin_ = kNoChannel;
    ControlLines stdinLines_;
    bool quit_ = false;
    int exitCode_ = 0;
};

Runner::~Runner() {
    for (Channel channel : {client_, listener_, serial_, controlListener_, stdin_}) {
        if (channel != kNoChannel) io_.close(channel, false);
    }
    for (auto& c : controls_) {
        if (c->channel != kNoChannel) io_.close(c->channel, false);
    }
}

bool Runner::open() {
    if (options_.tcp) {
        int port = 0;
        listener_ = io_.listen(options_.tcpAddress, port);
        if (listener_ == kNoChannel) return false;
        announce("listening on " + options_.tcpAddress.host + ":" + std::to_string(port));
    }
    if (options_.pty || !options_.serialDevice.empty()) {
        serialName_ = options_.pty ? "pty" : "serial";
        serialPath_ = options_.serialDevice;
        serial_ = options_.pty ? io_.openPty(serialPath_) : io_.openSerial(serialPath_, options_.baud);
        if (serial_ == kNoChannel) return false;
        serialLink_.session = side_.openSession(serialLink_, serialName_.c_str(), monotonicMicros());
        announce(serialName_ + " " + serialPath_);
    }
    if (options_.control) {
        int port = 0;
        controlListener_ = io_.listen(options_.controlAddress, port);
        if (controlListener_ == kNoChannel) return false;
        announce("control on " + options_.controlAddress.host + ":" + std::to_string(port));
    }
    // Without standard input (for instance started in the background) the simulator runs on.
    if (options_.readStdin) stdin_ = io_.openStdin();
    return true;
}

// Writes what the link holds, as far as the channel takes it; false when the channel has failed.
bool Runner::flush(Channel channel, LinkBuffer& link) {
    while (link.hasPending()) {
        int n = io_.write(channel, link.data(), link.size());
        if (n < 0) return false;
        if (n == 0) return true;
        link.consume(static_cast<size_t>(n));
    }
    return true;
}

void Runner::acceptClient() {
    Channel channel = io_.accept(listener_);
    if (channel == kNoChannel) return;
    client_ = channel;
    clientLink_.clear();
    clientLink_.session = side_.openSession(clientLink_, "tcp", monotonicMicros());
}

void Runner::closeClient(bool reset) {
    if (client_ == kNoChannel) return;
    if (!reset) flush(client_, clientLink_);
    io_.close(client_, reset);
    client_ = kNoChannel;
    side_.closeSession(clientLink_.session, monotonicMicros());
    clientLink_.clear();
}

void Runner::readClient() {
    uint8_t bytes[4096];
    int n = io_.read(client_, bytes, sizeof bytes);
    if (n > 0) {
        side_.receive(clientLink_.session, bytes, static_cast<size_t>(n), monotonicMicros());
    } else if (n < 0) {
        closeClient(false);
    }
}

void Runner::readSerial() {
    uint8_t bytes[4096];
    int n = io_.read(serial_, bytes, sizeof bytes);
    if (n > 0) {
        side_.receive(serialLink_.session, bytes, static_cast<size_t>(n), monotonicMicros());
    } else if (n < 0) {
        serialFailed();
    }
}

// A serial line that fails stays failed (a device unplugged, a terminal hung up): the
// simulator ends rather than wait on it again and again.
void Runner::serialFailed() {
    std::fprintf(stderr, "tavir-sim: %s %s has failed (%s); ending\n", serialName_.c_str(),
                 serialPath_.c_str(), io_.lastError().c_str());
    io_.close(serial_, false);
    serial_ = kNoChannel;
    quit_ = true;
    exitCode_ = 1;
}

void Runner::command(const std::string& line, ControlClient* client) {
    ControlResult result;
    if (sim_ == nullptr) {
        // A played-back trace has no memory to read or set; only the end is understood.
        result.quit = line == "quit";
        result.reply = result.quit ? "ok" : "error: a trace is being played back: only quit is understood";
    } else {
        result = runControlCommand(*sim_, line, monotonicMicros());
    }
    if (client) {
        client->pending += result.reply + "\n";
    } else {
        announce(result.reply);
    }
    if (result.quit) quit_ = true;
}

void Runner::readStdin() {
    char bytes[4096];
    int n = io_.read(stdin_, reinterpret_cast<uint8_t*>(bytes), sizeof bytes);
    if (n > 0) {
        stdinLines_.feed(bytes, static_cast<size_t>(n),
                         [&](const std::string& line) { command(line, nullptr); });
    } else if (n < 0) {
        io_.close(stdin_, false);
        stdin_ = kNoChannel;
    }
}

void Runner::acceptControl() {
    Channel channel = io_.accept(controlListener_);
    if (channel == kNoChannel) return;
    auto client = std::make_unique<ControlClient>();
    client->channel = channel;
    controls_.push_back(std::move(client));
}

void Runner::readControl(ControlClient& client) {
    char bytes[4096];
    int n = io_.read(client.channel, reinterpret_cast<uint8_t*>(bytes), sizeof bytes);
    if (n > 0) {
        client.lines.feed(bytes, static_cast<size_t>(n),
                          [&](const std::string& line) { command(line, &client); });
    }
    if (n < 0 || client.pending.size() > kMaxControlPending) {
        io_.close(client.channel, false);
        client.channel = kNoChannel;
    }
}

void Runner::writeControl(ControlClient& client) {
    while (!client.pending.empty()) {
        int n = io_.write(client.channel, reinterpret_cast<const uint8_t*>(client.pending.data()),
                          client.pending.size());
        if (n == 0) return;
        if (n < 0) {
            io_.close(client.channel, false);
            client.channel = kNoChannel;
            return;
        }
        client.pending.erase(0, static_cast<size_t>(n));
    }
}

// The simulator's end and reset of a link: a TCP client is closed (by reset or in order); a
// serial line cannot be hung up from here, so its link starts afresh instead.
void Runner::flushAll() {
    if (client_ != kNoChannel) {
        if (clientLink_.endRequested) {
            closeClient(clientLink_.resetRequested);
        } else if (!flush(client_, clientLink_)) {
            closeClient(false);
        }
    }
    if (serial_ != kNoChannel) {
        if (!flush(serial_, serialLink_)) {
            serialFailed();
        } else if (serialLink_.endRequested) {
            int64_t now = monotonicMicros();
            side_.closeSession(serialLink_.session, now);
            serialLink_.clear();
            serialLink_.session = side_.openSession(serialLink_, serialName_.c_str(), now);
        }
    }
    for (auto& c : controls_) {
        if (c->channel != kNoChannel) writeControl(*c);
    }
}

int Runner::run() {
    if (!open()) return 1;
    std::vector<Watch> watches;
    while (!quit_ && !(hooks_.stop && hooks_.stop->load())) {
        side_.advance(monotonicMicros());
        flushAll();
        controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                       [](const auto& c) { return c->channel == kNoChannel; }),
                        controls_.end());
        if (quit_) break;

        watches.clear();
        auto watch = [&](Channel channel, bool write) {
            if (channel == kNoChannel) return kNoChannel;
            watches.push_back(Watch{channel, write, false});
            return static_cast<Channel>(watches.size() - 1);
        };
        // One client at a time: the next waits in the backlog until this one has left.
        Channel listenAt = watch(client_ == kNoChannel ? listener_ : kNoChannel, false);
        Channel clientAt = watch(client_, clientLink_.hasPending());
        Channel serialAt = watch(serial_, serialLink_.hasPending());
        Channel stdinAt = watch(stdin_, false);
        Channel controlAt = watch(controlListener_, false);
        size_t firstControl = watches.size();
        for (auto& c : controls_) watch(c->channel, !c->pending.empty());

        int64_t wait = std::clamp<int64_t>(side_.nextDeadline() - monotonicMicros(), 0, kLongestWaitMicros);
        io_.wait(watches, wait);

        auto fired = [&](Channel at) { return at != kNoChannel && watches[static_cast<size_t>(at)].ready; };
        if (fired(clientAt)) readClient();
        if (fired(listenAt)) acceptClient();
        if (fired(serialAt)) readSerial();
        if (fired(stdinAt)) readStdin();
        if (fired(controlAt)) acceptControl();
        // Accepting adds to controls_ only after the ones watched.
        for (size_t i = firstControl; i < watches.size(); ++i) {
            ControlClient& client = *controls_[i - firstControl];
            if (watches[i].ready && client.channel != kNoChannel) readControl(client);
        }
    }
    flushAll();
    return exitCode_;
}

}  // namespace

int64_t monotonicMicros() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

int runSimulator(Simulator& simulator, const SimOptions& options, const RunnerHooks& hooks) {
    return runController(simulator, &simulator, options, hooks);
}

int runController(ControllerSide& side, Simulator* simulator, const SimOptions& options,
                  const RunnerHooks& hooks) {
    std::unique_ptr<SimIo> io = openPlatformIo();
    if (!io) return 1;
    Runner runner(side, simulator, options, hooks, *io);
    return runner.run();
}

}  // namespace tavir::sim
