#include "definitions/table_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "definitions/application_header.h"
#include "definitions_support.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::newMacroTable;
using testing::newTables;
using testing::ScratchFolder;

const char kHeader[] =
    "/* declaratie arraynummers voor signaalgroepen */\n"
    "#define SG02 0\n#define SG05 1\n#define SG08 2\n#define SG00 3\n#define FC11 4\n#define NUMSG 5\n"
    "/* declaratie arraynummers voor detectoren */\n#define SG02_D1 0\n#define D08 1\n#define NUMD 2\n"
    "/* declaratie arraynummers voor tijden */\n#define T_ROOD 0\n#define T_GEEL 1\n#define NUMT 2\n"
    "/* declaratie arraynummers voor schakelaars */\n#define SCH_NACHT 0\n#define SCH_OV 1\n#define NUMSCH "
    "2\n"
    "/* declaratie arraynummers voor eggparms */\n#define EGGP1 0\n#define EGGP2 1\n#define NUMEGGP 2\n"
    "/* declaratie arraynummers voor eparms */\n"
    "#define EP1 0\n#define EP2 1\n#define EP3 2\n#define EP4 3\n#define NUMEP 4\n";

struct TableSource : ::testing::Test {
    ScratchFolder dir;
    std::unique_ptr<MacroTable> macros = newMacroTable();
    std::unique_ptr<ApplicationTables> tables = newTables();
    LoggedLines logged;

    void load(const std::string& tableSource, const std::string& header = kHeader) {
        macros = newMacroTable();
        std::string path = dir.write("KVAPDEF.H", header);
        dir.write("KVAPTAB.C", tableSource);
        ASSERT_EQ(loadApplicationHeader(*macros, *tables, logged.log, path.c_str()), 0);
        ASSERT_TRUE(logged.all().empty());
    }
    SignalGroupRecord& sg(int i) { return tables->signalGroups[static_cast<size_t>(i)]; }
    ClearanceEntry& clearance(int i) { return tables->clearances[static_cast<size_t>(i)]; }
};

TEST_F(TableSource, ClearanceRows) {
    clearance(2).fromNumber = 42;
    load(
        "const CONFLICT_T CONFLICT_tabel[] = {\n"
        "    SG02, SG05, 1, 4.5,\n"
        "    SG00, SG05, 1, 3.0,\n"  // SG00 is no signal group
        "    S2, SG05, 1, 3.0,\n"    // a name shorter than three characters
        "    SG08, SG02, 1\n"        // too few tokens
        "    SG08\tSG02,,1, 0.1\n"   // any mix of delimiters
        "    SG99, SG05, 1, 2.0,\n"  // SG99 is not in the header
        "    SG02_met_een_lange_naam, SG05, 1, 1.0,\n"
        "    /*12, SG05, 1, 1.0, */\n"
        "    STOP\n"
        "    SG02, SG08, 1, 9.0,\n");
    ASSERT_EQ(tables->numClearances, 4);
    EXPECT_EQ(clearance(0).toNumber, 1);
    EXPECT_STREQ(clearance(0).toName, "SG05");
    EXPECT_EQ(clearance(0).clearanceTime, 4.5);
    EXPECT_EQ(clearance(1).clearanceTime, static_cast<double>(0.1f)) << "read in single precision";
    EXPECT_EQ(clearance(2).fromNumber, 42) << "a name the header lacks leaves the number as it was";
    EXPECT_STREQ(clearance(3).fromName, "SG02_met_een_lange_n") << "20 characters";

    std::string many = "CONFLICT_tabel[] = {\n";
    for (int i = 0; i < kClearanceRowLimit + 4; ++i)
        many += "    SG02, SG05, 0, " + std::to_string(i) + ",\n";
    load(many);
    EXPECT_EQ(tables->numClearances, kClearanceRowLimit);
}

