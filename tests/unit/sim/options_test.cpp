#include <gtest/gtest.h>

#include <vector>

#include "sim_options.h"

namespace tavir::sim {
namespace {

bool parse(std::vector<const char*> words, SimOptions& options, int& exitCode) {
    words.insert(words.begin(), "tavir-sim");
    return parseSimOptions(static_cast<int>(words.size()), words.data(), options, exitCode);
}

TEST(SimOptions, NoArgumentsListenOnTheDefaultPort) {
    SimOptions o;
    int exitCode = -1;
    ASSERT_TRUE(parse({}, o, exitCode));
    EXPECT_TRUE(o.tcp);
    EXPECT_EQ(o.tcpAddress.host, "127.0.0.1");
    EXPECT_EQ(o.tcpAddress.port, 7000);
    EXPECT_TRUE(o.dir.empty());
    EXPECT_FALSE(o.seedGiven);
    EXPECT_EQ(o.rate, 1.0);
    EXPECT_FALSE(o.control);
}

TEST(SimOptions, EveryOption) {
    SimOptions o;
    int exitCode = -1;
    ASSERT_TRUE(parse({"--dir",    "app",
                       "--tcp",    "0",
                       "--log",    "sim.jsonl",
                       "--rate",   "10",
                       "--seed",   "42",
                       "--silent", "--drop",
                       "0.25",     "--delay",
                       "300",      "--garbage",
                       "0.5",      "--reset-after",
                       "7",        "--close-after",
                       "9",        "--control",
                       "7001",     "--baud",
                       "19200"},
                      o, exitCode));
    EXPECT_EQ(o.dir, "app");
    EXPECT_TRUE(o.tcp);
    EXPECT_EQ(o.tcpAddress.port, 0);
    EXPECT_EQ(o.logPath, "sim.jsonl");
    EXPECT_EQ(o.rate, 10.0);
    EXPECT_TRUE(o.seedGiven);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_TRUE(o.faults.silent);
    EXPECT_EQ(o.faults.drop, 0.25);
    EXPECT_EQ(o.faults.delayMs, 300);
    EXPECT_EQ(o.faults.garbage, 0.5);
    EXPECT_EQ(o.faults.resetAfter, 7);
    EXPECT_EQ(o.faults.closeAfter, 9);
    EXPECT_TRUE(o.control);
    EXPECT_EQ(o.controlAddress.host, "127.0.0.1");
    EXPECT_EQ(o.controlAddress.port, 7001);
    EXPECT_EQ(o.baud, 19200);
}

TEST(SimOptions, ASerialLinkAloneOpensNoTcpPort) {
    SimOptions o;
    int exitCode = -1;
    ASSERT_TRUE(parse({"--serial", "/dev/ttyS1"}, o, exitCode));
    EXPECT_FALSE(o.tcp);
    SimOptions both;
    ASSERT_TRUE(parse({"--serial", "/dev/ttyS1", "--tcp", "127.0.0.1:7100"}, both, exitCode));
    EXPECT_TRUE(both.tcp);
    EXPECT_EQ(both.tcpAddress.port, 7100);
}

TEST(SimOptions, RefusedCommandLines) {
    const std::vector<std::vector<const char*>> refused = {
        {"--drop", "1.5"},       {"--garbage", "-0.1"}, {"--delay", "-1"},
        {"--tcp", "host:7000"},  {"--tcp", "70000"},    {"--control", "10.0.0.1:7001"},
        {"--reset-after", "-2"}, {"--rate", "5000"},    {"--frobnicate"},
        {"--seed", "abc"},
    };
    for (const auto& words : refused) {
        SimOptions o;
        int exitCode = 0;
        EXPECT_FALSE(parse(words, o, exitCode)) << words[0];
        EXPECT_NE(exitCode, 0) << words[0];
    }
}

TEST(SimOptions, HelpEndsWithoutError) {
    SimOptions o;
    int exitCode = -1;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(parse({"--help"}, o, exitCode));
    std::string help = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(exitCode, 0);
    for (const char* word : {"--dir",
                             "--tcp",
                             "--serial",
                             "--baud",
                             "--log",
                             "--rate",
                             "--seed",
                             "--silent",
                             "--drop",
                             "--delay",
                             "--garbage",
                             "--reset-after",
                             "--close-after",
                             "--control",
                             "set FC NUMBER BLOCK VALUE",
                             "get FC NUMBER BLOCK",
                             "send HEXBYTES",
                             "pause",
                             "resume",
                             "quit"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
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
