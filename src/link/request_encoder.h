#pragma once
#include <cstddef>
#include <cstdint>

#include "link/transport.h"
#include "link/value_record.h"
#include "link/wire_format.h"

namespace tavir {

constexpr int kRequestBufferSize = 100;
constexpr int kLongestFrame = wire::kLongestRequest;

// Builds the frame of a request into buffer (kRequestBufferSize bytes, cleared first) and gives
// its length. Whatever the kind, the record's value goes out in the value groups of the fixed
// layouts and as the flag; only a Write gets value groups under the general rule. The simulator
// uses the same encoder for its value frames (kind kWrite).
int encodeRequest(const ValueRecord& record, uint8_t kind, uint8_t* buffer);

// Builds the frame and writes it to the transport in one call.
void SendRequest(Transport& transport, const ValueRecord& record, uint8_t kind);

}  // namespace tavir
