#include "control_commands.h"

#include <gtest/gtest.h>

#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::DemoSimulator;

// One simulator with a client that monitors EGGPARM 2, the commands in order: each line's answer
// and the bytes the client got for it (a monitored value that is set, raw bytes sent). Before a
// line the client may write SG03's VG time: a held address takes the Write without storing it,
// until a set. A reset ends the link, after which nobody is left to end or to send to.
TEST(ControlCommands, AnswerEachCommand) {
    DemoSimulator sim;
    sim.request(kMonitor, fc::kEggparm, 2, -1);
    size_t mark = sim.link.bytes.size();
    struct Case {
        const char *line, *reply, *sent;
        int32_t written = -1;  // the client's Write of 320 3 0 before the line; -1: none
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
        {"hold 320 3 0 77", "ok", ""},
        {"get 320 3 0", "77", "", 55},
        {"set 320 3 0 60", "ok", ""},
        {"get 320 3 0", "55", "", 55},
        {"reset", "ok", ""},
        {"reset", "error: no client connected", ""},
        {"close", "error: no client connected", ""},
        {"send 56", "error: no client connected", ""},
    };
    for (const Case& c : cases) {
        if (c.written >= 0) sim.request(kWrite, fc::kFixedGreenTime, 3, -1, c.written);
        ControlResult result = runControlCommand(*sim.simulator, c.line, sim.now);
        EXPECT_EQ(result.reply, c.reply) << c.line;
        EXPECT_FALSE(result.quit);
        EXPECT_EQ(hexBytes(sim.link.bytes.data() + mark, sim.link.bytes.size() - mark), c.sent) << c.line;
        mark = sim.link.bytes.size();
    }
    EXPECT_EQ(sim.link.ends, 1);
    EXPECT_TRUE(sim.link.lastEndWasReset);
    EXPECT_EQ(runControlCommand(*sim.simulator, std::string(ControlLines::kMaxLine + 1, 'x'), sim.now).reply,
              "error: a line of more than 4096 bytes");
    EXPECT_TRUE(runControlCommand(*sim.simulator, "quit", sim.now).quit);
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
