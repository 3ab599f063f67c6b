// The runs of the differences tool, the adjustment and the sweep against a fake controller, with
// their files and their requests (time, kind, record and bytes) compared with the fixtures; the
// parameter walk they share; and the dump tool's display and file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../scratch_folder.h"
#include "resources/tools_texts.h"
#include "tools/adjustment_tool.h"
#include "tools/differences_tool.h"
#include "tools/dump_tool.h"
#include "tools/parameter_field.h"
#include "tools/sweep_tool.h"
#include "tools_fakes.h"

namespace tavir {
namespace {

using testing::fixture;
using testing::readFileBytes;

struct RunBench : testing::ToolBench {
    ::tavir::testing::ScratchFolder folder;

    // One line per request: milliseconds since the run started, kind, function code, number, block,
    // the value it decodes to (a Write's only) and the frame's bytes.
    std::string requestLog() const {
        std::string log;
        for (size_t i = 0; i < controller.requests.size(); ++i) {
            const testing::SentRequest& r = controller.requests[i];
            char line[80];
            int n =
                std::snprintf(line, sizeof line, "%6u %-5s %3d %4d %4d %6d ",
                              static_cast<unsigned>(r.at - kRunStart), r.kind == kWrite ? "Write" : "Read",
                              r.record.functionCode, r.record.number, r.record.block, r.record.value);
            for (uint8_t byte : controller.frames[i])
                n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), "%02X", byte);
            log += std::string(line) + "\n";
        }
        return log;
    }

    // Consecutive requests are never closer than the interval, the first two included.
    void expectSpaced() const {
        const auto& r = controller.requests;
        for (size_t i = 1; i < r.size(); ++i) EXPECT_GE(r[i].at - r[i - 1].at, pacing.requestIntervalMs) << i;
    }

    // The controller holds every parameter as a freshly started one would: the nearest integer.
    void seedController() {
        for (int k = 0; k < kParameterKindCount; ++k) {
            for (const ParameterField& f : kindFields(*tables, kindAt(k), FieldOrder::kWalk)) {
                if (f.skipped) continue;
                const testing::Address at{f.address.functionCode, f.address.number, f.address.block};
                controller.memory[at] = static_cast<int32_t>(std::lround(f.tableValue * kindScale(f.kind)));
            }
        }
    }
    // The options of a run over every kind into a file of the scratch folder.
    template <typename Options>
    Options allKinds(const char* name) {
        Options options;
        options.kinds = KindSelection::all();
        options.fileName = folder.file(name);
        return options;
    }
    void setController(int32_t code, int32_t number, int32_t block, int32_t value) {
        controller.memory[{code, number, block}] = value;
    }
};

TEST(AdjustmentRun, WritesEveryTableValueThenReadsItBackAndVerifies) {
    RunBench bench;
    AdjustmentOptions options = bench.allKinds<AdjustmentOptions>("aangepast.txt");
    options.separateFiles = false;
    EXPECT_FALSE(runAdjustment(bench.context, options));

    EXPECT_EQ(readFileBytes(options.fileName), fixture("aangepast.txt"));
    // Each verification Read is the record of the Write before it with only the kind changed.
    EXPECT_EQ(bench.requestLog(), fixture("adjustment_requests.txt"));
    EXPECT_EQ(bench.reporter.steps, bench.reporter.total);
    // 2.35 s went out as 23, and the verification holds that against the table: the first failure.
    EXPECT_EQ(bench.reporter.texts(),
              (std::vector<std::string>{
                  "Fout bij verifi\xEBren tijd T_GARANTIEROOD\nWaarde is  2.35, in regeling 2",
                  text::kAdjustmentFailed}));
    EXPECT_EQ(bench.reporter.messages[1].caption, text::kAdjustmentCaption);
    EXPECT_EQ(bench.reporter.messages[1].icon, ToolIcon::kStop);
}

TEST(AdjustmentRun, SeparateFilesHoldTheSingleFileKindByKind) {
    RunBench bench;
    AdjustmentOptions options = bench.allKinds<AdjustmentOptions>("aangepast.txt");
    options.verify = false;
    EXPECT_TRUE(runAdjustment(bench.context, options));

    std::string joined;
    for (const char* suffix : text::kKindFileSuffix)
        joined += readFileBytes(bench.folder.file(std::string("aangepast") + suffix + ".txt"));
    EXPECT_EQ(joined, fixture("aangepast.txt"));
    EXPECT_FALSE(std::filesystem::exists(options.fileName));
    for (const testing::SentRequest& r : bench.controller.requests) EXPECT_EQ(r.kind, kWrite);
    EXPECT_EQ(bench.reporter.texts(), std::vector<std::string>{text::kAdjustmentDone});
    EXPECT_EQ(bench.reporter.messages[0].icon, ToolIcon::kInformation);
}

