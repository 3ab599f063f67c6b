#include "definitions/application_header.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "definitions/builtin_macros.h"
#include "definitions_support.h"
#include "base/join_path.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::newMacroTable;
using testing::newTables;
using testing::TempDir;

struct ApplicationHeader : ::testing::Test {
    TempDir dir;
    std::unique_ptr<MacroTable> macros = newMacroTable();
    std::unique_ptr<ApplicationTables> tables = newTables();
    LoggedLines logged;

    int load(const std::string& header) {
        std::string path = dir.write("KVAPDEF.H", header);
        return loadApplicationHeader(*macros, *tables, logged.log, path.c_str());
    }
    std::string sgName(int i) const { return tables->signalGroups[static_cast<size_t>(i)].name; }
};

TEST_F(ApplicationHeader, SignalGroupSectionGivesRecordsCountAndMacros) {
    ASSERT_EQ(load("/* declaratie arraynummers voor signaalgroepen */\n"
                   "#define SG02 0\n"
                   "#define SG05 1\n"
                   "#define SG08 2\n"
                   "#define NUMSG 3\n"),
              0);
    EXPECT_TRUE(logged.all().empty());
    EXPECT_EQ(tables->counts.numSignalGroups, 3);
    const char* names[] = {"SG02", "SG05", "SG08"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sgName(i), names[i]);
        EXPECT_EQ(tables->signalGroups[static_cast<size_t>(i)].arrayNumber, i);
        EXPECT_EQ(tables->signalGroups[static_cast<size_t>(i)].vgTime, -1.0);
        EXPECT_EQ(tables->signalGroups[static_cast<size_t>(i)].extraMgTimes[11], -1.0);
    }
    EXPECT_EQ(sgName(3), "");
    EXPECT_EQ(tables->signalGroups[3].arrayNumber, -1);
    ASSERT_EQ(macros->count, 4);
    EXPECT_EQ(lookupMacro(*macros, "SG02"), 0);
    EXPECT_EQ(lookupMacro(*macros, "SG08"), 2);
    EXPECT_EQ(lookupMacro(*macros, "NUMSG"), 3);
    // The file and line prefixes are gone once the header is read.
    EXPECT_STREQ(logged.log.messageFileContext, "");
    EXPECT_STREQ(logged.log.messageLineContext, "");
}

TEST_F(ApplicationHeader, AllSevenSectionsAndTheirCountLines) {
    ASSERT_EQ(
        load("/* declaratie arraynummers voor detectoren */\n#define SG02D1 0\n#define SG02D2 1\n#define "
             "NUMD 2\n"
             "/* declaratie arraynummers voor tijden */\n#define T1 0\n#define NUMT 1\n"
             "/* declaratie arraynummers voor klokken */\n#define KL1 0\n#define KL2 1\n#define NUMKL 2\n"
             "/* declaratie arraynummers voor extra geheel getal parameters */\n#define EGGP1 0\n#define "
             "NUMEGGP 1\n"
             "/* declaratie arraynummers voor eparms */\n#define EP1 0\n#define EP2 1\n#define NUMEP 2\n"
             "/* declaratie arraynummers voor schakelaars */\n#define SCH1 4\n#define NUMSCH 1\n"),
        0);
    const ApplicationCounts& n = tables->counts;
    EXPECT_EQ(n.numSignalGroups, 0);
    EXPECT_EQ(n.numDetectors, 2);
    EXPECT_EQ(n.numTimers, 1);
    EXPECT_EQ(n.numClocks, 2);
    EXPECT_EQ(n.numEggparms, 1);
    EXPECT_EQ(n.numEparms, 2);
    EXPECT_EQ(n.numSwitches, 1);
    EXPECT_STREQ(tables->detectors[1].name, "SG02D2");
    EXPECT_STREQ(tables->timers[0].name, "T1");
    EXPECT_STREQ(tables->clocks[1].name, "KL2");
    EXPECT_STREQ(tables->eggparms[0].name, "EGGP1");
    EXPECT_STREQ(tables->eparms[1].name, "EP2");
    EXPECT_STREQ(tables->switches[0].name, "SCH1");
    EXPECT_EQ(tables->switches[0].arrayNumber, 4);
}

