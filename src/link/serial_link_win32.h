#pragma once
#include <windows.h>

#include <atomic>

#include "base/message_boxes.h"
#include "link/link_endpoint.h"
#include "link/serial_settings.h"
#include "link/transport.h"

namespace tavir {

// The serial link of the program: the port, whether the open sequence finished, and its reader.
// The port and the thread live until the process ends unless the reader cannot be started.
struct SerialLink {
    SerialSettings settings{};
    SerialEndpoint port;
    std::atomic<int> portOpen{0};
    HANDLE readerThread = nullptr;
};

struct ProgramLink;

// Opens settings.portName and sets it up; starts program's reader on it. Gives the port, or
// INVALID_HANDLE_VALUE after the open-failure message. Every other problem is told in a message
// box and the sequence goes on.
HANDLE OpenSerialLink(SerialLink& link, ProgramLink& program, MessageBoxes& boxes);

// Lowers DTR, restores the time-outs found at opening, purges the port and closes the port and
// the reader's handle. 0 when the port was not open, else 1.
int CloseSerialLink(SerialLink& link, MessageBoxes& boxes);

// A message box for each step of the port that fails.
class SerialStepBoxes : public SerialStepSink {
public:
    explicit SerialStepBoxes(MessageBoxes& boxes) : boxes_(boxes) {}
    void failed(SerialStep step) override;

private:
    MessageBoxes& boxes_;
};

// Frames go out on the port with one WriteFile each.
class SerialTransport : public Transport {
public:
    explicit SerialTransport(SerialLink& link) : link_(link) {}
    void write(const uint8_t* bytes, size_t count) override { link_.port.write(bytes, count); }

private:
    SerialLink& link_;
};

}  // namespace tavir
