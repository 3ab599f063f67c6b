// The link of tavir-cli.exe: Windows Sockets and the COM port, without the debugger's message
// boxes and fatal exits.
// Windows Sockets before windows.h, which would bring in the older sockets header.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// clang-format on

#include "link/link_endpoint.h"
#include "link/serial_line_win32.h"

namespace tavir {

namespace {

class SocketEndpoint : public LinkEndpoint {
public:
    explicit SocketEndpoint(SOCKET s) : socket_(s) {}
    ~SocketEndpoint() override {
        closesocket(socket_);
        WSACleanup();
    }
    void write(const uint8_t* bytes, size_t count) override {
        while (count > 0 && !failed()) {
            int n = send(socket_, reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0);
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
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready == 0) return 0;
        int n = ready < 0 ? -1 : recv(socket_, reinterpret_cast<char*>(buffer), capacity, 0);
        if (n <= 0) {
            markFailed();
            return -1;
        }
        return n;
    }

private:
    SOCKET socket_;
};

class PortEndpoint : public LinkEndpoint {
public:
    explicit PortEndpoint(HANDLE port) : port_(port) {}
    ~PortEndpoint() override { CloseHandle(port_); }
    void write(const uint8_t* bytes, size_t count) override {
        DWORD written = 0;
        if (failed() || !WriteFile(port_, bytes, static_cast<DWORD>(count), &written, nullptr) ||
            written != count)
            markFailed();
    }
    int receive(uint8_t* buffer, int capacity, int timeoutMs) override {
        if (failed()) return -1;
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = MAXDWORD;
        t.ReadTotalTimeoutMultiplier = MAXDWORD;
        t.ReadTotalTimeoutConstant = static_cast<DWORD>(timeoutMs);
        SetCommTimeouts(port_, &t);
        DWORD read = 0;
        if (!ReadFile(port_, buffer, static_cast<DWORD>(capacity), &read, nullptr)) {
            markFailed();
            return -1;
        }
        return static_cast<int>(read);
    }

private:
    HANDLE port_;
};

std::string lastErrorText(const std::string& what, DWORD code) {
    return what + ": error " + std::to_string(code);
}

}  // namespace

std::unique_ptr<LinkEndpoint> openTcpEndpoint(const std::string& host, int port, std::string& error) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        error = "Windows Sockets did not start";
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        error = lastErrorText(host, static_cast<DWORD>(WSAGetLastError()));
        WSACleanup();
        return nullptr;
    }
    SOCKET s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (s == INVALID_SOCKET || connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0) {
        error = lastErrorText(host + ":" + service, static_cast<DWORD>(WSAGetLastError()));
        if (s != INVALID_SOCKET) closesocket(s);
        freeaddrinfo(found);
        WSACleanup();
        return nullptr;
    }
    freeaddrinfo(found);
    BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    return std::make_unique<SocketEndpoint>(s);
}

std::unique_ptr<LinkEndpoint> openSerialEndpoint(const std::string& device, int baudRate,
                                                 std::string& error) {
    bool configured = false;
    HANDLE port = openSerialLine(device, baudRate, configured);
    if (port == INVALID_HANDLE_VALUE) {
        error = lastErrorText(device, GetLastError());
        return nullptr;
    }
    if (!configured) {
        error = lastErrorText(device, GetLastError());
        CloseHandle(port);
        return nullptr;
    }
    return std::make_unique<PortEndpoint>(port);
}

}  // namespace tavir
