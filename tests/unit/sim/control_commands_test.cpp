#include "control_commands.h"

#include <gtest/gtest.h>

#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;

// One simulator with a client that monitors EGGPARM 2, the commands in order: each line's answer
// and the bytes the client got for it (a monitored value that is set, raw bytes sent).
TEST(ControlCommands, AnswerEachCommand) {
    DemoSimulator sim;
    sim.request(kMonitor, fc::kEggparm, 2, -1);
    size_t mark = sim.link.bytes.size();
    struct Case {
        const char *line, *reply, *sent;
    } cases[] = {
        {"get 320 0 0", "60", ""},
        {"  set   384 0 1 44  ", "ok", ""},
        {"get 384 0 1", "44", ""},
        {"get 384 0 2", "0", ""},
        {"set 0x1E0 0 0 5", "ok", ""},
        {"get 480 0 0", "5", ""},
        {"set 33 2 0 7", "ok", "b14741404042404047"},
        {"send a2 45 47", "ok", "a24547"},
        {"send A24547FF", "ok", "a24547ff"},
        {"pause", "ok", ""},
        {"resume", "ok", "b14741404042404047"},  // the monitored value again
        {"get 512 0 0", "error: get FC NUMBER BLOCK", ""},
        {"set 320 0 0", "error: unknown command: set 320 0 0", ""},
        {"set 320 0 0 x", "error: set FC NUMBER BLOCK VALUE", ""},
        {"set 320 0 0 99999999999", "error: set FC NUMBER BLOCK VALUE", ""},
        {"send a2 4", "error: send HEXBYTES", ""},
        {"send a 2", "error: send HEXBYTES", ""},
        {"send zz", "error: send HEXBYTES", ""},
        {"frobnicate", "error: unknown command: frobnicate", ""},
        {"", "error: an empty line", ""},
        {"   ", "error: an empty line", ""},
    };
    for (const Case& c : cases) {
        ControlResult result = runControlCommand(*sim.simulator, c.line, sim.now);
        EXPECT_EQ(result.reply, c.reply) << c.line;
        EXPECT_FALSE(result.quit);
        EXPECT_EQ(hexBytes(sim.link.bytes.data() + mark, sim.link.bytes.size() - mark), c.sent) << c.line;
        mark = sim.link.bytes.size();
    }
    EXPECT_EQ(runControlCommand(*sim.simulator, std::string(ControlLines::kMaxLine + 1, 'x'), sim.now).reply,
              "error: a line of more than 4096 bytes");
    EXPECT_TRUE(runControlCommand(*sim.simulator, "quit", sim.now).quit);
}

TEST(ControlCommands, ResetAndCloseEndTheConnectedLink) {
    for (bool reset : {true, false}) {
        DemoSimulator sim;
        const char* command = reset ? "reset" : "close";
        EXPECT_EQ(runControlCommand(*sim.simulator, command, sim.now).reply, "ok");
        EXPECT_EQ(sim.link.ends, 1);
        EXPECT_EQ(sim.link.lastEndWasReset, reset);
        // The link is gone: nobody is left to end or to send to.
        EXPECT_EQ(runControlCommand(*sim.simulator, command, sim.now).reply, "error: no client connected");
        EXPECT_EQ(runControlCommand(*sim.simulator, "send 56", sim.now).reply, "error: no client connected");
        EXPECT_EQ(sim.link.ends, 1);
    }
}

TEST(ControlCommands, AHeldAddressTakesWritesWithoutStoringThemUntilASet) {
    DemoSimulator sim;
    auto write = [&](int32_t value) {
        sim.request(kWrite, fc::kFixedGreenTime, 3, -1, value);
        return runControlCommand(*sim.simulator, "get 320 3 0", sim.now).reply;
    };
    EXPECT_EQ(runControlCommand(*sim.simulator, "hold 320 3 0 77", sim.now).reply, "ok");
    EXPECT_EQ(write(55), "77");
    runControlCommand(*sim.simulator, "set 320 3 0 60", sim.now);
    EXPECT_EQ(write(55), "55");
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
    EXPECT_EQ(got, (std::vector<std::string>{overlong.substr(0, ControlLines::kMaxLine + 1), "quit"}))
        << "an overlong line is cut one byte past the limit";
}

}  // namespace
}  // namespace tavir::sim
