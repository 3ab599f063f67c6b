#include "link/delivery_router.h"

#include <gtest/gtest.h>

#include "link_fakes.h"

namespace tavir {
namespace {

TEST(DeliveryRouter, AnOpenBatchDialogTakesEveryValueElseWindowOne) {
    enum Destination { kBatch, kWindow, kNowhere };
    const struct {
        const char* name;
        bool aanpas, afname, verschillen, hasBatchSink, hasWindowSink;
        Destination expected;
    } rows[] = {
        {"no dialog", false, false, false, true, true, kWindow},
        {"no dialog, no window 1", false, false, false, true, false, kNowhere},
        {"AANPAS", true, false, false, true, true, kBatch},
        {"AFNAME", false, true, false, true, true, kBatch},
        {"VERSCHILLEN", false, false, true, true, true, kBatch},
        {"a dialog without its sink yet keeps values from the window", false, true, false, false, true,
         kNowhere},
    };
    for (const auto& row : rows) {
        testing::RecordedBatchSink batch;
        testing::RecordedDelivery window;
        DeliveryRouter router;
        router.aanpasActive = row.aanpas;
        router.afnameActive = row.afname;
        router.verschillenActive = row.verschillen;
        if (row.hasBatchSink) router.batchSink = &batch;
        if (row.hasWindowSink) router.windowSink = &window;

        const ValueRecord record = testing::makeRecord(69, 7, 0, 1);
        router.deliver(kRead, record);
        EXPECT_EQ(batch.records.size(), row.expected == kBatch ? 1u : 0u) << row.name;
        ASSERT_EQ(window.records.size(), row.expected == kWindow ? 1u : 0u) << row.name;
        if (row.expected == kWindow) {
            EXPECT_EQ(window.records[0].kind, kRead);
            EXPECT_EQ(window.records[0].record, record);
        }
    }
}

}  // namespace
}  // namespace tavir
