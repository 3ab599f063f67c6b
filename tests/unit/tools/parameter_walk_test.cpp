#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tools/parameter_field.h"
#include "tools_fakes.h"

namespace tavir {
namespace {

// The walk and the reply handler each know which function code belongs to which field; a reply
// to every request the walk builds must land in the field that asked for it, and nowhere else.
TEST(ParameterWalk, EveryRequestIsAnsweredIntoItsOwnField) {
    testing::ToolBench bench;
    int visited = 0;
    int32_t id = 1000;
    for (int k = 0; k < kParameterKindCount; ++k) {
        for (ParameterField& f : kindFields(*bench.tables, kindAt(k), FieldOrder::kWalk)) {
            ValueRecord reply = f.address;
            reply.value = id++;
            bench.store.OnBatchValue(reply);
            ++visited;
        }
    }
    EXPECT_EQ(visited, progressTotal(KindSelection::all(), *bench.tables));
    EXPECT_EQ(visited, 3 + 3 + 3 + 13 * 3 + 3 * 2 + 2 + 2 * 2 + 2 + 2 + 2);

    id = 1000;
    for (int k = 0; k < kParameterKindCount; ++k) {
        for (ParameterField& f : kindFields(*bench.tables, kindAt(k), FieldOrder::kWalk)) {
            EXPECT_TRUE(f.isReceived());
            EXPECT_EQ(f.controller(), id++) << "kind " << k << " pass " << f.pass << " entry " << f.entry;
        }
    }
}

TEST(ParameterWalk, SkipRules) {
    using Mutate = std::function<void(ApplicationTables&)>;
    const struct {
        const char* name;
        Mutate mutate;
        ParameterKind kind;
        int pass, entry;
        bool skipped;
    } rows[] = {
        {"a signal group without a name has no VG request",
         [](ApplicationTables& t) { t.signalGroups[0].name[0] = '\0'; }, ParameterKind::VG, 0, 0, true},
        {"... but its MG time is written", [](ApplicationTables& t) { t.signalGroups[0].name[0] = '\0'; },
         ParameterKind::MG, 0, 0, false},
        {"an unset extra MG time (NG)", [](ApplicationTables&) {}, ParameterKind::MG, 2, 0, true},
        {"an MG time of 0.0 is set", [](ApplicationTables& t) { t.signalGroups[2].mgTime = 0.0; },
         ParameterKind::MG, 0, 2, false},
        {"a signal group without an array number",
         [](ApplicationTables& t) { t.signalGroups[1].arrayNumber = -1; }, ParameterKind::MG, 0, 1, true},
        {"an unset occupancy time", [](ApplicationTables&) {}, ParameterKind::HIAAT, 2, 1, true},
        {"an occupancy time of 0.0", [](ApplicationTables&) {}, ParameterKind::HIAAT, 2, 0, false},
        {"a detector without an array number", [](ApplicationTables& t) { t.detectors[0].arrayNumber = -1; },
         ParameterKind::HIAAT, 0, 0, true},
    };
    for (const auto& row : rows) {
        testing::ToolBench bench;
        row.mutate(*bench.tables);
        bool found = false;
        for (const ParameterField& f : kindFields(*bench.tables, row.kind, FieldOrder::kWalk)) {
            if (f.pass != row.pass || f.entry != row.entry) continue;
            found = true;
            EXPECT_EQ(f.skipped, row.skipped) << row.name;
        }
        EXPECT_TRUE(found) << row.name;
    }
}

TEST(ParameterWalk, AnEmptyTableIsUnavailableAndCountsNothing) {
    testing::ToolBench bench;
    bench.tables->counts.numDetectors = 0;
    EXPECT_FALSE(kindAvailable(ParameterKind::HIAAT, *bench.tables));
    KindSelection kinds;
    kinds.set(ParameterKind::HIAAT, true);
    kinds.set(ParameterKind::TIJD, true);
    EXPECT_EQ(progressTotal(kinds, *bench.tables), 2);
}

}  // namespace
}  // namespace tavir
