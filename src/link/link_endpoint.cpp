#include "link/link_endpoint.h"

namespace tavir {

namespace {

// The links are used from several threads at once (a reader, the senders): each keeps the code
// of its own last failure, as the system keeps its own error codes.
thread_local int lastError = 0;

// The steps a program without the debugger's boxes cannot do without: a line that does not open
// or refuses its settings.
class Refusals : public SerialStepSink {
public:
    void failed(SerialStep step) override {
        if (step == SerialStep::kOpen || step == SerialStep::kSetState) refused = true;
    }
    bool refused = false;
};

}  // namespace

int LinkEndpoint::fail(int code) {
    lastError = code;
    failed_.store(true, std::memory_order_release);
    return -1;
}

int lastLinkError() {
    return lastError;
}

std::unique_ptr<TcpEndpoint> openTcpEndpoint(const std::string& host, int port, std::string& error) {
    auto endpoint = std::make_unique<TcpEndpoint>();
    if (endpoint->open() != 0 || endpoint->connect(host.c_str(), port, true, true) != 0) {
        error = host + ":" + std::to_string(port) + ": " + describeLinkError(lastLinkError());
        return nullptr;
    }
    return endpoint;
}

std::unique_ptr<SerialEndpoint> openSerialEndpoint(const std::string& device, int baudRate,
                                                   std::string& error) {
    SerialSettings settings = defaultSerialSettings(1, baudRate);
    Refusals steps;
    auto endpoint = std::make_unique<SerialEndpoint>();
    const bool opened = endpoint->open(serialDevicePath(device).c_str(), settings, steps) == 0;
    if (!steps.refused) return endpoint;
    error = device + ": " +
            (opened ? "the line refuses " + std::to_string(baudRate) + " baud, 8 data bits, no parity"
                    : describeLinkError(lastLinkError()));
    return nullptr;
}

}  // namespace tavir
