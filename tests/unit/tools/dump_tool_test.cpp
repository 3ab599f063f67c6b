#include "tools/dump_tool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../scratch_folder.h"
#include "resources/tools_texts.h"
#include "tools_fakes.h"

namespace tavir {
namespace {

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
    EXPECT_EQ(testing::readBytes(bench.path), "AB  C\r\n");
    bench.tool.close();
    bench.tool.open(bench, bench.path.c_str());
    EXPECT_EQ(bench.count, 0);
    EXPECT_EQ(testing::readBytes(bench.path), "");
}

TEST(DumpTool, TheDataLineKeepsTheLast98Bytes) {
    DumpBench bench;
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
        {"0x0A alone", {0x0A}, false},
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
