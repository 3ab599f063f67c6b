// Debug window files read into a child window record: golden files for whole files, generated
// files for the limits, and the example application's windows.
#include "debugwin/debug_window_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "../definitions/definitions_support.h"
#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"

namespace tavir {
namespace {

using testing::LoggedLines;

// Hands out made-up controls (the control id as the handle), or refuses them all.
struct RecordedBuilder : DebugWindowBuilder {
    bool refuse = false;
    static ControlHandle handle(int id) {
        return reinterpret_cast<ControlHandle>(static_cast<uintptr_t>(id + 1));
    }
    ControlHandle addLabel(int labelNumber, const char*) override {
        return refuse ? nullptr : handle(kLabelControlBase + labelNumber);
    }
    ControlHandle addItem(DebugItem& item) override { return refuse ? nullptr : handle(item.index); }
};

// A file loaded, and its window's controls made as when it is first shown, the first ahead of
// them made ahead of the showing.
struct Load {
    std::unique_ptr<ChildWindowData> child = std::make_unique<ChildWindowData>();
    LoggedLines logged;
    RecordedBuilder builder;
    int result = 0;
    int made = 0;
    Load(const std::string& path, const MacroTable& macros, bool refuse = false, int ahead = 0) {
        builder.refuse = refuse;
        result = loadDebugWindowFile(*child, path.c_str(), logged.log, macros);
        if (result != 0) return;
        ControlMaking making;
        for (int i = 0; i < ahead && makeNextControl(*child, making, builder) > 0; ++i) {
        }
        made = makeWindowControls(*child, path.c_str(), logged.log, builder, making);
    }
    ~Load() { DestroyItemIndex(child->itemIndex); }
};

// The built-in macros and the two application names the fixtures use.
std::unique_ptr<MacroTable> fixtureMacros() {
    auto macros = testing::newMacroTable();
    LoggedLines logged;
    EXPECT_EQ(loadBuiltInMacros(*macros, logged.log), 0);
    addMacro(*macros, "SG02", 2);
    addMacro(*macros, "SG05", 5);
    return macros;
}

// Everything a load leaves behind, one line each, with the file's path written as its name.
std::string describe(const Load& load, const std::string& path, const std::string& name) {
    const ChildWindowData& child = *load.child;
    std::string out = "result " + std::to_string(load.result) + "\n";
    char line[300];
    if (load.result == 0) {
        std::snprintf(line, sizeof line, "grid %d x %d\n", child.columns, child.rows);
        out += line;
    }
    for (int i = 0; i < child.labelCount; ++i) {
        const DebugLabel& l = child.labels[i];
        const char* control = !l.window ? " (no control)"
                              : l.window == RecordedBuilder::handle(kLabelControlBase + i)
                                  ? ""
                                  : " (wrong control)";
        std::snprintf(line, sizeof line, "label \"%s\" at %d,%d length %d%s\n", labelText(child, i), l.column,
                      l.row, l.length, control);
        out += line;
    }
    for (int i = 0; i < child.itemCount; ++i) {
        const DebugItem& d = child.items[i];
        const char* control = !d.window                                ? "no control"
                              : d.window == RecordedBuilder::handle(i) ? "control"
                                                                       : "?";
        const bool indexed = child.itemIndex && FindItem(child.itemIndex, requestKey(d)) == &d;
        std::snprintf(line, sizeof line, "item %d #%02d at %d,%d width %d fc %d sg %d block %d %s%s, %s%s\n",
                      d.index, d.itemNumber, d.column, d.row, d.width, d.functionCode, d.signalGroup, d.block,
                      d.isCheckbox ? "checkbox" : "value", d.doubledDisplay ? " doubled" : "", control,
                      indexed ? ", indexed" : "");
        out += line;
    }
    if (load.result == 0) out += "controls made " + std::to_string(load.made) + "\n";
    for (std::string message : load.logged.all()) {
        if (message.compare(0, path.size(), path) == 0) message.replace(0, path.size(), name);
        out += "message " + message + "\n";
    }
    return out;
}

TEST(DebugWindowFile, Golden) {
    auto macros = fixtureMacros();
    for (std::string golden :
         {"valid", "refused", "definition_errors", "block_missing", "no_definitions", "labels_only", "short",
          "tildes17", "two_digits", "long_line", "missing", "valid ahead", "refused ahead"}) {
        // refused: the valid file with every label and item control refused. ahead: some controls
        // made ahead of the showing give what one making gives; one refused ahead says nothing.
        const bool ahead = golden.size() > 6 && golden.compare(golden.size() - 6, 6, " ahead") == 0;
        if (ahead) golden.resize(golden.size() - 6);
        const std::string file = (golden == "refused" ? "valid" : golden) + ".TXT";
        const std::string dir = TAVIR_FIXTURES "/debugwin/";
        Load load(dir + file, *macros, golden == "refused", ahead ? 7 : 0);
        const std::string got = describe(load, dir + file, file);
        if (ahead)
            EXPECT_EQ(got, testing::readFileBytes(dir + golden + ".golden")) << golden << " ahead";
        else
            testing::expectGolden(got, dir + golden + ".golden");
    }
}

TEST(DebugWindowFile, Limits) {
    auto repeat = [](const std::string& piece, int count) {
        std::string row;
        for (int i = 0; i < count; ++i) row += piece;
        return row;
    };
    // 84 fields of "~00" fill 252 columns; four rows of 50 words make 200 labels.
    const std::string items500 = repeat(repeat("~00", 84) + "\n", 5) + repeat("~00", 80) + "\n";
    const std::string labels200 = repeat(repeat("ab ", 50) + "\n", 4);
    const struct {
        const char* what;
        std::string rows;
        int result;
        const char* lastMessage;
    } cases[] = {
        {"500 items", items500, 0, "(25) : fout : De bijbehorende item definities ontbreken volledig"},
        {"501 items", items500 + "~00\n", -1,
         "(7) : fout : Meer dan 500 debug items in dit debug venster bestand"},
        {"200 labels", labels200, 0, ""},
        {"201 labels", labels200 + "x\n", -1,
         "(5) : fout : Meer dan 200 omschrijvende teksten in dit debug venster bestand"},
    };
    auto macros = fixtureMacros();
    testing::ScratchFolder dir;
    for (const auto& c : cases) {
        int rows = static_cast<int>(std::count(c.rows.begin(), c.rows.end(), '\n'));
        std::string path = dir.write("DEBUG_LIM.TXT", c.rows + std::string(24 - rows, '\n'));
        Load load(path, *macros);
        EXPECT_EQ(load.result, c.result) << c.what;
        std::string last = load.logged.all().empty() ? "" : load.logged.all().back().substr(path.size() + 3);
        EXPECT_EQ(last, c.lastMessage) << c.what;
    }
}

TEST(DebugWindowFile, ExampleApplicationLoadsWithoutMessages) {
    auto macros = testing::newMacroTable();
    auto tables = testing::newTables();
    LoggedLines logged;
    ASSERT_EQ(loadBuiltInMacros(*macros, logged.log), 0);
    ASSERT_EQ(loadApplicationHeader(*macros, *tables, logged.log, TAVIR_EXAMPLES "/demo/KVAPDEF.H"), 0);
    for (const char* name : {"DEBUG_001.TXT", "DEBUG_002.TXT", "DEBUG_003.TXT", "DEBUG_004.TXT"}) {
        Load load(std::string(TAVIR_EXAMPLES "/demo/") + name, *macros);
        EXPECT_EQ(load.result, 0) << name;
        EXPECT_EQ(load.logged.all(), std::vector<std::string>{}) << name;
        ASSERT_GT(load.child->itemCount, 0) << name;
        EXPECT_EQ(load.child->itemIndex->count, load.child->itemCount) << name;
    }
}

}  // namespace
}  // namespace tavir
