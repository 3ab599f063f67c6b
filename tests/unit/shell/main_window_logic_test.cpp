// The debugger window's rules that need no window: menu states, keys, centring and titles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/tavir_rc.h"
#include "shell/center_dialog.h"
#include "shell/key_commands.h"
#include "shell/menu_states.h"
#include "shell/open_selection.h"
#include "shell/window_title.h"

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

TEST(KeyCommands, CtrlChoosesBetweenTheWindowAndTheChild) {
    const struct {
        bool ctrl;
        int key;
        KeyEffect effect;
        int command;
    } rows[] = {
        {true, kKeyPageUp, KeyEffect::kCommand, IDM_PREVIOUS_WINDOW},  // with or without Ctrl
        {false, kKeyF3, KeyEffect::kCommand, IDM_DISPLAY_OFF},
        {true, kKeyF3, KeyEffect::kToChild, 0},
        {true, kKeyTab, KeyEffect::kFlipKeysToChild, 0},
        {false, kKeyTab, KeyEffect::kToChild, 0},
        {true, 'L', KeyEffect::kCommand, IDM_FONT},
        {false, 'O', KeyEffect::kToChild, 0},
    };
    for (const auto& row : rows) {
        KeyAction action = keyAction(row.ctrl, row.key);
        EXPECT_EQ(action.effect, row.effect) << row.ctrl << " " << row.key;
        EXPECT_EQ(action.command, row.command) << row.ctrl << " " << row.key;
    }
}

TEST(CenterDialog, CentresOverTheOwnerAndStaysOnTheScreen) {
    const struct {
        ScreenRect owner;
        int width, height;
        ScreenPoint expected;
    } rows[] = {
        {{100, 100, 601, 501}, 200, 100, {250, 250}},   // halves truncate
        {{-400, -300, 100, 50}, 100, 100, {0, 0}},      // never left of or above the screen
        {{900, 700, 1200, 900}, 300, 200, {724, 568}},  // pulled back inside 1024 x 768
        {{0, 0, 100, 100}, 1100, 800, {-76, -32}},      // wider than the screen: the right edge wins
    };
    for (const auto& row : rows) {
        ScreenPoint p = centeredOrigin(row.owner, row.width, row.height, 1024, 768);
        EXPECT_EQ(p.x, row.expected.x);
        EXPECT_EQ(p.y, row.expected.y);
    }
}

TEST(WindowTitle, NumberAndCurrentFileName) {
    char title[kTitleCapacity];
    formatBaseTitle(7, title);
    EXPECT_STREQ(title, "Debugger 007");
    const struct {
        const char* current;
        const char* expected;
    } rows[] = {
        {"", "Debugger 001"},
        {"C:\\app\\DEBUG_001.QTZ", "Debugger 001 - DEBUG_001.QTZ"},
        {"C:/app/KRUIS_001.DBG", "Debugger 001 - C:/app/KRUIS_001.DBG"},  // only "\" separates
    };
    for (const auto& row : rows) {
        composeWindowTitle("Debugger 001", row.current, title);
        EXPECT_STREQ(title, row.expected);
    }
    composeWindowTitle("Debugger 001", ("C:\\" + std::string(400, 'p')).c_str(), title);
    EXPECT_EQ(std::string(title).size(), static_cast<size_t>(kTitleCapacity - 1));
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
