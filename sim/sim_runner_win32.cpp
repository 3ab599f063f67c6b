// The simulator's links on Windows: one select loop over the TCP listener and client and the
// control port; the COM port is polled without waiting, standard input is read by a thread of
// its own (a console cannot be selected on).
// winsock2.h brings in windows.h after itself; included the other way round, windows.h would
// bring in the old socket header.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "control_commands.h"
#include "link_buffer.h"
#include "sim_runner.h"

namespace tavir::sim {

namespace {

// How long the loop may sleep while a COM port or standard input is served: neither can wake it.
constexpr int64_t kPollSliceMicros = 10000;

void setNonBlocking(SOCKET s) {
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}

SOCKET openListener(const HostPort& address, int& portInUse) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        std::fprintf(stderr, "tavir-sim: socket: error %d\n", WSAGetLastError());
        return INVALID_SOCKET;
    }
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<u_short>(address.port));
    sa.sin_addr.s_addr = inet_addr(address.host.c_str());
    if (bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(s, 4) != 0) {
        std::fprintf(stderr, "tavir-sim: cannot listen on %s:%d: error %d\n", address.host.c_str(),
                     address.port, WSAGetLastError());
        closesocket(s);
        return INVALID_SOCKET;
    }
    int length = sizeof sa;
    getsockname(s, reinterpret_cast<sockaddr*>(&sa), &length);
    portInUse = ntohs(sa.sin_port);
    setNonBlocking(s);
    return s;
}

// A COM port, 8 data bits, no parity, one stop bit, DTR and RTS on, no flow control; reads
// return at once with what has arrived.
HANDLE openComPort(const std::string& name, int baud) {
    std::string path = name.rfind("\\\\.\\", 0) == 0 ? name : "\\\\.\\" + name;
    HANDLE port =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "tavir-sim: cannot open %s: error %lu\n", name.c_str(), GetLastError());
        return port;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    SetCommState(port, &dcb);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with the other two 0: return at once
    timeouts.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(port, &timeouts);
    return port;
}

// Standard input, line by line, on its own thread; the loop takes the lines.
class StdinLines {
public:
    void start() {
        std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line)) {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(line);
            }
        }).detach();
    }
    bool take(std::string& line) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (lines_.empty()) return false;
        line = std::move(lines_.front());
        lines_.pop_front();
        return true;
    }

private:
    std::mutex mutex_;
    std::deque<std::string> lines_;
};

struct ControlClient {
    SOCKET socket = INVALID_SOCKET;
    ControlLines lines;
};

bool flushSocket(SOCKET s, LinkBuffer& link) {
    while (link.hasPending()) {
        int n = ::send(s, reinterpret_cast<const char*>(link.data()),
                       static_cast<int>(std::min<size_t>(link.size(), 1 << 20)), 0);
        if (n > 0) {
            link.consume(static_cast<size_t>(n));
            continue;
        }
        return n < 0 && WSAGetLastError() == WSAEWOULDBLOCK;
    }
    return true;
}

void writeAll(SOCKET s, const std::string& text) {
    size_t done = 0;
    for (int tries = 0; done < text.size() && tries < 1000; ++tries) {
        int n = ::send(s, text.data() + done, static_cast<int>(text.size() - done), 0);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            Sleep(1);
        } else {
            return;
        }
    }
}

class Win32Runner {
public:
    Win32Runner(Simulator& simulator, const SimOptions& options, const RunnerHooks& hooks)
        : sim_(simulator), options_(options), hooks_(hooks) {}
    ~Win32Runner();
    int run();

private:
    void announce(const std::string& line) {
        if (hooks_.announce) hooks_.announce(line);
    }
    bool open();
    void acceptClient();
    void readClient();
    void closeClient(bool reset);
    void pollSerial();
    void acceptControl();
    void readControl(ControlClient& client);
    void command(const std::string& line, SOCKET reply);
    void flushAll();