TEST_F(ApplicationHeader, ConditionalLinesOnlyConcernTheSectionPass) {
    struct Case {
        const char* what;
        std::string body;
        int count;
        const char* names;  // the records' names, joined by blanks
    } cases[] = {
        {"#ifndef pc_omgeving skips", "#define A 0\n#ifndef pc_omgeving\n#define B 1\n#endif\n#define C 2\n",
         2, "A C"},
        {"#ifdef pc_omgeving reads", "#ifdef pc_omgeving\n#define A 0\n#else\n#define B 1\n#endif\n", 1, "A"},
        {"#ifdef AUTOMAAT skips", "#ifdef AUTOMAAT\n#define A 0\n#else\n#define B 1\n#endif\n", 1, "B"},
        {"#ifndef AUTOMAAT reads", "#ifndef AUTOMAAT\n#define A 0\n#endif\n", 1, "A"},
        {"no nesting: the inner #endif ends both",
         "#ifndef pc_omgeving\n#ifdef X\n#define A 0\n#endif\n#define B 1\n#endif\n", 1, "B"},
        {"another #ifdef changes nothing", "#ifdef X\n#define A 0\n#endif\n", 1, "A"},
    };
    for (const Case& c : cases) {
        tables = newTables();
        macros = newMacroTable();
        ASSERT_EQ(load("/* declaratie arraynummers voor tijden */\n" + c.body + "#define NUMT 9\n"), 0)
            << c.what;
        EXPECT_EQ(tables->counts.numTimers, c.count) << c.what;
        std::string names;
        for (int i = 0; i < c.count; ++i)
            names += std::string(i ? " " : "") + tables->timers[static_cast<size_t>(i)].name;
        EXPECT_EQ(names, c.names) << c.what;
        // The define pass interprets no conditional line.
        EXPECT_EQ(lookupMacro(*macros, "A"), 0) << c.what;
        EXPECT_EQ(lookupMacro(*macros, "NUMT"), 9) << c.what;
    }
}

TEST_F(ApplicationHeader, CountLines) {
    struct Case {
        const char* what;
        const char* countLine;
        int numTimers;    // 0: no count was set
        int recordsRead;  // records the section read stored
    } cases[] = {
        {"NUMT with a blank", "#define NUMT 2\n", 2, 2},
        {"NUMT with a tab is an ordinary define", "#define NUMT\t2\n", 0, 4},
        {"the count is what was counted, not what is written", "#define NUMT 99\n", 2, 2},
        {"NUMTL ends without a count", "#define NUMTL 2\n", 0, 2},
        {"NUMBK ends without a count", "#define NUMBK 2\n", 0, 2},
        {"NUMHF ends without a count", "#define NUMHF 2\n", 0, 2},
    };
    for (const Case& c : cases) {
        tables = newTables();
        macros = newMacroTable();
        ASSERT_EQ(
            load(std::string("/* declaratie arraynummers voor tijden */\n#define T1 0\n#define T2 1\n") +
                 c.countLine + "#define T3 2\n"),
            0)
            << c.what;
        EXPECT_EQ(tables->counts.numTimers, c.numTimers) << c.what;
        EXPECT_STREQ(tables->timers[static_cast<size_t>(c.recordsRead - 1)].name,
                     c.recordsRead == 4 ? "T3" : "T2")
            << c.what;
        EXPECT_STREQ(tables->timers[static_cast<size_t>(c.recordsRead)].name, "") << c.what;
    }
}

TEST_F(ApplicationHeader, AnyCountLineEndsWhicheverSectionIsRead) {
    ASSERT_EQ(load("/* declaratie arraynummers voor detectoren */\n#define SG02D1 0\n#define NUMSG "
                   "1\n#define SG05D1 1\n"
                   "#define NUMD 2\n"),
              0);
    EXPECT_EQ(tables->counts.numSignalGroups, 1) << "the detector section's count went to NUMSG";
    EXPECT_EQ(tables->counts.numDetectors, 0);
    EXPECT_STREQ(tables->detectors[1].name, "");
}

TEST_F(ApplicationHeader, SectionReadTwiceStartsAgainAtTheFirstRecord) {
    ASSERT_EQ(
        load("/* declaratie arraynummers voor klokken */\n#define KL1 0\n#define KL2 1\n#define NUMKL 2\n"
             "/* declaratie arraynummers voor klokken */\n#define KL9 0\n#define NUMKL 1\n"),
        0);
    EXPECT_EQ(tables->counts.numClocks, 1);
    EXPECT_STREQ(tables->clocks[0].name, "KL9");
    EXPECT_STREQ(tables->clocks[1].name, "KL2") << "not reset";
}

