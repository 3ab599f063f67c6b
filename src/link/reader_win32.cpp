#include "link/reader_win32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "link/serial_link_win32.h"
#include "link/tcp_transport_win32.h"
#include "resources/link_texts.h"

namespace tavir {

namespace {

constexpr int kSerialReadSize = 16;
// A TCP receive takes whatever has arrived, up to this much, in one call.
constexpr int kTcpReadSize = 512;

// How long the end of the program waits for the reader to leave its receive. A serial read
// returns within 160 ms, a TCP receive as soon as the socket is shut down.
constexpr DWORD kReaderEndMs = 2000;

SerialLink* serialReaderLink = nullptr;
TcpClient* tcpReaderClient = nullptr;
MessageBoxes* readerBoxes = nullptr;
HANDLE readerThread = nullptr;
// Set at the end of the program: the reader leaves its loop at the next pass.
std::atomic<bool> readerStopping{false};

DWORD WINAPI serialReader(void*) {
    SerialLink& link = *serialReaderLink;
    SerialStepBoxes steps(*readerBoxes);
    link.port.checkLine(steps);
    ProgramLink& program = programLink();
    while (!readerStopping.load()) {
        Sleep(1);
        uint8_t bytes[kSerialReadSize];
        // After CloseSerialLink the port is gone and every read fails: the loop only sleeps.
        const int count = link.port.receive(bytes, kSerialReadSize, LinkEndpoint::kWaitAsSetUp);
        if (count <= 0) continue;
        if (readerStopping.load()) break;
        routeReceivedBytes(program.path, bytes, static_cast<size_t>(count));
    }
    return 0;
}

DWORD WINAPI tcpReader(void*) {
    TcpClient& client = *tcpReaderClient;
    ProgramLink& program = programLink();
    while (!readerStopping.load()) {
        Sleep(1);
        uint8_t bytes[kTcpReadSize];
        int result = client.ReceiveBytes(bytes, kTcpReadSize);
        // The program is ending: the reader stops here, whatever it received.
        if (result == kEndpointClosed || client.closing || readerStopping.load()) return 0;
        if (program.flags.receiveTrace.load()) {
            std::printf(text::kReceiveTrace, result);
            std::fflush(stdout);
        }
        // The controller closed the connection in order: nothing more will come, so the reader
        // ends instead of spinning; the next request that fails to go out ends the program.
        if (result == 0) return 0;
        if (result > 0) routeReceivedBytes(program.path, bytes, static_cast<size_t>(result));
    }
    return 0;
}

}  // namespace

ProgramLink& programLink() {
    // Never destroyed: the reader runs until the process ends and may be handing bytes to the
    // decoder and the router while the exit processing runs.
    static ProgramLink& link = *[] {
        auto* made = new ProgramLink;
        made->decoder.delivery = &made->router;
        made->path.flags = &made->flags;
        made->path.decoder = &made->decoder;
        return made;
    }();
    return link;
}

int StartSerialReader(SerialLink& link, MessageBoxes& boxes) {
    serialReaderLink = &link;
    readerBoxes = &boxes;
    link.readerThread = CreateThread(nullptr, 0, serialReader, nullptr, 0, nullptr);
    if (link.readerThread == nullptr) {
        boxes.show(text::kSerialThreadFailed, text::kLinkCaption, kBoxOk);
        CloseSerialLink(link, boxes);
        return -1;
    }
    SetThreadPriority(link.readerThread, THREAD_PRIORITY_LOWEST);
    readerThread = link.readerThread;
    return 0;
}

int StartTcpReader(TcpClient& client, MessageBoxes& boxes) {
    tcpReaderClient = &client;
    readerBoxes = &boxes;
    HANDLE thread = CreateThread(nullptr, 0, tcpReader, nullptr, 0, nullptr);
    if (thread == nullptr) {
        boxes.show(text::kTcpThreadFailed, text::kLinkCaption, kBoxOk);
        return -1;
    }
    readerThread = thread;
    return 0;
}

void stopReader() {
    readerStopping.store(true);
    HANDLE thread = readerThread;
    if (thread == nullptr) return;
    // A TCP receive returns once the socket is shut down; a serial read within its time-outs,
    // or at once when the platform can cancel it.
    if (tcpReaderClient != nullptr) tcpReaderClient->shutDown();
    if (serialReaderLink != nullptr) CancelSynchronousIo(thread);
    WaitForSingleObject(thread, kReaderEndMs);
}

}  // namespace tavir