TEST_F(TableSource, SignalGroupTimes) {
    load(
        "E_MG_TIJDEN_tabel[] = {\n    SG02, 4, 5, 6,\nSTOP\n"  // passed over when MG_TIJDEN_tabel[] is
                                                               // searched
        "SG_TIJDEN_tabel[] = {\n"
        "    SG02, 0, 4.5, 0, 3, 0,\n"
        "    SG05, 0, NG, 0, 3.5, 0,\n"  // no NG marker here
        "    FC11, 0, 9, 0, 9, 0,\n"     // the name must hold SG
        "    SG08, 0, 7, 0, 7,\n"        // five tokens
        "    STOP\n"
        "};\n"
        "MG_TIJDEN_tabel[] = {\n"
        "    SG02, 20, 21, NG, 23,\n"
        "    SG05, NG, 1.5, 2.5, xNGx,\n"
        "STOP };\n"
        "E2_MG_TIJDEN_tabel[] = {\n    SG02, 7, NG, 9,\nSTOP\n");
    EXPECT_EQ(sg(0).vgTime, 4.5);
    EXPECT_EQ(sg(1).vgTime, 0.0);
    EXPECT_EQ(sg(2).vgTime, -1.0);
    EXPECT_EQ(sg(4).vgTime, -1.0);
    EXPECT_EQ(sg(0).mgTime, 20.0);
    const double extra[9] = {21, -1, 23, 4, 5, 6, 7, -1, 9};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(sg(0).extraMgTimes[k], extra[k]) << "extra MG " << k + 1;
    EXPECT_EQ(sg(1).mgTime, -1.0);
    EXPECT_EQ(sg(1).extraMgTimes[2], -1.0);
}

TEST_F(TableSource, ArrayNumbersFromTheMacroTableWhenTheSectionGaveNone) {
    const char header[] =
        "#define SG05 12\n#define SG02_D1 21\n"
        "/* declaratie arraynummers voor signaalgroepen */\n"
        "#define SG02 0\n#define SG05 x1\n"
        "  #define SG08 (2)\n"  // not at column 0: the MacroTable does not know SG08
        "#define NUMSG 3\n"
        "/* declaratie arraynummers voor detectoren */\n#define SG02_D1 (1)\n#define NUMD 1\n";
    load(
        "MG_TIJDEN_tabel[] = {\n    SG05, 1, 1, 1, 1,\n    SG08, 1, 1, 1, 1,\nSTOP\n"
        "SG_DETECTIE_tabel[] = {\n    SG02_D1, 1, 0, 2.5, 3.5, NG,\nSTOP\n",
        header);
    EXPECT_EQ(sg(1).arrayNumber, 12);
    EXPECT_EQ(sg(2).arrayNumber, -1);
    EXPECT_EQ(sg(2).mgTime, 1.0);
    EXPECT_EQ(tables->detectors[0].arrayNumber, 21);
    EXPECT_EQ(tables->detectors[0].gapTime1, 3.5);
    EXPECT_EQ(tables->detectors[0].gapTime2, -1.0);
}

TEST_F(TableSource, TimersSwitchesAndParameters) {
    load(
        "TIJDEN_tabel[] = {\n"
        "   #if 0\n"
        "    T_ROOD, 2.5,\n"
        "   #endif\n"
        "    T_GEEL, NG, /* opmerking */\n"
        "};\n"
        "SCHAKELAAR_tabel[] = { STOP };\n"  // STOP on the header line: empty
        "    SCH_NACHT, AAN,\n"
        "EGGPARMS_tabel[] = {\n    EGGP1, 12abc,\n    EGGP2, 3.9,\nSTOP\n");
    EXPECT_EQ(tables->timers[0].time, 2.5);
    EXPECT_EQ(tables->timers[1].time, 0.0) << "NG is no marker in the timer table";
    EXPECT_EQ(tables->switches[0].value, 0);
    EXPECT_EQ(tables->eggparms[0].value, 12);
    EXPECT_EQ(tables->eggparms[1].value, 3);
}

