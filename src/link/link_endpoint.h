#pragma once
// A link for a program without a window (tavir-cli): the TCP connection or the serial line as a
// Transport going down, and a receive with a time-out coming up, so that its own reader can
// notice a program that is ending and a controller that has gone away. Failures are given to the
// caller as text instead of message boxes.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "link/transport.h"

namespace tavir {

class LinkEndpoint : public Transport {
public:
    // Bytes received within timeoutMs (up to capacity), 0 when none came, -1 when the link ended.
    virtual int receive(uint8_t* buffer, int capacity, int timeoutMs) = 0;
    // Set once a write failed or the other side ended the link; no byte goes out after that.
    bool failed() const { return failed_.load(std::memory_order_acquire); }

protected:
    void markFailed() { failed_.store(true, std::memory_order_release); }

private:
    std::atomic<bool> failed_{false};
};

// Connects to host (dotted IPv4 or a name) at port. None, with the reason in error, on failure.
std::unique_ptr<LinkEndpoint> openTcpEndpoint(const std::string& host, int port, std::string& error);

// Opens a serial device (a path on POSIX, COM1 on Windows) with 8 data bits, no parity, one stop
// bit and no flow control, DTR and RTS on, as the debugger sets its port.
std::unique_ptr<LinkEndpoint> openSerialEndpoint(const std::string& device, int baudRate, std::string& error);

}  // namespace tavir
