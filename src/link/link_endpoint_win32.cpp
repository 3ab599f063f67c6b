// The links on Windows: Windows Sockets and the COM port.
// Windows Sockets before windows.h, which would bring in the older sockets header.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// clang-format on

#include "link/link_endpoint.h"

namespace tavir {

namespace {

SOCKET socketOf(intptr_t socket) {
    return static_cast<SOCKET>(socket);
}

HANDLE portOf(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

COMMTIMEOUTS toPlatform(const SerialTimeouts& t) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = t.readIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = t.readTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = t.readTotalTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = t.writeTotalTimeoutMultiplier;
    timeouts.WriteTotalTimeoutConstant = t.writeTotalTimeoutConstant;
    return timeouts;
}

}  // namespace

std::string describeLinkError(int code) {
    return code == 0 ? "the other side ended the link" : "error " + std::to_string(code);
}

std::string serialDevicePath(const std::string& device) {
    return device.rfind("\\\\.\\", 0) == 0 ? device : "\\\\.\\" + device;
}

int TcpEndpoint::open() {
    WSADATA data;
    if (WSAStartup(0x0101, &data) != 0) return fail(0);
    started_ = true;
    SOCKET made = ::socket(AF_INET, SOCK_STREAM, 0);
    if (made == INVALID_SOCKET) return fail(WSAGetLastError());
    socket = static_cast<intptr_t>(made);
    return 0;
}

int TcpEndpoint::connect(const char* host, int port, bool resolve, bool noDelay) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = inet_addr(host);
    target.sin_port = htons(static_cast<u_short>(port));
    if (resolve && target.sin_addr.s_addr == INADDR_NONE) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(host, nullptr, &hints, &found) != 0) return fail(WSAGetLastError());
        target.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        freeaddrinfo(found);
    }
    if (::connect(socketOf(socket), reinterpret_cast<const sockaddr*>(&target), sizeof target) ==
        SOCKET_ERROR)
        return fail(WSAGetLastError());
    BOOL one = TRUE;
    if (noDelay)
        setsockopt(socketOf(socket), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one),
                   sizeof one);
    return 0;
}

int TcpEndpoint::writeFrame(const uint8_t* bytes, size_t count) {
    // One send takes a whole frame; a short one on a full buffer goes on where it stopped.
    while (count > 0) {
        int n = ::send(socketOf(socket), reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0);
        if (n == SOCKET_ERROR) return fail(WSAGetLastError());
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return 0;
}

int TcpEndpoint::receive(uint8_t* buffer, int capacity, int timeoutMs) {
    if (timeoutMs >= 0) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socketOf(socket), &readable);
        timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR) return fail(WSAGetLastError());
        if (ready == 0) return 0;
    }
    int n = recv(socketOf(socket), reinterpret_cast<char*>(buffer), capacity, 0);
    if (n > 0) return n;
    return fail(n == 0 ? 0 : WSAGetLastError());
}

void TcpEndpoint::shutDown() {
    shutdown(socketOf(socket), SD_BOTH);
}

int TcpEndpoint::close() {
    if (closed_ || !started_) return 0;
    closed_ = true;
    // The sockets stop first, as the debugger has always ended its endpoint.
    const int stopped = WSACleanup() == 0 ? 0 : -1;
    closesocket(socketOf(socket));
    return stopped;
}

SerialEndpoint::~SerialEndpoint() {
    const intptr_t port = release();
    if (port != -1) CloseHandle(portOf(port));
}

int SerialEndpoint::open(const char* device, SerialSettings& settings, SerialStepSink& steps) {
    HANDLE port = CreateFileA(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_WRITE_THROUGH, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        fail(static_cast<int>(GetLastError()));
        steps.failed(SerialStep::kOpen);
        return -1;
    }
    handle_ = reinterpret_cast<intptr_t>(port);
    COMMTIMEOUTS saved{};
    if (GetCommTimeouts(port, &saved)) {
        settings.savedTimeouts = {saved.ReadIntervalTimeout, saved.ReadTotalTimeoutMultiplier,
                                  saved.ReadTotalTimeoutConstant, saved.WriteTotalTimeoutMultiplier,
                                  saved.WriteTotalTimeoutConstant};
    } else {
        steps.failed(SerialStep::kGetTimeouts);
    }
    COMMTIMEOUTS timeouts = toPlatform(settings.timeouts);
    if (!SetCommTimeouts(port, &timeouts)) steps.failed(SerialStep::kSetTimeouts);
    ApplySerialSettings(settings, steps);
    SetupComm(port, 2048, 1024);
    if (!EscapeCommFunction(port, SETDTR)) steps.failed(SerialStep::kRaiseDtr);
    return 0;
}

