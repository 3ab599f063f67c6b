#include "sim_address.h"

namespace tavir::sim {

SimAddress normalizeAddress(SimAddress address) {
    address.functionCode &= wire::kFunctionCodes - 1;
    int category = categoryOf(address.functionCode);
    // Category 0 requests carry no sub-number, so every code of it names the same values.
    if (category == 0) address.functionCode = 0;
    address.number =
        static_cast<int32_t>(static_cast<uint32_t>(address.number) & categoryNumberMask(category));
    address.block = categoryHasBlock(category) ? (address.block & wire::kGroupMask) : 0;
    return address;
}

uint32_t addressKey(const SimAddress& address) {
    SimAddress a = normalizeAddress(address);
    return (static_cast<uint32_t>(a.functionCode) << 22) | (static_cast<uint32_t>(a.number) << 6) |
           static_cast<uint32_t>(a.block);
}

SimAddress addressFromKey(uint32_t key) {
    SimAddress a;
    a.functionCode = static_cast<int32_t>(key >> 22);
    a.number = static_cast<int32_t>((key >> 6) & 0xFFFF);
    a.block = static_cast<int32_t>(key & 0x3F);
    return a;
}

}  // namespace tavir::sim
