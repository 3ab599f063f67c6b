#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "link/link_endpoint.h"
#include "link/transport.h"

namespace tavir {

// The error of a socket call: its Windows Sockets code (0 for the start-up and clean-up) and the
// text shown to the user.
class myException {
public:
    myException(int errorCode, const char* text, const char* description = nullptr);
    virtual ~myException() = default;
    // The three lines on standard output.
    virtual void Report() const;

    int code;
    char message[512];
};

// The debugger's side of the TCP link: its endpoint, made once at program start, and what a
// failure means to the user. Every failing call ends the program after its message, except a
// reset while receiving.
class TcpSocket {
public:
    // Sockets are started (version 1.1) and one stream socket is created.
    TcpSocket();
    virtual ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // The end of the endpoint: sockets are cleaned up, then the socket is closed. Runs once.
    void Close();
    // Shuts the connection down both ways, so that a receive blocked on it returns; closing is
    // set first.
    void shutDown();

    int32_t port = 0;
    TcpEndpoint endpoint;
    // Set when the program ends in order, before the endpoint is closed. From then on a receive
    // or send that fails is the endpoint going away under a thread still using it, not a fault
    // to report: the call gives kEndpointClosed instead of taking the fatal path.
    std::atomic<bool> closing{false};
};

class TcpClient : public TcpSocket {
public:
    ~TcpClient() override = default;
    // Connects to address (dotted IPv4, not resolved) at port.
    virtual void Connect(const char* address);

    // One send of a whole frame.
    void SendFrame(const uint8_t* bytes, size_t count);

    // One blocking receive of whatever has arrived, up to capacity bytes: the number of bytes,
    // 0 when the controller closed the connection, -99 after a reset, kEndpointClosed once the
    // program is ending.
    int ReceiveBytes(uint8_t* buffer, int capacity);
};

constexpr int kConnectionReset = -99;
constexpr int kEndpointClosed = -100;

// Frames go out with one send each.
class TcpTransport : public Transport {
public:
    explicit TcpTransport(TcpClient& client) : client_(client) {}
    void write(const uint8_t* bytes, size_t count) override { client_.SendFrame(bytes, count); }

private:
    TcpClient& client_;
};

}  // namespace tavir
