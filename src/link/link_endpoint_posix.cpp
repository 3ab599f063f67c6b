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
#include "link/serial_line_posix.h"

namespace tavir {

namespace {

class FdEndpoint : public LinkEndpoint {
public:
    FdEndpoint(int fd, bool socket) : fd_(fd), socket_(socket) {}
    ~FdEndpoint() override { ::close(fd_); }

    // One frame in one call; a short write on a full buffer continues where it stopped.
    void write(const uint8_t* bytes, size_t count) override {
        while (count > 0 && !failed()) {
            ssize_t n = socket_ ? ::send(fd_, bytes, count, MSG_NOSIGNAL) : ::write(fd_, bytes, count);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                markFailed();
                return;
            }
            bytes += n;
            count -= static_cast<size_t>(n);
        }
    }

    int receive(uint8_t* buffer, int capacity, int timeoutMs) override {
        if (failed()) return -1;
        pollfd p{fd_, POLLIN, 0};
        int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0) return errno == EINTR ? 0 : fail();
        if (ready == 0) return 0;
        ssize_t n = ::read(fd_, buffer, static_cast<size_t>(capacity));
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return 0;
        // End of file: the controller closed the connection, or the terminal was hung up.
        if (n <= 0) return fail();
        return static_cast<int>(n);
    }

private:
    int fail() {
        markFailed();
        return -1;
    }
    int fd_;
    bool socket_;
};

}  // namespace

std::unique_ptr<LinkEndpoint> openTcpEndpoint(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = host + ": " + ::gai_strerror(rc);
        return nullptr;
    }
    int fd = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (fd < 0 || ::connect(fd, found->ai_addr, found->ai_addrlen) != 0) {
        error = host + ":" + service + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        ::freeaddrinfo(found);
        return nullptr;
    }
    ::freeaddrinfo(found);
    // Each frame is one small send; without this the second frame of a pair waits for an ack.
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return std::make_unique<FdEndpoint>(fd, true);
}

std::unique_ptr<LinkEndpoint> openSerialEndpoint(const std::string& device, int baudRate,
                                                 std::string& error) {
    const speed_t speed = termiosSpeed(baudRate);
    if (speed == B0) {
        error = "unsupported baud rate " + std::to_string(baudRate);
        return nullptr;
    }
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = device + ": " + std::strerror(errno);
        return nullptr;
    }
    if (!makeRawLine(fd, speed)) {
        error = device + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    // DTR and RTS on; a pseudo-terminal has no modem lines and refuses, which is harmless.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &lines);
    return std::make_unique<FdEndpoint>(fd, false);
}

}  // namespace tavir
