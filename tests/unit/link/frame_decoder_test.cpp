#include "link/frame_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link_fakes.h"

namespace tavir {
namespace {

using testing::makeRecord;
using testing::RecordedDelivery;
using testing::sameRecord;

// Feeds bytes to the decoder and gives the positions at which FeedByte reported a frame.
std::vector<size_t> feed(FrameDecoder& decoder, const std::vector<uint8_t>& bytes) {
    std::vector<size_t> completed;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (decoder.FeedByte(bytes[i]) == 1) completed.push_back(i);
    }
    return completed;
}

struct FrameCase {
    const char* name;
    std::vector<uint8_t> bytes;  // fed to a fresh decoder
    uint8_t kind;                // of the one frame expected
    ValueRecord expected;
};

TEST(FrameDecoder, OneFramePerStream) {
    const FrameCase cases[] = {
        {"short, flag clear", {0xA2, 0x45, 0x47}, kWrite, makeRecord(69, 7, 0, 0)},
        {"short, flag set", {0xA2, 0x65, 0x47}, kWrite, makeRecord(69, 7, 0, 1)},
        {"short Read carries no value", {0xE2, 0x65, 0x47}, kRead, makeRecord(69, 7, 0, 0)},
        {"long, two value groups", {0xB2, 0x44, 0x45, 0x47, 0x41, 0x42}, kWrite, makeRecord(69, 7, 0, 66)},
        {"long, kind Read", {0xF2, 0x44, 0x45, 0x47, 0x41, 0x42}, kRead, makeRecord(69, 7, 0, 0)},
        {"long, kind Monitor", {0xD2, 0x44, 0x45, 0x47, 0x41, 0x42}, kMonitor, makeRecord(69, 7, 0, 0)},
        {"long, kind Stop", {0x92, 0x44, 0x45, 0x47, 0x41, 0x42}, kStop, makeRecord(69, 7, 0, 0)},
        {"length 0 ends with the sub byte", {0xB2, 0x40, 0x65}, kWrite, makeRecord(69, 0, 0, 1)},
        {"length 2 still carries only the flag", {0xB2, 0x42, 0x65, 0x47}, kWrite, makeRecord(69, 7, 0, 1)},
        {"length 3 carries one group", {0xB2, 0x43, 0x65, 0x47, 0x43}, kWrite, makeRecord(69, 7, 0, 3)},
        {"header of kind Read inside a frame is a body byte",
         {0xA2, 0x45, 0xE0},
         kWrite,
         makeRecord(69, 32, 0, 0)},
        {"bit 7 of body bytes is not examined", {0xA2, 0xC5, 0xC7}, kWrite, makeRecord(69, 7, 0, 0)},
        {"idle bytes without bit 7 are ignored",
         {0x45, 0x7F, 0x00, 0xA2, 0x45, 0x47},
         kWrite,
         makeRecord(69, 7, 0, 0)},
        {"category 0 has no number, value by the general rule",
         {0xB0, 0x43, 0x60, 0x41, 0x42},
         kWrite,
         makeRecord(0, 0, 0, 2)},
        {"category 0 short form gives the flag", {0xA0, 0x65, 0x47}, kWrite, makeRecord(5, 0, 0, 1)},
        {"category 1 fixed layout",
         {0xB1, 0x47, 0x43, 0x44, 0x63, 0x44, 0x6F, 0x6E, 0x4F},
         kWrite,
         makeRecord(35, 4660, 0, 48879)},
        {"category 1 reads only bits 3..0 of bytes 5 and 8",
         {0xB1, 0x47, 0x43, 0x44, 0x63, 0x74, 0x6F, 0x6E, 0x7F},
         kWrite,
         makeRecord(35, 4660, 0, 48879)},
        {"category 1 Read has its number, no value",
         {0xF1, 0x47, 0x43, 0x44, 0x63, 0x44, 0x6F, 0x6E, 0x4F},
         kRead,
         makeRecord(35, 4660, 0, 0)},
        {"category 4 has a block only", {0xB4, 0x43, 0x45, 0x48, 0x43}, kWrite, makeRecord(133, 0, 8, 3)},
        {"category 6 both, value from byte 5",
         {0xB6, 0x44, 0x45, 0x47, 0x48, 0x43},
         kWrite,
         makeRecord(197, 7, 8, 3)},
        {"category 6 length 3 gives the flag",
         {0xB6, 0x43, 0x65, 0x47, 0x48},
         kWrite,
         makeRecord(197, 7, 8, 1)},
        {"category 12 example", {0xBC, 0x44, 0x40, 0x43, 0x45, 0x68}, kWrite, makeRecord(384, 3, 5, 40)},
        {"category 13 value is the flag", {0xBD, 0x43, 0x61, 0x41, 0x42}, kWrite, makeRecord(417, 66, 0, 1)},
        {"category 13 Monitor", {0xDD, 0x43, 0x61, 0x41, 0x42}, kMonitor, makeRecord(417, 66, 0, 0)},
        {"category 14 12-bit number and value",
         {0xBE, 0x45, 0x42, 0x41, 0x42, 0x7F, 0x7F},
         kWrite,
         makeRecord(450, 66, 0, 4095)},
        {"category 15 value 262144",
         {0xBF, 0x45, 0x40, 0x41, 0x40, 0x40, 0x40},
         kWrite,
         makeRecord(480, 0, 0, 262144)},
        {"category 15 largest value",
         {0xBF, 0x45, 0x5F, 0x7F, 0x7F, 0x7F, 0x7F},
         kWrite,
         makeRecord(511, 0, 0, 0xFFFFFF)},
    };
    for (const FrameCase& c : cases) {
        FrameDecoder decoder;
        RecordedDelivery delivery;
        decoder.delivery = &delivery;
        const std::vector<size_t> completed = feed(decoder, c.bytes);
        ASSERT_EQ(completed.size(), 1u) << c.name;
        EXPECT_EQ(completed[0], c.bytes.size() - 1) << c.name;
        ASSERT_EQ(delivery.records.size(), 1u) << c.name;
        EXPECT_EQ(delivery.records[0].kind, c.kind) << c.name;
        EXPECT_TRUE(sameRecord(delivery.records[0].record, c.expected)) << c.name;
        EXPECT_EQ(decoder.state, 0) << c.name;
    }
}

TEST(FrameDecoder, MalformedFramesAreDroppedWithTheirBreakingByte) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t frames;
    } cases[] = {
        {"header of kind Write inside a frame abandons it", {0xA2, 0x45, 0xA0, 0x45, 0x47}, 0},
        {"header of kind Stop inside a frame abandons it", {0xA2, 0x85, 0x45, 0x47}, 0},
        {"the abandoning header is lost, the next one starts a frame",
         {0xA2, 0x45, 0xA0, 0xA2, 0x45, 0x47},
         1},
        {"length byte without bit 6", {0xB2, 0x05, 0x45, 0x47}, 0},
        {"length byte that is a header", {0xB2, 0x92, 0x45, 0x47}, 0},
        {"body byte without bit 6 in a long frame", {0xB2, 0x44, 0x45, 0x07, 0x41, 0x42}, 0},
        {"a frame that stops half-way waits for more", {0xB2, 0x44, 0x45}, 0},
        {"header alone", {0xA2}, 0},
        {"two frames back to back", {0xA2, 0x45, 0x47, 0xB2, 0x43, 0x45, 0x47, 0x42}, 2},
    };
    for (const Case& c : cases) {
        FrameDecoder decoder;
        RecordedDelivery delivery;
        decoder.delivery = &delivery;
        EXPECT_EQ(feed(decoder, c.bytes).size(), c.frames) << c.name;
        EXPECT_EQ(delivery.records.size(), c.frames) << c.name;
    }
}

