#include "definitions/builtin_macros.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "definitions/macrodef_text.h"
#include "definitions_support.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::newMacroTable;

struct BuiltInMacros : ::testing::Test {
    std::unique_ptr<MacroTable> table = newMacroTable();
    LoggedLines logged;

    int parse(const std::vector<const char*>& lines, MacroLineSource* sourceOut = nullptr) {
        MacroLineSource source{lines.data(), static_cast<int>(lines.size()), 0};
        int result = parseMacroDefinitions(*table, logged.log, source);
        if (sourceOut) *sourceOut = source;
        return result;
    }
};

TEST_F(BuiltInMacros, TextParsesSilentlyIntoTheKnownCodes) {
    ASSERT_EQ(loadBuiltInMacros(*table, logged.log), 0);
    EXPECT_TRUE(logged.all().empty());
    ASSERT_EQ(table->count, 135);

    std::ifstream golden(TAVIR_FIXTURES "/definitions/builtin_macros.txt");
    ASSERT_TRUE(golden) << "fixture missing";
    std::string name;
    int32_t value = 0;
    int position = 0;
    while (golden >> name >> value) {
        ASSERT_LT(position, table->count);
        EXPECT_EQ(table->entries[position].name, name) << "entry " << position;
        EXPECT_EQ(table->entries[position].value, value) << name;
        ++position;
    }
    EXPECT_EQ(position, 135);

    struct Case {
        const char* name;
        int32_t value;
    } cases[] = {
        {"VG_TIJD", 288}, {"inst_MG_TIJD12", 344}, {"datum", 481},  {"DVWD", 462},
        {"BLOK", 128},    {"koppelsignaal", 0},    {"vg_tijd", -1}, {"INT", 386},
    };
    for (const Case& c : cases) EXPECT_EQ(lookupMacro(*table, c.name), c.value) << c.name;
}

TEST_F(BuiltInMacros, TextHasItsCommentBlockHeadersAndEnd) {
    std::vector<std::string> lines(kMacrodefText, kMacrodefText + kMacrodefLineCount);
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("* File         : macrodef.qtz"));
    EXPECT_TRUE(has("* Description  : Gemeenschappelijke macro-definities."));
    const char* headers[] = {
        "/*-------  Hulpfunctie-macro's, eenmalig -------*/",
        "/*-------  Hulpfunctie-macro's, SG gekoppeld -------*/",
        "/*------- Hulpfunctie-macro's, BK gekoppeld -------*/",
        "/*------- Hulpfunctie-macro's, SG & BK gekoppeld -------*/",
        "/*------- Optie-macro's, SG gekoppeld -------*/",
        "/*------- Optie-macro's, SG & BK gekoppeld -------*/",
        "/*------- Optie-macro's, BK gekoppeld -------*/",
        "/*------- Toestand-macro's SG gekoppeld -------*/",
        "/*------- Tijd-macro's, SG LOPEND gekoppeld -------*/",
        "/*------- Tijd-macro's, SG WAARDE gekoppeld -------*/",
        "/*------- Onderlinge-tijd-macro's, SG LOPEND gekoppeld -------*/",
        "/*------- Onderlinge-tijd-macro's, SG WAARDE gekoppeld -------*/",
        "/*------- User-defined-macro's, LOPEND -----*/",
        "/*------- User-defined-macro's, WAARDE -----*/",
        "/*------- Tellers-macro's -------*/",
        "/*------- Koppel-signalen -------*/",
    };
    size_t at = 0;
    for (const char* header : headers) {
        auto found = std::find(lines.begin() + static_cast<long>(at), lines.end(), std::string(header));
        ASSERT_NE(found, lines.end()) << "missing or out of order: " << header;
        at = static_cast<size_t>(found - lines.begin());
        EXPECT_EQ(lines[at - 1], "") << "an empty line goes before " << header;
    }
    EXPECT_EQ(lines.back(), "end");
    int defines = 0;
    for (const std::string& line : lines) defines += line.rfind("#define ", 0) == 0;
    EXPECT_EQ(defines, 135);
}

