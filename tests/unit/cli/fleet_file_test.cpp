// The audit's fleet file: what a row gives, each refusal naming its row, the refused shards, and
// the audit's exit code over its controllers. (Which rows a shard takes is audit_fleet's.)
#include "fleet_file.h"

#include <gtest/gtest.h>

#include "audit_run.h"

namespace tavir::cli {
namespace {

TEST(FleetFile, RowsAndRefusals) {
    const struct {
        const char* text;
        const char* error;  // the start of the refusal; none: the file is taken
    } cases[] = {
        {"# the north\r\nLINK,interval,name,Dir,baud,kinds\r\n\r\n127.0.0.1:7001,200,K1,demo,,\"VG, GL\"\r\n"
         "/dev/ttyUSB0,,K2,demo,19200,\r\n",
         nullptr},
        {"", "no header row"},
        {"name,dir,link\n", "no controller"},
        {"name,dir\nK1,demo\n", "row 1: no column 'link'"},
        {"name,dir,link,port\n", "row 1: unknown column 'port'"},
        {"name,dir,link,Name\n", "row 1: the column 'Name' twice"},
        {"name,dir,link\nK1,demo,h:1\n\nK2,demo\n", "row 4: 2 cells where the header has 3"},
        {"name,dir,link\n,demo,h:1\n", "row 2: no name"},
        {"name,dir,link\na/b,demo,h:1\n", "row 2: the name 'a/b' may hold only"},
        {"name,dir,link\nK1,demo,h:1\nK2,demo,h:2\nk1,demo,h:3\n", "row 4: the name 'k1' is also row 2's"},
        {"name,dir,link\nK1,,h:1\n", "row 2: no dir"},
        {"name,dir,link\nK1,nowhere,h:1\n", "row 2: the directory "},
        {"name,dir,link\nK1,demo,\n", "row 2: no link"},
        {"name,dir,link\nK1,demo,h:70000\n", "row 2: the port of the link h:70000"},
        {"name,dir,link,baud\nK1,demo,h:7000,9600\n", "row 2: a baud rate for the TCP link"},
        {"name,dir,link\nK1,demo,10.0.0.5\n", "row 2: the link 10.0.0.5 is no HOST:PORT"},
        {"name,dir,link,baud\nK1,demo,COM2,1234\n", "row 2: the baud rate 1234"},
        {"name,dir,link,kinds\nK1,demo,h:1,\"VG,XX\"\n", "row 2: unknown parameter kind 'XX'"},
        {"name,dir,link,interval\nK1,demo,h:1,50\n", "row 2: the interval 50 is not 100 to 2000"},
        {"name,dir,link,kinds\nK1,demo,h:1,\"VG\n", "row 2: a quoted cell is not closed"},
    };
    for (const auto& c : cases) {
        std::vector<FleetRow> rows;
        std::string error;
        const bool taken = parseFleet(c.text, TAVIR_EXAMPLES, rows, error);
        ASSERT_EQ(taken, c.error == nullptr) << c.text << " -> " << error;
        if (c.error) {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
    std::vector<FleetRow> rows;
    std::string error;
    ASSERT_TRUE(parseFleet(cases[0].text, TAVIR_EXAMPLES, rows, error));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].row, 4);
    EXPECT_EQ(rows[0].dir, std::string(TAVIR_EXAMPLES) + "/demo");
    EXPECT_EQ(linkName(rows[0].link), "127.0.0.1:7001");
    EXPECT_EQ(rows[0].kinds, "VG, GL");
    EXPECT_EQ(rows[0].intervalMs, 200u);
    EXPECT_EQ(rows[1].link.serial, "/dev/ttyUSB0");
    EXPECT_EQ(rows[1].link.baud, 19200);
    EXPECT_EQ(rows[1].intervalMs, 0u);  // the audit's own
}

TEST(FleetFile, ShardsAndExitCode) {
    int shard = 0, shards = 0;
    for (const char* refused : {"0/3", "4/3", "3", "a/3", "1/"})
        EXPECT_FALSE(parseShard(refused, shard, shards));

    const struct {
        std::vector<int> codes;
        int audit;
    } exits[] = {{{0, 0}, 0}, {{0, 1, 0}, 1}, {{1, 3, 0}, 3}, {{3, 2, 1}, 2}};
    for (const auto& e : exits) {
        std::vector<ControllerResult> results;
        for (int code : e.codes) results.push_back(ControllerResult{"", "", code, {}, 0, {}});
        EXPECT_EQ(auditExitCode(results), e.audit);
    }
}

}  // namespace
}  // namespace tavir::cli
