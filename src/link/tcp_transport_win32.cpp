// Windows Sockets before windows.h, which would bring in the older sockets header.
#include "link/tcp_transport_win32.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdio>
#include <cstdlib>

#include "link/tcp_descriptions.h"
#include "resources/link_texts.h"

namespace tavir {

namespace {

// The end of every socket failure: the report on standard output, the stop box, exit code 1.
[[noreturn]] void endProgram(const myException& error) {
    error.Report();
    MessageBoxA(nullptr, error.message, text::kTcpFatalCaption, MB_OK | MB_ICONHAND);
    std::exit(1);
}

}  // namespace

myException::myException(int errorCode, const char* text, const char* description) : code(errorCode) {
    std::snprintf(message, sizeof message, "%s%s", text, description != nullptr ? description : "");
}

void myException::Report() const {
    std::printf("%s\n", text::kReportTitle);
    std::fflush(stdout);
    std::printf("%s%d\n", text::kReportCode, code);
    std::fflush(stdout);
    std::printf("%s%s\n", text::kReportMessage, message);
    std::fflush(stdout);
}

TcpSocket::TcpSocket() {
    try {
        WSADATA data;
        if (WSAStartup(0x0101, &data) != 0) throw myException(0, text::kWsaStartupFailed);
        socket = ::socket(AF_INET, SOCK_STREAM, 0);
        if (socket == INVALID_SOCKET) {
            int error = WSAGetLastError();
            throw myException(error, describeSocketError(SocketCall::kSocket, error));
        }
    } catch (const myException& error) {
        endProgram(error);
    }
}

TcpSocket::~TcpSocket() {
    Close();
}

void TcpSocket::Close() {
    if (closed_) return;
    closed_ = true;
    closing = true;
    try {
        if (WSACleanup() != 0) throw myException(0, text::kWsaCleanupFailed);
    } catch (const myException& error) {
        // The program is already ending: report as always, but leave without a second exit.
        error.Report();
        MessageBoxA(nullptr, error.message, text::kTcpFatalCaption, MB_OK | MB_ICONHAND);
        std::_Exit(1);
    }
    closesocket(socket);
}

void TcpSocket::shutDown() {
    closing = true;
    shutdown(socket, SD_BOTH);
}

void TcpClient::Connect(const char* address) {
    try {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_addr.s_addr = inet_addr(address);
        target.sin_port = htons(static_cast<u_short>(port));
        if (connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == SOCKET_ERROR) {
            int error = WSAGetLastError();
            throw myException(error, text::kConnectFailed, describeSocketError(SocketCall::kConnect, error));
        }
    } catch (const myException& error) {
        endProgram(error);
    }
}

void TcpClient::SendFrame(const uint8_t* bytes, size_t count) {
    try {
        if (send(socket, reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0) == SOCKET_ERROR) {
            // A frame from the timer thread that meets the endpoint's end is dropped.
            if (closing) return;
            int error = WSAGetLastError();
            throw myException(error, text::kSendFailed, describeSocketError(SocketCall::kSend, error));
        }
    } catch (const myException& error) {
        endProgram(error);
    }
}

int TcpClient::ReceiveBytes(uint8_t* buffer, int capacity) {
    int result = 0;
    try {
        result = recv(socket, reinterpret_cast<char*>(buffer), capacity, 0);
        if (result == SOCKET_ERROR) {
            // The reader was blocked in this receive when the program ended and the endpoint was
            // cleaned up under it.
            if (closing) return kEndpointClosed;
            int error = WSAGetLastError();
            if (error == WSAECONNRESET) return kConnectionReset;
            throw myException(error, text::kReceiveFailed, describeSocketError(SocketCall::kReceive, error));
        }
    } catch (const myException& error) {
        endProgram(error);
    }
    return result;
}

}  // namespace tavir
