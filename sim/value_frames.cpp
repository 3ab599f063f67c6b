#include "value_frames.h"

#include "link/request_encoder.h"

namespace tavir::sim {

int encodeValueFrame(const SimAddress& address, int32_t value, uint8_t* buffer) {
    SimAddress a = normalizeAddress(address);
    int category = categoryOf(a.functionCode);
    ValueRecord record;
    record.functionCode = a.functionCode;
    record.number = categoryHasNumber(category) ? a.number : -1;
    record.block = categoryHasBlock(category) ? a.block : 0xFF;
    record.value = value;
    if (category == 0) {
        record.functionCode = 2 * 32;
        record.value = value != 0;
        int length = encodeRequest(record, kWrite, buffer);
        buffer[0] = static_cast<uint8_t>(buffer[0] & 0xF0);
        return length;
    }
    return encodeRequest(record, kWrite, buffer);
}

int32_t wireValue(const SimAddress& address, int32_t value) {
    uint32_t mask = categoryValueMask(categoryOf(address.functionCode & 0x1FF));
    if (mask == 1) return value != 0;
    return static_cast<int32_t>(static_cast<uint32_t>(value) & mask);
}

ClientRequest requestFromFrame(uint8_t kind, const ValueRecord& record, const uint8_t* frame) {
    ClientRequest request;
    request.kind = kind;
    request.address = {record.functionCode, record.number, record.block};
    request.value = record.value;
    bool longForm = (frame[0] & 0x10) != 0;
    if ((frame[0] & 0x0F) == 0) {
        int sub = longForm ? 2 : 1;
        request.value = kind == kWrite ? (frame[sub] >> 5) & 1 : 0;
        request.address.number = 0;
        if (longForm && (frame[1] & 0x3F) >= 3) {
            request.address.number = ((frame[3] & 0x3F) << 6) | (frame[4] & 0x3F);
        }
    }
    request.address = normalizeAddress(request.address);
    return request;
}

int frameLength(const uint8_t* frame) {
    if ((frame[0] & 0x10) == 0) return 3;
    int body = frame[1] & 0x3F;
    return 2 + (body < 1 ? 1 : body);
}

const char* requestKindName(uint8_t kind) {
    switch (kind & 0x60) {
        case kStop:
            return "Stop";
        case kWrite:
            return "Write";
        case kMonitor:
            return "Monitor";
        default:
            return "Read";
    }
}

bool isDumpCommand(uint8_t byte) {
    return byte == 'V' || byte == 'M' || byte == 'O' || byte == 'A';
}

}  // namespace tavir::sim
