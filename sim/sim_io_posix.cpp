// The simulator's links on Linux: non-blocking descriptors and one poll.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim_io.h"

namespace tavir::sim {

namespace {

constexpr int kListenBacklog = 4;

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
}

class PosixIo : public SimIo {
public:
    PosixIo() { std::signal(SIGPIPE, SIG_IGN); }
    ~PosixIo() override {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].fd >= 0) close(static_cast<Channel>(i), false);
        }
    }

    Channel listen(const HostPort& address, int& portInUse) override {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            std::fprintf(stderr, "tavir-sim: socket: %s\n", std::strerror(errno));
            return kNoChannel;
        }
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<uint16_t>(address.port));
        if (inet_pton(AF_INET, address.host.c_str(), &sa.sin_addr) != 1 ||
            bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, kListenBacklog) != 0) {
            std::fprintf(stderr, "tavir-sim: cannot listen on %s:%d: %s\n", address.host.c_str(),
                         address.port, std::strerror(errno));
            ::close(fd);
            return kNoChannel;
        }
        socklen_t length = sizeof sa;
        getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
        portInUse = ntohs(sa.sin_port);
        setNonBlocking(fd);
        return add({fd, -1, Kind::kSocket});
    }

    Channel accept(Channel listener) override {
        int fd = accept4(entry(listener).fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return kNoChannel;
        int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return add({fd, -1, Kind::kSocket});
    }

    Channel openPty(std::string& path) override {
        int fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0 || !ptsname(fd)) {
            std::fprintf(stderr, "tavir-sim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
            if (fd >= 0) ::close(fd);
            return kNoChannel;
        }
        path = ptsname(fd);
        // Our own descriptor of the far side: the master never reports a hang-up while no
        // program has the terminal open.
        const int keepOpen = static_cast<int>(openSerialHandle(path, 0));
        setNonBlocking(fd);
        return add({fd, keepOpen, Kind::kFile});
    }

    Channel openSerial(const std::string& device, int baud) override {
        const int fd = static_cast<int>(openSerialHandle(device, baud));
        if (fd < 0) return kNoChannel;
        setNonBlocking(fd);
        return add({fd, -1, Kind::kFile});
    }

    Channel openStdin() override { return add({dup(STDIN_FILENO), -1, Kind::kFile}); }

    int read(Channel channel, uint8_t* bytes, size_t capacity) override {
        const Entry& e = entry(channel);
        ssize_t n = e.kind == Kind::kSocket ? recv(e.fd, bytes, capacity, 0) : ::read(e.fd, bytes, capacity);
        if (n > 0) return static_cast<int>(n);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
        // 0 is the end of the stream: a closed connection, a terminal hung up, the end of input.
        if (n == 0) errno = 0;
        return -1;
    }

    int write(Channel channel, const uint8_t* bytes, size_t count) override {
        const Entry& e = entry(channel);
        count = std::min<size_t>(count, kLargestWrite);
        ssize_t n =
            e.kind == Kind::kSocket ? send(e.fd, bytes, count, MSG_NOSIGNAL) : ::write(e.fd, bytes, count);
        if (n >= 0) return static_cast<int>(n);
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
    }

    void close(Channel channel, bool reset) override {
        Entry& e = entry(channel);
        if (e.kind == Kind::kSocket) {
            if (reset) {
                // A zero linger makes close send a reset instead of the orderly end.
                linger hard{1, 0};
                setsockopt(e.fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            } else {
                uint8_t scrap[4096];
                while (recv(e.fd, scrap, sizeof scrap, MSG_DONTWAIT) > 0) {
                }
                shutdown(e.fd, SHUT_WR);
            }
        }
        ::close(e.fd);
        if (e.keepOpen >= 0) ::close(e.keepOpen);
        e = Entry{};
    }

    void wait(std::vector<Watch>& watches, int64_t micros) override {
        fds_.clear();
        for (const Watch& w : watches) {
            fds_.push_back(
                pollfd{entry(w.channel).fd, static_cast<short>(POLLIN | (w.write ? POLLOUT : 0)), 0});
        }
        int timeoutMs = static_cast<int>((micros + 999) / 1000);
        int ready = poll(fds_.data(), fds_.size(), timeoutMs);
        for (size_t i = 0; i < watches.size(); ++i) {
            watches[i].ready = ready > 0 && (fds_[i].revents & (POLLIN | POLLOUT | POLLHUP | POLLERR)) != 0;
        }
    }

    std::string lastError() const override { return errno == 0 ? "hung up" : std::strerror(errno); }

private:
    static constexpr size_t kLargestWrite = 1 << 20;
    enum class Kind { kSocket, kFile };
    struct Entry {
        int fd = -1;
        int keepOpen = -1;
        Kind kind = Kind::kFile;
    };

    Channel add(const Entry& e) {
        if (e.fd < 0) return kNoChannel;
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].fd < 0) {
                entries_[i] = e;
                return static_cast<Channel>(i);
            }
        }
        entries_.push_back(e);
        return static_cast<Channel>(entries_.size() - 1);
    }
    Entry& entry(Channel channel) { return entries_[static_cast<size_t>(channel)]; }

    std::vector<Entry> entries_;
    std::vector<pollfd> fds_;
};

}  // namespace

std::unique_ptr<SimIo> openPlatformIo() {
    return std::make_unique<PosixIo>();
}

std::string programDirectory() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/'));
}

}  // namespace tavir::sim
