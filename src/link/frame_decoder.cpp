#include "link/frame_decoder.h"

namespace tavir {
namespace {

constexpr uint8_t kHeaderBit = 0x80;
constexpr uint8_t kLongFormBit = 0x10;
constexpr uint8_t kDataBit = 0x40;
constexpr uint8_t kKindMask = 0x60;
constexpr uint8_t kFlagBit = 0x20;

int32_t group(const uint8_t* buffer, int position) {
    return buffer[position] & 0x3F;
}

// Number and block presence of the categories decoded by the general rule (2 to 12), one bit per
// category. Category 0 carries neither on receive; 1, 13, 14 and 15 have fixed layouts of their own.
constexpr uint16_t kNumberCategories = (1u << 2) | (1u << 3) | (1u << 6) | (1u << 7) | (1u << 8) | (1u << 9) |
                                       (1u << 10) | (1u << 11) | (1u << 12);
constexpr uint16_t kBlockCategories = (1u << 4) | (1u << 5) | (1u << 6) | (1u << 7) | (1u << 11) | (1u << 12);

// The body of decodeFrame, kept in this file so that FeedByte gets it inlined: a frame is
// decoded once every few bytes, and the call would be a good part of its cost.
inline ValueRecord decodeComplete(const uint8_t* buffer, int index) {
    const uint8_t header = buffer[0];
    const int category = header & 0x0F;
    const bool carriesValue = (header & kKindMask) == kWrite;
    const bool isLong = (header & kLongFormBit) != 0;
    const int subPosition = isLong ? 2 : 1;
    const int firstAfterSub = subPosition + 1;
    const int32_t flag = (buffer[subPosition] & kFlagBit) ? 1 : 0;

    ValueRecord record;
    record.functionCode = category * 32 + (buffer[subPosition] & 0x1F);

    switch (category) {
        case 1:
            record.number = (group(buffer, 3) << 10) | (group(buffer, 4) << 4) | (buffer[5] & 0x0F);
            if (carriesValue)
                record.value = (group(buffer, 6) << 10) | (group(buffer, 7) << 4) | (buffer[8] & 0x0F);
            return record;
        case 13:
            record.number = (group(buffer, 3) << 6) | group(buffer, 4);
            if (carriesValue) record.value = flag;
            return record;
        case 14:
            record.number = (group(buffer, 3) << 6) | group(buffer, 4);
            if (carriesValue) record.value = (group(buffer, 5) << 6) | group(buffer, 6);
            return record;
        case 15:
            if (carriesValue)
                record.value = (group(buffer, 3) << 18) | (group(buffer, 4) << 12) | (group(buffer, 5) << 6) |
                               group(buffer, 6);
            return record;
        default:
            break;
    }

    const bool hasNumber = (kNumberCategories >> category) & 1u;
    const bool hasBlock = (kBlockCategories >> category) & 1u;
    if (hasNumber) record.number = group(buffer, firstAfterSub);
    if (hasBlock) record.block = group(buffer, hasNumber ? firstAfterSub + 1 : firstAfterSub);
    if (!carriesValue) return record;

    // A long frame of length 1 or 2 still counts as 4, so that it carries only the flag.
    int length = 3;
    if (isLong) length = index + 1 < 4 ? 4 : index + 1;
    const int firstValue = (hasNumber && hasBlock) ? 5 : 4;
    if (length > firstValue) {
        // A frame may carry more groups than 32 bits hold; unsigned arithmetic keeps the low
        // 32 bits without overflow.
        uint32_t value = 0;
        for (int position = firstValue; position < length; ++position)
            value = value * 64u + static_cast<uint32_t>(group(buffer, position));
        record.value = static_cast<int32_t>(value);
    } else {
        record.value = flag;
    }
    return record;
}

}  // namespace

ValueRecord decodeFrame(const uint8_t* buffer, int index) {
    if (index < 2) index = 2;
    if (index > kFrameBufferSize - 1) index = kFrameBufferSize - 1;
    return decodeComplete(buffer, index);
}

int FrameDecoder::FeedByte(uint8_t byte) {
    if (state == 0) {
        if (!(byte & kHeaderBit)) return 0;
        buffer[0] = byte;
        index = 0;
        if (byte & kLongFormBit) {
            state = 1;
        } else {
            remaining = 2;
            state = 2;
        }
        return 0;
    }

    // Work on a local copy: a store into the byte buffer could otherwise alias the counters and
    // make the compiler reload them. The state machine never stores past position 64; the check
    // only guards against a state set from outside.
    const int position = index + 1;
    if (position < 1 || position >= kFrameBufferSize) {
        state = 0;
        return 0;
    }
    buffer[position] = byte;
    index = static_cast<int16_t>(position);
    if (!(byte & kDataBit)) {
        state = 0;
        return 0;
    }
    if (state == 1) {
        remaining = static_cast<int16_t>(byte & 0x3F);
        state = 2;
        return 0;
    }
    const int left = remaining - 1;
    remaining = static_cast<int16_t>(left);
    if (left >= 1) return 0;

    state = 0;
    const ValueRecord record = decodeComplete(buffer, position);
    if (delivery) delivery->deliver(static_cast<uint8_t>(buffer[0] & kKindMask), record);
    return 1;
}

}  // namespace tavir