    Simulator& sim_;
    const SimOptions& options_;
    const RunnerHooks& hooks_;
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET client_ = INVALID_SOCKET;
    LinkBuffer clientLink_;
    HANDLE serial_ = INVALID_HANDLE_VALUE;
    LinkBuffer serialLink_;
    SOCKET controlListener_ = INVALID_SOCKET;
    std::vector<std::unique_ptr<ControlClient>> controls_;
    std::unique_ptr<StdinLines> stdin_;
    bool quit_ = false;
};

Win32Runner::~Win32Runner() {
    if (client_ != INVALID_SOCKET) closesocket(client_);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (controlListener_ != INVALID_SOCKET) closesocket(controlListener_);
    for (auto& c : controls_) closesocket(c->socket);
    if (serial_ != INVALID_HANDLE_VALUE) CloseHandle(serial_);
}

bool Win32Runner::open() {
    if (options_.tcp) {
        int port = 0;
        listener_ = openListener(options_.tcpAddress, port);
        if (listener_ == INVALID_SOCKET) return false;
        announce("listening on " + options_.tcpAddress.host + ":" + std::to_string(port));
    }
    if (!options_.serialDevice.empty()) {
        serial_ = openComPort(options_.serialDevice, options_.baud);
        if (serial_ == INVALID_HANDLE_VALUE) return false;
        serialLink_.session = sim_.openSession(serialLink_, "serial", monotonicMicros());
        announce("serial " + options_.serialDevice);
    }
    if (options_.control) {
        int port = 0;
        controlListener_ = openListener(options_.controlAddress, port);
        if (controlListener_ == INVALID_SOCKET) return false;
        announce("control on " + options_.controlAddress.host + ":" + std::to_string(port));
    }
    if (options_.readStdin) {
        stdin_ = std::make_unique<StdinLines>();
        stdin_->start();
    }
    return true;
}

void Win32Runner::acceptClient() {
    SOCKET s = accept(listener_, nullptr, nullptr);
    if (s == INVALID_SOCKET) return;
    setNonBlocking(s);
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    client_ = s;
    clientLink_.clear();
    clientLink_.session = sim_.openSession(clientLink_, "tcp", monotonicMicros());
}

void Win32Runner::closeClient(bool reset) {
    if (client_ == INVALID_SOCKET) return;
    if (reset) {
        // A zero linger makes closesocket send a reset instead of the orderly end.
        linger hard{1, 0};
        setsockopt(client_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    } else {
        flushSocket(client_, clientLink_);
        char scrap[4096];
        while (recv(client_, scrap, sizeof scrap, 0) > 0) {
        }
        shutdown(client_, SD_SEND);
    }
    closesocket(client_);
    client_ = INVALID_SOCKET;
    sim_.closeSession(clientLink_.session, monotonicMicros());
    clientLink_.clear();
}

void Win32Runner::readClient() {
    char bytes[4096];
    int n = recv(client_, bytes, sizeof bytes, 0);
    if (n > 0) {
        sim_.receive(clientLink_.session, reinterpret_cast<const uint8_t*>(bytes), static_cast<size_t>(n),
                     monotonicMicros());
    } else if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) {
        closeClient(false);
    }
}

void Win32Runner::pollSerial() {
    uint8_t bytes[4096];
    DWORD got = 0;
    if (ReadFile(serial_, bytes, sizeof bytes, &got, nullptr) && got > 0) {
        sim_.receive(serialLink_.session, bytes, got, monotonicMicros());
    }
}

void Win32Runner::command(const std::string& line, SOCKET reply) {
    ControlResult result = runControlCommand(sim_, line, monotonicMicros());
    if (result.reply.empty()) return;
    if (reply != INVALID_SOCKET) {
        writeAll(reply, result.reply + "\n");
    } else {
        announce(result.reply);
    }
    if (result.quit) quit_ = true;
}

void Win32Runner::acceptControl() {
    SOCKET s = accept(controlListener_, nullptr, nullptr);
    if (s == INVALID_SOCKET) return;
    setNonBlocking(s);
    auto client = std::make_unique<ControlClient>();
    client->socket = s;
    controls_.push_back(std::move(client));
}

