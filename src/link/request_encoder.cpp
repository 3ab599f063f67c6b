#include "link/request_encoder.h"

#include <cstring>

namespace tavir {
namespace {

using namespace wire;

// A field of a fixed layout, most significant group first. Every group lies within the low 24
// bits, where arithmetic and logical shifts of a number agree.
int putField(uint8_t* buffer, int n, uint32_t field, int bits) {
    for (int g = 0; g < fieldGroups(bits); ++g) {
        const int width = fieldGroupWidth(bits, g);
        buffer[n++] = static_cast<uint8_t>(kDataBit | ((field >> fieldGroupShift(bits, g)) & bitMask(width)));
    }
    return n;
}

}  // namespace

int encodeRequest(const ValueRecord& record, uint8_t kind, uint8_t* buffer) {
    std::memset(buffer, 0, kRequestBufferSize);
    kind = static_cast<uint8_t>(kind & kKindMask);
    const int category = categoryOf(record.functionCode);
    const CategoryLayout& layout = layoutOf(category);
    const uint8_t sub = static_cast<uint8_t>(subNumberOf(record.functionCode));
    const int32_t number = record.number;
    const uint32_t value = static_cast<uint32_t>(record.value);

    int n = 0;
    buffer[n++] = static_cast<uint8_t>(kHeaderBit | kind | category);

    if (!layout.generalRule) {
        // Always long. A one-bit value is the flag, set for any value other than 0; category 0
        // has no sub-number on the wire.
        buffer[0] |= kLongFormBit;
        buffer[n++] = static_cast<uint8_t>(kDataBit | fixedBodyLength(category));
        uint8_t subByte = static_cast<uint8_t>(kDataBit | (category == 0 ? 0 : sub));
        if (layout.valueBits == 1 && value != 0) subByte |= kFlagBit;
        buffer[n++] = subByte;
        n = putField(buffer, n, static_cast<uint32_t>(number), layout.numberBits);
        return putField(buffer, n, value, layout.valueBits);
    }

    // Without number and block the frame would be two bytes, shorter than any the controller
    // can receive; a zero group stands in the number's place so that the frame stays whole. A
    // category whose frames carry both a number and a block gets a zero block as well, or the
    // controller would read the first value group as the block.
    const bool neither = number == -1 && (record.block & 0xFF) == 0xFF;
    const bool zeroBlock = neither && categoryHasNumber(category) && categoryHasBlock(category);
    const bool hasBlock = (record.block & 0xFF) != 0xFF || zeroBlock;
    const bool hasNumber = number != -1 || neither;
    const int32_t sentNumber = neither ? 0 : number;
    const int32_t sentBlock = zeroBlock ? 0 : record.block;

    int count = 2;
    bool isLong = false;
    if (hasNumber && hasBlock) {
        count = 3;
        isLong = true;
    }
    const int groups = kind == kWrite ? valueGroups(value) : 0;
    if (groups > 0) {
        isLong = true;
        count += groups;
    }
    if (isLong) {
        buffer[0] |= kLongFormBit;
        buffer[n++] = static_cast<uint8_t>(kDataBit | count);
    }
    buffer[n++] = static_cast<uint8_t>(kDataBit | sub | (groups == 0 && value == 1 ? kFlagBit : 0));
    if (hasNumber) buffer[n++] = groupByte(static_cast<uint32_t>(sentNumber));
    if (hasBlock) buffer[n++] = groupByte(static_cast<uint32_t>(sentBlock));
    for (int g = groups - 1; g >= 0; --g) buffer[n++] = groupByte(value >> (kGroupBits * g));
    return n;
}

void SendRequest(Transport& transport, const ValueRecord& record, uint8_t kind) {
    uint8_t buffer[kRequestBufferSize];
    const int length = encodeRequest(record, kind, buffer);
    transport.write(buffer, static_cast<size_t>(length));
}

}  // namespace tavir
