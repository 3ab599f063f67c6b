#include "control_commands.h"

#include <gtest/gtest.h>

#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;

SimSettings quiet() {
    SimSettings settings;
    settings.refreshHz = 0;
    return settings;
}

TEST(ControlCommands, AnswerEachCommand) {
    DemoSimulator sim(quiet());
    struct Case {
        const char* line;
        const char* reply;
    } cases[] = {
        {"get 320 0 0", "60"},
        {"set 320 0 0 75", "ok"},
        {"get 320 0 0", "75"},
        {"  set   384 0 1 44  ", "ok"},
        {"get 384 0 1", "44"},
        {"get 384 0 2", "0"},
        {"set 0x1E0 0 0 5", "ok"},
        {"get 480 0 0", "5"},
        {"send a2 45 47", "ok"},
        {"send a24547", "ok"},
        {"pause", "ok"},
        {"resume", "ok"},
        {"get 512 0 0", "error: get FC NUMBER BLOCK"},
        {"set 320 0 0", "error: unknown command: set 320 0 0"},
        {"set 320 0 0 x", "error: set FC NUMBER BLOCK VALUE"},
        {"set 320 0 0 99999999999", "error: set FC NUMBER BLOCK VALUE"},
        {"send a2 4", "error: send HEXBYTES"},
        {"send zz", "error: send HEXBYTES"},
        {"frobnicate", "error: unknown command: frobnicate"},
        {"", ""},
    };
    for (const Case& c : cases) {
        ControlResult result = runControlCommand(*sim.simulator, c.line, sim.now);
        EXPECT_EQ(result.reply, c.reply) << c.line;
        EXPECT_FALSE(result.quit);
    }
    ControlResult quit = runControlCommand(*sim.simulator, "quit", sim.now);
    EXPECT_TRUE(quit.quit);
}

TEST(ControlCommands, ResetAndCloseEndTheConnectedLink) {
    for (bool reset : {true, false}) {
        DemoSimulator sim(quiet());
        ControlResult result = runControlCommand(*sim.simulator, reset ? "reset" : "close", sim.now);
        EXPECT_EQ(result.reply, "ok");
        EXPECT_EQ(sim.link.ends, 1);
        EXPECT_EQ(sim.link.lastEndWasReset, reset);
        // The link is gone: a second end finds nobody.
        result = runControlCommand(*sim.simulator, reset ? "reset" : "close", sim.now);
        EXPECT_EQ(result.reply, "error: no client connected");
        EXPECT_EQ(sim.link.ends, 1);
    }
}

TEST(ControlCommands, SetSendsAMonitoredValueAndSendWritesRawBytes) {
    DemoSimulator sim(quiet());
    sim.request(kMonitor, 33, 2, -1);
    sim.replies();
    runControlCommand(*sim.simulator, "set 33 2 0 7", sim.now);
    auto got = sim.replies();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record.value, 7);

    size_t mark = sim.link.bytes.size();
    runControlCommand(*sim.simulator, "send A2 65 47 FF", sim.now);
    std::vector<uint8_t> raw(sim.link.bytes.begin() + static_cast<long>(mark), sim.link.bytes.end());
    EXPECT_EQ(raw, (std::vector<uint8_t>{0xA2, 0x65, 0x47, 0xFF}));
}

TEST(ControlCommands, SendWithoutAClientSaysSo) {
    SimSettings settings = quiet();
    Simulator simulator(settings);
    EXPECT_EQ(runControlCommand(simulator, "send 56", 0).reply, "error: no client connected");
}

TEST(ControlCommands, LinesAreCutAtNewlines) {
    ControlLines lines;
    std::vector<std::string> got;
    auto take = [&](const std::string& line) { got.push_back(line); };
    std::string input = "get 1 2 3\r\nse";
    lines.feed(input.data(), input.size(), take);
    std::string rest = "t 1 2 3 4\n\n";
    lines.feed(rest.data(), rest.size(), take);
    EXPECT_EQ(got, (std::vector<std::string>{"get 1 2 3", "set 1 2 3 4", ""}));

    got.clear();
    std::string overlong(ControlLines::kMaxLine + 10, 'x');
    overlong += "\nquit\n";
    lines.feed(overlong.data(), overlong.size(), take);
    EXPECT_EQ(got, (std::vector<std::string>{"quit"}));
}

TEST(ControlCommands, HexBytes) {
    struct Case {
        const char* text;
        bool ok;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"a24547", true, {0xA2, 0x45, 0x47}},
        {" A2 45\t47 ", true, {0xA2, 0x45, 0x47}},
        {"ff0a", true, {0xFF, 0x0A}},
        {"", false, {}},
        {"a", false, {}},
        {"a 2", false, {}},
        {"g0", false, {}},
    };
    for (const Case& c : cases) {
        uint8_t bytes[8];
        size_t count = 0;
        EXPECT_EQ(parseHexBytes(c.text, bytes, sizeof bytes, count), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + count), c.bytes) << c.text;
        }
    }
    uint8_t small[2];
    size_t count = 0;
    EXPECT_FALSE(parseHexBytes("010203", small, sizeof small, count));
}

}  // namespace
}  // namespace tavir::sim
