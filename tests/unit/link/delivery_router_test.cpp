#include "link/delivery_router.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "link_fakes.h"

namespace tavir {
namespace {

TEST(DeliveryRouter, AnOpenBatchDialogTakesEveryValueElseWindowOne) {
    enum Destination { kBatch, kWindow, kNowhere };
    // The open batch dialog, whether the batch and window sinks are set, and where a value goes.
    const std::tuple<std::string, bool, bool, Destination> rows[] = {
        {"", true, true, kWindow},
        {"", true, false, kNowhere},
        {"AANPAS", true, true, kBatch},
        {"AFNAME", true, true, kBatch},
        {"VERSCHILLEN", true, true, kBatch},
        {"AFNAME", false, true, kNowhere},  // a dialog without its sink yet keeps values from the window
    };
    for (const auto& [dialog, hasBatchSink, hasWindowSink, expected] : rows) {
        testing::RecordedBatchSink batch;
        testing::RecordedDelivery window;
        DeliveryRouter router;
        router.aanpasActive = dialog == "AANPAS";
        router.afnameActive = dialog == "AFNAME";
        router.verschillenActive = dialog == "VERSCHILLEN";
        if (hasBatchSink) router.batchSink = &batch;
        if (hasWindowSink) router.windowSink = &window;

        const ValueRecord record = testing::makeRecord(69, 7, 0, 1);
        router.deliver(kRead, record);
        EXPECT_EQ(batch.records.size(), expected == kBatch ? 1u : 0u) << dialog;
        ASSERT_EQ(window.records.size(), expected == kWindow ? 1u : 0u) << dialog;
        if (expected == kWindow) {
            EXPECT_EQ(window.records[0].kind, kRead);
            EXPECT_EQ(window.records[0].record, record);
        }
    }
}

}  // namespace
}  // namespace tavir
