#include "definitions/macro_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "definitions_support.h"

namespace tavir {
namespace {

using testing::newMacroTable;

TEST(MacroTable, LookupGivesTheFirstExactMatch) {
    auto table = newMacroTable();
    EXPECT_EQ(lookupMacro(*table, "D"), -1) << "empty table";
    ASSERT_EQ(addMacro(*table, "D", 426), 0);
    ASSERT_EQ(addMacro(*table, "KL", 417), 0);
    ASSERT_EQ(addMacro(*table, "D", 7), 0);  // a later duplicate is stored ...
    ASSERT_EQ(addMacro(*table, "VG_TIJD", 288), 0);
    EXPECT_EQ(table->count, 4);
    EXPECT_STREQ(table->entries[2].name, "D");
    EXPECT_EQ(table->entries[2].value, 7);

    struct Case {
        const char* name;
        int32_t value;
    } cases[] = {
        {"D", 426},  // ... but never found
        {"KL", 417}, {"VG_TIJD", 288}, {"vg_tijd", -1}, {"VG_TIJ", -1}, {"VG_TIJDX", -1}, {"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(lookupMacro(*table, c.name), c.value) << c.name;
}

TEST(MacroTable, ClearEmptiesEntriesAndIndex) {
    auto table = newMacroTable();
    addMacro(*table, "A", 64);
    addMacro(*table, "B", 65);
    clearMacroTable(*table);
    EXPECT_EQ(table->count, 0);
    EXPECT_STREQ(table->entries[0].name, "");
    EXPECT_EQ(table->entries[0].value, -1);
    EXPECT_EQ(lookupMacro(*table, "A"), -1);
    addMacro(*table, "B", 3);
    EXPECT_EQ(lookupMacro(*table, "B"), 3);
    EXPECT_EQ(lookupMacro(*table, "A"), -1);
}

TEST(MacroTable, FullTableRefusesAndChangesNothing) {
    auto table = newMacroTable();
    for (int i = 0; i < kMacroTableCapacity; ++i) {
        ASSERT_EQ(addMacro(*table, ("N" + std::to_string(i)).c_str(), i), 0) << i;
    }
    EXPECT_EQ(addMacro(*table, "extra", 1), -1);
    EXPECT_EQ(table->count, kMacroTableCapacity);
    EXPECT_EQ(lookupMacro(*table, "extra"), -1);
    EXPECT_EQ(lookupMacro(*table, "N0"), 0);
    EXPECT_EQ(lookupMacro(*table, "N9999"), 9999);
}

TEST(MacroTable, LongNamesKeepTheirFirst31Characters) {
    auto table = newMacroTable();
    const std::string longName = "prm_verlenggroen_fc02_na_aanvraag_extra";  // 39 characters
    const std::string sameStart = longName.substr(0, 31) + "_anders";
    ASSERT_EQ(addMacro(*table, longName.c_str(), 12), 0);
    EXPECT_EQ(std::string(table->entries[0].name), longName.substr(0, 31));
    EXPECT_EQ(lookupMacro(*table, longName.c_str()), 12);
    EXPECT_EQ(lookupMacro(*table, longName.substr(0, 31).c_str()), 12);
    EXPECT_EQ(lookupMacro(*table, sameStart.c_str()), 12) << "equal in the stored 31 characters";
    EXPECT_EQ(lookupMacro(*table, longName.substr(0, 30).c_str()), -1);
}

// The index must answer exactly as a walk from the first entry would, for many names with
// duplicates and names that differ only late or in case.
TEST(MacroTable, IndexAgreesWithALinearWalk) {
    auto table = newMacroTable();
    std::mt19937 random(7);
    std::vector<std::string> names;
    const char alphabet[] = "abAB_09";
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        int length = 1 + static_cast<int>(random() % 5);
        for (int j = 0; j < length; ++j) name += alphabet[random() % 7];
        names.push_back(name);
        addMacro(*table, name.c_str(), i);
    }
    auto walk = [&](const std::string& name) {
        for (int i = 0; i < table->count; ++i) {
            if (name == table->entries[i].name) return table->entries[i].value;
        }
        return -1;
    };
    for (int i = 0; i < 5000; ++i) {
        std::string probe;
        int length = 1 + static_cast<int>(random() % 5);
        for (int j = 0; j < length; ++j) probe += alphabet[random() % 7];
        ASSERT_EQ(lookupMacro(*table, probe.c_str()), walk(probe)) << probe;
    }
}

}  // namespace
}  // namespace tavir
