#pragma once
#include <windows.h>

#include <atomic>

#include "base/message_boxes.h"
#include "link/serial_settings.h"
#include "link/transport.h"

namespace tavir {

// The serial link of the program: the port, whether the open sequence finished, and its reader.
// The port and the thread live until the process ends unless the reader cannot be started.
struct SerialLink {
    SerialSettings settings{};
    HANDLE portHandle = INVALID_HANDLE_VALUE;
    std::atomic<int> portOpen{0};
    HANDLE readerThread = nullptr;
};

struct ProgramLink;

// Opens settings.portName and sets it up; starts program's reader on it. Gives the port, or
// INVALID_HANDLE_VALUE after the open-failure message. Every other problem is told in a message
// box and the sequence goes on.
HANDLE OpenSerialLink(SerialLink& link, ProgramLink& program, MessageBoxes& boxes);

// Writes the settings into the port's DCB and sets the time-outs.
void ApplySerialSettings(HANDLE port, const SerialSettings& settings, MessageBoxes& boxes);

// Lowers DTR, restores the time-outs found at opening, purges the port and closes the port and
// the reader's handle. 0 when the port was not open, else 1.
int CloseSerialLink(SerialLink& link, MessageBoxes& boxes);

// Frames go out on the port with one WriteFile each.
class SerialTransport : public Transport {
public:
    explicit SerialTransport(SerialLink& link) : link_(link) {}
    void write(const uint8_t* bytes, size_t count) override;

private:
    SerialLink& link_;
};

}  // namespace tavir
