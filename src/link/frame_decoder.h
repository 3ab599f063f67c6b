#pragma once
#include <cstdint>

#include "link/value_record.h"
#include "link/value_sinks.h"
#include "link/wire_format.h"

namespace tavir {

// The longest frame, rounded up. Decoding reads fixed positions up to 8 and general-rule groups
// up to 64, all inside this size.
constexpr int kFrameBufferSize = 72;
static_assert(kFrameBufferSize >= wire::kLongestReceivedFrame);

// The receiving side of the byte protocol: fed one byte at a time by the reader thread, it keeps
// its place in the current frame between calls and delivers a ValueRecord for each complete
// frame. Only the reader thread touches it, so it needs no lock. One per program (the simulator
// and the tests hold their own).
struct FrameDecoder {
    uint16_t state = 0;                     // 0 idle, 1 expecting the length byte, 2 collecting the body
    int16_t index = 0;                      // position of the last stored byte
    int16_t remaining = 0;                  // body bytes still expected
    uint8_t buffer[kFrameBufferSize] = {};  // header, length, 63 body bytes; the rest keeps old bytes
    ValueDelivery* delivery = nullptr;      // none: records are dropped

    // Consumes one byte; 1 when it completed a frame (delivered or dropped), else 0.
    int FeedByte(uint8_t byte);
};

}  // namespace tavir