TEST(FrameDecoder, HalfFrameContinuesAcrossCalls) {
    FrameDecoder decoder;
    RecordedDelivery delivery;
    decoder.delivery = &delivery;
    EXPECT_TRUE(feed(decoder, {0xB2, 0x44}).empty());
    EXPECT_EQ(decoder.state, 2);
    EXPECT_TRUE(feed(decoder, {0x45, 0x47, 0x41}).empty());
    EXPECT_EQ(feed(decoder, {0x42}).size(), 1u);
    ASSERT_EQ(delivery.records.size(), 1u);
    EXPECT_EQ(delivery.records[0].record.value, 66);
}

// Bytes beyond a frame keep what an earlier frame left there, and the layouts that read fixed
// positions read them as they are.
TEST(FrameDecoder, StaleBufferBytesAreReadWhereTheLayoutAsks) {
    struct Case {
        const char* name;
        std::vector<uint8_t> earlier;
        std::vector<uint8_t> frame;
        ValueRecord expected;
    } cases[] = {
        {"short category 6 takes its block from an earlier frame",
         {0xB6, 0x44, 0x45, 0x47, 0x49, 0x43},
         {0xA6, 0x45, 0x4A},
         makeRecord(197, 10, 7, 0)},
        {"short category 15 takes its value from an earlier frame",
         {0xBF, 0x45, 0x40, 0x41, 0x42, 0x43, 0x44},
         {0xAF, 0x41, 0x42},
         makeRecord(481, 0, 0, (1 << 18) | (2 << 12) | (3 << 6) | 4)},
        {"short category 14 takes number and value from an earlier frame",
         {0xBE, 0x45, 0x40, 0x41, 0x42, 0x43, 0x44},
         {0xAE, 0x41, 0x7F},
         makeRecord(449, 66, 0, (3 << 6) | 4)},
        {"length 0 of category 2 takes its number from an earlier frame",
         {0xB2, 0x43, 0x45, 0x59, 0x42},
         {0xB2, 0x40, 0x45},
         makeRecord(69, 0x19, 0, 0)},
        {"category 1 after a shorter frame reads what is left",
         {0xB1, 0x47, 0x40, 0x40, 0x40, 0x40, 0x41, 0x42, 0x43},
         {0xB1, 0x43, 0x40, 0x40, 0x41},
         makeRecord(32, 1 << 4, 0, (1 << 10) | (2 << 4) | 3)},
    };
    for (const Case& c : cases) {
        FrameDecoder decoder;
        RecordedDelivery delivery;
        decoder.delivery = &delivery;
        ASSERT_EQ(feed(decoder, c.earlier).size(), 1u) << c.name;
        delivery.records.clear();
        ASSERT_EQ(feed(decoder, c.frame).size(), 1u) << c.name;
        ASSERT_EQ(delivery.records.size(), 1u) << c.name;
        EXPECT_TRUE(sameRecord(delivery.records[0].record, c.expected)) << c.name;
    }
}

