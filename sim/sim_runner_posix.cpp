// The simulator's links on Linux: one poll loop over the TCP listener and client, the
// pseudo-terminal or serial port, standard input and the control port.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "control_commands.h"
#include "link_buffer.h"
#include "sim_runner.h"

namespace tavir::sim {

namespace {

constexpr int kListenBacklog = 4;

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
}

// A listening TCP socket on host:port; gives the descriptor (-1 after a message) and the port
// in use.
int openListener(const HostPort& address, int& portInUse) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        std::fprintf(stderr, "tavir-sim: socket: %s\n", std::strerror(errno));
        return -1;
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(address.port));
    if (inet_pton(AF_INET, address.host.c_str(), &sa.sin_addr) != 1 ||
        bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, kListenBacklog) != 0) {
        std::fprintf(stderr, "tavir-sim: cannot listen on %s:%d: %s\n", address.host.c_str(), address.port,
                     std::strerror(errno));
        close(fd);
        return -1;
    }
    socklen_t length = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
    portInUse = ntohs(sa.sin_port);
    setNonBlocking(fd);
    return fd;
}

speed_t baudConstant(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return 0;
    }
}

void makeRaw(int fd, speed_t speed) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (speed != 0) {
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    }
    tcsetattr(fd, TCSANOW, &tio);
}

// A serial-side link: the master of a new pseudo-terminal, or a serial device.
struct SerialSide {
    int fd = -1;
    int keepOpen = -1;  // our own descriptor of the pty's far side, so that the master never hangs up
    std::string path;
};

bool openPty(SerialSide& side) {
    side.fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (side.fd < 0 || grantpt(side.fd) != 0 || unlockpt(side.fd) != 0) {
        std::fprintf(stderr, "tavir-sim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
        return false;
    }
    const char* name = ptsname(side.fd);
    if (!name) return false;
    side.path = name;
    side.keepOpen = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (side.keepOpen >= 0) makeRaw(side.keepOpen, 0);
    setNonBlocking(side.fd);
    return true;
}

bool openSerial(SerialSide& side, const std::string& device, int baud) {
    speed_t speed = baudConstant(baud);
    if (speed == 0) {
        std::fprintf(stderr, "tavir-sim: baud rate %d is not supported on this system\n", baud);
        return false;
    }
    side.fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (side.fd < 0) {
        std::fprintf(stderr, "tavir-sim: cannot open %s: %s\n", device.c_str(), std::strerror(errno));
        return false;
    }
    makeRaw(side.fd, speed);
    side.path = device;
    return true;
}

// Writes what the link holds; false when the descriptor has failed.
bool flushLink(int fd, LinkBuffer& link, bool isSocket) {
    while (link.hasPending()) {
        ssize_t n = isSocket ? ::send(fd, link.data(), link.size(), MSG_NOSIGNAL)
                             : ::write(fd, link.data(), link.size());
        if (n > 0) {
            link.consume(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        return false;
    }
    return true;
}

struct ControlClient {
    int fd = -1;
    ControlLines lines;
};

void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{fd, POLLOUT, 0};
                if (poll(&p, 1, 1000) > 0) continue;
            }
            return;
        }
        done += static_cast<size_t>(n);
    }
}

class PosixRunner {
public:
    PosixRunner(Simulator& simulator, const SimOptions& options, const RunnerHooks& hooks)
        : sim_(simulator), options_(options), hooks_(hooks) {}
    ~PosixRunner();
    int run();

private:
    void announce(const std::string& line) {
        if (hooks_.announce) hooks_.announce(line);
    }
    bool open();
    void acceptClient();
    void readClient();
    void closeClient(bool reset);
    void readSerial();
    void readStdin();
    void acceptControl();
    void readControl(ControlClient& client);
    void command(const std::string& line, int replyFd);
    void flushAll();

