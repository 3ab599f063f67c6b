#pragma once
#include <cstddef>
#include <cstdint>

namespace tavir {

// The way down to the controller: the serial port or the TCP connection. A frame is handed over
// in one call so that frames from the window thread and the timer thread never interleave.
class Transport {
public:
    virtual ~Transport() = default;
    virtual void write(const uint8_t* bytes, size_t count) = 0;
};

}  // namespace tavir
