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
using testing::TempDir;

// A small header: signal groups SG02, SG05, SG08, SG00, FC11 (array numbers 0..4), detectors, timers,
// clocks, switches, EGGPARMs and EPARMs.
const char kHeader[] =
    "/* declaratie arraynummers voor signaalgroepen */\n"
    "#define SG02 0\n#define SG05 1\n#define SG08 2\n#define SG00 3\n#define FC11 4\n#define NUMSG 5\n"
    "/* declaratie arraynummers voor detectoren */\n"
    "#define SG02_D1 0\n#define SG05_D1 1\n#define D08 2\n#define NUMD 3\n"
    "/* declaratie arraynummers voor tijden */\n"
    "#define T_ROOD 0\n#define T_GEEL 1\n#define NUMT 2\n"
    "/* declaratie arraynummers voor klokken */\n"
    "#define KL_OCHTEND 0\n#define NUMKL 1\n"
    "/* declaratie arraynummers voor schakelaars */\n"
    "#define SCH_NACHT 0\n#define SCH_PRIO 1\n#define SCH_OV 2\n#define NUMSCH 3\n"
    "/* declaratie arraynummers voor eggparms */\n"
    "#define EGGP1 0\n#define EGGP2 1\n#define EGGP3 2\n#define EGGP4 3\n#define NUMEGGP 4\n"
    "/* declaratie arraynummers voor eparms */\n"
    "#define EP1 0\n#define EP2 1\n#define EP3 2\n#define EP4 3\n#define NUMEP 4\n";

struct TableSource : ::testing::Test {
    TempDir dir;
    std::unique_ptr<MacroTable> macros = newMacroTable();
    std::unique_ptr<ApplicationTables> tables = newTables();
    LoggedLines logged;

    void load(const std::string& tableSource, const std::string& header = kHeader) {
        macros = newMacroTable();
        std::string path = dir.write("KVAPDEF.H", header);
        dir.write("KVAPTAB.C", tableSource);
        ASSERT_EQ(loadApplicationHeader(*macros, *tables, logged.log, path.c_str()), 0);
        ASSERT_TRUE(logged.all().empty()) << logged.all()[0];
    }
    SignalGroupRecord& sg(int i) { return tables->signalGroups[static_cast<size_t>(i)]; }
    DetectorRecord& det(int i) { return tables->detectors[static_cast<size_t>(i)]; }
    ClearanceEntry& clearance(int i) { return tables->clearances[static_cast<size_t>(i)]; }
};

TEST_F(TableSource, ClearanceRows) {
    clearance(2).fromNumber = 42;
    load(
        "const CONFLICT_T CONFLICT_tabel[] = {\n"
        "    SG02, SG05, 1, 4.5,\n"
        "    SG00, SG05, 1, 3.0,\n"  // SG00 is no signal group
        "    SG05, SG00, 1, 3.0,\n"
        "    S2, SG05, 1, 3.0,\n"    // a name shorter than three characters
        "    SG08, SG02, 1\n"        // too few tokens
        "    SG08\tSG02,,1, 0.1\n"   // any mix of delimiters
        "    SG99, SG05, 1, 2.0,\n"  // SG99 is not in the header
        "    SG02_met_een_lange_naam, SG05, 1, 1.0,\n"
        "    /*12, SG05, 1, 1.0, */\n"  // one comment: not a row
        "    #12, SG05, 1, 1.0,\n"      // a preprocessor line: not a row
        "    STOP\n"
        "    SG02, SG08, 1, 9.0,\n"
        "};\n");
    ASSERT_EQ(tables->numClearances, 4);
    EXPECT_EQ(clearance(0).fromNumber, 0);
    EXPECT_EQ(clearance(0).toNumber, 1);
    EXPECT_STREQ(clearance(0).fromName, "SG02");
    EXPECT_STREQ(clearance(0).toName, "SG05");
    EXPECT_EQ(clearance(0).clearanceTime, 4.5);
    EXPECT_EQ(clearance(1).fromNumber, 2);
    EXPECT_EQ(clearance(1).toNumber, 0);
    EXPECT_EQ(clearance(1).clearanceTime, static_cast<double>(0.1f)) << "read in single precision";
    EXPECT_NE(clearance(1).clearanceTime, 0.1);
    EXPECT_EQ(clearance(2).fromNumber, 42) << "a name the header lacks leaves the number as it was";
    EXPECT_STREQ(clearance(2).fromName, "SG99");
    EXPECT_EQ(clearance(2).toNumber, 1);
    EXPECT_STREQ(clearance(3).fromName, "SG02_met_een_lange_n") << "20 characters";
}