    Simulator& sim_;
    const SimOptions& options_;
    const RunnerHooks& hooks_;
    int listener_ = -1;
    int client_ = -1;
    LinkBuffer clientLink_;
    SerialSide serial_;
    LinkBuffer serialLink_;
    int controlListener_ = -1;
    std::vector<std::unique_ptr<ControlClient>> controls_;
    bool stdinOpen_ = false;
    ControlLines stdinLines_;
    bool quit_ = false;
};

PosixRunner::~PosixRunner() {
    if (client_ >= 0) close(client_);
    if (listener_ >= 0) close(listener_);
    if (serial_.fd >= 0) close(serial_.fd);
    if (serial_.keepOpen >= 0) close(serial_.keepOpen);
    if (controlListener_ >= 0) close(controlListener_);
    for (auto& c : controls_) close(c->fd);
}

bool PosixRunner::open() {
    if (options_.tcp) {
        int port = 0;
        listener_ = openListener(options_.tcpAddress, port);
        if (listener_ < 0) return false;
        announce("listening on " + options_.tcpAddress.host + ":" + std::to_string(port));
    }
    if (options_.pty || !options_.serialDevice.empty()) {
        bool opened =
            options_.pty ? openPty(serial_) : openSerial(serial_, options_.serialDevice, options_.baud);
        if (!opened) return false;
        const char* name = options_.pty ? "pty" : "serial";
        serialLink_.session = sim_.openSession(serialLink_, name, monotonicMicros());
        announce(std::string(name) + " " + serial_.path);
    }
    if (options_.control) {
        int port = 0;
        controlListener_ = openListener(options_.controlAddress, port);
        if (controlListener_ < 0) return false;
        announce("control on " + options_.controlAddress.host + ":" + std::to_string(port));
    }
    stdinOpen_ = options_.readStdin;
    return true;
}

void PosixRunner::acceptClient() {
    int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client_ = fd;
    clientLink_.clear();
    clientLink_.session = sim_.openSession(clientLink_, "tcp", monotonicMicros());
}

void PosixRunner::closeClient(bool reset) {
    if (client_ < 0) return;
    if (reset) {
        // A zero linger makes close send a reset instead of the orderly end.
        linger hard{1, 0};
        setsockopt(client_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    } else {
        flushLink(client_, clientLink_, true);
        // Unread input would turn the close into a reset; read it away first.
        uint8_t scrap[4096];
        while (recv(client_, scrap, sizeof scrap, MSG_DONTWAIT) > 0) {
        }
        shutdown(client_, SHUT_WR);
    }
    close(client_);
    client_ = -1;
    sim_.closeSession(clientLink_.session, monotonicMicros());
    clientLink_.clear();
}

void PosixRunner::readClient() {
    uint8_t bytes[4096];
    ssize_t n = recv(client_, bytes, sizeof bytes, 0);
    if (n > 0) {
        sim_.receive(clientLink_.session, bytes, static_cast<size_t>(n), monotonicMicros());
    } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        closeClient(false);
    }
}

void PosixRunner::readSerial() {
    uint8_t bytes[4096];
    ssize_t n = read(serial_.fd, bytes, sizeof bytes);
    if (n > 0) sim_.receive(serialLink_.session, bytes, static_cast<size_t>(n), monotonicMicros());
}

void PosixRunner::command(const std::string& line, int replyFd) {
    ControlResult result = runControlCommand(sim_, line, monotonicMicros());
    if (result.reply.empty()) return;
    if (replyFd >= 0) {
        writeAll(replyFd, result.reply + "\n");
    } else {
        announce(result.reply);
    }
    if (result.quit) quit_ = true;
}

void PosixRunner::readStdin() {
    char bytes[4096];
    ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
    if (n <= 0) {
        // Without input (for instance started in the background) the simulator runs on.
        if (n == 0 || errno != EINTR) stdinOpen_ = false;
        return;
    }
    stdinLines_.feed(bytes, static_cast<size_t>(n), [&](const std::string& line) { command(line, -1); });
}

