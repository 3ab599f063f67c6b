#pragma once
// The frame format of the controller link, in one place: the bits of the header and body bytes,
// and what each category of function code carries and where. The frame decoder, the request
// encoder and the simulator all read it from here.
#include <cstdint>

namespace tavir {

// Request kinds: bits 6..5 of a frame's header. A received frame of kind Write carries a value.
enum RequestKind : uint8_t {
    kStop = 0x00,
    kWrite = 0x20,
    kMonitor = 0x40,
    kRead = 0x60,
};

namespace wire {

// The header byte: bit 7 starts a frame, bits 6..5 are the kind, bit 4 announces a length byte,
// bits 3..0 are the category.
constexpr uint8_t kHeaderBit = 0x80;
constexpr uint8_t kKindMask = 0x60;
constexpr uint8_t kLongFormBit = 0x10;
constexpr uint8_t kCategoryMask = 0x0F;

// Every byte after the header has bit 6 set and carries a 6-bit group in bits 5..0. The sub byte
// holds the sub-number in bits 4..0 and a one-bit value, the flag, in bit 5.
constexpr uint8_t kDataBit = 0x40;
constexpr uint8_t kGroupMask = 0x3F;
constexpr uint8_t kFlagBit = 0x20;
constexpr uint8_t kSubMask = 0x1F;
constexpr int kGroupBits = 6;

// A function code is the category times 32 plus the sub-number.
constexpr int kFunctionCodes = 512;
constexpr int kCategories = 16;
constexpr int categoryOf(int32_t functionCode) {
    return (functionCode >> 5) & kCategoryMask;
}
constexpr int subNumberOf(int32_t functionCode) {
    return functionCode & kSubMask;
}

// The byte of one 6-bit group.
constexpr uint8_t groupByte(uint32_t bits) {
    return static_cast<uint8_t>(kDataBit | (bits & kGroupMask));
}

// What a category carries. Categories 2 to 12 follow the general rule: short or long form, the
// number and the block one group each, the value in as many groups as it needs (or as the flag).
// The others have a layout of their own, always in the long form: after the sub byte, the number
// and then the value in fixed groups from position 3 on.
struct CategoryLayout {
    int numberBits;    // 0: none
    bool hasBlock;     // one group
    int valueBits;     // 1: the flag of the sub byte; 32: as many groups as it needs
    bool generalRule;  // categories 2 to 12
};

constexpr CategoryLayout kCategoryLayouts[kCategories] = {
    {12, false, 1, false},   // 0: no sub-number on the wire; received by the general rule, see below
    {16, false, 16, false},  // 1
    {6, false, 32, true},    // 2
    {6, false, 32, true},    // 3
    {0, true, 32, true},     // 4
    {0, true, 32, true},     // 5
    {6, true, 32, true},     // 6
    {6, true, 32, true},     // 7
    {6, false, 32, true},    // 8
    {6, false, 32, true},    // 9
    {6, false, 32, true},    // 10
    {6, true, 32, true},     // 11
    {6, true, 32, true},     // 12
    {12, false, 1, false},   // 13
    {12, false, 12, false},  // 14
    {0, false, 24, false},   // 15
};

constexpr const CategoryLayout& layoutOf(int category) {
    return kCategoryLayouts[category & kCategoryMask];
}
constexpr bool categoryHasNumber(int category) {
    return layoutOf(category).numberBits != 0;
}
constexpr bool categoryHasBlock(int category) {
    return layoutOf(category).hasBlock;
}
constexpr uint32_t bitMask(int bits) {
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}
// The widest number and value a category carries, as masks.
constexpr uint32_t categoryNumberMask(int category) {
    return bitMask(layoutOf(category).numberBits);
}
constexpr uint32_t categoryValueMask(int category) {
    return bitMask(layoutOf(category).valueBits);
}

// Category 0 is sent in a layout of its own (a 12-bit number, the flag for any value other than
// 0) but received by the general rule with neither number nor block, so that the low group of a
// sent number arrives where the value is read.
constexpr bool receivedByGeneralRule(int category) {
    return layoutOf(category).generalRule || (category & kCategoryMask) == 0;
}
constexpr bool receivedNumber(int category) {
    return layoutOf(category).generalRule && categoryHasNumber(category);
}

// The fixed layouts. A field of n bits takes (n + 5) / 6 groups, most significant first; the
// last group holds what is left (the low 4 bits of a 16-bit field).
constexpr int kFixedFirstPosition = 3;
constexpr int fieldGroups(int bits) {
    return bits <= 1 ? 0 : (bits + kGroupBits - 1) / kGroupBits;
}
constexpr int fieldGroupWidth(int bits, int group) {
    return bits - kGroupBits * group < kGroupBits ? bits - kGroupBits * group : kGroupBits;
}
constexpr int fieldGroupShift(int bits, int group) {
    return bits - kGroupBits * (group + 1) > 0 ? bits - kGroupBits * (group + 1) : 0;
}
// Body bytes after the length byte: the sub byte, the number and the value.
constexpr int fixedBodyLength(int category) {
    return 1 + fieldGroups(layoutOf(category).numberBits) + fieldGroups(layoutOf(category).valueBits);
}

// The general rule. A written value takes as many groups as it needs, compared unsigned; 0 and 1
// travel as the flag. The value groups start at position 4, or 5 when the category has both a
// number and a block.
constexpr int valueGroups(uint32_t value) {
    int groups = 0;
    if (value > 1u) {
        for (; value != 0; value >>= kGroupBits) ++groups;
    }
    return groups;
}
constexpr int firstValuePosition(int category) {
    return receivedNumber(category) && categoryHasBlock(category) ? 5 : 4;
}

// The longest request: header, length byte, sub byte, number, block and six value groups. The
// longest frame that can be received: header, length byte and the 63 body bytes it can count.
constexpr int kLongestRequest = 11;
constexpr int kLongestReceivedFrame = 2 + kGroupMask;

}  // namespace wire
}  // namespace tavir
