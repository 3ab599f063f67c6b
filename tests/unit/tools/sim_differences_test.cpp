// The differences tool against the simulator in-process: a freshly seeded controller holds every
// parameter as the tools ask for it, so a run finds no difference.
#include <gtest/gtest.h>

#include "resources/tools_texts.h"
#include "sim_test_support.h"
#include "tools/differences_tool.h"
#include "tools_fakes.h"

namespace tavir {
namespace {

// Requests go straight into the simulator; its answers are decoded into the reply store.
struct SimTransport : Transport, ValueDelivery {
    sim::testing::DemoSimulator& sim;
    BatchValueStore store{*sim.demo.tables};
    FrameDecoder decoder;
    size_t consumed = 0;
    explicit SimTransport(sim::testing::DemoSimulator& s) : sim(s) { decoder.delivery = this; }
    void write(const uint8_t* bytes, size_t count) override {
        sim.simulator->receive(sim.session, bytes, count, sim.now);
        for (; consumed < sim.link.bytes.size(); ++consumed) decoder.FeedByte(sim.link.bytes[consumed]);
    }
    void deliver(uint8_t, const ValueRecord& record) override { store.OnBatchValue(record); }
};

TEST(SimDifferences, AFreshlySeededSimulatorHoldsEveryParameter) {
    sim::testing::DemoSimulator sim;
    ApplicationTables& tables = *sim.demo.tables;
    SimTransport link(sim);
    testing::FakeClock clock;
    Pacing pacing{&clock, &clock, 100, 0};
    testing::RecordedReporter reporter;
    ToolContext context{tables, link, pacing, reporter};

    DifferencesOptions options;
    options.kinds = KindSelection::all();
    options.saveToFile = false;
    EXPECT_EQ(runDifferences(context, options), 0);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, text::kNoDifferences);

    int asked = 0;
    for (int k = 0; k < kParameterKindCount; ++k) {
        for (const ParameterField& f : kindFields(tables, kindAt(k), FieldOrder::kWalk)) {
            if (f.skipped) continue;
            ++asked;
            EXPECT_TRUE(f.isReceived())
                << "code " << f.address.functionCode << " number " << f.address.number;
        }
    }
    EXPECT_GT(asked, 100);
}

}  // namespace
}  // namespace tavir
