#include "definitions/application_header.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "definitions/builtin_macros.h"
#include "definitions_support.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::newMacroTable;
using testing::newTables;
using testing::ScratchFolder;

struct ApplicationHeader : ::testing::Test {
    ScratchFolder dir;
    std::unique_ptr<MacroTable> macros = newMacroTable();
    std::unique_ptr<ApplicationTables> tables = newTables();
    LoggedLines logged;

    int load(const std::string& header) {
        std::string path = dir.write("KVAPDEF.H", header);
        return loadApplicationHeader(*macros, *tables, logged.log, path.c_str());
    }
    // Loads a timer section into fresh tables and gives the names of its records.
    std::string timerNames(const std::string& body) {
        tables = newTables();
        macros = newMacroTable();
        EXPECT_EQ(load("/* declaratie arraynummers voor tijden */\n" + body), 0);
        std::string names;
        for (const TimerRecord& r : tables->timers)
            if (r.name[0]) names += std::string(names.empty() ? "" : " ") + r.name;
        return names;
    }
};

TEST_F(ApplicationHeader, ASectionGivesRecordsCountAndMacros) {
    ASSERT_EQ(load("/* declaratie arraynummers voor signaalgroepen */\n"
                   "#define SG02 0\n#define SG05 1\n#define NUMSG 2\n"),
              0);
    EXPECT_TRUE(logged.all().empty());
    EXPECT_EQ(tables->counts.numSignalGroups, 2);
    EXPECT_STREQ(tables->signalGroups[1].name, "SG05");
    EXPECT_EQ(tables->signalGroups[1].arrayNumber, 1);
    EXPECT_EQ(tables->signalGroups[1].vgTime, -1.0);
    EXPECT_EQ(tables->signalGroups[2].arrayNumber, -1);
    EXPECT_EQ(lookupMacro(*macros, "NUMSG"), 2);
    EXPECT_STREQ(logged.log.messageFileContext, "");
}

TEST_F(ApplicationHeader, ConditionalLinesOnlyConcernTheSectionPass) {
    const struct {
        const char* body;
        const char* names;
    } rows[] = {
        {"#ifdef pc_omgeving\n#define A 0\n#else\n#define B 1\n#endif\n", "A"},
        {"#ifndef pc_omgeving\n#ifdef X\n#define A 0\n#endif\n#define B 1\n#endif\n", "B"},  // no nesting
        {"#ifdef X\n#define A 0\n#endif\n", "A"},  // any other condition changes nothing
    };
    for (const auto& row : rows) {
        EXPECT_EQ(timerNames(std::string(row.body) + "#define NUMT 9\n"), row.names) << row.body;
        EXPECT_EQ(lookupMacro(*macros, "A"), 0) << "the define pass interprets no condition";
    }
}

TEST_F(ApplicationHeader, CountLines) {
    const struct {
        const char* countLine;
        int numTimers;  // 0: no count was set
        const char* names;
    } rows[] = {
        {"#define NUMT 99\n", 2, "T1 T2"},          // the count is what was counted
        {"#define NUMT\t2\n", 0, "T1 T2 NUMT T3"},  // with a tab it is an ordinary define
        {"#define NUMTL 2\n", 0, "T1 T2"},          // ends the section without a count
    };
    for (const auto& row : rows) {
        EXPECT_EQ(timerNames(std::string("#define T1 0\n#define T2 1\n") + row.countLine + "#define T3 2\n"),
                  row.names);
        EXPECT_EQ(tables->counts.numTimers, row.numTimers) << row.countLine;
    }
}

TEST_F(ApplicationHeader, AnyCountLineEndsWhicheverSectionIsRead) {
    ASSERT_EQ(
        load("/* declaratie arraynummers voor detectoren */\n#define SG02D1 0\n#define NUMSG 1\n"
             "#define SG05D1 1\n#define NUMD 2\n"
             "/* declaratie arraynummers voor klokken */\n#define KL1 0\n#define KL2 1\n#define NUMKL 2\n"
             "/* declaratie arraynummers voor klokken */\n#define KL9 0\n#define NUMKL 1\n"),
        0);
    EXPECT_EQ(tables->counts.numSignalGroups, 1) << "the detector section's count went to NUMSG";
    EXPECT_EQ(tables->counts.numDetectors, 0);
    EXPECT_STREQ(tables->detectors[1].name, "");
    EXPECT_EQ(tables->counts.numClocks, 1) << "a section read twice starts again at its first record";
    EXPECT_STREQ(tables->clocks[0].name, "KL9");
    EXPECT_STREQ(tables->clocks[1].name, "KL2");
}

