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

TEST(MenuStates, FollowTheNumberOfChildWindows) {
    struct Case {
        int id;
        bool at0, at1, at2, at199, at200;
    };
    const Case cases[] = {
        {IDM_CLOSE_WINDOWS, false, true, true, true, true},
        {IDM_DISPLAY_ON, false, true, true, true, true},
        {IDM_DISPLAY_OFF, false, true, true, true, true},
        {IDM_CHOOSE_WINDOW, false, true, true, true, true},
        {IDM_PREVIOUS_WINDOW, false, false, true, true, true},
        {IDM_NEXT_WINDOW, false, false, true, true, true},
        {IDM_OPEN, true, true, true, true, false},
        {IDM_DPCOM, true, true, true, true, true},
        {IDM_AFNAME, true, true, true, true, true},
        {IDM_PARAMETERS, true, true, true, true, true},
        {IDM_VERSCHILLEN, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(menuItemEnabled(c.id, 0), c.at0);
        EXPECT_EQ(menuItemEnabled(c.id, 1), c.at1);
        EXPECT_EQ(menuItemEnabled(c.id, 2), c.at2);
        EXPECT_EQ(menuItemEnabled(c.id, 199), c.at199);
        EXPECT_EQ(menuItemEnabled(c.id, 200), c.at200);
    }
    EXPECT_EQ(std::size(kUpdatedMenuItems), std::size(cases));
}

TEST(KeyCommands, EachKeyWithAndWithoutCtrl) {
    struct Case {
        bool ctrl;
        int key;
        KeyEffect effect;
        int command;
    };
    const Case cases[] = {
        {false, kKeyPageUp, KeyEffect::kCommand, IDM_PREVIOUS_WINDOW},
        {true, kKeyPageUp, KeyEffect::kCommand, IDM_PREVIOUS_WINDOW},
        {false, kKeyPageDown, KeyEffect::kCommand, IDM_NEXT_WINDOW},
        {true, kKeyPageDown, KeyEffect::kCommand, IDM_NEXT_WINDOW},
        {false, kKeyF3, KeyEffect::kCommand, IDM_DISPLAY_OFF},
        {false, kKeyF5, KeyEffect::kCommand, IDM_DISPLAY_ON},
        {true, kKeyF3, KeyEffect::kToChild, 0},
        {true, kKeyF5, KeyEffect::kToChild, 0},
        {true, kKeyTab, KeyEffect::kFlipKeysToChild, 0},
        {false, kKeyTab, KeyEffect::kToChild, 0},
        {true, 'F', KeyEffect::kCommand, IDM_FONT},
        {true, 'L', KeyEffect::kCommand, IDM_FONT},
        {true, 'K', KeyEffect::kCommand, IDM_CHOOSE_WINDOW},
        {true, 'O', KeyEffect::kCommand, IDM_OPEN},
        {true, 'S', KeyEffect::kCommand, IDM_CLOSE_WINDOWS},
        {false, 'O', KeyEffect::kToChild, 0},
        {false, 'L', KeyEffect::kToChild, 0},
        {true, 'X', KeyEffect::kToChild, 0},
        {false, 0x73 /* F4 */, KeyEffect::kToChild, 0},
        {false, 0x75 /* F6 */, KeyEffect::kToChild, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ctrl) + " " + std::to_string(c.key));
        KeyAction action = keyAction(c.ctrl, c.key);
        EXPECT_EQ(action.effect, c.effect);
        if (c.effect == KeyEffect::kCommand) {
            EXPECT_EQ(action.command, c.command);
        }
    }
}

TEST(CenterDialog, CentresOverTheOwnerAndStaysOnTheScreen) {
    struct Case {
        ScreenRect owner;
        int width, height;
        ScreenPoint expected;
    };
    const Case cases[] = {
        {{100, 100, 600, 500}, 200, 100, {250, 250}},
        {{100, 100, 601, 501}, 200, 100, {250, 250}},   // halves truncate
        {{0, 0, 100, 50}, 300, 200, {0, 0}},            // negative becomes 0
        {{-400, -300, 100, 50}, 100, 100, {0, 0}},
        {{900, 700, 1200, 900}, 300, 200, {724, 568}},  // pulled back inside 1024 x 768
        {{0, 0, 100, 100}, 1100, 800, {-76, -32}},      // wider than the screen: right edge wins
    };
    for (const Case& c : cases) {
        ScreenPoint p = centeredOrigin(c.owner, c.width, c.height, 1024, 768);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}

TEST(WindowTitle, NumberAndCurrentFileName) {
    char title[kTitleCapacity];
    formatBaseTitle(1, title);
    EXPECT_STREQ(title, "Debugger 001");
    formatBaseTitle(999, title);
    EXPECT_STREQ(title, "Debugger 999");
    formatOpenFileTitle(12, title);
    EXPECT_STREQ(title, "Selecteer debug bestand van Kalvoor 012");

    struct Case {
        const char* current;
        const char* expected;
    };
    const Case cases[] = {
        {"", "Debugger 001"},
        {"C:\\app\\DEBUG_001.QTZ", "Debugger 001 - DEBUG_001.QTZ"},
        {"KRUIS_001.DBG", "Debugger 001 - KRUIS_001.DBG"},
        {"C:/app/KRUIS_001.DBG", "Debugger 001 - C:/app/KRUIS_001.DBG"},  // only "\" separates
        {"C:\\app\\", "Debugger 001 - "},
    };
    for (const Case& c : cases) {
        composeWindowTitle("Debugger 001", c.current, title);
        EXPECT_STREQ(title, c.expected);
    }
    std::string longPath = "C:\\" + std::string(400, 'p');
    composeWindowTitle("Debugger 001", longPath.c_str(), title);
    EXPECT_EQ(std::string(title).size(), 255u);
}

TEST(OpenSelection, CutAtBlanksCommasTabsAndNewlines) {
    struct Case {
        std::string selection;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"C:\\app\\DEBUG_001.QTZ", {"C:\\app\\DEBUG_001.QTZ"}},
        {"C:\\app DEBUG_001.QTZ KRUIS_002.DBG", {"C:\\app", "DEBUG_001.QTZ", "KRUIS_002.DBG"}},
        {"C:\\app,A_1.DBG\tB_2.DBG\nC_3.DBG", {"C:\\app", "A_1.DBG", "B_2.DBG", "C_3.DBG"}},
        {"  C:\\app   A_1.DBG  ", {"C:\\app", "A_1.DBG"}},
        {"", {}},
        {" , \t", {}},
    };
    for (const Case& c : cases) {
        std::string text = c.selection;
        char* pieces[kMaxSelectionPieces];
        int count = splitOpenSelection(text.data(), pieces);
        std::vector<std::string> found(pieces, pieces + count);
        EXPECT_EQ(found, c.pieces) << c.selection;
    }
    // More pieces than the table holds: the rest is left out.
    std::string many;
    for (int i = 0; i < kMaxSelectionPieces + 10; ++i) many += "x ";
    char* pieces[kMaxSelectionPieces];
    EXPECT_EQ(splitOpenSelection(many.data(), pieces), kMaxSelectionPieces);
}

}  // namespace
}  // namespace tavir
