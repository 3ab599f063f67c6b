// The debugger window's rules that need no window: menu states and the Open selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/tavir_rc.h"
#include "shell/menu_states.h"
#include "shell/open_selection.h"

namespace tavir {
namespace {

// The boundaries: commands on a window need one, moving between windows needs two, opening one
// stops at the limit, and the batch tools are always there.
TEST(MenuStates, FollowTheNumberOfChildWindows) {
    EXPECT_FALSE(menuItemEnabled(IDM_CLOSE_WINDOWS, 0));
    EXPECT_TRUE(menuItemEnabled(IDM_CLOSE_WINDOWS, 1));
    EXPECT_FALSE(menuItemEnabled(IDM_NEXT_WINDOW, 1));
    EXPECT_TRUE(menuItemEnabled(IDM_NEXT_WINDOW, 2));
    EXPECT_TRUE(menuItemEnabled(IDM_OPEN, kMaxChildWindows - 1));
    EXPECT_FALSE(menuItemEnabled(IDM_OPEN, kMaxChildWindows));
    EXPECT_TRUE(menuItemEnabled(IDM_VERSCHILLEN, 0));
}

TEST(OpenSelection, CutAtBlanksCommasTabsAndNewlines) {
    std::string text = "  C:\\app,A_1.DBG\tB_2.DBG\nC_3.DBG  ";
    char* pieces[kMaxSelectionPieces];
    int count = splitOpenSelection(text.data(), pieces);
    EXPECT_EQ(std::vector<std::string>(pieces, pieces + count),
              (std::vector<std::string>{"C:\\app", "A_1.DBG", "B_2.DBG", "C_3.DBG"}));
    std::string blanks = " , \t";
    EXPECT_EQ(splitOpenSelection(blanks.data(), pieces), 0);
    std::string many;
    for (int i = 0; i < kMaxSelectionPieces + 10; ++i) many += "x ";
    EXPECT_EQ(splitOpenSelection(many.data(), pieces), kMaxSelectionPieces) << "the rest is left out";
}

}  // namespace
}  // namespace tavir