void Win32Runner::readControl(ControlClient& client) {
    char bytes[4096];
    int n = recv(client.socket, bytes, sizeof bytes, 0);
    if (n > 0) {
        client.lines.feed(bytes, static_cast<size_t>(n),
                          [&](const std::string& line) { command(line, client.socket); });
    } else if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) {
        closesocket(client.socket);
        client.socket = INVALID_SOCKET;
    }
}

void Win32Runner::flushAll() {
    if (client_ != INVALID_SOCKET) {
        if (clientLink_.endRequested) {
            closeClient(clientLink_.resetRequested);
        } else if (!flushSocket(client_, clientLink_)) {
            closeClient(false);
        }
    }
    if (serial_ != INVALID_HANDLE_VALUE) {
        while (serialLink_.hasPending()) {
            DWORD written = 0;
            if (!WriteFile(serial_, serialLink_.data(), static_cast<DWORD>(serialLink_.size()), &written,
                           nullptr) ||
                written == 0) {
                break;
            }
            serialLink_.consume(written);
        }
        if (serialLink_.endRequested) {
            // A serial line cannot be hung up from here: the link starts afresh instead.
            int64_t now = monotonicMicros();
            sim_.closeSession(serialLink_.session, now);
            serialLink_.clear();
            serialLink_.session = sim_.openSession(serialLink_, "serial", now);
        }
    }
}

int Win32Runner::run() {
    if (!open()) return 1;
    while (!quit_ && !(hooks_.stop && hooks_.stop->load())) {
        sim_.advance(monotonicMicros());
        flushAll();

        fd_set readable, writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        int watched = 0;
        auto watch = [&](SOCKET s, bool write) {
            FD_SET(s, &readable);
            if (write) FD_SET(s, &writable);
            ++watched;
        };
        // One client at a time: the next waits in the backlog until this one has left.
        if (listener_ != INVALID_SOCKET && client_ == INVALID_SOCKET) watch(listener_, false);
        if (client_ != INVALID_SOCKET) watch(client_, clientLink_.hasPending());
        if (controlListener_ != INVALID_SOCKET) watch(controlListener_, false);
        for (auto& c : controls_) watch(c->socket, false);

        int64_t wait = sim_.nextDeadline() - monotonicMicros();
        if (serial_ != INVALID_HANDLE_VALUE || stdin_) wait = std::min(wait, kPollSliceMicros);
        wait = std::max<int64_t>(0, std::min<int64_t>(wait, 200000));
        if (watched == 0) {
            Sleep(static_cast<DWORD>(wait / 1000));
        } else {
            timeval timeout{static_cast<long>(wait / 1000000), static_cast<long>(wait % 1000000)};
            if (select(0, &readable, &writable, nullptr, &timeout) < 0) {
                FD_ZERO(&readable);
                Sleep(1);
            }
        }

        if (client_ != INVALID_SOCKET && FD_ISSET(client_, &readable)) readClient();
        if (listener_ != INVALID_SOCKET && FD_ISSET(listener_, &readable)) acceptClient();
        if (controlListener_ != INVALID_SOCKET && FD_ISSET(controlListener_, &readable)) acceptControl();
        for (auto& c : controls_) {
            if (FD_ISSET(c->socket, &readable)) readControl(*c);
        }
        controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                       [](const auto& c) { return c->socket == INVALID_SOCKET; }),
                        controls_.end());
        if (serial_ != INVALID_HANDLE_VALUE) pollSerial();
        std::string line;
        while (stdin_ && stdin_->take(line)) command(line, INVALID_SOCKET);
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
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::fprintf(stderr, "tavir-sim: WSAStartup failed\n");
        return 1;
    }
    int result;
    {
        Win32Runner runner(simulator, options, hooks);
        result = runner.run();
    }
    WSACleanup();
    return result;
}

}  // namespace tavir::sim
