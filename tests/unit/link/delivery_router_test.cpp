#include "link/delivery_router.h"

#include <gtest/gtest.h>

#include "link/frame_decoder.h"
#include "link_fakes.h"

namespace tavir {
namespace {

using testing::makeRecord;

TEST(DeliveryRouter, Precedence) {
    enum Destination { kBatch, kWindow, kNowhere };
    struct Case {
        const char* name;
        bool aanpas, afname, verschillen, hasBatchSink, hasWindowSink;
        Destination expected;
    } cases[] = {
        {"no dialog, window 1", false, false, false, true, true, kWindow},
        {"no dialog, no window 1", false, false, false, true, false, kNowhere},
        {"AANPAS open", true, false, false, true, true, kBatch},
        {"AFNAME open", false, true, false, true, true, kBatch},
        {"VERSCHILLEN open", false, false, true, true, true, kBatch},
        {"two dialogs flagged", true, false, true, true, true, kBatch},
        {"dialog open without a sink keeps values from the window", false, true, false, false, true,
         kNowhere},
        {"dialog open, no window 1", true, false, false, true, false, kBatch},
        {"nothing at all", false, false, false, false, false, kNowhere},
    };
    for (const Case& c : cases) {
        testing::RecordedBatchSink batch;
        testing::RecordedWindowSink window;
        DeliveryRouter router;
        router.aanpasActive = c.aanpas;
        router.afnameActive = c.afname;
        router.verschillenActive = c.verschillen;
        if (c.hasBatchSink) router.batchSink = &batch;
        if (c.hasWindowSink) router.windowSink = &window;

        router.deliver(kWrite, makeRecord(69, 7, 0, 1));
        EXPECT_EQ(batch.records.size(), c.expected == kBatch ? 1u : 0u) << c.name;
        EXPECT_EQ(window.records.size(), c.expected == kWindow ? 1u : 0u) << c.name;
    }
}

TEST(DeliveryRouter, DecoderReachesTheSinksWithKindAndRecord) {
    testing::RecordedBatchSink batch;
    testing::RecordedWindowSink window;
    DeliveryRouter router;
    router.batchSink = &batch;
    router.windowSink = &window;
    FrameDecoder decoder;
    decoder.delivery = &router;

    const uint8_t readAnswer[] = {0xE2, 0x65, 0x47};
    for (uint8_t byte : readAnswer) decoder.FeedByte(byte);
    ASSERT_EQ(window.records.size(), 1u);
    EXPECT_EQ(window.records[0].kind, kRead);
    EXPECT_TRUE(testing::sameRecord(window.records[0].record, makeRecord(69, 7, 0, 0)));

    router.verschillenActive = true;
    const uint8_t value[] = {0xB2, 0x43, 0x45, 0x47, 0x42};
    int completed = 0;
    for (uint8_t byte : value) completed += decoder.FeedByte(byte);
    EXPECT_EQ(completed, 1);
    ASSERT_EQ(batch.records.size(), 1u);
    EXPECT_TRUE(testing::sameRecord(batch.records[0], makeRecord(69, 7, 0, 2)));
    EXPECT_EQ(window.records.size(), 1u);

    // Dropped records still count as completed frames.
    router.verschillenActive = false;
    router.windowSink = nullptr;
    completed = 0;
    for (uint8_t byte : value) completed += decoder.FeedByte(byte);
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(batch.records.size(), 1u);
    EXPECT_EQ(window.records.size(), 1u);
}

}  // namespace
}  // namespace tavir
