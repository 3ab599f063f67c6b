#include "definitions/macro_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "definitions_support.h"

namespace tavir {
namespace {

using testing::newMacroTable;

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
