#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "link/link_endpoint.h"
#include "sim_options.h"

namespace tavir::sim {

// A socket, serial line or standard input of the platform layer, by its number there.
using Channel = int;
constexpr Channel kNoChannel = -1;

// One channel the runner waits for; wait sets ready when it can be read, can take bytes (when
// write is asked for) or has failed. A ready channel may still give nothing: the runner reads
// and sees.
struct Watch {
    Channel channel = kNoChannel;
    bool write = false;
    bool ready = false;
};

// The platform's side of the simulator's links: every call returns at once. read gives the
// number of bytes (above 0), 0 when nothing is there now, -1 when the channel has ended or
// failed; write the number of bytes taken (0 when it takes none now) or -1. The opening calls say
// on standard error why they fail.
class SimIo {
public:
    virtual ~SimIo() = default;
    // A listening TCP socket; portInUse is the port it got (the one asked for, or a free one for 0).
    virtual Channel listen(const HostPort& address, int& portInUse) = 0;
    // The next waiting connection of a listener, kNoChannel when none waits.
    virtual Channel accept(Channel listener) = 0;
    // A new pseudo-terminal, whose far side is at path.
    virtual Channel openPty(std::string& path) = 0;
    // A serial device, raw, 8 data bits, no parity, one stop bit, no flow control.
    virtual Channel openSerial(const std::string& device, int baud) = 0;
    virtual Channel openStdin() = 0;
    virtual int read(Channel channel, uint8_t* bytes, size_t capacity) = 0;
    virtual int write(Channel channel, const uint8_t* bytes, size_t count) = 0;
    // Ends a connection by reset, or in order (unread input read away first, since closing with
    // unread input sends a reset; then the sending side shut).
    virtual void close(Channel channel, bool reset) = 0;
    // Sleeps until a watched channel is ready or micros have passed.
    virtual void wait(std::vector<Watch>& watches, int64_t micros) = 0;
    // The system's text for the last failure.
    virtual std::string lastError() const = 0;
};

// A serial device opened and set up as every program sets up its line, handed over to the layer:
// the platform's handle, or -1 after a message on standard error.
inline intptr_t openSerialHandle(const std::string& device, int baud) {
    std::string error;
    std::unique_ptr<SerialEndpoint> line = openSerialEndpoint(device, baud, error);
    if (!line) std::fprintf(stderr, "tavir-sim: cannot open %s\n", error.c_str());
    return line ? line->release() : -1;
}

// The layer of this platform; none after a message on standard error.
std::unique_ptr<SimIo> openPlatformIo();

// The directory of the running program, or empty when the system does not say.
std::string programDirectory();

}  // namespace tavir::sim
