// The simulator's links on Windows: non-blocking sockets and one select; the COM port is read
// without waiting and standard input by a thread of its own (neither can be selected on), so a
// wait that watches either lasts at most kPollSliceMicros.
// winsock2.h brings in windows.h after itself; included the other way round, windows.h would
// bring in the old socket header.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "sim_io.h"

namespace tavir::sim {

namespace {

constexpr int64_t kPollSliceMicros = 10000;
constexpr int kListenBacklog = 4;
constexpr size_t kLargestWrite = 1 << 20;

void setNonBlocking(SOCKET s) {
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}

// What the standard input thread has read. The thread holds it as long as the layer does, so
// neither ends under the other: the thread may stay blocked in its read until the process ends.
struct StdinQueue {
    std::mutex mutex;
    std::deque<uint8_t> bytes;
    bool ended = false;
};

void readStdinForever(std::shared_ptr<StdinQueue> queue) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    uint8_t bytes[4096];
    for (;;) {
        DWORD got = 0;
        bool ok = input != nullptr && input != INVALID_HANDLE_VALUE &&
                  ReadFile(input, bytes, sizeof bytes, &got, nullptr) && got > 0;
        std::lock_guard<std::mutex> lock(queue->mutex);
        if (!ok) {
            queue->ended = true;
            return;
        }
        queue->bytes.insert(queue->bytes.end(), bytes, bytes + got);
    }
}

class Win32Io : public SimIo {
public:
    ~Win32Io() override {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].kind != Kind::kFree) close(static_cast<Channel>(i), false);
        }
        WSACleanup();
    }

    Channel listen(const HostPort& address, int& portInUse) override {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) {
            std::fprintf(stderr, "tavir-sim: socket: error %d\n", WSAGetLastError());
            return kNoChannel;
        }
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<u_short>(address.port));
        sa.sin_addr.s_addr = inet_addr(address.host.c_str());
        if (bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(s, kListenBacklog) != 0) {
            std::fprintf(stderr, "tavir-sim: cannot listen on %s:%d: error %d\n", address.host.c_str(),
                         address.port, WSAGetLastError());
            closesocket(s);
            return kNoChannel;
        }
        int length = sizeof sa;
        getsockname(s, reinterpret_cast<sockaddr*>(&sa), &length);
        portInUse = ntohs(sa.sin_port);
        setNonBlocking(s);
        return addSocket(s);
    }

    Channel accept(Channel listener) override {
        SOCKET s = ::accept(entry(listener).socket, nullptr, nullptr);
        if (s == INVALID_SOCKET) return kNoChannel;
        setNonBlocking(s);
        BOOL on = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        return addSocket(s);
    }

    Channel openPty(std::string&) override {
        std::fprintf(stderr, "tavir-sim: pseudo-terminals need Linux\n");
        return kNoChannel;
    }

    // Reads return at once with what has arrived.
    Channel openSerial(const std::string& device, int baud) override {
        const intptr_t line = openSerialHandle(device, baud);
        if (line == -1) return kNoChannel;
        HANDLE port = reinterpret_cast<HANDLE>(line);
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;  // with the other two 0: return at once
        timeouts.WriteTotalTimeoutConstant = 1000;
        SetCommTimeouts(port, &timeouts);
        Entry e;
        e.kind = Kind::kSerial;
        e.handle = port;
        return add(std::move(e));
    }

    Channel openStdin() override {
        Entry e;
        e.kind = Kind::kStdin;
        e.stdinQueue = std::make_shared<StdinQueue>();
        std::thread(readStdinForever, e.stdinQueue).detach();
        return add(std::move(e));
    }

    int read(Channel channel, uint8_t* bytes, size_t capacity) override {
        Entry& e = entry(channel);
        if (e.kind == Kind::kSocket) {
            int n = recv(e.socket, reinterpret_cast<char*>(bytes),
                         static_cast<int>(std::min(capacity, kLargestWrite)), 0);
            if (n > 0) return n;
            lastErrorCode_ = n == 0 ? 0 : static_cast<unsigned long>(WSAGetLastError());
            return n < 0 && lastErrorCode_ == WSAEWOULDBLOCK ? 0 : -1;
        }
        if (e.kind == Kind::kSerial) {
            DWORD got = 0;
            if (ReadFile(e.handle, bytes, static_cast<DWORD>(std::min(capacity, kLargestWrite)), &got,
                         nullptr)) {
                return static_cast<int>(got);
            }
            lastErrorCode_ = GetLastError();
            return -1;
        }
        std::lock_guard<std::mutex> lock(e.stdinQueue->mutex);
        std::deque<uint8_t>& queued = e.stdinQueue->bytes;
        if (queued.empty()) return e.stdinQueue->ended ? -1 : 0;
        size_t count = std::min(capacity, queued.size());
        std::copy(queued.begin(), queued.begin() + static_cast<std::ptrdiff_t>(count), bytes);
        queued.erase(queued.begin(), queued.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<int>(count);
    }

    int write(Channel channel, const uint8_t* bytes, size_t count) override {
        Entry& e = entry(channel);
        count = std::min(count, kLargestWrite);
        if (e.kind == Kind::kSocket) {
            int n = send(e.socket, reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0);
            if (n >= 0) return n;
            lastErrorCode_ = static_cast<unsigned long>(WSAGetLastError());
            return lastErrorCode_ == WSAEWOULDBLOCK ? 0 : -1;
        }
        DWORD written = 0;
        if (e.kind == Kind::kSerial &&
            WriteFile(e.handle, bytes, static_cast<DWORD>(count), &written, nullptr)) {
            return static_cast<int>(written);
        }
        lastErrorCode_ = GetLastError();
        return -1;
    }

    void close(Channel channel, bool reset) override {
        Entry& e = entry(channel);
        if (e.kind == Kind::kSocket) {
            if (reset) {
                // A zero linger makes closesocket send a reset instead of the orderly end.
                linger hard{1, 0};
                setsockopt(e.socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard),
                           sizeof hard);
            } else {
                char scrap[4096];
                while (recv(e.socket, scrap, sizeof scrap, 0) > 0) {
                }
                shutdown(e.socket, SD_SEND);
            }
            closesocket(e.socket);
        } else if (e.kind == Kind::kSerial) {
            CloseHandle(e.handle);
        }
        e = Entry{};
    }

    void wait(std::vector<Watch>& watches, int64_t micros) override {
        fd_set readable, writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        int sockets = 0;
        bool polled = false;
        for (const Watch& w : watches) {
            const Entry& e = entry(w.channel);
            if (e.kind != Kind::kSocket) {
                polled = true;
            } else if (sockets < FD_SETSIZE) {
                FD_SET(e.socket, &readable);
                if (w.write) FD_SET(e.socket, &writable);
                ++sockets;
            }
        }
        if (polled) micros = std::min(micros, kPollSliceMicros);
        if (sockets == 0) {
            Sleep(static_cast<DWORD>(micros / 1000));
        } else {
            timeval timeout{static_cast<long>(micros / 1000000), static_cast<long>(micros % 1000000)};
            if (select(0, &readable, &writable, nullptr, &timeout) < 0) {
                FD_ZERO(&readable);
                FD_ZERO(&writable);
                Sleep(1);
            }
        }
        for (Watch& w : watches) {
            const Entry& e = entry(w.channel);
            w.ready =
                e.kind != Kind::kSocket || FD_ISSET(e.socket, &readable) || FD_ISSET(e.socket, &writable);
        }
    }

    std::string lastError() const override {
        return lastErrorCode_ == 0 ? "hung up" : "error " + std::to_string(lastErrorCode_);
    }

private:
    enum class Kind { kFree, kSocket, kSerial, kStdin };
    struct Entry {
        Kind kind = Kind::kFree;
        SOCKET socket = INVALID_SOCKET;
        HANDLE handle = INVALID_HANDLE_VALUE;
        std::shared_ptr<StdinQueue> stdinQueue;
    };

    Channel addSocket(SOCKET s) {
        Entry e;
        e.kind = Kind::kSocket;
        e.socket = s;
        return add(std::move(e));
    }
    Channel add(Entry&& e) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].kind == Kind::kFree) {
                entries_[i] = std::move(e);
                return static_cast<Channel>(i);
            }
        }
        entries_.push_back(std::move(e));
        return static_cast<Channel>(entries_.size() - 1);
    }
    Entry& entry(Channel channel) { return entries_[static_cast<size_t>(channel)]; }

    std::vector<Entry> entries_;
    unsigned long lastErrorCode_ = 0;
};

}  // namespace

std::unique_ptr<SimIo> openPlatformIo() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::fprintf(stderr, "tavir-sim: WSAStartup failed\n");
        return nullptr;
    }
    return std::make_unique<Win32Io>();
}

std::string programDirectory() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/"));
}

}  // namespace tavir::sim
