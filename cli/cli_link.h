#pragma once
// The controller link of a tavir-cli run: the endpoint, its trace, a reader thread that decodes
// what comes back, and the watch on unanswered Reads that turns a silent controller into a link
// failure.
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "link/frame_decoder.h"
#include "link/link_endpoint.h"
#include "link/link_flags.h"
#include "link/link_trace.h"
#include "link/reader_route.h"
#include "link/value_sinks.h"

namespace tavir::cli {

struct LinkChoice {
    std::string ip = "127.0.0.1";
    int port = 7000;
    std::string serial;  // a device: the serial line instead of TCP
    int baud = 9600;
    std::string traceFile;
    int timeoutMs = 2000;  // the longest wait for the answer to one Read
};

void addLinkOptions(CLI::App& command, LinkChoice& choice);

// The link went down or the controller stopped answering: the run ends with what it did so far.
class LinkFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CliLink : public Transport, ValueDelivery {
public:
    // None, with the reason in error, when the link does not open.
    static std::unique_ptr<CliLink> open(const LinkChoice& choice, std::string& error);
    ~CliLink() override;

    // Decoded records go to sink from now on; or every byte to the dump tool.
    void routeValuesTo(BatchValueSink& sink) { valueSink_.store(&sink); }
    void routeBytesTo(DumpByteSink& sink);

    // Sends one frame. Throws LinkFailure when the link is down, or when a Read sent earlier has
    // waited longer than the time-out for its answer.
    void write(const uint8_t* bytes, size_t count) override;
    // Waits for the answers to every Read sent; throws LinkFailure after the time-out.
    void awaitAnswers();
    // Waits until ready gives true, checked whenever something arrives; false after the time-out.
    bool waitFor(const std::function<bool()>& ready, int timeoutMs);
    int timeoutMs() const { return choice_.timeoutMs; }
    // The link went down (a write failed or the other side ended it).
    bool failed() const { return endpoint_->failed(); }
    // Tells the waiters that something changed (the dump tool's bytes).
    void notify();

private:
    CliLink(const LinkChoice& choice, std::unique_ptr<LinkEndpoint> endpoint);
    void deliver(uint8_t kind, const ValueRecord& record) override;
    void readLoop();

    LinkChoice choice_;
    std::unique_ptr<LinkEndpoint> endpoint_;
    LinkTrace trace_;
    LinkFlags flags_;
    FrameDecoder decoder_;
    ReceivePath path_;
    std::atomic<BatchValueSink*> valueSink_{nullptr};

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::chrono::steady_clock::time_point> unanswered_;  // send times of open Reads
    std::atomic<bool> stopping_{false};
    std::thread reader_;
};

}  // namespace tavir::cli
