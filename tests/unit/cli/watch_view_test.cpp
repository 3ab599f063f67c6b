// The terminal view of a debug window: what each kind of item shows for the values it gets, at
// the edges of its width and of the window.
#include "watch_view.h"

#include <gtest/gtest.h>

#include <memory>

#include "definitions/builtin_macros.h"
#include "link/item_index.h"
#include "scratch_folder.h"

namespace tavir::cli {
namespace {

struct ViewCase {
    const char* name;
    const char* screen;      // row 0 of the picture
    const char* definition;  // item 01
    std::vector<int32_t> values;
    const char* row0;        // after the values
    bool otherItem = false;  // the values are for another signal group: ignored
};

class WatchViewCases : public ::testing::TestWithParam<ViewCase> {};

TEST_P(WatchViewCases, ShowTheValuesAsTheControlsDo) {
    const ViewCase& c = GetParam();
    testing::ScratchFolder folder{"tavir-cli-watch"};
    std::string path = folder.write(
        "DEBUG_001.TXT", std::string(c.screen) + "\n" + std::string(23, '\n') + "01 " + c.definition + "\n");
    auto macros = std::make_unique<MacroTable>();
    clearMacroTable(*macros);
    MessageLog log;
    ASSERT_EQ(loadBuiltInMacros(*macros, log), 0);
    std::unique_ptr<TextWindow> window = loadTextWindow(path.c_str(), log, *macros);
    ASSERT_TRUE(window);
    WatchView view(*window);
    ValueRecord record = requestKey(window->data.items[0]);
    if (c.otherItem) record.number = 3;
    for (int32_t value : c.values) {
        record.value = value;
        EXPECT_EQ(view.show(record), !c.otherItem);
    }
    std::vector<std::string> lines = view.lines();
    ASSERT_EQ(lines.size(), 2u);  // the rows used, plus 2... of which row 1 is empty
    EXPECT_EQ(lines[0], c.row0);
    EXPECT_EQ(lines[1], "");
}

INSTANTIATE_TEST_SUITE_P(
    Items, WatchViewCases,
    ::testing::Values(ViewCase{"NoValueYet", "~~~01", "inst_VG_TIJD 2", {}, "...."},
                      ViewCase{"OneTooWide", "~~~01", "inst_VG_TIJD 2", {12345}, "####"},
                      ViewCase{"DoubledCutAtTheWindowEdge", "~~01", "DVWD 2", {5, 0, 7}, "  7 (5"},
                      // The field grows past the window's edge, which hides its right-aligned digits.
                      ViewCase{"DoubledDigitsPastTheEdge", "x ~~~~01", "DVWD 2", {0}, "x"},
                      ViewCase{"CheckboxTwoIsOff", "~01", "G 2", {2}, "[ ]"},
                      ViewCase{"AValueOfAnotherItem", "~01", "G 2", {1}, "[.]", true}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tavir::cli
