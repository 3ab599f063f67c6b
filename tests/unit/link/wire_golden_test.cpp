// Frames with their bytes written out, in both directions: what the encoder must send and what
// the decoder must make of what it receives.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link/frame_decoder.h"
#include "link/request_encoder.h"
#include "link_fakes.h"

namespace tavir {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::makeRecord;

TEST(RequestEncoder, GoldenFrames) {
    const struct {
        const char* name;
        ValueRecord record;
        uint8_t kind;
        Bytes frame;
    } rows[] = {
        {"category 12", makeRecord(384, 3, 5, 40), kWrite, {0xBC, 0x44, 0x40, 0x43, 0x45, 0x68}},
        {"Write of 1 is the flag", makeRecord(69, 7, -1, 1), kWrite, {0xA2, 0x65, 0x47}},
        {"Write of 0", makeRecord(69, 7, -1, 0), kWrite, {0xA2, 0x45, 0x47}},
        {"Write of 2 needs a group", makeRecord(69, 7, -1, 2), kWrite, {0xB2, 0x43, 0x45, 0x47, 0x42}},
        {"Read of a value 1 carries the flag", makeRecord(69, 7, -1, 1), kRead, {0xE2, 0x65, 0x47}},
        {"Read never carries groups", makeRecord(69, 7, -1, 4000), kRead, {0xE2, 0x45, 0x47}},
        {"Stop", makeRecord(69, 7, -1, 0), kStop, {0x82, 0x45, 0x47}},
        {"kind bits outside 6..5 are ignored", makeRecord(69, 7, -1, 0), 0xFF, {0xE2, 0x45, 0x47}},
        {"63 in one group", makeRecord(320, 3, -1, 63), kWrite, {0xBA, 0x43, 0x40, 0x43, 0x7F}},
        {"64 in two groups", makeRecord(320, 3, -1, 64), kWrite, {0xBA, 0x44, 0x40, 0x43, 0x41, 0x40}},
        {"0x3FFFFFFF in five groups",
         makeRecord(320, 3, -1, 0x3FFFFFFF),
         kWrite,
         {0xBA, 0x47, 0x40, 0x43, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F}},
        {"negative in six groups",
         makeRecord(320, 3, -1, -1),
         kWrite,
         {0xBA, 0x48, 0x40, 0x43, 0x43, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F}},
        {"longest: number, block, six groups",
         makeRecord(384, 3, 5, INT32_MIN),
         kWrite,
         {0xBC, 0x49, 0x40, 0x43, 0x45, 0x42, 0x40, 0x40, 0x40, 0x40, 0x40}},
        {"number and block make it long", makeRecord(197, 7, 8, 1), kWrite, {0xB6, 0x43, 0x65, 0x47, 0x48}},
        {"block only", makeRecord(133, -1, 8, 3), kWrite, {0xB4, 0x43, 0x45, 0x48, 0x43}},
        {"block only, short", makeRecord(133, -1, 8, 0), kMonitor, {0xC4, 0x45, 0x48}},
        {"only the low byte of block marks none", makeRecord(69, 7, 0x1FF, 0), kRead, {0xE2, 0x45, 0x47}},
        {"number beyond 63 keeps its low group", makeRecord(69, 70, -1, 0), kRead, {0xE2, 0x45, 0x46}},
        {"neither number nor block: a zero number", makeRecord(64, -1, -1, 0), kRead, {0xE2, 0x40, 0x40}},
        {"category 15",
         makeRecord(481, -1, -1, 0x123456),
         kWrite,
         {0xBF, 0x45, 0x41, 0x44, 0x63, 0x51, 0x56}},
        {"category 15 Stop still sends the value",
         makeRecord(481, -1, -1, 0x123456),
         kStop,
         {0x9F, 0x45, 0x41, 0x44, 0x63, 0x51, 0x56}},
        {"category 0: no sub-number, flag for any value",
         makeRecord(5, 130, -1, 7),
         kMonitor,
         {0xD0, 0x43, 0x60, 0x42, 0x42}},
        {"category 0 number -1 shifts arithmetically",
         makeRecord(0, -1, -1, 0),
         kRead,
         {0xF0, 0x43, 0x40, 0x7F, 0x7F}},
        {"category 13: flag for any value",
         makeRecord(417, 66, -1, 5),
         kWrite,
         {0xBD, 0x43, 0x61, 0x41, 0x42}},
        {"category 14 Read still sends the value",
         makeRecord(450, 66, -1, 65),
         kRead,
         {0xFE, 0x45, 0x42, 0x41, 0x42, 0x41, 0x41}},
        {"category 1",
         makeRecord(35, 4660, -1, 48879),
         kWrite,
         {0xB1, 0x47, 0x43, 0x44, 0x63, 0x44, 0x6F, 0x6E, 0x4F}},
        {"category 1 number -1",
         makeRecord(32, -1, -1, 0),
         kRead,
         {0xF1, 0x47, 0x40, 0x7F, 0x7F, 0x4F, 0x40, 0x40, 0x40}},
    };
    for (const auto& row : rows) {
        uint8_t buffer[kRequestBufferSize];
        const int length = encodeRequest(row.record, row.kind, buffer);
        EXPECT_EQ(Bytes(buffer, buffer + length), row.frame) << row.name;
    }
}

// Each request is one write of the whole frame: a frame split over two writes could interleave
// with a frame of the timer thread.
TEST(RequestEncoder, SendRequestWritesEachFrameWhole) {
    testing::RecordedTransport transport;
    SendRequest(transport, makeRecord(384, 3, 5, 40), kWrite);
    SendRequest(transport, makeRecord(69, 7, -1, 1), kRead);
    EXPECT_EQ(transport.writes,
              (std::vector<Bytes>{{0xBC, 0x44, 0x40, 0x43, 0x45, 0x68}, {0xE2, 0x65, 0x47}}));
}

// Bytes fed to a fresh decoder, and the one frame they make.
TEST(FrameDecoder, GoldenFrames) {
    const struct {
        const char* name;
        Bytes bytes;
        uint8_t kind;
        ValueRecord record;
    } rows[] = {
        {"short, flag clear", {0xA2, 0x45, 0x47}, kWrite, makeRecord(69, 7, 0, 0)},
        {"short, flag set", {0xA2, 0x65, 0x47}, kWrite, makeRecord(69, 7, 0, 1)},
        {"a Read carries no value", {0xE2, 0x65, 0x47}, kRead, makeRecord(69, 7, 0, 0)},
        {"long, two value groups", {0xB2, 0x44, 0x45, 0x47, 0x41, 0x42}, kWrite, makeRecord(69, 7, 0, 66)},
        {"long Monitor has no value",
         {0xD2, 0x44, 0x45, 0x47, 0x41, 0x42},
         kMonitor,
         makeRecord(69, 7, 0, 0)},
        {"length 0 ends with the sub byte", {0xB2, 0x40, 0x65}, kWrite, makeRecord(69, 0, 0, 1)},
        {"length 2 carries only the flag", {0xB2, 0x42, 0x65, 0x47}, kWrite, makeRecord(69, 7, 0, 1)},
        {"a Read header inside a frame is a body byte", {0xA2, 0x45, 0xE0}, kWrite, makeRecord(69, 32, 0, 0)},
        {"bit 7 of body bytes is not examined", {0xA2, 0xC5, 0xC7}, kWrite, makeRecord(69, 7, 0, 0)},
        {"idle bytes without bit 7 are ignored",
         {0x45, 0x00, 0xA2, 0x45, 0x47},
         kWrite,
         makeRecord(69, 7, 0, 0)},
        {"category 0: no number, value by the general rule",
         {0xB0, 0x43, 0x60, 0x41, 0x42},
         kWrite,
         makeRecord(0, 0, 0, 2)},
        {"category 0 short: the flag", {0xA0, 0x65, 0x47}, kWrite, makeRecord(5, 0, 0, 1)},
        {"category 1 reads bits 3..0 of bytes 5 and 8",
         {0xB1, 0x47, 0x43, 0x44, 0x63, 0x74, 0x6F, 0x6E, 0x7F},
         kWrite,
         makeRecord(35, 4660, 0, 48879)},
        {"category 4: a block only", {0xB4, 0x43, 0x45, 0x48, 0x43}, kWrite, makeRecord(133, 0, 8, 3)},
        {"category 6: value from byte 5",
         {0xB6, 0x44, 0x45, 0x47, 0x48, 0x43},
         kWrite,
         makeRecord(197, 7, 8, 3)},
        {"category 6 length 3: the flag", {0xB6, 0x43, 0x65, 0x47, 0x48}, kWrite, makeRecord(197, 7, 8, 1)},
        {"category 13: the flag", {0xBD, 0x43, 0x61, 0x41, 0x42}, kWrite, makeRecord(417, 66, 0, 1)},
        {"category 14", {0xBE, 0x45, 0x42, 0x41, 0x42, 0x7F, 0x7F}, kWrite, makeRecord(450, 66, 0, 4095)},
        {"category 15", {0xBF, 0x45, 0x40, 0x41, 0x40, 0x40, 0x40}, kWrite, makeRecord(480, 0, 0, 262144)},
    };
    for (const auto& row : rows) {
        FrameDecoder decoder;
        testing::RecordedDelivery delivery;
        decoder.delivery = &delivery;
        for (size_t i = 0; i < row.bytes.size(); ++i)
            ASSERT_EQ(decoder.FeedByte(row.bytes[i]), i + 1 == row.bytes.size() ? 1 : 0) << row.name;
        ASSERT_EQ(delivery.records.size(), 1u) << row.name;
        EXPECT_EQ(delivery.records[0].kind, row.kind) << row.name;
        EXPECT_EQ(delivery.records[0].record, row.record) << row.name;
    }
}

TEST(FrameDecoder, MalformedFramesAreDroppedWithTheirBreakingByte) {
    const struct {
        const char* name;
        Bytes bytes;
        int frames;
    } rows[] = {
        {"a Write header inside a frame abandons it", {0xA2, 0x45, 0xA0, 0x45, 0x47}, 0},
        {"the abandoning header is lost, the next starts a frame", {0xA2, 0x45, 0xA0, 0xA2, 0x45, 0x47}, 1},
        {"length byte without bit 6", {0xB2, 0x05, 0x45, 0x47}, 0},
        {"body byte without bit 6", {0xB2, 0x44, 0x45, 0x07, 0x41, 0x42}, 0},
        {"a frame that stops half-way waits", {0xB2, 0x44, 0x45}, 0},
        {"two frames back to back", {0xA2, 0x45, 0x47, 0xB2, 0x43, 0x45, 0x47, 0x42}, 2},
    };
    for (const auto& row : rows) {
        FrameDecoder decoder;  // no delivery: completed frames still count
        int frames = 0;
        for (uint8_t byte : row.bytes) frames += decoder.FeedByte(byte);
        EXPECT_EQ(frames, row.frames) << row.name;
    }
}

// Bytes past a frame's end keep what an earlier frame left there, and the layouts that read
// fixed positions read them as they are.
TEST(FrameDecoder, StaleBytesAreReadWhereTheLayoutAsks) {
    const struct {
        const char* name;
        Bytes earlier, frame;
        ValueRecord record;
    } rows[] = {
        {"short category 6 takes its block from before",
         {0xB6, 0x44, 0x45, 0x47, 0x49, 0x43},
         {0xA6, 0x45, 0x4A},
         makeRecord(197, 10, 7, 0)},
        {"short category 15 takes its value from before",
         {0xBF, 0x45, 0x40, 0x41, 0x42, 0x43, 0x44},
         {0xAF, 0x41, 0x42},
         makeRecord(481, 0, 0, (1 << 18) | (2 << 12) | (3 << 6) | 4)},
        {"length 0 takes its number from before",
         {0xB2, 0x43, 0x45, 0x59, 0x42},
         {0xB2, 0x40, 0x45},
         makeRecord(69, 0x19, 0, 0)},
    };
    for (const auto& row : rows) {
        FrameDecoder decoder;
        testing::RecordedDelivery delivery;
        decoder.delivery = &delivery;
        for (uint8_t byte : row.earlier) decoder.FeedByte(byte);
        for (uint8_t byte : row.frame) decoder.FeedByte(byte);
        ASSERT_EQ(delivery.records.size(), 2u) << row.name;
        EXPECT_EQ(delivery.records[1].record, row.record) << row.name;
    }
}

// 63 body bytes fill the frame buffer to its last counted place; the value keeps its low 32 bits.
TEST(FrameDecoder, LongestFrame) {
    Bytes bytes = {0xB2, 0x7F, 0x45, 0x47, 0x7F};  // the first value group falls off the top
    bytes.insert(bytes.end(), 59, 0x40);
    bytes.push_back(0x61);
    FrameDecoder decoder;
    testing::RecordedDelivery delivery;
    decoder.delivery = &delivery;
    int frames = 0;
    for (uint8_t byte : bytes) frames += decoder.FeedByte(byte);
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(decoder.index, 64);
    ASSERT_EQ(delivery.records.size(), 1u);
    EXPECT_EQ(delivery.records[0].record, makeRecord(69, 7, 0, 0x21));
}

}  // namespace
}  // namespace tavir
