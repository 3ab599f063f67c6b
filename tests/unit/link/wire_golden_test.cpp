// Frames with their bytes written out, in both directions: what the encoder must send and what
// the decoder must make of what it receives; and the property that the two agree.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "link/request_encoder.h"
#include "link_fakes.h"

namespace tavir {
namespace {

// Frames as byte strings: every byte of a frame is non-zero.
using Bytes = std::string;

TEST(RequestEncoder, GoldenFrames) {
    const std::tuple<ValueRecord, uint8_t, Bytes> rows[] = {
        {{384, 3, 5, 0, 40}, kWrite, "\xBC\x44\x40\x43\x45\x68"},   // category 12
        {{69, 7, -1, 0, 1}, kWrite, "\xA2\x65\x47"},                // Write of 1 is the flag
        {{69, 7, -1, 0, 0}, kWrite, "\xA2\x45\x47"},                // Write of 0
        {{69, 7, -1, 0, 2}, kWrite, "\xB2\x43\x45\x47\x42"},        // Write of 2 needs a group
        {{69, 7, -1, 0, 1}, kRead, "\xE2\x65\x47"},                 // Read of a value 1 carries the flag
        {{69, 7, -1, 0, 4000}, kRead, "\xE2\x45\x47"},              // Read never carries groups
        {{69, 7, -1, 0, 0}, 0xFF, "\xE2\x45\x47"},                  // kind bits outside 6..5 are ignored
        {{320, 3, -1, 0, 63}, kWrite, "\xBA\x43\x40\x43\x7F"},      // 63 in one group
        {{320, 3, -1, 0, 64}, kWrite, "\xBA\x44\x40\x43\x41\x40"},  // 64 in two groups
        // 0x3FFFFFFF: five groups
        {{320, 3, -1, 0, 0x3FFFFFFF}, kWrite, "\xBA\x47\x40\x43\x7F\x7F\x7F\x7F\x7F"},
        {{320, 3, -1, 0, -1}, kWrite, "\xBA\x48\x40\x43\x43\x7F\x7F\x7F\x7F\x7F"},  // negative in six groups
        {{384, 3, 5, 0, INT32_MIN}, kWrite, "\xBC\x49\x40\x43\x45\x42\x40\x40\x40\x40\x40"},  // longest
        {{197, 7, 8, 0, 1}, kWrite, "\xB6\x43\x65\x47\x48"},   // number and block make it long
        {{133, -1, 8, 0, 3}, kWrite, "\xB4\x43\x45\x48\x43"},  // block only
        {{133, -1, 8, 0, 0}, kMonitor, "\xC4\x45\x48"},        // block only, short
        {{69, 7, 0x1FF, 0, 0}, kRead, "\xE2\x45\x47"},         // only the low byte of block marks none
        {{69, 70, -1, 0, 0}, kRead, "\xE2\x45\x46"},           // number beyond 63 keeps its low group
        {{64, -1, -1, 0, 0}, kRead, "\xE2\x40\x40"},           // neither number nor block: a zero number
        // neither, in a number-and-block category: zero number and block
        {{384, -1, -1, 0, 40}, kWrite, "\xBC\x44\x40\x40\x40\x68"},
        {{481, -1, -1, 0, 0x123456}, kWrite, "\xBF\x45\x41\x44\x63\x51\x56"},  // category 15
        // category 15 Stop sends the value
        {{481, -1, -1, 0, 0x123456}, kStop, "\x9F\x45\x41\x44\x63\x51\x56"},
        {{5, 130, -1, 0, 7}, kMonitor, "\xD0\x43\x60\x42\x42"},  // category 0: no sub-number, a flag
        {{0, -1, -1, 0, 0}, kRead, "\xF0\x43\x40\x7F\x7F"},      // category 0 number -1 shifts arithmetically
        {{417, 66, -1, 0, 5}, kWrite, "\xBD\x43\x61\x41\x42"},   // category 13: flag for any value
        // category 14 Read still sends the value
        {{450, 66, -1, 0, 65}, kRead, "\xFE\x45\x42\x41\x42\x41\x41"},
        {{35, 4660, -1, 0, 48879}, kWrite, "\xB1\x47\x43\x44\x63\x44\x6F\x6E\x4F"},  // category 1
        {{32, -1, -1, 0, 0}, kRead, "\xF1\x47\x40\x7F\x7F\x4F\x40\x40\x40"},         // category 1 number -1
    };
    for (const auto& [record, kind, frame] : rows) {
        uint8_t buffer[kRequestBufferSize];
        const int length = encodeRequest(record, kind, buffer);
        EXPECT_EQ(Bytes(buffer, buffer + length), frame) << ::testing::PrintToString(record);
    }
}

// Bytes fed to a fresh decoder, and the one frame they make: frames the encoder never sends, and
// the examples of the frame format. The frames it sends come back as the codec property says.
TEST(FrameDecoder, GoldenFrames) {
    const std::tuple<Bytes, uint8_t, ValueRecord> rows[] = {
        {"\xA2\x65\x47", kWrite, {69, 7, 0, 0, 1}},                // short, flag set
        {"\xB2\x44\x45\x47\x41\x42", kWrite, {69, 7, 0, 0, 66}},   // long, two value groups
        {"\xD2\x44\x45\x47\x41\x42", kMonitor, {69, 7, 0, 0, 0}},  // long Monitor has no value
        {"\xB2\x40\x65", kWrite, {69, 0, 0, 0, 1}},                // length 0 ends with the sub byte
        {"\xB2\x42\x65\x47", kWrite, {69, 7, 0, 0, 1}},            // length 2 carries only the flag
        {"\xA2\x45\xE0", kWrite, {69, 32, 0, 0, 0}},         // a Read header inside a frame is a body byte
        {"\xA2\xC5\xC7", kWrite, {69, 7, 0, 0, 0}},          // bit 7 of body bytes is not examined
        {"\x45\x7F\xA2\x45\x47", kWrite, {69, 7, 0, 0, 0}},  // idle bytes without bit 7 are ignored
        // category 0: no number, value by the general rule
        {"\xB0\x43\x60\x41\x42", kWrite, {0, 0, 0, 0, 2}},
        {"\xA0\x65\x47", kWrite, {5, 0, 0, 0, 1}},  // category 0 short: the flag
        // category 1 reads bits 3..0 of bytes 5 and 8
        {"\xB1\x47\x43\x44\x63\x74\x6F\x6E\x7F", kWrite, {35, 4660, 0, 0, 48879}},
        {"\xBF\x45\x40\x41\x40\x40\x40", kWrite, {480, 0, 0, 0, 262144}},  // category 15
    };
    for (const auto& [bytes, kind, record] : rows) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        testing::DecodedFrames decoded;
        // The frame ends with its last byte, not before.
        ASSERT_EQ(decoded.feed(bytes.substr(0, bytes.size() - 1)), 0);
        ASSERT_EQ(decoded.feed(bytes.substr(bytes.size() - 1)), 1);
        EXPECT_EQ(decoded.records[0].kind, kind);
        EXPECT_EQ(decoded.records[0].record, record);
    }
}

TEST(FrameDecoder, MalformedFramesAreDroppedWithTheirBreakingByte) {
    const std::pair<Bytes, int> rows[] = {
        {"\xA2\x45\xA0\x45\x47", 0},              // a Write header inside a frame abandons it
        {"\xA2\x45\xA0\xA2\x45\x47", 1},          // the abandoning header is lost, the next starts a frame
        {"\xB2\x05\x45\x47", 0},                  // length byte without bit 6
        {"\xB2\x44\x45\x07\x41\x42", 0},          // body byte without bit 6
        {"\xB2\x44\x45", 0},                      // a frame that stops half-way waits
        {"\xA2\x45\x47\xB2\x43\x45\x47\x42", 2},  // two frames back to back
    };
    for (const auto& [bytes, frames] : rows)
        EXPECT_EQ(testing::DecodedFrames().feed(bytes), frames) << ::testing::PrintToString(bytes);
}

// Bytes past a frame's end keep what an earlier frame left there, and the layouts that read
// fixed positions read them as they are.
TEST(FrameDecoder, StaleBytesAreReadWhereTheLayoutAsks) {
    const std::tuple<Bytes, Bytes, ValueRecord> rows[] = {
        // short category 6 takes its block from before
        {"\xB6\x44\x45\x47\x49\x43", "\xA6\x45\x4A", {197, 10, 7, 0, 0}},
        // short category 15 takes its value from before
        {"\xBF\x45\x40\x41\x42\x43\x44",
         "\xAF\x41\x42",
         {481, 0, 0, 0, (1 << 18) | (2 << 12) | (3 << 6) | 4}},
        // length 0 takes its number from before
        {"\xB2\x43\x45\x59\x42", "\xB2\x40\x45", {69, 0x19, 0, 0, 0}},
    };
    for (const auto& [earlier, frame, record] : rows) {
        testing::DecodedFrames decoded;
        ASSERT_EQ(decoded.feed(earlier + frame), 2) << ::testing::PrintToString(frame);
        EXPECT_EQ(decoded.records[1].record, record) << ::testing::PrintToString(frame);
    }
}

// 63 body bytes fill the frame buffer to its last counted place; the value keeps its low 32 bits.
TEST(FrameDecoder, LongestFrame) {
    Bytes bytes = "\xB2\x7F\x45\x47\x7F";  // the first value group falls off the top
    bytes.insert(bytes.end(), 59, 0x40);
    bytes.push_back(0x61);
    testing::DecodedFrames decoded;
    ASSERT_EQ(decoded.feed(bytes), 1);
    EXPECT_EQ(decoded.decoder.index, 64);
    EXPECT_EQ(decoded.records[0].record, (ValueRecord{69, 7, 0, 0, 0x21}));
}

// The encoder and the decoder agree: every request, over many generated records of every
// category and kind, comes back from the decoder as what its category carries. All frames go
// through one decoder, so each must also end exactly where it should.
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
