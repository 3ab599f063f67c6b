#include <gtest/gtest.h>

#include <vector>

#include "sim_options.h"

namespace tavir::sim {
namespace {

// Which links a command line opens, and the addresses it refuses. (The ranges of the numbers are
// the option library's checks.)
TEST(SimOptions, CommandLines) {
    struct Case {
        std::vector<const char*> words;
        bool runs;
        bool tcp;
    } cases[] = {
        {{}, true, true},
        {{"--serial", "/dev/ttyS1"}, true, false},  // a serial link alone opens no TCP port
        {{"--serial", "/dev/ttyS1", "--tcp", "127.0.0.1:7100"}, true, true},
        {{"--tcp", "host:7000"}, false, false},
        {{"--control", "10.0.0.1:7001"}, false, false},  // control only on a loopback address
    };
    for (Case& c : cases) {
        c.words.insert(c.words.begin(), "tavir-sim");
        SimOptions options;
        int exitCode = 0;
        bool runs = parseSimOptions(static_cast<int>(c.words.size()), c.words.data(), options, exitCode);
        EXPECT_EQ(runs, c.runs) << c.words.back();
        if (runs) {
            EXPECT_EQ(options.tcp, c.tcp) << c.words.back();
        } else {
            EXPECT_NE(exitCode, 0) << c.words.back();
        }
    }
}

TEST(SimOptions, HostAndPort) {
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
    } cases[] = {
        {"7000", true, "127.0.0.1", 7000},
        {"0", true, "127.0.0.1", 0},
        {"0.0.0.0:7000", true, "0.0.0.0", 7000},
        {"localhost:81", true, "127.0.0.1", 81},
        {"127.0.0.2:65535", true, "127.0.0.2", 65535},
        {"65536", false, "", 0},
        {"", false, "", 0},
        {"1.2.3:80", false, "", 0},
        {"1.2.3.4:", false, "", 0},
        {"256.1.1.1:80", false, "", 0},
        {"-1", false, "", 0},
    };
    for (const Case& c : cases) {
        HostPort hp;
        EXPECT_EQ(parseHostPort(c.text, hp), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(hp.host, c.host) << c.text;
        EXPECT_EQ(hp.port, c.port) << c.text;
    }
    EXPECT_TRUE(isLoopbackHost("127.0.0.1"));
    EXPECT_FALSE(isLoopbackHost("0.0.0.0"));
}

}  // namespace
}  // namespace tavir::sim
