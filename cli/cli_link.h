#pragma once
// The controller link of a tavir-cli run: the endpoint, its trace, a reader thread that decodes
// what comes back, and the watch on unanswered Reads. One Read without an answer is a lost frame
// that the run asks again; a run of them is a silent controller, and a link failure.
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
#include <vector>

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

// The rates the serial line takes on every platform.
inline const std::vector<int> kSerialRates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

void addLinkOptions(CLI::App& command, LinkChoice& choice);

// The link as a journal names it: "HOST:PORT" or the serial device.
std::string linkName(const LinkChoice& choice);

// The link went down or the controller stopped answering: the run ends with what it did so far.
class LinkFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// So many Reads in a row without an answer, each after its time-out, and the controller is taken
// for silent: about ten seconds at the default pace, and with a third of the frames lost once in
// some 170,000 Reads.
constexpr int kLostInARowLimit = 10;

class CliLink : public Transport, ValueDelivery {
public:
    // None, with the reason in error, when the link does not open.
    static std::unique_ptr<CliLink> open(const LinkChoice& choice, std::string& error);
    // The link over an endpoint already open (the tests' controller in memory).
    static std::unique_ptr<CliLink> over(const LinkChoice& choice, std::unique_ptr<LinkEndpoint> endpoint,
                                         std::string& error);
    ~CliLink() override;

    // Decoded records go to sink from now on (nullptr: nowhere); or every byte to the dump tool.
    // Once this returns the reader is out of the sink routed before, which may then go.
    void routeValuesTo(BatchValueSink* sink);
    void routeBytesTo(DumpByteSink& sink);

    // Sends one frame. Throws LinkFailure when the link is down, or when the last
    // kLostInARowLimit Reads all waited longer than the time-out without an answer.
    void write(const uint8_t* bytes, size_t count) override;
    // Waits for the answers to every Read sent, each at most the time-out; a Read that gets none
    // is counted as lost (the caller asks again for what it still lacks). Throws as write does,
    // and when Reads were lost and the controller has never answered at all.
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
    // With the mutex held: the Reads that waited longer than the time-out are lost.
    void expireReads(std::chrono::steady_clock::time_point now);

    LinkChoice choice_;
    std::unique_ptr<LinkEndpoint> endpoint_;
    LinkTrace trace_;
    LinkFlags flags_;
    FrameDecoder decoder_;
    ReceivePath path_;
    std::mutex sinkMutex_;                 // held by the reader while it is in the sink
    BatchValueSink* valueSink_ = nullptr;  // guarded by sinkMutex_

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::chrono::steady_clock::time_point> unanswered_;  // send times of open Reads
    int lostInARow_ = 0;                                            // reset by every answer
    bool answeredAny_ = false;
    std::atomic<bool> stopping_{false};
    std::thread reader_;
};

}  // namespace tavir::cli