TEST_F(TableSource, EparmPairs) {
    const struct {
        const char* line;
        double values[4];
    } rows[] = {
        {"    EP1, 1.5, EP2, 2.5, EP3, 3.5,\n", {1.5, 2.5, 3.5, 0}},
        {"    EP1, 1.5, EP2, 2.5, EP3, 3.5\n", {1.5, 2.5, 0, 0}},  // without the final comma the last is lost
        {"    EP1, , EP2, 2.5,\n", {0, 2.5, 0, 0}},
        {"EP1 1.5,,EP4\t4,\n", {1.5, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        load(std::string("EPARMS_tabel[] = {\n") + row.line + "STOP\n");
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(tables->eparms[static_cast<size_t>(i)].value, row.values[i]) << row.line;
    }
}

TEST_F(TableSource, MatchingIsBoundedByTheCountAndFindsTheFirst) {
    load("TIJDEN_tabel[] = {\n    T1, 1,\n    T2, 2,\n    T3, 3,\nSTOP\n",
         "/* declaratie arraynummers voor tijden */\n#define T1 0\n#define T2 1\n#define T1 2\n#define NUMT "
         "3\n");
    EXPECT_EQ(tables->timers[0].time, 1.0);
    EXPECT_EQ(tables->timers[2].time, 0.0) << "a later duplicate is never matched";
    std::strcpy(tables->timers[2].name, "T3");
    tables->counts.numTimers = 2;
    loadTableSource(*macros, *tables, dir.file("KVAPDEF.H").c_str());
    EXPECT_EQ(tables->timers[2].time, 0.0) << "beyond the count";
    tables->counts.numTimers = 100000;  // counted beyond the capacity
    loadTableSource(*macros, *tables, dir.file("KVAPDEF.H").c_str());
    EXPECT_EQ(tables->timers[2].time, 3.0);
}

TEST_F(TableSource, LongLinesComeInPiecesOf399) {
    // The row's first piece ends within the padding; the second starts with T_GEEL.
    load("TIJDEN_tabel[] = {\n    T_ROOD, 1," + std::string(390, ' ') + "T_GEEL, 2,\nSTOP\n");
    EXPECT_EQ(tables->timers[1].time, 2.0);
}

TEST_F(TableSource, MissingTablesAndAMissingFile) {
    load("TIJDEN_tabel[] = {\n    T_ROOD, 1,\nSTOP\nCONFLICT_tabel[] = {\n    SG02, SG05, 0, 1,\nSTOP\n");
    tables->eparms[0].received = 1;
    load("EPARMS_tabel[] = {\nSTOP\n");
    EXPECT_EQ(tables->timers[0].time, 0.0) << "a missing table does not keep the earlier value";
    EXPECT_EQ(tables->eparms[0].received.load(), 1) << "the working fields are left alone";
    EXPECT_EQ(tables->numClearances, 0);
    tables->timers[0].time = 4.0;
    tables->numClearances = 3;
    std::remove(dir.file("KVAPTAB.C").c_str());
    loadTableSource(*macros, *tables, dir.file("KVAPDEF.H").c_str());
    EXPECT_EQ(tables->timers[0].time, 4.0) << "without a table source nothing changes";
    EXPECT_EQ(tables->numClearances, 0) << "but the number of clearances";
}

TEST(TableSourcePath, DriveAndDirectoryOfTheHeader) {
    const struct {
        const char* header;
        const char* expected;
    } rows[] = {
        {"C:/kp\\app/KVAPDEF.H", "C:/kp\\app/KVAPTAB.C"},
        {"C:KVAPDEF.H", "C:KVAPTAB.C"},
        {"", "KVAPTAB.C"},
    };
    char path[1024];
    for (const auto& row : rows) {
        ASSERT_TRUE(tableSourcePath(row.header, path, sizeof path)) << row.header;
        EXPECT_STREQ(path, row.expected);
    }
    std::string deep = std::string(1013, 'd') + "\\KVAPDEF.H";
    EXPECT_TRUE(tableSourcePath(deep.c_str(), path, sizeof path));  // 1014 + 9 characters and the NUL
    EXPECT_FALSE(tableSourcePath(("x" + deep).c_str(), path, sizeof path));
}

}  // namespace
}  // namespace tavir
