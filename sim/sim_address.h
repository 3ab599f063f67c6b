#pragma once
#include <cstdint>

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

// What a category carries on the wire. Categories 4 and 5 carry only a block, 6, 7, 11 and 12
// both, 15 neither; the others a number of 6, 12 or 16 bits.
inline int categoryOf(int32_t functionCode) {
    return (functionCode >> 5) & 0x0F;
}
bool categoryHasNumber(int category);
bool categoryHasBlock(int category);

// The widest number and value a category can carry, as masks.
uint32_t categoryNumberMask(int category);
uint32_t categoryValueMask(int category);

// The address as the wire can carry it: the function code within 0..511, fields the category
// does not carry set to 0 and the others cut to their width. Two requests that reach the same
// controller value get the same address.
SimAddress normalizeAddress(SimAddress address);

// One 32-bit key per normalized address (9 bits code, 16 bits number, 6 bits block).
uint32_t addressKey(const SimAddress& address);
SimAddress addressFromKey(uint32_t key);

}  // namespace tavir::sim
