#include "link/frame_decoder.h"

namespace tavir {
namespace {

using namespace wire;

int32_t group(const uint8_t* buffer, int position) {
    return buffer[position] & kGroupMask;
}

// A field of a fixed layout: its groups from position on, most significant first.
int32_t fixedField(const uint8_t* buffer, int position, int bits) {
    uint32_t field = 0;
    for (int g = 0; g < fieldGroups(bits); ++g) {
        const int width = fieldGroupWidth(bits, g);
        field = (field << width) | (buffer[position + g] & bitMask(width));
    }
    return static_cast<int32_t>(field);
}

// The record of the complete frame in buffer (header at 0, last byte at index). Inlined into
// FeedByte: a frame is decoded once every few bytes, and the call would be a good part of its cost.
inline ValueRecord decodeComplete(const uint8_t* buffer, int index) {
    const uint8_t header = buffer[0];
    const int category = header & kCategoryMask;
    const bool carriesValue = (header & kKindMask) == kWrite;
    const bool isLong = (header & kLongFormBit) != 0;
    const int subPosition = isLong ? 2 : 1;
    const int32_t flag = (buffer[subPosition] & kFlagBit) ? 1 : 0;
    const CategoryLayout& layout = layoutOf(category);

    ValueRecord record;
    record.functionCode = category * 32 + (buffer[subPosition] & kSubMask);

    if (!receivedByGeneralRule(category)) {
        // Fixed positions in either form: a short frame reads what an earlier frame left there.
        record.number = fixedField(buffer, kFixedFirstPosition, layout.numberBits);
        if (carriesValue) {
            record.value = layout.valueBits == 1
                               ? flag
                               : fixedField(buffer, kFixedFirstPosition + fieldGroups(layout.numberBits),
                                            layout.valueBits);
        }
        return record;
    }

    const bool hasNumber = receivedNumber(category);
    const int firstAfterSub = subPosition + 1;
    if (hasNumber) record.number = group(buffer, firstAfterSub);
    if (layout.hasBlock) record.block = group(buffer, hasNumber ? firstAfterSub + 1 : firstAfterSub);
    if (!carriesValue) return record;

    // A long frame of length 1 or 2 still counts as 4, so that it carries only the flag.
    int length = 3;
    if (isLong) length = index + 1 < 4 ? 4 : index + 1;
    const int firstValue = firstValuePosition(category);
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

int FrameDecoder::FeedByte(uint8_t byte) {
    if (state == 0) {
        if (!(byte & wire::kHeaderBit)) return 0;
        buffer[0] = byte;
        index = 0;
        if (byte & wire::kLongFormBit) {
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
    if (!(byte & wire::kDataBit)) {
        state = 0;
        return 0;
    }
    if (state == 1) {
        remaining = static_cast<int16_t>(byte & wire::kGroupMask);
        state = 2;
        return 0;
    }
    const int left = remaining - 1;
    remaining = static_cast<int16_t>(left);
    if (left >= 1) return 0;

    state = 0;
    const ValueRecord record = decodeComplete(buffer, position);
    if (delivery) delivery->deliver(static_cast<uint8_t>(buffer[0] & wire::kKindMask), record);
    return 1;
}

}  // namespace tavir