TEST(SweepRun, WritesTestValuesRemembersOriginalsAndRestoresThem) {
    RunBench bench;
    bench.seedController();
    const std::map<testing::Address, int32_t> originals = bench.controller.memory;
    SweepOptions options = bench.allKinds<SweepOptions>("afname.txt");
    options.startValue = 100;
    options.separateFiles = false;
    SweepState state;
    runSweep(bench.context, options, state);
    // Each original is read before its first write; the Read goes before the value is chosen, so
    // it carries 0.
    EXPECT_EQ(bench.requestLog(), fixture("sweep_requests.txt"));
    EXPECT_TRUE(bench.store.anyReplyStored());
    EXPECT_EQ(bench.reporter.steps, bench.reporter.total);
    const size_t reads = bench.controller.requests.size() / 2;
    bench.controller.requests.clear();
    EXPECT_EQ(resetOriginals(bench.context, options), static_cast<int>(reads));
    bench.expectSpaced();
    EXPECT_EQ(bench.controller.memory, originals);
    EXPECT_EQ(readFileBytes(options.fileName), fixture("afname.txt"));
    EXPECT_EQ(bench.reporter.texts(), (std::vector<std::string>{text::kSweepDone, text::kResetDone}));
}

TEST(SweepRun, SwitchesOffWriteZeroAndLeaveTheCountAlone) {
    RunBench bench;
    SweepOptions options;
    for (ParameterKind kind : {ParameterKind::TIJD, ParameterKind::SCH, ParameterKind::EGGPARM})
        options.kinds.set(kind, true);
    options.startValue = 7;
    options.resetPerKind = false;
    options.rememberOriginals = false;
    options.saveToFile = false;
    SweepState state;
    runSweep(bench.context, options, state);
    std::vector<int32_t> written;
    for (const testing::SentRequest& r : bench.controller.requests) {
        EXPECT_EQ(r.kind, kWrite);
        written.push_back(r.record.value);
    }
    EXPECT_EQ(written, (std::vector<int32_t>{7, 8, 0, 0, 9, 10}));
    EXPECT_FALSE(bench.store.anyReplyStored());
}

TEST(SweepValues, CountFromTheStartValueAndWrapAt12000) {
    const struct {
        const char* name;
        int32_t start;
        bool resetPerKind;
        std::vector<bool> firstOfKind;
        std::vector<int32_t> expected;
    } rows[] = {
        {"reset per kind", 100, true, {true, false, false, true, false}, {100, 101, 102, 100, 101}},
        {"running on", 100, false, {true, false, true, false}, {100, 101, 102, 103}},
        {"two below 12000", 11998, false, {true, false, false, false}, {11998, 11999, 0, 1}},
        {"12000 or more starts at 0", 12000, true, {true, false}, {0, 1}},
        {"a negative start as it is", -5, true, {true, false}, {-5, -4}},
        {"the lowest start", INT32_MIN, false, {true, false}, {INT32_MIN, INT32_MIN + 1}},
    };
    for (const auto& row : rows) {
        SweepState state{row.start, row.resetPerKind, row.start == INT32_MIN ? INT32_MAX : row.start - 1};
        std::vector<int32_t> values;
        for (bool first : row.firstOfKind) values.push_back(nextSweepValue(state, first));
        EXPECT_EQ(values, row.expected) << row.name;
    }
}

TEST(DifferencesRun, ReportsEachDifferenceInTheFileAndReadsOnlyOnce) {
    RunBench bench;
    bench.seedController();
    bench.setController(384, 0, 1, 31);   // SG02 to SG05, 3.0 s
    bench.setController(450, 0, 0, 731);  // KL_OCHTEND, 7.30
    bench.setController(420, 1, 0, 0);    // SCH_BUS_PRIO, on
    bench.setController(344, 0, 0, 95);   // SG02's extra MG time 12, 9.0 s
    bench.setController(466, 0, 0, 11);   // SG02_D1's second gap time, 1.0 s
    bench.setController(326, 1, 0, 151);  // SG05's MG time, 15.0 s: after SG02's extra MG time 12
    DifferencesOptions options = bench.allKinds<DifferencesOptions>("verschillen.txt");
    // And 2.35 s, which lies 0.5 from both 23 and 24.
    EXPECT_EQ(runDifferences(bench.context, options), 7);
    EXPECT_EQ(readFileBytes(options.fileName), fixture("verschillen.txt"));
    EXPECT_TRUE(bench.reporter.messages.empty());
    // Only Reads, each carrying 0: the run has no value of its own.
    EXPECT_EQ(bench.requestLog(), fixture("differences_requests.txt"));

    // A second run asks for nothing and compares what was received first.
    bench.controller.requests.clear();
    bench.setController(450, 0, 0, 730);
    options.saveToFile = false;
    EXPECT_EQ(runDifferences(bench.context, options), 7);
    EXPECT_TRUE(bench.controller.requests.empty());
    ASSERT_EQ(bench.reporter.messages.size(), 7u);
    EXPECT_EQ(bench.reporter.messages[5].text,
              "Verschil bij klokken tijdstip 1 van KL_OCHTEND\nWaarde in broncode is  7.30, in regeling 7");
    EXPECT_EQ(bench.reporter.messages[5].caption, text::kDifferencesCaption);
    EXPECT_EQ(bench.reporter.messages[5].icon, ToolIcon::kStop);
}

