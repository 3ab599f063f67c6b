#pragma once
#include <cstdint>

#include "link/wire_format.h"  // the request kinds that go with every record

namespace tavir {

// The address and value of every request and the result of every decoded frame.
// The field order is the wire order of an item's record and must not change.
struct ValueRecord {
    int32_t functionCode = 0;  // category * 32 + sub-number, 0..511
    int32_t number = 0;        // signal group or element; -1 = none in requests, 0 in received records
    int32_t block = 0;         // low byte 0xFF = none in requests
    int32_t spare = 0;         // never sent
    int32_t value = 0;
};

}  // namespace tavir
