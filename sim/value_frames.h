#pragma once
#include <cstddef>
#include <cstdint>

#include "link/value_record.h"
#include "sim_address.h"

namespace tavir::sim {

// Builds the value frame (kind 0x20) that tells the debugger the value at address; gives its
// length. buffer holds kRequestBufferSize bytes. The frame is the request encoder's, except in
// category 0: there the encoder's layout would be read back by the debugger's decoder as the low
// bits of the number, so the reply uses the general layout of a numbered category with the
// category bits set back to 0, which reads back as the value.
int encodeValueFrame(const SimAddress& address, int32_t value, uint8_t* buffer);

// The value as the debugger reads it back from that frame: cut to the category's width, and 0 or
// 1 in the flag categories.
int32_t wireValue(const SimAddress& address, int32_t value);

// What a client asked for in one complete frame, as the decoder delivered it; category 0 takes
// its 12-bit number and its flag from the frame itself, since the decoder reads neither.
struct ClientRequest {
    uint8_t kind = 0;
    SimAddress address;
    int32_t value = 0;
};
ClientRequest requestFromFrame(uint8_t kind, const ValueRecord& record, const uint8_t* frame);

// The number of bytes of the complete frame that starts at frame[0] (a header byte).
int frameLength(const uint8_t* frame);

// "Stop", "Write", "Monitor" or "Read" for the kind bits.
const char* requestKindName(uint8_t kind);

// A dump command byte of the memory dump exchange: V, M, O or A.
bool isDumpCommand(uint8_t byte);

}  // namespace tavir::sim