TEST_F(TableSource, AtMost1001ClearanceRows) {
    std::string source = "CONFLICT_tabel[] = {\n";
    for (int i = 0; i < 1005; ++i) source += "    SG02, SG05, 0, " + std::to_string(i) + ",\n";
    load(source);
    EXPECT_EQ(tables->numClearances, 1001);
    EXPECT_EQ(clearance(1000).clearanceTime, 1000.0);
}

TEST_F(TableSource, SignalGroupTimes) {
    load(
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
        "    SG09, 1, 1, 1, 1,\n"  // no such signal group
        "STOP };\n"
        "E_MG_TIJDEN_tabel[] = {\n    SG02, 4, 5, 6,\nSTOP\n"
        "E2_MG_TIJDEN_tabel[] = {\n    SG02, 7, NG, 9,\nSTOP\n"
        "E3_MG_TIJDEN_tabel[] = {\n    SG02, 10, 11, 12,\nSTOP\n");
    EXPECT_EQ(sg(0).vgTime, 4.5);
    EXPECT_EQ(sg(0).glTime, 3.0);
    EXPECT_EQ(sg(1).vgTime, 0.0);
    EXPECT_EQ(sg(1).glTime, 3.5);
    EXPECT_EQ(sg(2).vgTime, -1.0);
    EXPECT_EQ(sg(4).vgTime, -1.0);
    EXPECT_EQ(sg(0).mgTime, 20.0);
    const double expected[12] = {21, -1, 23, 4, 5, 6, 7, -1, 9, 10, 11, 12};
    for (int k = 0; k < 12; ++k) EXPECT_EQ(sg(0).extraMgTimes[k], expected[k]) << "extra MG " << k + 1;
    EXPECT_EQ(sg(1).mgTime, -1.0);
    EXPECT_EQ(sg(1).extraMgTimes[0], 1.5);
    EXPECT_EQ(sg(1).extraMgTimes[2], -1.0);
    EXPECT_EQ(sg(1).extraMgTimes[3], -1.0) << "unset: the section pass reset it";
}

TEST_F(TableSource, HeaderLinesOfSimilarTables) {
    // The E_MG line comes first; it is passed over when MG_TIJDEN_tabel[] is searched, and the
    // signal group tables are passed over when TIJDEN_tabel[] is searched.
    load(
        "E_MG_TIJDEN_tabel[] = {\n    SG02, 4, 5, 6,\nSTOP\n"
        "SG_TIJDEN_tabel[] = {\n    T_ROOD, 0, 1, 0, 1, 0,\nSTOP\n"
        "MG_TIJDEN_tabel[] = {\n    SG02, 20, 21, 22, 23,\nSTOP\n"
        "TIJDEN_tabel[] = {\n    T_ROOD, 2.5,\n    T_GEEL, 3,\nSTOP\n");
    EXPECT_EQ(sg(0).mgTime, 20.0);
    EXPECT_EQ(sg(0).extraMgTimes[3], 4.0);
    EXPECT_EQ(tables->timers[0].time, 2.5);
    EXPECT_EQ(tables->timers[1].time, 3.0);
}

TEST_F(TableSource, DetectorTimesAndArrayNumberFallback) {
    // SG05_D1 is known to the MacroTable as 21 before its section gives it no number.
    std::string header = "#define SG05_D1 21\n" + std::string(kHeader);
    header.replace(header.find("#define SG05_D1 1"), 17, "#define SG05_D1 (1)");
    load(
        "SG_DETECTIE_tabel[] = {\n"
        "    SG02_D1, 1, 0, 2.5, 3.5, NG,\n"
        "    SG05_D1, 1, 0, 1, 2, 3,\n"
        "    D08, 1, 0, 1, 2, 3,\n"  // the name must hold SG
        "STOP\n",
        header);
    EXPECT_EQ(det(0).occupancyTime, 2.5);
    EXPECT_EQ(det(0).gapTime1, 3.5);
    EXPECT_EQ(det(0).gapTime2, -1.0);
    EXPECT_EQ(det(1).gapTime2, 3.0);
    EXPECT_EQ(det(1).arrayNumber, 21) << "unset by the section, taken from the MacroTable";
    EXPECT_EQ(det(0).arrayNumber, 0);
    EXPECT_EQ(det(2).occupancyTime, -1.0);
}

