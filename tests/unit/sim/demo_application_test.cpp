// The example application: its header and table source load without a message, and every debug
// window file is consistent with them (every name resolves, every item is defined once).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"
#include "definitions/macro_table.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

const std::string kDemo = TAVIR_EXAMPLES "/demo";

TEST(DemoApplication, LoadsWithoutAMessage) {
    testing::DemoTables demo;
    ASSERT_EQ(demo.load.result, ApplicationLoadResult::kLoaded);
    EXPECT_EQ(demo.load.reportedLines, 0) << demo.lines.lines.back();
    const ApplicationTables& t = *demo.tables;
    EXPECT_EQ(t.counts.numSignalGroups, 8);
    EXPECT_EQ(t.counts.numDetectors, 16);
    EXPECT_EQ(t.counts.numTimers, 8);
    EXPECT_EQ(t.counts.numClocks, 4);
    EXPECT_EQ(t.counts.numSwitches, 5) << "the switch inside #ifndef pc_omgeving is not counted";
    EXPECT_EQ(t.counts.numEggparms, 4);
    EXPECT_EQ(t.counts.numEparms, 6);
    EXPECT_EQ(t.numClearances, 40);
    for (int i = 0; i < t.counts.numSignalGroups; ++i) {
        const SignalGroupRecord& g = t.signalGroups[i];
        EXPECT_EQ(g.arrayNumber, i);
        EXPECT_GT(g.vgTime, 0.0) << g.name;
        EXPECT_GE(g.glTime, 0.0) << g.name;
        EXPECT_GT(g.mgTime, 0.0) << g.name;
    }
    for (int i = 0; i < t.numClearances; ++i) {
        const ClearanceEntry& c = t.clearances[i];
        EXPECT_GT(c.clearanceTime, 0.0) << c.fromName << " " << c.toName;
        EXPECT_EQ(std::string(t.signalGroups[c.fromNumber].name), c.fromName);
        EXPECT_EQ(std::string(t.signalGroups[c.toNumber].name), c.toName);
    }
    EXPECT_EQ(t.eparms[5].value, 2.5) << "the last EPARMS pair ends with its comma";
    EXPECT_EQ(t.switches[1].value, 1);
    EXPECT_EQ(t.signalGroups[0].extraMgTimes[2], -1.0) << "NG";
}

// The full conflict table: every clearance has its counterpart in the other direction.
TEST(DemoApplication, ClearanceTableIsSymmetric) {
    testing::DemoTables demo;
    const ApplicationTables& t = *demo.tables;
    std::set<std::pair<int, int>> pairs;
    for (int i = 0; i < t.numClearances; ++i)
        pairs.insert({t.clearances[i].fromNumber, t.clearances[i].toNumber});
    for (const auto& [from, to] : pairs) EXPECT_TRUE(pairs.count({to, from})) << from << " " << to;
}

struct WindowItem {
    int number;
    int column, row, tildes;
};

// Reads the screen part as the loader will: 24 lines, each with its newline and shorter than
// 255 characters; tildes followed by two digits are item fields.
bool readScreen(std::istream& in, std::vector<WindowItem>& items, std::string& problem) {
    for (int row = 0; row < 24; ++row) {
        std::string line;
        if (!std::getline(in, line) || in.eof()) {
            problem = "screen line " + std::to_string(row) + " missing or without newline";
            return false;
        }
        if (line.size() >= 254 || line.find('\t') != std::string::npos ||
            line.find('\r') != std::string::npos) {
            problem = "screen line " + std::to_string(row) + " too long or with a tab or carriage return";
            return false;
        }
        for (size_t col = 0; col < line.size();) {
            if (line[col] != '~') {
                ++col;
                continue;
            }
            size_t start = col;
            while (col < line.size() && line[col] == '~') ++col;
            int tildes = static_cast<int>(col - start);
            if (tildes > 16 || col + 2 > line.size() || !isdigit(static_cast<unsigned char>(line[col])) ||
                !isdigit(static_cast<unsigned char>(line[col + 1]))) {
                problem = "bad item field on screen line " + std::to_string(row);
                return false;
            }
            items.push_back({std::stoi(line.substr(col, 2)), static_cast<int>(start), row, tildes});
            col += 2;
        }
    }
    return true;
}

