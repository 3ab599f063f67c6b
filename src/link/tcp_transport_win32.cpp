#include "link/tcp_transport_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "link/tcp_descriptions.h"
#include "resources/link_texts.h"

namespace tavir {

namespace {

// The end of every socket failure: the report on standard output, the stop box, exit code 1. A
// program already ending leaves without a second exit.
[[noreturn]] void endProgram(const myException& error, bool ending = false) {
    error.Report();
    MessageBoxA(nullptr, error.message, text::kTcpFatalCaption, MB_OK | MB_ICONHAND);
    if (ending) std::_Exit(1);
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
    if (endpoint.open() == 0) return;
    const int error = lastLinkError();
    endProgram(endpoint.started() ? myException(error, describeSocketError(SocketCall::kSocket, error))
                                  : myException(0, text::kWsaStartupFailed));
}

TcpSocket::~TcpSocket() {
    Close();
}

void TcpSocket::Close() {
    closing = true;
    if (endpoint.close() != 0) endProgram(myException(0, text::kWsaCleanupFailed), true);
}

void TcpSocket::shutDown() {
    closing = true;
    endpoint.shutDown();
}

void TcpClient::Connect(const char* address) {
    if (endpoint.connect(address, port, false, false) == 0) return;
    const int error = lastLinkError();
    endProgram(myException(error, text::kConnectFailed, describeSocketError(SocketCall::kConnect, error)));
}

void TcpClient::SendFrame(const uint8_t* bytes, size_t count) {
    // A frame from the timer thread that meets the endpoint's end is dropped.
    if (endpoint.writeFrame(bytes, count) == 0 || closing) return;
    const int error = lastLinkError();
    endProgram(myException(error, text::kSendFailed, describeSocketError(SocketCall::kSend, error)));
}

int TcpClient::ReceiveBytes(uint8_t* buffer, int capacity) {
    const int result = endpoint.receive(buffer, capacity, LinkEndpoint::kWaitAsSetUp);
    if (result >= 0) return result;
    const int error = lastLinkError();
    if (error == 0) return 0;  // closed in order
    // The reader was blocked in this receive when the program ended and the endpoint was
    // cleaned up under it.
    if (closing) return kEndpointClosed;
    if (error == kWsaEconnreset) return kConnectionReset;
    endProgram(myException(error, text::kReceiveFailed, describeSocketError(SocketCall::kReceive, error)));
}

}  // namespace tavir
