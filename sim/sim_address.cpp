#include "sim_address.h"

namespace tavir::sim {

bool categoryHasNumber(int category) {
    switch (category) {
        case 4:
        case 5:
        case 15:
            return false;
        default:
            return true;
    }
}

bool categoryHasBlock(int category) {
    switch (category) {
        case 4:
        case 5:
        case 6:
        case 7:
        case 11:
        case 12:
            return true;
        default:
            return false;
    }
}

uint32_t categoryNumberMask(int category) {
    switch (category) {
        case 0:
        case 13:
        case 14:
            return 0x0FFF;
        case 1:
            return 0xFFFF;
        case 4:
        case 5:
        case 15:
            return 0;
        default:
            return 0x3F;
    }
}

uint32_t categoryValueMask(int category) {
    switch (category) {
        case 0:
        case 13:
            return 1;
        case 1:
            return 0xFFFF;
        case 14:
            return 0x0FFF;
        case 15:
            return 0xFFFFFF;
        default:
            return 0xFFFFFFFFu;
    }
}

SimAddress normalizeAddress(SimAddress address) {
    address.functionCode &= 0x1FF;
    int category = categoryOf(address.functionCode);
    // Category 0 requests carry no sub-number, so every code of it names the same values.
    if (category == 0) address.functionCode = 0;
    address.number =
        static_cast<int32_t>(static_cast<uint32_t>(address.number) & categoryNumberMask(category));
    address.block = categoryHasBlock(category) ? (address.block & 0x3F) : 0;
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