bool needsSignalGroup(int category) {
    return category != 4 && category != 5 && category != 15;
}
bool needsBlock(int category) {
    return category == 4 || category == 5 || category == 6 || category == 7 || category == 11 ||
           category == 12;
}

TEST(DemoApplication, DebugWindowFilesAreConsistent) {
    auto macros = std::make_unique<MacroTable>();
    clearMacroTable(*macros);
    tavir::testing::RecordedLines lines;
    MessageLog log;
    log.sink = &lines;
    ASSERT_EQ(loadBuiltInMacros(*macros, log), 0);
    auto tables = std::make_unique<ApplicationTables>();
    ASSERT_EQ(loadApplicationHeader(*macros, *tables, log, (kDemo + "/KVAPDEF.H").c_str()), 0);

    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kDemo)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("DEBUG_", 0) == 0) files.push_back(entry.path().string());
    }
    ASSERT_GE(files.size(), 4u);

    std::set<std::string> features;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        std::ifstream in(path, std::ios::binary);
        std::vector<WindowItem> items;
        std::string problem;
        ASSERT_TRUE(readScreen(in, items, problem)) << problem;
        ASSERT_FALSE(items.empty());
        std::map<int, int> onScreen;
        for (const WindowItem& item : items)
            EXPECT_EQ(++onScreen[item.number], 1) << "item " << item.number << " twice";

        std::map<int, std::string> defined;
        std::set<std::tuple<int, int, int>> keys;
        std::string line;
        while (std::getline(in, line)) {
            ASSERT_FALSE(in.eof()) << "last line without newline";
            if (line.empty() || !isdigit(static_cast<unsigned char>(line[0]))) {
                if (!line.empty()) features.insert("comment");
                continue;
            }
            ASSERT_TRUE(line.size() > 2 && isdigit(static_cast<unsigned char>(line[1])) && line[2] == ' ')
                << line;
            int number = std::stoi(line.substr(0, 2));
            EXPECT_TRUE(onScreen.count(number)) << line;
            EXPECT_FALSE(defined.count(number)) << "defined twice: " << line;
            defined[number] = line;

            std::istringstream words(line.substr(3));
            std::vector<int32_t> fields;
            for (std::string word; words >> word;) {
                int32_t value = isdigit(static_cast<unsigned char>(word[0]))
                                    ? std::stoi(word)
                                    : lookupMacro(*macros, word.c_str());
                EXPECT_GE(value, 0) << "'" << word << "' does not resolve: " << line;
                fields.push_back(value);
            }
            ASSERT_GE(fields.size(), 1u) << line;
            int32_t code = fields[0];
            ASSERT_TRUE(code >= 0 && code < 512) << line;
            int category = code / 32;
            bool wide = line.find("inst_EPARM") != std::string::npos ||
                        line.find("inst_EGGPARM") != std::string::npos;
            int32_t group = -1, block = -1;
            if (needsSignalGroup(category)) {
                ASSERT_GE(fields.size(), 2u) << "signal group missing: " << line;
                group = fields[1];
                EXPECT_LE(group, wide ? 26000 : 255) << line;
            }
            if (needsBlock(category)) {
                size_t at = needsSignalGroup(category) ? 2 : 1;
                ASSERT_GT(fields.size(), at) << "block missing: " << line;
                block = fields[at];
                EXPECT_LE(block, 47) << line;
            }
            EXPECT_TRUE(keys.insert({code, group, block}).second) << "the same function twice: " << line;

            if (line.find("DVWD") != std::string::npos) features.insert("doubled display");
            if (code == 481) features.insert("datum");
            if (category == 4) features.insert("block");
            if (category == 11 || category == 12) features.insert("two signal groups");
            bool checkbox =
                category != 1 && category != 10 && category != 12 && category != 14 && category != 15;
            features.insert(checkbox ? "checkbox" : "value");
        }
        for (const auto& [number, count] : onScreen)
            EXPECT_TRUE(defined.count(number)) << "item " << number << " undefined";
    }
    for (const char* feature :
         {"comment", "doubled display", "datum", "block", "two signal groups", "checkbox", "value"}) {
        EXPECT_TRUE(features.count(feature)) << feature;
    }
}

}  // namespace
}  // namespace tavir::sim