TEST(FrameDecoder, LongestFrameKeepsTheLow32BitsOfItsValue) {
    // 63 body bytes: sub, number, then 61 groups of all ones.
    std::vector<uint8_t> bytes = {0xB2, 0x7F, 0x45, 0x47};
    bytes.insert(bytes.end(), 61, 0x7F);
    FrameDecoder decoder;
    RecordedDelivery delivery;
    decoder.delivery = &delivery;
    const std::vector<size_t> completed = feed(decoder, bytes);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_EQ(completed[0], bytes.size() - 1);
    EXPECT_EQ(decoder.index, 64);
    ASSERT_EQ(delivery.records.size(), 1u);
    EXPECT_TRUE(sameRecord(delivery.records[0].record, makeRecord(69, 7, 0, -1)));

    // Six groups hold 36 bits; the top four fall off.
    const std::vector<uint8_t> six = {0xB2, 0x48, 0x45, 0x47, 0x7F, 0x60, 0x40, 0x40, 0x40, 0x41};
    delivery.records.clear();
    ASSERT_EQ(feed(decoder, six).size(), 1u);
    EXPECT_EQ(delivery.records[0].record.value, static_cast<int32_t>(0xE0000001u));
}

TEST(FrameDecoder, CompletedFrameCountsEvenWithoutDelivery) {
    FrameDecoder decoder;  // no delivery: records are dropped
    EXPECT_EQ(feed(decoder, {0xA2, 0x45, 0x47, 0xB2, 0x40, 0x45}), (std::vector<size_t>{2, 5}));
}

TEST(FrameDecoder, DecodeFrameAgreesWithFeedByte) {
    uint8_t buffer[kFrameBufferSize] = {0xBC, 0x44, 0x40, 0x43, 0x45, 0x68};
    buffer[kFrameBufferSize - 1] = 0x45;
    EXPECT_TRUE(sameRecord(decodeFrame(buffer, 5), makeRecord(384, 3, 5, 40)));
    // An index past the buffer is held to its last byte rather than read beyond it.
    EXPECT_TRUE(sameRecord(decodeFrame(buffer, 1000), makeRecord(384, 3, 5, 5)));
}

}  // namespace
}  // namespace tavir
