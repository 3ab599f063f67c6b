// The links on POSIX: a socket and a terminal device, both plain descriptors.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/link_endpoint.h"

namespace tavir {

namespace {

// What has arrived on fd within timeoutMs (kWaitAsSetUp: without end): the number of bytes, 0
// when none came, -1 with error set (0 at the end of the stream: a connection closed in order, a
// terminal hung up).
int readSome(int fd, uint8_t* buffer, int capacity, int timeoutMs, int& error) {
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
    if (ready == 0) return 0;
    const ssize_t n = ready > 0 ? ::read(fd, buffer, static_cast<size_t>(capacity)) : -1;
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return 0;
    error = n == 0 ? 0 : errno;
    return -1;
}

// Writes all count bytes, a short write going on where it stopped: 0, or the error code. A socket
// whose other side has gone gives an error instead of the signal.
int writeAll(int fd, bool socket, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        ssize_t n = socket ? ::send(fd, bytes, count, MSG_NOSIGNAL) : ::write(fd, bytes, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return 0;
}

// The termios speed of a baud rate, or B0 when the system has none for it.
speed_t termiosSpeed(int baudRate) {
    constexpr struct {
        int baud;
        speed_t speed;
    } kSpeeds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},    {19200, B19200},
                   {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400}};
    for (const auto& row : kSpeeds) {
        if (row.baud == baudRate) return row.speed;
    }
    return B0;
}

}  // namespace

std::string describeLinkError(int code) {
    // The name resolver's codes are negative on this system.
    return code < 0    ? ::gai_strerror(code)
           : code == 0 ? "the other side ended the link"
                       : std::strerror(code);
}

std::string serialDevicePath(const std::string& device) {
    return device;
}

int TcpEndpoint::open() {
    started_ = true;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return fail(errno);
    socket = fd;
    return 0;
}

int TcpEndpoint::connect(const char* host, int port, bool resolve, bool noDelay) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    target.sin_addr.s_addr = ::inet_addr(host);
    if (resolve && target.sin_addr.s_addr == INADDR_NONE) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (int rc = ::getaddrinfo(host, nullptr, &hints, &found); rc != 0) return fail(rc);
        target.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        ::freeaddrinfo(found);
    }
    if (::connect(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0)
        return fail(errno);
    int one = 1;
    if (noDelay) ::setsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return 0;
}

int TcpEndpoint::writeFrame(const uint8_t* bytes, size_t count) {
    const int error = writeAll(static_cast<int>(socket), true, bytes, count);
    return error == 0 ? 0 : fail(error);
}

int TcpEndpoint::receive(uint8_t* buffer, int capacity, int timeoutMs) {
    int error = 0;
    const int n = readSome(static_cast<int>(socket), buffer, capacity, timeoutMs, error);
    return n >= 0 ? n : fail(error);
}

void TcpEndpoint::shutDown() {
    ::shutdown(static_cast<int>(socket), SHUT_RDWR);
}

int TcpEndpoint::close() {
    if (closed_ || !started_) return 0;
    closed_ = true;
    if (socket >= 0) ::close(static_cast<int>(socket));
    return 0;
}

SerialEndpoint::~SerialEndpoint() {
    const intptr_t fd = release();
    if (fd >= 0) ::close(static_cast<int>(fd));
}

int SerialEndpoint::open(const char* device, SerialSettings& settings, SerialStepSink& steps) {
    // Opened without waiting for a carrier; the reads wait once the line is set up.
    const int fd = ::open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
        steps.failed(SerialStep::kOpen);
        return -1;
    }
    handle_ = fd;
    settings.savedTimeouts = settings.timeouts;
    ApplySerialSettings(settings, steps);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL, 0) & ~O_NONBLOCK);
    // A pseudo-terminal has no modem lines and refuses.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &lines) != 0) steps.failed(SerialStep::kRaiseDtr);
    return 0;
}

void SerialEndpoint::ApplySerialSettings(const SerialSettings& settings, SerialStepSink& steps) {
    const int fd = static_cast<int>(handle());
    termios t{};
    if (::tcgetattr(fd, &t) != 0) steps.failed(SerialStep::kGetState);
    // Raw, a read returning from the first byte: 8 data bits, no parity, one stop bit and no flow
    // control, the line every program asks for; of the record a terminal takes the speed.
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // Speed 0 keeps the line's own (a pseudo-terminal has none).
    const speed_t speed = termiosSpeed(settings.baudRate);
    if (speed != B0) {
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
    }
    if ((speed == B0 && settings.baudRate != 0) || ::tcsetattr(fd, TCSANOW, &t) != 0)
        steps.failed(SerialStep::kSetState);
    timeouts_ = settings.timeouts;
}

void SerialEndpoint::checkLine(SerialStepSink& steps) {
    int lines = 0;
    if (::ioctl(static_cast<int>(handle()), TIOCMGET, &lines) != 0) steps.failed(SerialStep::kModemStatus);
}

void SerialEndpoint::close(const SerialTimeouts&, SerialStepSink& steps) {
    const int fd = static_cast<int>(handle());
    int lines = TIOCM_DTR;
    if (::ioctl(fd, TIOCMBIC, &lines) != 0) steps.failed(SerialStep::kLowerDtr);
    if (::tcflush(fd, TCIOFLUSH) != 0) steps.failed(SerialStep::kPurge);
    ::close(static_cast<int>(release()));
}

int SerialEndpoint::writeFrame(const uint8_t* bytes, size_t count) {
    const int error = writeAll(static_cast<int>(handle()), false, bytes, count);
    return error == 0 ? 0 : fail(error);
}

int SerialEndpoint::receive(uint8_t* buffer, int capacity, int timeoutMs) {
    int error = 0;
    const int n = readSome(static_cast<int>(handle()), buffer, capacity, timeoutMs, error);
    return n >= 0 ? n : fail(error);
}

}  // namespace tavir