TEST_F(TableSource, MgArrayNumberFallbackOnlyWhenFound) {
    const char header[] =
        "#define SG05 12\n"
        "/* declaratie arraynummers voor signaalgroepen */\n"
        "#define SG02 0\n"
        "#define SG05 x1\n"     // no number for the section; the MacroTable has 12 first
        "  #define SG08 (2)\n"  // not at column 0: the MacroTable does not know SG08
        "#define NUMSG 3\n";
    load("MG_TIJDEN_tabel[] = {\n    SG02, 1, 1, 1, 1,\n    SG05, 1, 1, 1, 1,\n    SG08, 1, 1, 1, 1,\nSTOP\n",
         header);
    EXPECT_EQ(sg(0).arrayNumber, 0);
    EXPECT_EQ(sg(1).arrayNumber, 12);
    EXPECT_EQ(sg(2).arrayNumber, -1);
    EXPECT_EQ(sg(2).mgTime, 1.0);
}

TEST_F(TableSource, TimersClocksSwitchesEggparms) {
    load(
        "TIJDEN_tabel[] = {\n    T_ROOD, 2.5,\n    T_GEEL, NG,\nSTOP\n"
        "KLOKKEN_tabel[] = {\n    KL_OCHTEND, 7.30, 9.15,\nSTOP\n"
        "SCHAKELAAR_tabel[] = {\n    SCH_NACHT, AAN,\n    SCH_PRIO, UIT,\n    SCH_OV, (AAN),\nSTOP\n"
        "EGGPARMS_tabel[] = {\n    EGGP1, 12abc,\n    EGGP2, -7,\n    EGGP3, abc,\n    EGGP4, 3.9,\nSTOP\n");
    EXPECT_EQ(tables->timers[0].time, 2.5);
    EXPECT_EQ(tables->timers[1].time, 0.0) << "NG is no marker in the timer table";
    EXPECT_EQ(tables->clocks[0].time1, 7.30);
    EXPECT_EQ(tables->clocks[0].time2, 9.15);
    EXPECT_EQ(tables->switches[0].value, 1);
    EXPECT_EQ(tables->switches[1].value, 0);
    EXPECT_EQ(tables->switches[2].value, 1);
    const int32_t eggparms[] = {12, -7, 0, 3};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(tables->eggparms[static_cast<size_t>(i)].value, eggparms[i]) << i;
}

TEST_F(TableSource, EparmPairs) {
    struct Case {
        const char* what;
        const char* line;
        double values[4];
    } cases[] = {
        {"three pairs, each closed by a comma", "    EP1, 1.5, EP2, 2.5, EP3, 3.5,\n", {1.5, 2.5, 3.5, 0}},
        {"without the final comma the last pair is lost",
         "    EP1, 1.5, EP2, 2.5, EP3, 3.5\n",
         {1.5, 2.5, 0, 0}},
        {"a piece without a value", "    EP1, , EP2, 2.5,\n", {0, 2.5, 0, 0}},
        {"a piece without a name", "    , 1.5, EP2, 2.5,\n", {0, 2.5, 0, 0}},
        {"the second comma may come at once", "EP1 1.5,,EP4\t4,\n", {1.5, 0, 0, 0}},
        {"a name that matches nothing", "    EP9, 9, EP4, 4,\n", {0, 0, 0, 4}},
    };
    for (const Case& c : cases) {
        load(std::string("EPARMS_tabel[] = {\n") + c.line + "STOP\n");
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(tables->eparms[static_cast<size_t>(i)].value, c.values[i]) << c.what << " EP" << i + 1;
    }
}

TEST_F(TableSource, LinesThatAreNotRows) {
    load(
        "TIJDEN_tabel[] = {\n"
        "   #if 0\n"
        "    T_ROOD, 1,\n"
        "   #endif\n"
        "    T_GEEL, 2, /* opmerking */\n"
        "};\n"
        "KLOKKEN_tabel[] = { STOP };\n"  // STOP on the header line: empty
        "    KL_OCHTEND, 1, 2,\n");
    EXPECT_EQ(tables->timers[0].time, 1.0);
    EXPECT_EQ(tables->timers[1].time, 2.0);
    EXPECT_EQ(tables->clocks[0].time1, 0.0);
}

TEST_F(TableSource, MatchingIsBoundedByTheCountAndFindsTheFirst) {
    const char header[] =
        "/* declaratie arraynummers voor tijden */\n"
        "#define T1 0\n#define T2 1\n#define T1 2\n#define NUMT 3\n";
    load("TIJDEN_tabel[] = {\n    T1, 1,\n    T2, 2,\n    T3, 3,\nSTOP\n", header);
    EXPECT_EQ(tables->timers[0].time, 1.0);
    EXPECT_EQ(tables->timers[2].time, 0.0) << "a later duplicate is never matched";
    std::string headerPath = dir.file("KVAPDEF.H");
    std::strcpy(tables->timers[2].name, "T3");
    tables->counts.numTimers = 2;
    loadTableSource(*macros, *tables, headerPath.c_str());
    EXPECT_EQ(tables->timers[2].time, 0.0) << "beyond the count";
    tables->counts.numTimers = 100000;  // counted beyond the capacity
    loadTableSource(*macros, *tables, headerPath.c_str());
    EXPECT_EQ(tables->timers[2].time, 3.0);
}

