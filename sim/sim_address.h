#pragma once
#include <cstdint>

#include "link/wire_format.h"

namespace tavir::sim {

// Where a value lives in the simulated controller: the three fields by which a received request
// names it. A field the category does not carry is 0, as the frame decoder gives it.
struct SimAddress {
    int32_t functionCode = 0;
    int32_t number = 0;
    int32_t block = 0;
};

inline bool operator==(const SimAddress& a, const SimAddress& b) {
    return a.functionCode == b.functionCode && a.number == b.number && a.block == b.block;
}

// What a category carries on the wire, as the link's frame format says.
using wire::categoryHasBlock;
using wire::categoryHasNumber;
using wire::categoryNumberMask;
using wire::categoryOf;
using wire::categoryValueMask;

// The address as the wire can carry it: the function code within 0..511, fields the category
// does not carry set to 0 and the others cut to their width. Two requests that reach the same
// controller value get the same address.
SimAddress normalizeAddress(SimAddress address);

// One 32-bit key per normalized address (9 bits code, 16 bits number, 6 bits block).
uint32_t addressKey(const SimAddress& address);
SimAddress addressFromKey(uint32_t key);

}  // namespace tavir::sim