// The walk skips a group without a name, the comparison does not.
TEST(DifferencesRun, AValueReceivedBeforeIsComparedEvenWhereTheWalkSkips) {
    RunBench bench;
    bench.controller.replies = nullptr;
    bench.tables->signalGroups[2].name[0] = '\0';
    bench.store.OnBatchValue({320, 2, 0, 0, 99});
    DifferencesOptions options;
    options.kinds.set(ParameterKind::VG, true);
    options.saveToFile = false;
    EXPECT_EQ(runDifferences(bench.context, options), 1);
    EXPECT_EQ(bench.controller.requests.size(), 2u);
    EXPECT_EQ(
        bench.reporter.texts(),
        std::vector<std::string>{"Verschil bij VG-tijden van \nWaarde in broncode is  7.00, in regeling 9"});
}

// The walk and the reply handler each know which function code belongs to which field; a reply
// to every request the walk builds must land in the field that asked for it, and nowhere else.
TEST(ParameterWalk, EveryRequestIsAnsweredIntoItsOwnField) {
    testing::ToolBench bench;
    for (bool answering : {true, false}) {
        int32_t id = 1000;
        for (int k = 0; k < kParameterKindCount; ++k) {
            for (ParameterField& f : kindFields(*bench.tables, kindAt(k), FieldOrder::kWalk)) {
                if (answering) {
                    bench.store.OnBatchValue(
                        {f.address.functionCode, f.address.number, f.address.block, 0, id++});
                    continue;
                }
                EXPECT_TRUE(f.isReceived());
                EXPECT_EQ(f.controller(), id++) << "kind " << k << " pass " << f.pass << " entry " << f.entry;
            }
        }
        EXPECT_EQ(id - 1000, progressTotal(KindSelection::all(), *bench.tables));
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

struct DumpBench : DumpView {
    ::tavir::testing::ScratchFolder folder;
    std::string path = folder.file("dpcom.dmp");
    testing::FakeClock clock;
    testing::FakeController link{clock};
    DumpTool tool;
    int32_t count = -1;
    std::string line, status;
    std::vector<std::string> events;  // timer changes and statuses, in order

    DumpBench() { tool.open(*this, path.c_str()); }
    void receive(const std::vector<uint8_t>& bytes) {
        for (uint8_t b : bytes) tool.OnDumpByte(b);
    }
    void showByteCount(int32_t c) override { count = c; }
    void showDataLine(const char* text) override { line = text; }
    void showStatus(const char* text) override { events.push_back(status = text); }
    void restartNoAnswerTimer() override { events.push_back("restart"); }
    void stopNoAnswerTimer() override { events.push_back("stop"); }
};

TEST(DumpTool, TwoBlanksEndTheDataDisplayButEveryByteIsCountedAndStored) {
    DumpBench bench;
    bench.tool.sendCommand(DumpCommand::kVerify, bench.link);
    bench.receive({0x41, 0x42, 0x20, 0x20, 0x43, 0x0A});
    EXPECT_EQ(bench.line, "AB ");
    EXPECT_EQ(bench.count, 6);
    EXPECT_EQ(bench.link.frames, std::vector<std::vector<uint8_t>>{{0x56}});
    EXPECT_EQ(bench.events[0], "restart");
    EXPECT_EQ(bench.events[1], text::kDumpVerifySent);
    EXPECT_EQ(bench.events.back(), "stop");

    // The file holds every byte as it came, a line end as CR LF; a second opening empties it.
    EXPECT_EQ(testing::readFileBytes(bench.path), "AB  C\r\n");
    bench.tool.close();
    bench.tool.open(bench, bench.path.c_str());
    EXPECT_EQ(bench.count, 0);
    EXPECT_EQ(testing::readFileBytes(bench.path), "");

    // The data line keeps the last 98 bytes.
    bench.tool.sendCommand(DumpCommand::kVerify, bench.link);
    std::vector<uint8_t> bytes;
    for (int i = 1; i <= 150; ++i) bytes.push_back(static_cast<uint8_t>('!' + i % 90));  // never two blanks
    bench.receive(bytes);
    EXPECT_EQ(bench.line, std::string(bytes.begin() + 52, bytes.end()));
}

TEST(DumpTool, EndOfDumpMarker) {
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool ended;
    } rows[] = {
        {"0xFF then 0x0A", {0x41, 0xFF, 0x0A}, true},
        {"two 0xFF", {0xFF, 0xFF}, true},
        {"a byte between", {0xFF, 0x41, 0x0A}, false},
    };
    for (const auto& row : rows) {
        DumpBench bench;
        bench.receive(row.bytes);
        EXPECT_EQ(bench.status == text::kDumpEnded, row.ended) << row.name;
        EXPECT_EQ(bench.tool.dataDisplayOn(), row.ended) << row.name;
    }
}

}  // namespace
}  // namespace tavir