TEST_F(ApplicationHeader, MoreDefinesThanTheTableHoldsAreCountedNotStored) {
    std::string header = "/* declaratie arraynummers voor signaalgroepen */\n";
    for (int i = 0; i < kSignalGroupCapacity + 3; ++i)
        header += "#define SG" + std::to_string(100 + i) + " " + std::to_string(i) + "\n";
    ASSERT_EQ(load(header + "#define NUMSG 1\n"), 0);
    EXPECT_EQ(tables->counts.numSignalGroups, kSignalGroupCapacity + 3);
    EXPECT_EQ(tables->signalGroups[kSignalGroupCapacity - 1].arrayNumber, kSignalGroupCapacity - 1);
    EXPECT_EQ(usableCount(tables->counts.numSignalGroups, kSignalGroupCapacity), kSignalGroupCapacity);
}

TEST_F(ApplicationHeader, SplitOfASectionDefine) {
    const struct {
        const char* line;
        int fields;
        const char* name;
        int32_t number;  // -1 where it was not read
    } rows[] = {
        {"  #define\tSG02\t-4 /* x */\n", 3, "SG02", -4},
        {"#define SG02 0x10\n", 3, "SG02", 0},
        {"#define SG02 (3)\n", 2, "SG02", -1},
        {"#define X -99999999999\n", 3, "X", INT32_MIN},
        {"#define\n", 1, "", -1},
        {"/* #define SG02 3 */\n", 2, "#define", -1},
    };
    for (const auto& row : rows) {
        const char* name = "";
        int nameLength = 0;
        int32_t number = -1;
        EXPECT_EQ(splitSectionDefine(row.line, &name, &nameLength, &number), row.fields) << row.line;
        EXPECT_EQ(std::string(name, static_cast<size_t>(nameLength)), row.name) << row.line;
        EXPECT_EQ(number, row.number) << row.line;
    }
}

TEST_F(ApplicationHeader, OddDefinesInASection) {
    ASSERT_EQ(load("/* declaratie arraynummers voor eparms */\n"
                   "#define EP_MET_EEN_HEEL_LANGE_NAAM_VAN_40_TEKENS 0\n"
                   "#define EP_ZONDER_GETAL (1)\n"
                   "#define\n"
                   "#define EP3 2\n"
                   "#define NUMEP 3\n"),
              0);
    EXPECT_EQ(tables->counts.numEparms, 3) << "a define without a name is not counted";
    EXPECT_STREQ(tables->eparms[0].name, "EP_MET_EEN_HEEL_LANGE_N");
    EXPECT_EQ(tables->eparms[1].arrayNumber, -1) << "an unreadable number leaves the record unset";
    EXPECT_EQ(lookupMacro(*macros, "EP_ZONDER_GETAL"), 0) << "the define pass reads (1) as 0";
}

// The define pass stops at a long line and at a last line without a newline; the section pass
// reads on.
TEST_F(ApplicationHeader, ThePassesEndDifferently) {
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

TEST_F(ApplicationHeader, HeaderNamesDoNotOverrideBuiltInMacros) {
    ASSERT_EQ(loadBuiltInMacros(*macros, logged.log), 0);
    const int32_t builtInD = lookupMacro(*macros, "D");
    ASSERT_GE(builtInD, 0);
    ASSERT_EQ(load("/* declaratie arraynummers voor detectoren */\n#define D 0\n#define NUMD 1\n"), 0);
    EXPECT_EQ(lookupMacro(*macros, "D"), builtInD);
    EXPECT_STREQ(tables->detectors[0].name, "D");
}

TEST_F(ApplicationHeader, FatalDefinesAndAMissingHeader) {
    std::string path = dir.file("KVAPDEF.H");
    const struct {
        std::string header;  // empty: no file
        std::string message;
    } rows[] = {
        {"#define A 1\n#define B 12345678901234567\n",
         path + " : (4) : systeem melding : De definitie waarde '12345678901234567' is ongeldig."},
        {"#define B 2147483648\n",
         path + " : (3) : systeem melding : De definitie waarde '2147483648' is ongeldig."},
        {"", path + " : fout : Dit bestand kon niet worden geopend."},
    };
    for (const auto& row : rows) {
        std::remove(path.c_str());
        macros = newMacroTable();
        logged.lines.lines.clear();
        tables->counts.numTimers = 5;
        int result = row.header.empty()
                         ? loadApplicationHeader(*macros, *tables, logged.log, path.c_str())
                         : load("/* declaratie arraynummers voor tijden */\n#define NUMT 0\n" + row.header);
        EXPECT_EQ(result, -1);
        EXPECT_EQ(logged.all(), std::vector<std::string>{row.message});
        EXPECT_EQ(tables->counts.numTimers, 5) << "no section pass after a failure";
    }
    for (int i = macros->count; i < kMacroTableCapacity - 1; ++i) addMacro(*macros, "x", i);
    logged.lines.lines.clear();
    EXPECT_EQ(load("#define PAST 1\n#define TE_VEEL 2\n"), -1);
    EXPECT_EQ(logged.all(),
              std::vector<std::string>{path + " : (2) : systeem melding : Kan de definitie "
                                              "'TE_VEEL' niet meer toevoegen aan de definitie tabel"});
}

TEST_F(ApplicationHeader, SectionPassResetsOnlySignalGroupsAndDetectors) {
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

}  // namespace
}  // namespace tavir
