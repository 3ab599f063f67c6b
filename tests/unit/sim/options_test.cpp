#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_options.h"

namespace tavir::sim {
namespace {

// Which links a command line opens, at which address, and the addresses it refuses. (The ranges
// of the other numbers are the option library's checks.)
TEST(SimOptions, CommandLines) {
    const struct {
        std::vector<const char*> words;
        bool runs, tcp;
        std::string host;  // of the TCP port
        int port;
    } cases[] = {
        {{}, true, true, "127.0.0.1", 7000},
        // A serial link alone opens no TCP port.
        {{"--serial", "/dev/ttyS1"}, true, false, "127.0.0.1", 7000},
        {{"--serial", "/dev/ttyS1", "--tcp", "7100"}, true, true, "127.0.0.1", 7100},
        {{"--tcp", "0"}, true, true, "127.0.0.1", 0},
        {{"--tcp", "0.0.0.0:7000"}, true, true, "0.0.0.0", 7000},
        {{"--tcp", "localhost:81"}, true, true, "127.0.0.1", 81},
        {{"--tcp", "127.0.0.2:65535", "--control", "127.0.0.1:7001"}, true, true, "127.0.0.2", 65535},
        {{"--tcp", "host:7000"}, false, false, "", 0},
        {{"--tcp", "65536"}, false, false, "", 0},
        {{"--tcp", "1.2.3:80"}, false, false, "", 0},
        {{"--tcp", "1.2.3.4:"}, false, false, "", 0},
        {{"--tcp", "256.1.1.1:80"}, false, false, "", 0},
        {{"--tcp", "-1"}, false, false, "", 0},
        {{"--control", "10.0.0.1:7001"}, false, false, "", 0},  // control only on a loopback address
        {{"--control", "0.0.0.0:7001"}, false, false, "", 0},
        {{"--drop", "2"}, false, false, "", 0},  // every refusal is bad usage: exit 2
        {{"--baud", "1234", "--serial", "/dev/ttyS1"}, false, false, "", 0},
        {{"--fleet", "3", "--plant", "1,3", "--tcp", "7100"}, true, true, "127.0.0.1", 7100},
        {{"--fleet", "2", "--plant", "3"}, false, false, "", 0},  // no third controller to plant
        {{"--fleet", "2", "--control", "127.0.0.1:7001"}, false, false, "", 0},  // a fleet is TCP only
        {{"--bogus"}, false, false, "", 0},
        {{"extra"}, false, false, "", 0},
    };
    for (auto c : cases) {
        c.words.insert(c.words.begin(), "tavir-sim");
        const std::string line = c.words.size() > 1 ? c.words.back() : "";
        SimOptions options;
        int exitCode = 0;
        ASSERT_EQ(parseSimOptions(static_cast<int>(c.words.size()), c.words.data(), options, exitCode),
                  c.runs)
            << line;
        if (!c.runs) {
            EXPECT_EQ(exitCode, 2) << line;
            continue;
        }
        EXPECT_EQ(options.tcp, c.tcp) << line;
        EXPECT_EQ(options.tcpAddress.host, c.host) << line;
        EXPECT_EQ(options.tcpAddress.port, c.port) << line;
    }
}

}  // namespace
}  // namespace tavir::sim