TEST(CategoryChoice, KeywordsAndQualifiers) {
    struct Case {
        const char* header;
        int base;
        const char* rejection;  // nullptr: accepted (or no category)
    } cases[] = {
        {"/* Koppel-signalen SG BK */", 0, nullptr},
        {"/* Optie-macro's */", 0, nullptr},
        {"/* Optie-macro's, SG gekoppeld */", 96, nullptr},
        {"/* Optie-macro's, BK gekoppeld */", 160, nullptr},
        {"/* Optie-macro's, SG & BK gekoppeld */", 224, nullptr},
        {"/* Optie-macro's, SG LOPEND */", 96, nullptr},  // LOPEND not examined here
        {"/* Hulpfunctie-macro's */", 32, nullptr},
        {"/* Hulpfunctie-macro's, SG */", 64, nullptr},
        {"/* Hulpfunctie-macro's, BK */", 128, nullptr},
        {"/* Hulpfunctie-macro's, SG & BK */", 192, nullptr},
        {"/* Toestand-macro's SG */", 256, nullptr},
        {"/* Toestand-macro's SG WAARDE */", 256, nullptr},
        {"/* Toestand-macro's */", kNoBase, ": toestand macro's hebben signaal groep nummer"},
        {"/* Toestand-macro's SG & BK */", kNoBase, ": toestand macro's hebben signaal groep nummer"},
        {"/* Tijd-macro's, SG LOPEND */", 288, nullptr},
        {"/* Tijd-macro's, SG WAARDE */", 320, nullptr},
        {"/* Tijd-macro's, SG WAARDE LOPEND */", kNoBase, ": tijd macro's hebben signaal groep nummer"},
        {"/* Tijd-macro's, SG & BK LOPEND */", kNoBase, ": tijd macro's hebben signaal groep nummer"},
        {"/* Tijd-macro's, LOPEND */", kNoBase, ": tijd macro's hebben signaal groep nummer"},
        {"/* Onderlinge-tijd-macro's, SG LOPEND */", 352, nullptr},
        {"/* Onderlinge-tijd-macro's, SG WAARDE */", 384, nullptr},
        {"/* Onderlinge-tijd-macro's, SG */", kNoBase, ": tijd macro's hebben signaal groep nummer"},
        {"/* User-defined-macro's, LOPEND */", 416, nullptr},
        {"/* User-defined-macro's, SG BK WAARDE */", 448, nullptr},  // SG, BK not examined
        {"/* User-defined-macro's */", kNoBase, ": user defined macro's hebben volgnummer"},
        {"/* User-defined-macro's, LOPEND WAARDE */", kNoBase, ": user defined macro's hebben volgnummer"},
        {"/* Tellers-macro's, SG */", 480, nullptr},
        {"/* Hulpfunctie-macro's,SG */", 32, nullptr},         // a qualifier needs blanks on both sides
        {"/* hulpfunctie-macro's */", kNoBase, nullptr},       // keywords are case-sensitive
        {"/* Optie-macro Hulpfunctie-macro */", 32, nullptr},  // the first keyword in the search order
        {"/* algemene opmerking */", kNoBase, nullptr},
    };
    for (const Case& c : cases) {
        CategoryChoice choice = chooseCategory(c.header);
        EXPECT_EQ(choice.base, c.base) << c.header;
        if (c.rejection) {
            EXPECT_STREQ(choice.rejection, c.rejection) << c.header;
        } else {
            EXPECT_EQ(choice.rejection, nullptr) << c.header;
        }
    }
}

TEST_F(BuiltInMacros, OwnLinesGiveBasePlusNumber) {
    MacroLineSource source{};
    ASSERT_EQ(parse({"#define VOORAF 1",  // before the first header: nothing
                     "/*------- Tijd-macro's, SG LOPEND gekoppeld -------*/", "", "#define\tX_TIJD \t 3",
                     "#define  Y_TIJD 31", "/* een opmerking zonder categorie */", "#define Z_TIJD 0012ab",
                     "#define GEEN_WAARDE", "  #define INGESPRONGEN 2", "end", "#define NA_HET_EINDE 1"},
                    &source),
              0);
    EXPECT_TRUE(logged.all().empty());
    ASSERT_EQ(table->count, 3);
    EXPECT_EQ(lookupMacro(*table, "VOORAF"), -1);
    EXPECT_EQ(lookupMacro(*table, "X_TIJD"), 291);
    EXPECT_EQ(lookupMacro(*table, "Y_TIJD"), 319);
    EXPECT_EQ(lookupMacro(*table, "Z_TIJD"), 300) << "the comment without a category keeps the base";
    EXPECT_EQ(lookupMacro(*table, "NA_HET_EINDE"), -1);
    EXPECT_EQ(source.index, 10) << "the parse stops at end";
}

