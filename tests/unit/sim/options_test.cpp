#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "sim_options.h"

namespace tavir::sim {
namespace {

// Which links a command line opens, and the addresses it refuses. (The ranges of the numbers are
// the option library's checks.)
TEST(SimOptions, CommandLines) {
    // The words, whether the simulator runs, and whether it opens its TCP port.
    const std::tuple<std::vector<const char*>, bool, bool> cases[] = {
        {{}, true, true},
        {{"--serial", "/dev/ttyS1"}, true, false},  // a serial link alone opens no TCP port
        {{"--serial", "/dev/ttyS1", "--tcp", "127.0.0.1:7100"}, true, true},
        {{"--tcp", "host:7000"}, false, false},
        {{"--control", "10.0.0.1:7001"}, false, false},  // control only on a loopback address
        {{"--drop", "2"}, false, false},                 // every refusal is bad usage: exit 2
        {{"--baud", "1234", "--serial", "/dev/ttyS1"}, false, false},
        {{"--bogus"}, false, false},
        {{"extra"}, false, false},
    };
    for (auto [words, runs, tcp] : cases) {
        words.insert(words.begin(), "tavir-sim");
        SimOptions options;
        int exitCode = 0;
        ASSERT_EQ(parseSimOptions(static_cast<int>(words.size()), words.data(), options, exitCode), runs)
            << words.back();
        EXPECT_TRUE(runs ? options.tcp == tcp : exitCode == 2) << words.back();
    }
}

TEST(SimOptions, HostAndPort) {
    const std::tuple<const char*, const char*, int> good[] = {
        {"7000", "127.0.0.1", 7000},
        {"0", "127.0.0.1", 0},
        {"0.0.0.0:7000", "0.0.0.0", 7000},
        {"localhost:81", "127.0.0.1", 81},
        {"127.0.0.2:65535", "127.0.0.2", 65535},
    };
    for (auto [text, host, port] : good) {
        HostPort hp;
        ASSERT_TRUE(parseHostPort(text, hp)) << text;
        EXPECT_EQ(hp.host, host) << text;
        EXPECT_EQ(hp.port, port) << text;
    }
    for (const char* bad : {"65536", "", "1.2.3:80", "1.2.3.4:", "256.1.1.1:80", "-1"}) {
        HostPort hp;
        EXPECT_FALSE(parseHostPort(bad, hp)) << bad;
    }
    EXPECT_TRUE(isLoopbackHost("127.0.0.1"));
    EXPECT_FALSE(isLoopbackHost("0.0.0.0"));
}

}  // namespace
}  // namespace tavir::sim