TEST_F(ApplicationHeader, MoreDefinesThanTheTableHoldsAreCountedNotStored) {
    std::string header = "/* declaratie arraynummers voor signaalgroepen */\n";
    for (int i = 0; i < 83; ++i)
        header += "#define SG" + std::to_string(100 + i) + " " + std::to_string(i) + "\n";
    header += "#define NUMSG 83\n";
    ASSERT_EQ(load(header), 0);
    EXPECT_EQ(tables->counts.numSignalGroups, 83);
    EXPECT_STREQ(tables->signalGroups[79].name, "SG179");
    EXPECT_EQ(usableCount(tables->counts.numSignalGroups, kSignalGroupCapacity), 80);
}

TEST_F(ApplicationHeader, SplitOfASectionDefine) {
    struct Case {
        const char* line;
        int fields;
        const char* name;
        int32_t number;  // -1 where it was not read
    } cases[] = {
        {"#define SG02 3\n", 3, "SG02", 3},
        {"  #define\tSG02\t-4 /* x */\n", 3, "SG02", -4},
        {"#define SG02 +7\n", 3, "SG02", 7},
        {"#define SG02 0x10\n", 3, "SG02", 0},
        {"#define SG02 (3)\n", 2, "SG02", -1},
        {"#define SG02 SG01+1\n", 2, "SG02", -1},
        {"#define SG02\n", 2, "SG02", -1},
        {"#define 99999999999\n", 2, "99999999999", -1},
        {"#define X 99999999999\n", 3, "X", 2147483647},
        {"#define X -99999999999\n", 3, "X", -2147483647 - 1},
        {"#define\n", 1, "", -1},
        {"/* #define SG02 3 */\n", 2, "#define", -1},
        {"\n", 0, "", -1},
    };
    for (const Case& c : cases) {
        const char* name = "";
        int nameLength = 0;
        int32_t number = -1;
        EXPECT_EQ(splitSectionDefine(c.line, &name, &nameLength, &number), c.fields) << c.line;
        EXPECT_EQ(std::string(name, static_cast<size_t>(nameLength)), c.name) << c.line;
        EXPECT_EQ(number, c.number) << c.line;
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
    EXPECT_STREQ(tables->eparms[2].name, "EP3");
    EXPECT_EQ(lookupMacro(*macros, "EP_ZONDER_GETAL"), 0) << "the define pass reads (1) as 0";
}

TEST_F(ApplicationHeader, LastLineWithoutNewlineIsSeenOnlyBySectionPass) {
    ASSERT_EQ(load("/* declaratie arraynummers voor schakelaars */\r\n#define SCH1 0\r\n#define SCH2 1"), 0);
    EXPECT_EQ(lookupMacro(*macros, "SCH1"), 0);
    EXPECT_EQ(lookupMacro(*macros, "SCH2"), -1);
    EXPECT_STREQ(tables->switches[1].name, "SCH2");
    EXPECT_EQ(tables->counts.numSwitches, 0) << "the section ran to the end of the file";
}

TEST_F(ApplicationHeader, DefinePassStopsAtALongLineTheSectionPassReadsOn) {
    std::string header = "/* declaratie arraynummers voor tijden */\n#define T1 0\n/*" +
                         std::string(260, '-') + "*/\n#define T2 1\n#define NUMT 2\n";
    ASSERT_EQ(load(header), 0);
    EXPECT_TRUE(logged.all().empty());
    EXPECT_EQ(lookupMacro(*macros, "T1"), 0);
    EXPECT_EQ(lookupMacro(*macros, "T2"), -1);
    EXPECT_EQ(tables->counts.numTimers, 2);
}

TEST_F(ApplicationHeader, HeaderNamesDoNotOverrideBuiltInMacros) {
    ASSERT_EQ(loadBuiltInMacros(*macros, logged.log), 0);
    ASSERT_EQ(
        load("/* declaratie arraynummers voor detectoren */\n#define D 0\n#define KL 1\n#define NUMD 2\n"),
        0);
    EXPECT_EQ(lookupMacro(*macros, "D"), 426);
    EXPECT_EQ(lookupMacro(*macros, "KL"), 417);
    EXPECT_EQ(macros->count, 138);
    EXPECT_STREQ(tables->detectors[0].name, "D");
}

TEST_F(ApplicationHeader, FatalDefinesAndAMissingHeader) {
    std::string path = dir.file("KVAPDEF.H");
    struct Case {
        const char* what;
        std::string header;  // empty: no file
        std::string message;
    } cases[] = {
        {"value of 17 digits", "#define A 1\n#define B 12345678901234567\n",
         path + " : (4) : systeem melding : De definitie waarde '12345678901234567' is ongeldig."},
        {"value beyond 31 bits", "#define B 2147483648\n",
         path + " : (3) : systeem melding : De definitie waarde '2147483648' is ongeldig."},
        {"no header", "", path + " : fout : Dit bestand kon niet worden geopend."},
    };
    for (const Case& c : cases) {
        std::remove(path.c_str());
        macros = newMacroTable();
        logged.lines.lines.clear();
        tables->counts.numTimers = 5;
        int result = c.header.empty()
                         ? loadApplicationHeader(*macros, *tables, logged.log, path.c_str())
                         : load("/* declaratie arraynummers voor tijden */\n#define NUMT 0\n" + c.header);
        EXPECT_EQ(result, -1) << c.what;
        ASSERT_EQ(logged.all().size(), 1u) << c.what;
        EXPECT_EQ(logged.all()[0], c.message) << c.what;
        EXPECT_EQ(tables->counts.numTimers, 5) << c.what << ": no section pass after a failure";
        EXPECT_STREQ(logged.log.messageFileContext, "") << c.what;
    }
}

TEST_F(ApplicationHeader, FullMacroTable) {
    for (int i = 0; i < kMacroTableCapacity - 1; ++i) addMacro(*macros, "x", i);
    EXPECT_EQ(load("#define PAST 1\n#define TE_VEEL 2\n"), -1);
    ASSERT_EQ(logged.all().size(), 1u);
    EXPECT_EQ(logged.all()[0],
              dir.file("KVAPDEF.H") +
                  " : (2) : systeem melding : Kan de definitie 'TE_VEEL' niet meer toevoegen "
                  "aan de definitie tabel");
}

TEST_F(ApplicationHeader, SectionPassResetsOnlySignalGroupsAndDetectors) {
    ASSERT_EQ(
        load("/* declaratie arraynummers voor signaalgroepen */\n#define SG1 0\n#define SG2 1\n#define NUMSG "
             "2\n"
             "/* declaratie arraynummers voor detectoren */\n#define SGD1 0\n#define SGD2 1\n#define NUMD 2\n"
             "/* declaratie arraynummers voor tijden */\n#define T1 0\n#define T2 1\n#define NUMT 2\n"),
        0);
    ASSERT_EQ(load("/* declaratie arraynummers voor signaalgroepen */\n#define SG1 0\n#define NUMSG 1\n"), 0);
    EXPECT_EQ(tables->counts.numSignalGroups, 1);
    EXPECT_STREQ(tables->signalGroups[1].name, "");
    EXPECT_EQ(tables->signalGroups[1].arrayNumber, -1);
    EXPECT_EQ(tables->counts.numDetectors, 2) << "a section that is missing keeps its count";
    EXPECT_STREQ(tables->detectors[0].name, "") << "but the detector records are reset";
    EXPECT_EQ(tables->detectors[0].gapTime1, -1.0);
    EXPECT_EQ(tables->counts.numTimers, 2);
    EXPECT_STREQ(tables->timers[1].name, "T2");
}

TEST_F(ApplicationHeader, DirectoryWithOrWithoutSeparator) {
    dir.write("KVAPDEF.H", "/* declaratie arraynummers voor tijden */\n#define T1 0\n#define NUMT 1\n");
    dir.write("KVAPTAB.C", "TIJDEN_tabel[] = {\n    T1, 2.5,\n    STOP\n};\n");
    std::string withSlash = dir.dir();
    std::string withoutSlash = withSlash.substr(0, withSlash.size() - 1);
    for (const std::string& directory : {withSlash, withoutSlash}) {
        const char* joined = JoinPath(directory.c_str(), "KVAPDEF.H");
        ASSERT_NE(joined, nullptr);
        std::string path = joined;
        EXPECT_EQ(path.find("/\\"), std::string::npos) << path;
        tables = newTables();
        macros = newMacroTable();
        ASSERT_EQ(loadApplicationHeader(*macros, *tables, logged.log, path.c_str()), 0) << path;
        EXPECT_EQ(tables->timers[0].time, 2.5) << path;
    }
    EXPECT_TRUE(logged.all().empty());
}

}  // namespace
}  // namespace tavir