TEST_F(TableSource, LongNamesMatchByTheirFirst23Characters) {
    const char header[] =
        "/* declaratie arraynummers voor extra parameters */\n"
        "#define EP_MET_EEN_ZEER_LANGE_NAAM 0\n#define NUMEP 1\n";
    load("EPARMS_tabel[] = {\n    EP_MET_EEN_ZEER_LANGE_NAAM, 2.5,\nSTOP\n", header);
    EXPECT_EQ(tables->eparms[0].value, 2.5);
}

TEST_F(TableSource, LongLinesComeInPiecesOf399) {
    std::string pad(390, ' ');
    // The row's first piece ends within the padding; the second piece starts with T_GEEL.
    load("TIJDEN_tabel[] = {\n    T_ROOD, 1," + pad + "T_GEEL, 2,\nSTOP\n");
    EXPECT_EQ(tables->timers[0].time, 1.0);
    EXPECT_EQ(tables->timers[1].time, 2.0);
}

TEST_F(TableSource, MissingTablesAndAMissingFile) {
    load("TIJDEN_tabel[] = {\n    T_ROOD, 1,\nSTOP\nCONFLICT_tabel[] = {\n    SG02, SG05, 0, 1,\nSTOP\n");
    EXPECT_EQ(tables->numClearances, 1);
    tables->eparms[0].value = 7.5;
    tables->eparms[0].received = 1;
    tables->eparms[0].controllerValue = 75;
    // A table source without the timer table: the earlier value does not survive.
    load("EPARMS_tabel[] = {\nSTOP\n");
    EXPECT_EQ(tables->timers[0].time, 0.0);
    EXPECT_EQ(tables->eparms[0].value, 0.0);
    EXPECT_EQ(tables->eparms[0].received.load(), 1) << "the working fields are left alone";
    EXPECT_EQ(tables->eparms[0].controllerValue.load(), 75);
    EXPECT_EQ(tables->numClearances, 0);
    // Without a table source nothing changes but the number of clearances.
    tables->timers[0].time = 4.0;
    tables->numClearances = 3;
    std::remove(dir.file("KVAPTAB.C").c_str());
    loadTableSource(*macros, *tables, dir.file("KVAPDEF.H").c_str());
    EXPECT_EQ(tables->timers[0].time, 4.0);
    EXPECT_EQ(tables->numClearances, 0);
}

TEST(TableSourcePath, DriveAndDirectoryOfTheHeader) {
    struct Case {
        const char* header;
        const char* expected;
    } cases[] = {
        {"C:\\kp\\app\\KVAPDEF.H", "C:\\kp\\app\\KVAPTAB.C"},
        {"/home/kp/app/KVAPDEF.H", "/home/kp/app/KVAPTAB.C"},
        {"C:/kp\\app/KVAPDEF.H", "C:/kp\\app/KVAPTAB.C"},
        {"KVAPDEF.H", "KVAPTAB.C"},
        {"C:KVAPDEF.H", "C:KVAPTAB.C"},
        {"app\\", "app\\KVAPTAB.C"},
        {"", "KVAPTAB.C"},
    };
    for (const Case& c : cases) {
        char path[1024];
        ASSERT_TRUE(tableSourcePath(c.header, path, sizeof path)) << c.header;
        EXPECT_STREQ(path, c.expected) << c.header;
    }
    std::string deep = std::string(1013, 'd') + "\\KVAPDEF.H";
    char path[1024];
    EXPECT_TRUE(tableSourcePath(deep.c_str(), path, sizeof path));  // 1014 + 9 characters and the NUL
    deep.insert(0, "x");
    EXPECT_FALSE(tableSourcePath(deep.c_str(), path, sizeof path));
}

TEST(RowTokens, SplitAtBlanksCommasTabsAndNewlines) {
    char row[] = "  {SG02,\tSG05 ,, 1}, 4.5 \n";
    char* tokens[6];
    ASSERT_EQ(splitRowTokens(row, tokens, 6), 4);
    const char* expected[] = {"{SG02", "SG05", "1}", "4.5"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(tokens[i], expected[i]);
    char few[] = "a b c";
    EXPECT_EQ(splitRowTokens(few, tokens, 2), 2);
    EXPECT_STREQ(tokens[1], "b");
}

}  // namespace
}  // namespace tavir