void SerialEndpoint::ApplySerialSettings(const SerialSettings& settings, SerialStepSink& steps) {
    HANDLE port = portOf(handle());
    // fBinary, fErrorChar, fNull and fAbortOnError stay as the port reports them.
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(port, &dcb)) steps.failed(SerialStep::kGetState);
    dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
    dcb.ByteSize = settings.byteSize;
    dcb.Parity = settings.parity;
    dcb.StopBits = settings.stopBits;
    dcb.XonChar = settings.xonChar;
    dcb.XoffChar = settings.xoffChar;
    dcb.XonLim = settings.xonLimit;
    dcb.XoffLim = settings.xoffLimit;
    dcb.EvtChar = eventCharacter(settings);
    dcb.fDtrControl = settings.dtrControl & 3u;
    dcb.fRtsControl = settings.rtsControl & 3u;
    dcb.fOutxCtsFlow = settings.ctsOutFlow & 1u;
    dcb.fOutxDsrFlow = settings.dsrOutFlow & 1u;
    dcb.fDsrSensitivity = settings.dsrSensitivity & 1u;
    dcb.fOutX = settings.xonXoffOut & 1u;
    dcb.fInX = settings.xonXoffIn & 1u;
    dcb.fTXContinueOnXoff = settings.txContinueOnXoff & 1u;
    dcb.fParity = 1;
    if (!SetCommState(port, &dcb)) steps.failed(SerialStep::kSetState);
    timeouts_ = settings.timeouts;
    COMMTIMEOUTS timeouts = toPlatform(timeouts_);
    if (!SetCommTimeouts(port, &timeouts)) steps.failed(SerialStep::kApplyTimeouts);
    readWait_ = kWaitAsSetUp;
}

void SerialEndpoint::checkLine(SerialStepSink& steps) {
    HANDLE port = portOf(handle());
    DWORD modemStatus = 0;
    if (!GetCommModemStatus(port, &modemStatus)) steps.failed(SerialStep::kModemStatus);
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port, &errors, &status)) steps.failed(SerialStep::kClearErrors);
}

void SerialEndpoint::close(const SerialTimeouts& saved, SerialStepSink& steps) {
    HANDLE port = portOf(handle());
    if (!EscapeCommFunction(port, CLRDTR)) steps.failed(SerialStep::kLowerDtr);
    COMMTIMEOUTS timeouts = toPlatform(saved);
    if (!SetCommTimeouts(port, &timeouts)) steps.failed(SerialStep::kRestoreTimeouts);
    if (!PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        steps.failed(SerialStep::kPurge);
    CloseHandle(portOf(release()));
}

int SerialEndpoint::writeFrame(const uint8_t* bytes, size_t count) {
    // One WriteFile per frame; a write the port's time-out cut short failed as well.
    DWORD written = 0;
    if (!WriteFile(portOf(handle()), bytes, static_cast<DWORD>(count), &written, nullptr))
        return fail(static_cast<int>(GetLastError()));
    return written == count ? 0 : fail(ERROR_TIMEOUT);
}

int SerialEndpoint::receive(uint8_t* buffer, int capacity, int timeoutMs) {
    HANDLE port = portOf(handle());
    // The read time-outs follow the wait asked for: the port's own, or the first byte within
    // timeoutMs and then what has arrived (none at all for 0).
    if (timeoutMs != readWait_) {
        COMMTIMEOUTS timeouts = toPlatform(timeouts_);
        if (timeoutMs >= 0) {
            timeouts.ReadIntervalTimeout = MAXDWORD;
            timeouts.ReadTotalTimeoutMultiplier = timeoutMs == 0 ? 0 : MAXDWORD;
            timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(timeoutMs);
        }
        SetCommTimeouts(port, &timeouts);
        readWait_ = timeoutMs;
    }
    DWORD read = 0;
    if (!ReadFile(port, buffer, static_cast<DWORD>(capacity), &read, nullptr))
        return fail(static_cast<int>(GetLastError()));
    return static_cast<int>(read);
}

}  // namespace tavir
