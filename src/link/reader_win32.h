#pragma once
#include <windows.h>

#include <atomic>

#include "base/message_boxes.h"
#include "link/delivery_router.h"
#include "link/frame_decoder.h"
#include "link/link_flags.h"
#include "link/reader_route.h"
#include "link/transport.h"

namespace tavir {

struct SerialLink;
class TcpClient;

// The reader thread of the link, handed the link record as its parameter: the transport it
// reads, where it shows its messages, and the flag that ends it.
struct LinkReader {
    SerialLink* serial = nullptr;
    TcpClient* client = nullptr;
    MessageBoxes* boxes = nullptr;
    HANDLE thread = nullptr;
    // Set at the end of the program: the reader leaves its loop at the next pass.
    std::atomic<bool> stopping{false};
};

// The receiving side of the program's one link: the flags the user-interface thread sets, the
// frame decoder that only the reader thread feeds, and where its records go. transport is the
// way down once the link is open (none before). The record, the transport and whatever the
// router hands records to live until the process ends: the reader may still be handing bytes on
// when the wait for it at the end gives up.
struct ProgramLink {
    ProgramLink();
    ProgramLink(const ProgramLink&) = delete;
    ProgramLink& operator=(const ProgramLink&) = delete;

    LinkFlags flags;
    DeliveryRouter router;
    FrameDecoder decoder;
    ReceivePath path;
    Transport* transport = nullptr;
    LinkReader reader;
};

// Starts the serial reader of program at the lowest priority: 0, or -1 after its message, with
// the port closed again. The reader shows its own messages through boxes, which lives as long as
// the link.
int StartSerialReader(SerialLink& link, ProgramLink& program, MessageBoxes& boxes);

// Starts the TCP reader of program: 0, or -1 after its message; the program goes on without a
// reader.
int StartTcpReader(TcpClient& client, ProgramLink& program, MessageBoxes& boxes);

// The end of the program, after its message loop: the reader leaves its receive (the socket is
// shut down, a serial read cancelled) and is waited for, at most two seconds, so that the
// process never ends under a thread inside a receive or handing bytes on.
void stopReader(ProgramLink& program);

}  // namespace tavir
