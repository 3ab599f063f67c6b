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

DWORD WINAPI serialReader(void* parameter) {
    ProgramLink& program = *static_cast<ProgramLink*>(parameter);
    SerialLink& link = *program.reader.serial;
    SerialStepBoxes steps(*program.reader.boxes);
    link.port.checkLine(steps);
    const std::atomic<bool>& stopping = program.reader.stopping;
    while (!stopping.load()) {
        Sleep(1);
        uint8_t bytes[kSerialReadSize];
        // After CloseSerialLink the port is gone and every read fails: the loop only sleeps.
        const int count = link.port.receive(bytes, kSerialReadSize, LinkEndpoint::kWaitAsSetUp);
        if (count <= 0) continue;
        if (stopping.load()) break;
        routeReceivedBytes(program.path, bytes, static_cast<size_t>(count));
    }
    return 0;
}

DWORD WINAPI tcpReader(void* parameter) {
    ProgramLink& program = *static_cast<ProgramLink*>(parameter);
    TcpClient& client = *program.reader.client;
    const std::atomic<bool>& stopping = program.reader.stopping;
    while (!stopping.load()) {
        Sleep(1);
        uint8_t bytes[kTcpReadSize];
        int result = client.ReceiveBytes(bytes, kTcpReadSize);
        // The program is ending: the reader stops here, whatever it received.
        if (result == kEndpointClosed || client.closing || stopping.load()) return 0;
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

ProgramLink::ProgramLink() {
    decoder.delivery = &router;
    path.flags = &flags;
    path.decoder = &decoder;
}

int StartSerialReader(SerialLink& link, ProgramLink& program, MessageBoxes& boxes) {
    program.reader.serial = &link;
    program.reader.boxes = &boxes;
    link.readerThread = CreateThread(nullptr, 0, serialReader, &program, 0, nullptr);
    if (link.readerThread == nullptr) {
        boxes.show(text::kSerialThreadFailed, text::kLinkCaption, kBoxOk);
        CloseSerialLink(link, boxes);
        return -1;
    }
    SetThreadPriority(link.readerThread, THREAD_PRIORITY_LOWEST);
    program.reader.thread = link.readerThread;
    return 0;
}

int StartTcpReader(TcpClient& client, ProgramLink& program, MessageBoxes& boxes) {
    program.reader.client = &client;
    program.reader.boxes = &boxes;
    HANDLE thread = CreateThread(nullptr, 0, tcpReader, &program, 0, nullptr);
    if (thread == nullptr) {
        boxes.show(text::kTcpThreadFailed, text::kLinkCaption, kBoxOk);
        return -1;
    }
    program.reader.thread = thread;
    return 0;
}

void stopReader(ProgramLink& program) {
    LinkReader& reader = program.reader;
    reader.stopping.store(true);
    HANDLE thread = reader.thread;
    if (thread == nullptr) return;
    // A TCP receive returns once the socket is shut down; a serial read within its time-outs,
    // or at once when the platform can cancel it.
    if (reader.client != nullptr) reader.client->shutDown();
    if (reader.serial != nullptr) CancelSynchronousIo(thread);
    WaitForSingleObject(thread, kReaderEndMs);
}

}  // namespace tavir