void PosixRunner::acceptControl() {
    int fd = accept4(controlListener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    auto client = std::make_unique<ControlClient>();
    client->fd = fd;
    controls_.push_back(std::move(client));
}

void PosixRunner::readControl(ControlClient& client) {
    char bytes[4096];
    ssize_t n = recv(client.fd, bytes, sizeof bytes, 0);
    if (n > 0) {
        client.lines.feed(bytes, static_cast<size_t>(n),
                          [&](const std::string& line) { command(line, client.fd); });
    } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        close(client.fd);
        client.fd = -1;
    }
}

void PosixRunner::flushAll() {
    if (client_ >= 0) {
        if (clientLink_.endRequested) {
            closeClient(clientLink_.resetRequested);
        } else if (!flushLink(client_, clientLink_, true)) {
            closeClient(false);
        }
    }
    if (serial_.fd >= 0) {
        flushLink(serial_.fd, serialLink_, false);
        if (serialLink_.endRequested) {
            // A serial line cannot be hung up from here: the link starts afresh instead.
            int64_t now = monotonicMicros();
            sim_.closeSession(serialLink_.session, now);
            serialLink_.clear();
            serialLink_.session = sim_.openSession(serialLink_, options_.pty ? "pty" : "serial", now);
        }
    }
}

int PosixRunner::run() {
    if (!open()) return 1;
    std::vector<pollfd> fds;
    while (!quit_ && !(hooks_.stop && hooks_.stop->load())) {
        sim_.advance(monotonicMicros());
        flushAll();

        fds.clear();
        auto watch = [&](int fd, short events) {
            fds.push_back(pollfd{fd, events, 0});
            return fds.size() - 1;
        };
        size_t none = static_cast<size_t>(-1);
        // One client at a time: the next waits in the backlog until this one has left.
        size_t listenAt = listener_ >= 0 && client_ < 0 ? watch(listener_, POLLIN) : none;
        size_t clientAt =
            client_ >= 0
                ? watch(client_, static_cast<short>(POLLIN | (clientLink_.hasPending() ? POLLOUT : 0)))
                : none;
        size_t serialAt =
            serial_.fd >= 0
                ? watch(serial_.fd, static_cast<short>(POLLIN | (serialLink_.hasPending() ? POLLOUT : 0)))
                : none;
        size_t stdinAt = stdinOpen_ ? watch(STDIN_FILENO, POLLIN) : none;
        size_t controlAt = controlListener_ >= 0 ? watch(controlListener_, POLLIN) : none;
        size_t firstControl = fds.size();
        for (auto& c : controls_) watch(c->fd, POLLIN);

        int64_t wait = sim_.nextDeadline() - monotonicMicros();
        int timeoutMs = wait <= 0 ? 0 : static_cast<int>(std::min<int64_t>((wait + 999) / 1000, 200));
        int ready = poll(fds.data(), fds.size(), timeoutMs);
        if (ready <= 0) continue;

        auto fired = [&](size_t at) {
            return at != none && (fds[at].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
        };
        if (fired(clientAt)) readClient();
        if (fired(listenAt)) acceptClient();
        if (fired(serialAt)) readSerial();
        if (fired(stdinAt)) readStdin();
        if (fired(controlAt)) acceptControl();
        for (size_t i = firstControl; i < fds.size(); ++i) {
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) readControl(*controls_[i - firstControl]);
        }
        controls_.erase(
            std::remove_if(controls_.begin(), controls_.end(), [](const auto& c) { return c->fd < 0; }),
            controls_.end());
    }
    flushAll();
    return 0;
}

}  // namespace

int64_t monotonicMicros() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

int runSimulator(Simulator& simulator, const SimOptions& options, const RunnerHooks& hooks) {
    std::signal(SIGPIPE, SIG_IGN);
    PosixRunner runner(simulator, options, hooks);
    return runner.run();
}

}  // namespace tavir::sim
