#include "definitions/builtin_macros.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "definitions/macro_table.h"
#include "definitions_support.h"
#include "resources/definitions_texts.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::newMacroTable;

struct BuiltInMacros : ::testing::Test {
    std::unique_ptr<MacroTable> table = newMacroTable();
    LoggedLines logged;

    int parse(const std::vector<const char*>& lines, int* stoppedAt = nullptr) {
        MacroLineSource source{lines.data(), static_cast<int>(lines.size()), 0};
        int result = parseMacroDefinitions(*table, logged.log, source);
        if (stoppedAt) *stoppedAt = source.index;
        return result;
    }
};

TEST_F(BuiltInMacros, TextParsesSilentlyIntoTheGoldenList) {
    ASSERT_EQ(loadBuiltInMacros(*table, logged.log), 0);
    EXPECT_TRUE(logged.all().empty());
    std::ifstream golden(TAVIR_FIXTURES "/definitions/builtin_macros.txt");
    ASSERT_TRUE(golden) << "fixture missing";
    std::string name;
    int32_t value = 0;
    int position = 0;
    for (; golden >> name >> value; ++position) {
        ASSERT_LT(position, table->count);
        EXPECT_EQ(table->entries[position].name, name) << "entry " << position;
        EXPECT_EQ(table->entries[position].value, value) << name;
    }
    EXPECT_EQ(position, table->count);
}

// The headers of the built-in text are covered by its golden list; these are the other forms.
TEST(CategoryChoice, KeywordsAndQualifiers) {
    // The header, its base and its rejection (none: accepted, or no category at all).
    const std::tuple<const char*, int, const char*> rows[] = {
        {"/* Optie-macro's */", 0, nullptr},
        {"/* Toestand-macro's SG & BK */", kNoBase, text::kStateMacrosNeedSignalGroup},
        {"/* Tijd-macro's, SG WAARDE LOPEND */", kNoBase, text::kTimeMacrosNeedSignalGroup},
        {"/* User-defined-macro's, SG BK WAARDE */", 14 * 32, nullptr},  // SG and BK not examined
        {"/* User-defined-macro's */", kNoBase, text::kUserMacrosNeedSequence},
        {"/* Tellers-macro's, SG */", 15 * 32, nullptr},
        {"/* Hulpfunctie-macro's,SG */", 1 * 32, nullptr},         // a qualifier needs blanks around it
        {"/* hulpfunctie-macro's */", kNoBase, nullptr},           // keywords are case-sensitive
        {"/* Optie-macro Hulpfunctie-macro */", 1 * 32, nullptr},  // the first keyword searched wins
    };
    for (auto [header, base, rejection] : rows) {
        CategoryChoice choice = chooseCategory(header);
        EXPECT_EQ(choice.base, base) << header;
        EXPECT_STREQ(choice.rejection ? choice.rejection : "", rejection ? rejection : "") << header;
    }
}

TEST_F(BuiltInMacros, OwnLinesGiveBasePlusNumber) {
    int stoppedAt = -1;
    ASSERT_EQ(parse({"#define VOORAF 1",  // before the first header: nothing
                     "/*------- Tijd-macro's, SG LOPEND gekoppeld -------*/", "#define\tX_TIJD \t 3",
                     "/* een opmerking zonder categorie */", "#define Z_TIJD 0012ab", "#define GEEN_WAARDE",
                     "  #define INGESPRONGEN 2", "/* Toestand-macro's BK */", "#define AFGEWEZEN 1", "end",
                     "#define NA_HET_EINDE 1"},
                    &stoppedAt),
              0);
    EXPECT_EQ(logged.all(), std::vector<std::string>{std::string("fout : /* Toestand-macro's BK */") +
                                                     text::kStateMacrosNeedSignalGroup});
    EXPECT_EQ(table->count, 2);
    EXPECT_EQ(lookupMacro(*table, "X_TIJD"), 9 * 32 + 3);
    EXPECT_EQ(lookupMacro(*table, "Z_TIJD"), 9 * 32 + 12) << "a comment without a category keeps the base";
    EXPECT_EQ(stoppedAt, 10) << "the parse stops at end";
    EXPECT_EQ(parse({"/* Tellers-macro's */", "#define teller 3"}), 0) << "running out of lines ends it too";
    EXPECT_EQ(lookupMacro(*table, "teller"), 15 * 32 + 3);
}

