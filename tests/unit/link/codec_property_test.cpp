// The encoder and the decoder agree: every request, over many generated records of every
// category and kind, comes back from the decoder as what its category carries. All frames go
// through one decoder, so each must also end exactly where it should.
#include <gtest/gtest.h>

#include <random>

#include "link/request_encoder.h"
#include "link_fakes.h"

namespace tavir {
namespace {

using namespace wire;

int32_t pick(std::mt19937& random) {
    static const uint32_t kEdges[] = {0,          1,          2,          0x3F,      0x40,      0xFFF,
                                      0x1000,     0x3FFFF,    0x40000,    0xFFFFFF,  0x1000000, 0x3FFFFFFF,
                                      0x40000000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    if (random() % 2) return static_cast<int32_t>(kEdges[random() % std::size(kEdges)]);
    return static_cast<int32_t>(random() >> (random() % 32));
}

// A request as the callers make it: -1 and a low byte 0xFF for what a category of the general
// rule lacks, and never those where it has a number or block.
ValueRecord request(std::mt19937& random) {
    ValueRecord r{static_cast<int32_t>(random() % kFunctionCodes), pick(random), pick(random), 0,
                  pick(random)};
    const int category = categoryOf(r.functionCode);
    if (layoutOf(category).generalRule) {
        if (!categoryHasNumber(category))
            r.number = -1;
        else if (r.number == -1)
            r.number = 1;
        if (!categoryHasBlock(category))
            r.block = 0xFF;
        else if ((r.block & 0xFF) == 0xFF)
            r.block = 0;
    }
    return r;
}

ValueRecord expectedBack(const ValueRecord& sent, uint8_t kind) {
    const int category = categoryOf(sent.functionCode);
    const CategoryLayout& layout = layoutOf(category);
    const bool write = kind == kWrite;
    ValueRecord back{sent.functionCode, 0, 0, 0, 0};
    if (category == 0) {
        // Sent in its own layout, received by the general rule without a number: no sub-number,
        // and the low group of the number arrives as the value.
        back.functionCode = 0;
        back.value = write ? sent.number & kGroupMask : 0;
    } else if (layout.generalRule) {
        if (categoryHasNumber(category)) back.number = sent.number & kGroupMask;
        if (categoryHasBlock(category)) back.block = sent.block & kGroupMask;
        back.value = write ? sent.value : 0;
    } else {
        back.number = static_cast<int32_t>(static_cast<uint32_t>(sent.number) & categoryNumberMask(category));
        const uint32_t value = static_cast<uint32_t>(sent.value);
        if (write)
            back.value = layout.valueBits == 1 ? value != 0
                                               : static_cast<int32_t>(value & categoryValueMask(category));
    }
    return back;
}

TEST(Codec, EveryRequestDecodesToWhatItsCategoryCarries) {
    std::mt19937 random(20240611);
    testing::DecodedFrames delivery;
    const uint8_t kinds[] = {kStop, kWrite, kMonitor, kRead};
    for (int i = 0; i < 100000; ++i) {
        const ValueRecord sent = request(random);
        const uint8_t kind = kinds[random() % 4];
        uint8_t buffer[kRequestBufferSize];
        std::fill(std::begin(buffer), std::end(buffer), 0xCC);
        const int length = encodeRequest(sent, kind, buffer);
        ::testing::Message what;
        what << "sent " << ::testing::PrintToString(sent) << " kind " << int(kind);
        ASSERT_LE(length, kLongestFrame) << what;
        // The frame is the buffer up to its first unwritten byte, which is cleared.
        for (int at = 0; at < length; ++at) ASSERT_NE(buffer[at], 0) << what;
        ASSERT_EQ(buffer[length], 0) << what;

        delivery.records.clear();
        for (int at = 0; at < length; ++at)
            ASSERT_EQ(delivery.decoder.FeedByte(buffer[at]), at + 1 == length) << what;
        ASSERT_EQ(delivery.records.size(), 1u) << what;
        ASSERT_EQ(delivery.records[0].kind, kind) << what;
        ASSERT_EQ(delivery.records[0].record, expectedBack(sent, kind)) << what;
    }
}

}  // namespace
}  // namespace tavir
