// The application header and table source, each read by loadApplicationHeader: the define,
// section and table passes. The golden applications cover the ordinary forms, the table source's
// rows and the section pass's count lines and odd defines; these are the edges that need a load
// of their own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "definitions/application_header.h"
#include "definitions/table_source.h"
#include "definitions_support.h"

namespace tavir {
namespace {

using testing::newMacroTable;
using testing::newTables;

const char kHeader[] =
    "/* declaratie arraynummers voor signaalgroepen */\n#define SG02 0\n#define SG05 1\n#define NUMSG 2\n"
    "/* declaratie arraynummers voor tijden */\n#define T_ROOD 0\n#define NUMT 1\n"
    "/* declaratie arraynummers voor eparms */\n#define EP1 0\n#define NUMEP 1\n";

struct Application : ::testing::Test {
    testing::ScratchFolder dir;
    std::unique_ptr<MacroTable> macros = newMacroTable();
    std::unique_ptr<ApplicationTables> tables = newTables();
    testing::LoggedLines logged;

    int load(const std::string& header) {
        std::string path = dir.write("KVAPDEF.H", header);
        return loadApplicationHeader(*macros, *tables, logged.log, path.c_str());
    }
    // A table source with the header, read silently into the tables as they are.
    void loadTables(const std::string& tableSource, const std::string& header = kHeader) {
        macros = newMacroTable();
        dir.write("KVAPTAB.C", tableSource);
        ASSERT_EQ(load(header), 0);
        ASSERT_TRUE(logged.all().empty());
    }
};

TEST_F(Application, HeaderMoreDefinesThanTheTableHoldsAreCountedNotStored) {
    std::string header = "/* declaratie arraynummers voor signaalgroepen */\n";
    for (int i = 0; i < kSignalGroupCapacity + 3; ++i)
        header += "#define SG" + std::to_string(100 + i) + " " + std::to_string(i) + "\n";
    ASSERT_EQ(load(header + "#define NUMSG 1\n"), 0);
    EXPECT_EQ(tables->counts.numSignalGroups, kSignalGroupCapacity + 3);
    EXPECT_EQ(tables->signalGroups[kSignalGroupCapacity - 1].arrayNumber, kSignalGroupCapacity - 1);
    EXPECT_EQ(usableCount(tables->counts.numSignalGroups, kSignalGroupCapacity), kSignalGroupCapacity);
}

// The define pass stops at a long line and at a last line without a newline; the section pass
// reads on.
TEST_F(Application, HeaderThePassesEndDifferently) {
    ASSERT_EQ(load("/* declaratie arraynummers voor tijden */\n#define T1 0\n/*" + std::string(260, '-') +
                   "*/\n#define T2 1\n#define NUMT 2\n"),
              0);
    EXPECT_EQ(lookupMacro(*macros, "T2"), -1);
    EXPECT_EQ(tables->counts.numTimers, 2);

    ASSERT_EQ(load("/* declaratie arraynummers voor schakelaars */\r\n#define SCH1 0\r\n#define SCH2 1"), 0);
    EXPECT_EQ(lookupMacro(*macros, "SCH2"), -1);
    EXPECT_STREQ(tables->switches[1].name, "SCH2");
    EXPECT_EQ(tables->counts.numSwitches, 0) << "the section ran to the end of the file";
    EXPECT_TRUE(logged.all().empty());
}

TEST_F(Application, HeaderFatalDefinesAndAMissingHeader) {
    std::string path = dir.file("KVAPDEF.H");
    const std::pair<std::string, std::string> rows[] = {
        // the header (empty: no file) and its message
        {"#define A 1\n#define B 12345678901234567\n",
         path + " : (4) : systeem melding : De definitie waarde '12345678901234567' is ongeldig."},
        {"#define B 2147483648\n",
         path + " : (3) : systeem melding : De definitie waarde '2147483648' is ongeldig."},
        {"", path + " : fout : Dit bestand kon niet worden geopend."},
    };
    for (const auto& [header, message] : rows) {
        std::remove(path.c_str());
        macros = newMacroTable();
        logged.lines.lines.clear();
        tables->counts.numTimers = 5;
        int result = header.empty()
                         ? loadApplicationHeader(*macros, *tables, logged.log, path.c_str())
                         : load("/* declaratie arraynummers voor tijden */\n#define NUMT 0\n" + header);
        EXPECT_EQ(result, -1);
        // Each line counts from the file's start; the file's prefix ends with the load.
        EXPECT_EQ(logged.all(), std::vector<std::string>{message});
        EXPECT_STREQ(logged.log.messageFileContext, "");
        EXPECT_EQ(tables->counts.numTimers, 5) << "no section pass after a failure";
    }
    for (int i = macros->count; i < kMacroTableCapacity - 1; ++i) addMacro(*macros, "x", i);
    logged.lines.lines.clear();
    EXPECT_EQ(load("#define PAST 1\n#define TE_VEEL 2\n"), -1);
    EXPECT_EQ(logged.all(),
              std::vector<std::string>{path + " : (2) : systeem melding : Kan de definitie "
                                              "'TE_VEEL' niet meer toevoegen aan de definitie tabel"});
}

TEST_F(Application, HeaderSectionPassResetsOnlySignalGroupsAndDetectors) {
    ASSERT_EQ(load("/* declaratie arraynummers voor signaalgroepen */\n#define SG1 0\n#define SG2 1\n#define "
                   "NUMSG 2\n"
                   "/* declaratie arraynummers voor detectoren */\n#define SGD1 0\n#define NUMD 1\n"
                   "/* declaratie arraynummers voor tijden */\n#define T1 0\n#define T2 1\n#define NUMT 2\n"),
              0);
    ASSERT_EQ(load("/* declaratie arraynummers voor signaalgroepen */\n#define SG1 0\n#define NUMSG 1\n"), 0);
    EXPECT_EQ(tables->signalGroups[1].arrayNumber, -1);
    EXPECT_EQ(tables->counts.numDetectors, 1) << "a section that is missing keeps its count";
    EXPECT_STREQ(tables->detectors[0].name, "") << "but the detector records are reset";
    EXPECT_STREQ(tables->timers[1].name, "T2");
}

// The golden application of the edges has the table source's rows; these need more lines or a
// second load.
TEST_F(Application, TableClearanceRowsStopAtTheirLimit) {
    std::string many = "CONFLICT_tabel[] = {\n";
    for (int i = 0; i < kClearanceRowLimit + 4; ++i)
        many += "    SG02, SG05, 0, " + std::to_string(i) + ",\n";
    loadTables(many);
    EXPECT_EQ(tables->numClearances, kClearanceRowLimit);
}

TEST_F(Application, TableMatchingIsBoundedByTheCountAndFindsTheFirst) {
    loadTables(
        "TIJDEN_tabel[] = {\n    T1, 1,\n    T2, 2,\n    T3, 3,\nSTOP\n",
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

TEST_F(Application, TableMissingTablesAndAMissingFile) {
    loadTables(
        "TIJDEN_tabel[] = {\n    T_ROOD, 1,\nSTOP\nCONFLICT_tabel[] = {\n    SG02, SG05, 0, 1,\nSTOP\n");
    tables->eparms[0].received = 1;
    loadTables("EPARMS_tabel[] = {\nSTOP\n");
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
    const std::pair<const char*, const char*> rows[] = {
        {"C:/kp\\app/KVAPDEF.H", "C:/kp\\app/KVAPTAB.C"},
        {"C:KVAPDEF.H", "C:KVAPTAB.C"},
        {"", "KVAPTAB.C"},
    };
    char path[1024];
    for (auto [header, expected] : rows) {
        ASSERT_TRUE(tableSourcePath(header, path, sizeof path)) << header;
        EXPECT_STREQ(path, expected);
    }
    std::string deep = std::string(1013, 'd') + "\\KVAPDEF.H";
    EXPECT_TRUE(tableSourcePath(deep.c_str(), path, sizeof path));  // 1014 + 9 characters and the NUL
    EXPECT_FALSE(tableSourcePath(("x" + deep).c_str(), path, sizeof path));
}

}  // namespace
}  // namespace tavir
