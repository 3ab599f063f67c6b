#pragma once
#include <cstddef>
#include <cstdint>

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

// A Windows Sockets endpoint. Made once at program start: sockets are started (version 1.1)
// and one stream socket is created.
class TcpSocket {
public:
    TcpSocket();
    virtual ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    int32_t port = 0;
    uintptr_t socket = ~uintptr_t{0};  // the Windows Sockets handle; all ones: none
};

// The client side of the controller connection. Every failing call ends the program after its
// message, except a reset while receiving.
class TcpClient : public TcpSocket {
public:
    ~TcpClient() override = default;
    // Connects to address (dotted IPv4, not resolved) at port.
    virtual void Connect(const char* address);

    // One send of a whole frame.
    void SendFrame(const uint8_t* bytes, size_t count);

    // One blocking receive of whatever has arrived, up to capacity bytes: the number of bytes,
    // 0 when the controller closed the connection, -99 after a reset.
    int ReceiveBytes(uint8_t* buffer, int capacity);
};

constexpr int kConnectionReset = -99;

// The program's one endpoint, made on first use (the start of the program).
TcpClient& programTcpClient();

// Frames go out with one send each.
class TcpTransport : public Transport {
public:
    explicit TcpTransport(TcpClient& client) : client_(client) {}
    void write(const uint8_t* bytes, size_t count) override { client_.SendFrame(bytes, count); }

private:
    TcpClient& client_;
};

}  // namespace tavir