TEST_F(BuiltInMacros, FatalDefinesStopTheParseAndResetTheLineIndex) {
    // The defines after a header of counters, the entries left and the message.
    const std::tuple<std::vector<const char*>, int, const char*> rows[] = {
        {{"#define goed 1", "#define   te_groot\t32", "#define later 2"},
         1,
         "fout : #define   te_groot: maximum nummer is 31"},
        {{"#define ongeldig 12345678901234567"},
         0,
         "systeem melding : De definitie waarde 12345678901234567 is ongeldig."},
        {{"#define omgeslagen 4294967295"},
         0,
         "systeem melding : De definitie waarde 4294967295 is ongeldig."},
    };
    for (auto [defines, entriesLeft, message] : rows) {
        table = newMacroTable();
        logged.lines.lines.clear();
        SetMessageFile(logged.log, "KVAPDEF.H");  // the built-in text's messages carry no prefix
        defines.insert(defines.begin(), "/* Tellers-macro's */");
        int stoppedAt = -1;
        EXPECT_EQ(parse(defines, &stoppedAt), -1) << message;
        EXPECT_EQ(stoppedAt, 0) << message;
        EXPECT_EQ(table->count, entriesLeft) << message;
        EXPECT_EQ(logged.all(), std::vector<std::string>{message});
    }
}

TEST_F(BuiltInMacros, FullTableIsASystemMessage) {
    for (int i = 0; i < kMacroTableCapacity; ++i) addMacro(*table, "vol", i);
    EXPECT_EQ(parse({"/* Tellers-macro's */", "#define teller 3", "end"}), -1);
    EXPECT_EQ(logged.all(), std::vector<std::string>{"systeem melding : Kan de definitie 'teller' niet meer "
                                                     "toevoegen aan de definitie tabel"});
}

TEST_F(BuiltInMacros, OverlongLinesAreCutAt255Characters) {
    std::string line = "#define " + std::string(300, 'n') + " 1";
    EXPECT_EQ(parse({"/* Tellers-macro's */", line.c_str(), "end"}), 0);
    EXPECT_EQ(table->count, 0) << "the value lies beyond the cut";
}

TEST(MacroTable, NamesKeepTheirFirst31CharactersAndTheFirstEntryAnswers) {
    auto table = newMacroTable();
    const std::string longName = "prm_verlenggroen_fc02_na_aanvraag_extra";  // 39 characters
    ASSERT_EQ(addMacro(*table, "D", 426), 0);
    ASSERT_EQ(addMacro(*table, longName.c_str(), 12), 0);
    ASSERT_EQ(addMacro(*table, "D", 7), 0);  // stored, but never found
    EXPECT_EQ(lookupMacro(*table, "D"), 426);
    EXPECT_EQ(lookupMacro(*table, "d"), -1);
    EXPECT_EQ(lookupMacro(*table, (longName.substr(0, 31) + "_anders").c_str()), 12);
    EXPECT_EQ(lookupMacro(*table, longName.substr(0, 30).c_str()), -1);
    clearMacroTable(*table);
    EXPECT_EQ(lookupMacro(*table, "D"), -1);
}

// The index answers exactly as a walk from the first entry would, for many names with
// duplicates and names that differ only late or in case.
TEST(MacroTable, IndexAgreesWithALinearWalk) {
    auto table = newMacroTable();
    std::mt19937 random(7);
    auto randomName = [&random] {
        std::string name;
        for (int length = 1 + static_cast<int>(random() % 5); length > 0; --length)
            name += "abAB_09"[random() % 7];
        return name;
    };
    for (int i = 0; i < 3000; ++i) addMacro(*table, randomName().c_str(), i);
    for (int i = 0; i < 5000; ++i) {
        const std::string probe = randomName();
        int32_t first = -1;
        for (int j = 0; j < table->count && first < 0; ++j)
            if (probe == table->entries[j].name) first = table->entries[j].value;
        ASSERT_EQ(lookupMacro(*table, probe.c_str()), first) << probe;
    }
}

}  // namespace
}  // namespace tavir
