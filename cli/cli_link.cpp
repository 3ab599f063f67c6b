#include "cli_link.h"

#include "link/wire_format.h"

namespace tavir::cli {

void addLinkOptions(CLI::App& command, LinkChoice& choice) {
    command.add_option("--ip", choice.ip, "Controller address (TCP)")->capture_default_str();
    command.add_option("--port", choice.port, "Controller port (TCP)")
        ->capture_default_str()
        ->check(CLI::Range(1, 65535));
    auto* serial =
        command.add_option("--serial", choice.serial, "Serial device instead of TCP (/dev/ttyS0, COM1)");
    command.add_option("--baud", choice.baud, "Baud rate of --serial")
        ->capture_default_str()
        ->needs(serial)
        ->check(CLI::IsMember(kSerialRates));
    command.add_option("--trace", choice.traceFile, "Record both directions of the link in this file");
    command.add_option("--timeout", choice.timeoutMs, "Longest wait for an answer, in ms")
        ->capture_default_str()
        ->check(CLI::Range(100, 60000));
}

std::string linkName(const LinkChoice& choice) {
    return choice.serial.empty() ? choice.ip + ":" + std::to_string(choice.port) : choice.serial;
}

std::unique_ptr<CliLink> CliLink::open(const LinkChoice& choice, std::string& error) {
    std::unique_ptr<LinkEndpoint> endpoint;
    if (choice.serial.empty()) {
        endpoint = openTcpEndpoint(choice.ip, choice.port, error);
    } else {
        endpoint = openSerialEndpoint(choice.serial, choice.baud, error);
    }
    if (!endpoint) return nullptr;
    return over(choice, std::move(endpoint), error);
}

std::unique_ptr<CliLink> CliLink::over(const LinkChoice& choice, std::unique_ptr<LinkEndpoint> endpoint,
                                       std::string& error) {
    std::unique_ptr<CliLink> link(new CliLink(choice, std::move(endpoint)));
    if (!choice.traceFile.empty() && !link->trace_.open(choice.traceFile.c_str())) {
        error = choice.traceFile + ": the trace file cannot be created";
        return nullptr;
    }
    link->reader_ = std::thread([l = link.get()] { l->readLoop(); });
    return link;
}

CliLink::CliLink(const LinkChoice& choice, std::unique_ptr<LinkEndpoint> endpoint)
    : choice_(choice), endpoint_(std::move(endpoint)) {
    decoder_.delivery = this;
    path_.flags = &flags_;
    path_.decoder = &decoder_;
}

CliLink::~CliLink() {
    stopping_.store(true);
    if (reader_.joinable()) reader_.join();
}

void CliLink::routeBytesTo(DumpByteSink& sink) {
    path_.dumpSink.store(&sink);
    flags_.dpcomActive.store(true);
}

void CliLink::write(const uint8_t* bytes, size_t count) {
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        expireReads(now);
        if (count > 0 && (bytes[0] & wire::kKindMask) == kRead && !flags_.dpcomActive.load())
            unanswered_.push_back(now);
    }
    if (endpoint_->failed()) throw LinkFailure("the link is down");
    if (trace_.isOpen()) trace_.sent(bytes, count);
    endpoint_->write(bytes, count);
    if (endpoint_->failed()) throw LinkFailure("the link is down");
}

void CliLink::expireReads(std::chrono::steady_clock::time_point now) {
    while (!unanswered_.empty() && now - unanswered_.front() > std::chrono::milliseconds(choice_.timeoutMs)) {
        unanswered_.pop_front();
        ++lostInARow_;
    }
    if (lostInARow_ >= kLostInARowLimit)
        throw LinkFailure("the controller stopped answering: " + std::to_string(lostInARow_) +
                          " requests in a row got no answer within " + std::to_string(choice_.timeoutMs) +
                          " ms");
}

void CliLink::awaitAnswers() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!unanswered_.empty()) {
        const auto deadline = unanswered_.front() + std::chrono::milliseconds(choice_.timeoutMs);
        if (endpoint_->failed()) throw LinkFailure("the link is down");
        changed_.wait_until(lock, deadline + std::chrono::milliseconds(1));
        expireReads(std::chrono::steady_clock::now());
    }
    // A controller that has not answered once is silent, however few Reads were asked.
    if (!answeredAny_ && lostInARow_ > 0)
        throw LinkFailure("the controller did not answer within " + std::to_string(choice_.timeoutMs) +
                          " ms");
}

bool CliLink::waitFor(const std::function<bool()>& ready, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex_);
    while (!ready()) {
        if (endpoint_->failed()) throw LinkFailure("the link is down");
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) return ready();
    }
    return true;
}

void CliLink::notify() {
    { std::lock_guard<std::mutex> lock(mutex_); }
    changed_.notify_all();
}

// Reader thread: each record answers the oldest open Read. A controller may send more than was
// asked (a monitored value); extra records find the queue empty and change nothing.
void CliLink::routeValuesTo(BatchValueSink* sink) {
    std::lock_guard<std::mutex> lock(sinkMutex_);
    valueSink_ = sink;
}

void CliLink::deliver(uint8_t, const ValueRecord& record) {
    {
        std::lock_guard<std::mutex> lock(sinkMutex_);
        if (valueSink_) valueSink_->OnBatchValue(record);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!unanswered_.empty()) unanswered_.pop_front();
        lostInARow_ = 0;
        answeredAny_ = true;
    }
    changed_.notify_all();
}

void CliLink::readLoop() {
    uint8_t buffer[4096];
    // The short wait lets the thread notice the end of the run.
    while (!stopping_.load()) {
        int n = endpoint_->receive(buffer, sizeof buffer, 50);
        // A failed write ends the link as well: nothing more is asked, so nothing is awaited.
        if (n < 0 || endpoint_->failed()) {
            notify();
            return;
        }
        if (n == 0) continue;
        if (trace_.isOpen()) trace_.received(buffer, static_cast<size_t>(n));
        routeReceivedBytes(path_, buffer, static_cast<size_t>(n));
        {
            std::lock_guard<std::mutex> lock(sinkMutex_);
            if (valueSink_) valueSink_->OnBatchEnd();
        }
        if (flags_.dpcomActive.load()) notify();
    }
}

}  // namespace tavir::cli
