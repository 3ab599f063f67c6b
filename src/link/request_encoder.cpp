#include "link/request_encoder.h"

#include <cstring>

namespace tavir {
namespace {

constexpr uint8_t kHeaderBit = 0x80;
constexpr uint8_t kLongFormBit = 0x10;
constexpr uint8_t kDataBit = 0x40;
constexpr uint8_t kFlagBit = 0x20;

// One 6-bit group with the data bit. Numbers are shifted arithmetically before they get here,
// values logically.
uint8_t G(int32_t x) {
    return static_cast<uint8_t>(kDataBit | (x & 0x3F));
}
uint8_t G(uint32_t x) {
    return static_cast<uint8_t>(kDataBit | (x & 0x3Fu));
}

// How many 6-bit groups a written value needs; 0 and 1 travel as the flag of the sub byte.
int valueGroups(uint32_t value) {
    if (value <= 1u) return 0;
    if (value <= 0x3Fu) return 1;
    if (value <= 0xFFFu) return 2;
    if (value <= 0x3FFFFu) return 3;
    if (value <= 0xFFFFFFu) return 4;
    if (value <= 0x3FFFFFFFu) return 5;
    return 6;
}

}  // namespace

int encodeRequest(const ValueRecord& record, uint8_t kind, uint8_t* buffer) {
    std::memset(buffer, 0, kRequestBufferSize);
    kind = static_cast<uint8_t>(kind & 0x60);
    const int category = (record.functionCode >> 5) & 0x0F;
    const uint8_t sub = static_cast<uint8_t>(record.functionCode & 0x1F);
    const int32_t number = record.number;
    const uint32_t value = static_cast<uint32_t>(record.value);

    int n = 0;
    buffer[n++] = static_cast<uint8_t>(kHeaderBit | kind | category);

    switch (category) {
        case 15:
            buffer[0] |= kLongFormBit;
            buffer[n++] = kDataBit | 5;
            buffer[n++] = kDataBit | sub;
            buffer[n++] = G(value >> 18);
            buffer[n++] = G(value >> 12);
            buffer[n++] = G(value >> 6);
            buffer[n++] = G(value);
            return n;
        case 0:
            // Category 0 has no sub-number on the wire; its flag stands for any non-zero value.
            buffer[0] |= kLongFormBit;
            buffer[n++] = kDataBit | 3;
            buffer[n++] = static_cast<uint8_t>(kDataBit | (value != 0 ? kFlagBit : 0));
            buffer[n++] = G(number >> 6);
            buffer[n++] = G(number);
            return n;
        case 13:
            buffer[0] |= kLongFormBit;
            buffer[n++] = kDataBit | 3;
            buffer[n++] = static_cast<uint8_t>(kDataBit | sub | (value != 0 ? kFlagBit : 0));
            buffer[n++] = G(number >> 6);
            buffer[n++] = G(number);
            return n;
        case 14:
            buffer[0] |= kLongFormBit;
            buffer[n++] = kDataBit | 5;
            buffer[n++] = kDataBit | sub;
            buffer[n++] = G(number >> 6);
            buffer[n++] = G(number);
            buffer[n++] = G(value >> 6);
            buffer[n++] = G(value);
            return n;
        case 1:
            buffer[0] |= kLongFormBit;
            buffer[n++] = kDataBit | 7;
            buffer[n++] = kDataBit | sub;
            buffer[n++] = G(number >> 10);
            buffer[n++] = G(number >> 4);
            buffer[n++] = static_cast<uint8_t>(kDataBit | (number & 0x0F));
            buffer[n++] = G(value >> 10);
            buffer[n++] = G(value >> 4);
            buffer[n++] = static_cast<uint8_t>(kDataBit | (value & 0x0Fu));
            return n;
        default:
            break;
    }

    const bool hasBlock = (record.block & 0xFF) != 0xFF;
    // Without number and block the frame would be two bytes, shorter than any the controller
    // can receive; a zero group stands in the number's place so that the frame stays whole.
    const bool neither = number == -1 && !hasBlock;
    const bool hasNumber = number != -1 || neither;
    const int32_t sentNumber = neither ? 0 : number;

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
    if (hasNumber) buffer[n++] = G(sentNumber);
    if (hasBlock) buffer[n++] = G(record.block);
    for (int g = groups - 1; g >= 0; --g) buffer[n++] = G(value >> (6 * g));
    return n;
}

void SendRequest(Transport& transport, const ValueRecord& record, uint8_t kind) {
    uint8_t buffer[kRequestBufferSize];
    const int length = encodeRequest(record, kind, buffer);
    transport.write(buffer, static_cast<size_t>(length));
}

}  // namespace tavir
