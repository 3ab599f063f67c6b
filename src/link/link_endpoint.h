#pragma once
// The links to the controller behind one interface: a TCP connection and a serial line, each
// written once per platform (link_endpoint_posix.cpp, link_endpoint_win32.cpp). What a failure
// means to the user is the program's policy above them.
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
    // A receive that waits as the link was set up: a connection and a POSIX terminal until
    // something arrives, a COM port within the time-outs it was given.
    static constexpr int kWaitAsSetUp = -1;

    // Sends the frame whole: 0, or -1.
    virtual int writeFrame(const uint8_t* bytes, size_t count) = 0;
    void write(const uint8_t* bytes, size_t count) final { writeFrame(bytes, count); }
    // What has arrived, up to capacity, waiting at most timeoutMs for the first byte: the number
    // of bytes, 0 when none came, -1 when the other side ended the link or the read failed.
    virtual int receive(uint8_t* buffer, int capacity, int timeoutMs) = 0;
    // Set once a call failed or the other side ended the link; it refuses nothing.
    bool failed() const { return failed_.load(std::memory_order_acquire); }

protected:
    // Keeps code as the calling thread's lastLinkError; gives -1.
    int fail(int code);

private:
    std::atomic<bool> failed_{false};
};

// The system's error code of the calling thread's last failing link call: the reader and the
// senders use one link at once. 0 when the other side ended the link in order.
int lastLinkError();
std::string describeLinkError(int code);

// One client connection, made at start-up and connected later.
class TcpEndpoint final : public LinkEndpoint {
public:
    ~TcpEndpoint() override { close(); }
    // Starts the platform's sockets (Windows Sockets 1.1), then makes a stream socket: 0, or -1
    // with started() telling which failed.
    int open();
    bool started() const { return started_; }
    // To a dotted IPv4 host, or with resolve a name as well. With noDelay small frames go out at
    // once instead of waiting for the last one's acknowledgement; the debugger keeps the system's
    // default. 0 or -1.
    int connect(const char* host, int port, bool resolve, bool noDelay);
    int writeFrame(const uint8_t* bytes, size_t count) override;
    int receive(uint8_t* buffer, int capacity, int timeoutMs) override;
    // Both ways, so that a receive blocked on the connection returns.
    void shutDown();
    // Stops the platform's sockets, then closes the socket; once. -1 when they would not stop.
    int close();

    intptr_t socket = -1;  // all ones: none; a test may put a socket of its own here

private:
    bool started_ = false;
    bool closed_ = false;
};

// The steps of a serial line that can fail, in the order they run.
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

// A COM port, or a POSIX terminal (which takes the settings record's speed; it has no time-outs).
class SerialEndpoint final : public LinkEndpoint {
public:
    // Closes the device without the close sequence, so that what was written still goes out.
    ~SerialEndpoint() override;
    // Opens device, keeps its time-outs in settings.savedTimeouts and sets settings.timeouts,
    // applies the settings, asks for queues of 2048 and 1024 bytes and raises DTR. -1 only when
    // the device does not open.
    int open(const char* device, SerialSettings& settings, SerialStepSink& steps);
    // Speed, data bits, parity, stop bits, flow control and control lines, then the time-outs.
    void ApplySerialSettings(const SerialSettings& settings, SerialStepSink& steps);
    // Reads the modem lines and clears the line's errors, before a reader's first read.
    void checkLine(SerialStepSink& steps);
    // Lowers DTR, puts back the time-outs saved, purges both ways and closes the device.
    void close(const SerialTimeouts& saved, SerialStepSink& steps);
    int writeFrame(const uint8_t* bytes, size_t count) override;
    int receive(uint8_t* buffer, int capacity, int timeoutMs) override;

    intptr_t handle() const { return handle_.load(); }  // -1: not open
    // Hands the open device over to the caller, who closes it from then on.
    intptr_t release() { return handle_.exchange(-1); }

private:
    std::atomic<intptr_t> handle_{-1};
    SerialTimeouts timeouts_{};
    int readWait_ = kWaitAsSetUp;  // the wait the port's read time-outs are set for
};

// A connection to host (dotted IPv4 or a name) at port; none, with the reason in error.
std::unique_ptr<TcpEndpoint> openTcpEndpoint(const std::string& host, int port, std::string& error);
// A serial device (a path; COM1 on Windows) with 8 data bits, no parity, one stop bit, no flow
// control, DTR and RTS on, at baudRate (0 keeps the speed). None, with the reason in error, when
// it does not open or refuses the settings.
std::unique_ptr<SerialEndpoint> openSerialEndpoint(const std::string& device, int baudRate,
                                                   std::string& error);
// The name the system opens device by (Windows: in the device namespace, which COM10 and up need).
std::string serialDevicePath(const std::string& device);

}  // namespace tavir
