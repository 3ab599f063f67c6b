#pragma once
// The links to the controller, one implementation per kind and platform: a TCP connection and a
// serial line, each in link_endpoint_posix.cpp and link_endpoint_win32.cpp, behind one interface.
// What a failure means to the user is the caller's policy: TAVIR.EXE shows its boxes and ends,
// tavir-cli prints the failure's words, tavir-sim carries on without the link.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "link/serial_settings.h"
#include "link/transport.h"

namespace tavir {

class LinkEndpoint : public Transport {
public:
    // A receive that waits as the link was set up: a TCP connection and a POSIX terminal until
    // something arrives, a COM port within the time-outs its port was given.
    static constexpr int kWaitAsSetUp = -1;

    // Sends the frame whole: 0, or -1 when it could not go out.
    virtual int writeFrame(const uint8_t* bytes, size_t count) = 0;
    void write(const uint8_t* bytes, size_t count) final { writeFrame(bytes, count); }
    // What has arrived, up to capacity, waiting at most timeoutMs for the first byte: the number
    // of bytes, 0 when none came, -1 when the other side ended the link or the read failed.
    virtual int receive(uint8_t* buffer, int capacity, int timeoutMs) = 0;
    // Set once a call failed or the other side ended the link. Nothing is refused after it: the
    // program decides whether it goes on.
    bool failed() const { return failed_.load(std::memory_order_acquire); }

protected:
    // Keeps code as the calling thread's lastLinkError and gives -1.
    int fail(int code);

private:
    std::atomic<bool> failed_{false};
};

// The system's error code of the calling thread's last failing link call (the link's own calls
// run on several threads at once); 0 when the other side ended the link in order.
int lastLinkError();
// An error code in words, for a program without the debugger's boxes.
std::string describeLinkError(int code);

// One client connection. Made and connected in two steps, since the debugger makes its one
// endpoint at start-up and connects it only when the link options ask for TCP.
class TcpEndpoint final : public LinkEndpoint {
public:
    ~TcpEndpoint() override { close(); }

    // Starts the platform's sockets (Windows Sockets 1.1) and makes one stream socket: 0, or -1
    // with started() telling which of the two failed.
    int open();
    bool started() const { return started_; }
    // Connects to host at port, host a dotted IPv4 address, or with resolve a name as well. 0 or
    // -1. Each frame is one small send, so it goes out at once instead of after the last one's
    // acknowledgement.
    int connect(const char* host, int port, bool resolve);
    int writeFrame(const uint8_t* bytes, size_t count) override;
    int receive(uint8_t* buffer, int capacity, int timeoutMs) override;
    // Shuts the connection down both ways, so that a receive blocked on it returns.
    void shutDown();
    // Stops the platform's sockets, then closes the socket; once. -1 when they would not stop.
    int close();

    // The platform's socket; all ones: none. A test may put a socket of its own in its place.
    intptr_t socket = -1;

private:
    bool started_ = false;
    bool closed_ = false;
};

// The steps of opening, checking and closing a serial line that can fail, in the order they run.
// clang-format off
enum class SerialStep { kOpen, kGetTimeouts, kSetTimeouts, kGetState, kSetState, kApplyTimeouts, kRaiseDtr,
                        kModemStatus, kClearErrors, kLowerDtr, kRestoreTimeouts, kPurge };
// clang-format on

// Told of each step that fails; the sequence goes on after it (after kOpen there is none).
class SerialStepSink {
public:
    virtual ~SerialStepSink() = default;
    virtual void failed(SerialStep step) = 0;
};

// One serial line: a COM port on Windows, a terminal device on POSIX, which takes the same
// settings record (a terminal has no time-outs of its own: it waits as long as receive asks).
class SerialEndpoint final : public LinkEndpoint {
public:
    // Closes the device without the close sequence: what was written still goes out.
    ~SerialEndpoint() override;

    // The open sequence: device opened for reading and writing, its time-outs kept in
    // settings.savedTimeouts and set to settings.timeouts, the line settings applied, queues of
    // 2048 and 1024 bytes asked for, DTR raised. -1 only when the device does not open.
    int open(const char* device, SerialSettings& settings, SerialStepSink& steps);
    // The settings' speed, data bits, parity, stop bits, flow control and control lines, then
    // their time-outs.
    void ApplySerialSettings(const SerialSettings& settings, SerialStepSink& steps);
    // The modem lines read and the line's errors cleared, as a reader does before its first read.
    void checkLine(SerialStepSink& steps);
    // The close sequence: DTR lowered, the time-outs found at opening back, both directions
    // purged, the device closed.
    void close(const SerialTimeouts& saved, SerialStepSink& steps);
    int writeFrame(const uint8_t* bytes, size_t count) override;
    int receive(uint8_t* buffer, int capacity, int timeoutMs) override;

    // The platform's handle; -1 when the line is not open.
    intptr_t handle() const { return handle_.load(); }
    // Hands the open device over to the caller, who closes it from then on.
    intptr_t release() { return handle_.exchange(-1); }

private:
    std::atomic<intptr_t> handle_{-1};
    SerialTimeouts timeouts_{};
    int readWait_ = kWaitAsSetUp;  // the wait the port's read time-outs are set for
};

// A client connection to host (dotted IPv4 or a name) at port; none, with the reason in error.
std::unique_ptr<TcpEndpoint> openTcpEndpoint(const std::string& host, int port, std::string& error);

// A serial device (a path on POSIX; COM1, or a name already in the device namespace, on Windows)
// with 8 data bits, no parity, one stop bit, no flow control, DTR and RTS on, at baudRate (0: the
// speed it has). None, with the reason in error, when it does not open or refuses the settings.
std::unique_ptr<SerialEndpoint> openSerialEndpoint(const std::string& device, int baudRate,
                                                   std::string& error);

// The name the system opens device by (Windows: in the device namespace, which COM10 and up need).
std::string serialDevicePath(const std::string& device);

}  // namespace tavir