TEST_F(BuiltInMacros, RunningOutOfLinesEndsLikeEnd) {
    EXPECT_EQ(parse({"/* Tellers-macro's */", "#define teller 3"}), 0);
    EXPECT_EQ(lookupMacro(*table, "teller"), 483);
}

TEST_F(BuiltInMacros, FatalDefinesStopTheParseAndResetTheLineIndex) {
    struct Case {
        std::vector<const char*> lines;
        int entriesLeft;
        const char* message;
    } cases[] = {
        {{"/* Tellers-macro's */", "#define goed 1", "#define   te_groot\t32", "#define later 2", "end"},
         1,
         "fout : #define   te_groot: maximum nummer is 31"},
        {{"/* Tellers-macro's */", "#define ongeldig 12345678901234567", "end"},
         0,
         "systeem melding : De definitie waarde 12345678901234567 is ongeldig."},
        {{"/* Tellers-macro's */", "#define omgeslagen 4294967295", "end"},
         0,
         "systeem melding : De definitie waarde 4294967295 is ongeldig."},
    };
    for (const Case& c : cases) {
        table = newMacroTable();
        logged.lines.lines.clear();
        MacroLineSource source{};
        EXPECT_EQ(parse(c.lines, &source), -1) << c.message;
        EXPECT_EQ(source.index, 0) << c.message;
        EXPECT_EQ(table->count, c.entriesLeft) << c.message;
        ASSERT_EQ(logged.all().size(), 1u) << c.message;
        EXPECT_EQ(logged.all()[0], c.message);
    }
}

TEST_F(BuiltInMacros, FullTableIsASystemMessage) {
    for (int i = 0; i < kMacroTableCapacity; ++i) addMacro(*table, "vol", i);
    EXPECT_EQ(parse({"/* Tellers-macro's */", "#define teller 3", "end"}), -1);
    ASSERT_EQ(logged.all().size(), 1u);
    EXPECT_EQ(logged.all()[0],
              "systeem melding : Kan de definitie 'teller' niet meer toevoegen aan de definitie tabel");
}

TEST_F(BuiltInMacros, RejectedHeaderIsReportedAndItsDefinesPassedOver) {
    EXPECT_EQ(parse({"/* Tellers-macro's */", "#define teller 3", "/* Toestand-macro's BK */",
                     "#define fout 1", "/* User-defined-macro's, WAARDE */", "#define goed 2", "end"}),
              0);
    ASSERT_EQ(logged.all().size(), 1u);
    EXPECT_EQ(logged.all()[0],
              "fout : /* Toestand-macro's BK */: toestand macro's hebben signaal groep nummer");
    EXPECT_EQ(lookupMacro(*table, "teller"), 483);
    EXPECT_EQ(lookupMacro(*table, "fout"), -1);
    EXPECT_EQ(lookupMacro(*table, "goed"), 450);
}

TEST_F(BuiltInMacros, MessagesCarryNoFileOrLinePrefix) {
    SetMessageFile(logged.log, "KVAPDEF.H");
    SetMessageLine(logged.log, 7);
    EXPECT_EQ(parse({"/* Tellers-macro's */", "#define x 99"}), -1);
    ASSERT_EQ(logged.all().size(), 1u);
    EXPECT_EQ(logged.all()[0], "fout : #define x: maximum nummer is 31");
}

TEST_F(BuiltInMacros, OverlongLinesAreCutAt255Characters) {
    std::string longName(300, 'n');
    std::string line = "#define " + longName + " 1";
    EXPECT_EQ(parse({"/* Tellers-macro's */", line.c_str(), "end"}), 0);
    EXPECT_EQ(table->count, 0) << "the value lies beyond the cut";
}

}  // namespace
}  // namespace tavir
