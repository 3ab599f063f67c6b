// What the encoder writes, the decoder reads back, within what each layout can carry. The
// exceptions, all fixed by the frame layouts:
// - category 0 carries no sub-number on the wire, and the decoder reads no number for it: the
//   low group of the number arrives as the value;
// - category 13 carries only a flag as its value, set for any non-zero value;
// - categories 1, 13 and 14 carry 16-, 12- and 12-bit numbers, 1 and 14 16- and 12-bit values,
//   15 a 24-bit value and no number;
// - categories 2 to 12 carry numbers and blocks in one 6-bit group each, and only in the places
//   the category has them; a record that holds both where the category has one is a different
//   frame and is not part of this property.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "link/frame_decoder.h"
#include "link/request_encoder.h"
#include "link_fakes.h"

namespace tavir {
namespace {

using testing::makeRecord;
using testing::sameRecord;

bool categoryHasNumber(int category) {
    return category == 2 || category == 3 || category == 6 || category == 7 ||
           (category >= 8 && category <= 12);
}

bool categoryHasBlock(int category) {
    return category == 4 || category == 5 || category == 6 || category == 7 || category == 11 ||
           category == 12;
}

// The record a Write of `sent` comes back as.
ValueRecord expectedBack(const ValueRecord& sent) {
    const int category = sent.functionCode >> 5;
    const uint32_t value = static_cast<uint32_t>(sent.value);
    switch (category) {
        case 0:
            return makeRecord(0, 0, 0, sent.number & 0x3F);
        case 1:
            return makeRecord(sent.functionCode, sent.number & 0xFFFF, 0,
                              static_cast<int32_t>(value & 0xFFFF));
        case 13:
            return makeRecord(sent.functionCode, sent.number & 0xFFF, 0, sent.value != 0 ? 1 : 0);
        case 14:
            return makeRecord(sent.functionCode, sent.number & 0xFFF, 0, static_cast<int32_t>(value & 0xFFF));
        case 15:
            return makeRecord(sent.functionCode, 0, 0, static_cast<int32_t>(value & 0xFFFFFF));
        default:
            return makeRecord(sent.functionCode, categoryHasNumber(category) ? sent.number & 0x3F : 0,
                              categoryHasBlock(category) ? sent.block & 0x3F : 0, sent.value);
    }
}

TEST(RoundTrip, WriteFramesDecodeToTheirRecords) {
    const int32_t numbers[] = {0, 1, 7, 63, 64, 80, 4095, 4096, 65535, 70000};
    const int32_t blocks[] = {0, 1, 47, 63};
    const int32_t values[] = {0,          1,         2,       63,        64,        0xFFF,
                              0x1000,     0x3FFFF,   0x40000, 0xFFFFFF,  0x1000000, 0x3FFFFFFF,
                              0x40000000, INT32_MAX, -1,      INT32_MIN, -123456};
    const int subs[] = {0, 17, 31};

    FrameDecoder decoder;  // one decoder for the whole stream: every frame must end where it should
    testing::RecordedDelivery delivery;
    decoder.delivery = &delivery;
    uint8_t buffer[kRequestBufferSize];
    int frames = 0;
    for (int category = 0; category < 16; ++category) {
        for (int sub : subs) {
            for (int32_t number : numbers) {
                for (int32_t block : blocks) {
                    for (int32_t value : values) {
                        const int32_t functionCode = category * 32 + sub;
                        ValueRecord sent = makeRecord(functionCode, number, block, value);
                        if (category >= 2 && category <= 12) {
                            if (!categoryHasNumber(category)) sent.number = -1;
                            if (!categoryHasBlock(category)) sent.block = -1;
                        }
                        const int length = encodeRequest(sent, kWrite, buffer);
                        ASSERT_LE(length, kLongestFrame);
                        delivery.records.clear();
                        for (int i = 0; i < length; ++i) {
                            ASSERT_EQ(decoder.FeedByte(buffer[i]), i == length - 1 ? 1 : 0)
                                << "fc " << functionCode << " byte " << i;
                        }
                        ASSERT_EQ(delivery.records.size(), 1u);
                        EXPECT_EQ(delivery.records[0].kind, kWrite);
                        EXPECT_TRUE(sameRecord(delivery.records[0].record, expectedBack(sent)))
                            << "sent " << testing::describe(sent);
                        ++frames;
                    }
                }
            }
        }
    }
    EXPECT_EQ(frames, 16 * 3 * 10 * 4 * 17);
}

// Requests of the other kinds decode to the same address with no value.
TEST(RoundTrip, RequestKindsKeepTheAddress) {
    const ValueRecord records[] = {makeRecord(69, 7, -1, 1),    makeRecord(384, 3, 5, 40),
                                   makeRecord(133, -1, 8, 9),   makeRecord(450, 300, -1, 7),
                                   makeRecord(35, 4660, -1, 2), makeRecord(481, -1, -1, 5)};
    const uint8_t kinds[] = {kStop, kMonitor, kRead};
    FrameDecoder decoder;
    testing::RecordedDelivery delivery;
    decoder.delivery = &delivery;
    uint8_t buffer[kRequestBufferSize];
    for (const ValueRecord& record : records) {
        for (uint8_t kind : kinds) {
            delivery.records.clear();
            const int length = encodeRequest(record, kind, buffer);
            for (int i = 0; i < length; ++i) decoder.FeedByte(buffer[i]);
            ASSERT_EQ(delivery.records.size(), 1u);
            EXPECT_EQ(delivery.records[0].kind, kind);
            ValueRecord expected = expectedBack(record);
            expected.value = 0;
            EXPECT_TRUE(sameRecord(delivery.records[0].record, expected)) << testing::describe(record);
        }
    }
}

}  // namespace
}  // namespace tavir
