// The child windows as listed: the debugger window's title, the entries of the window lists, and
// where the list dialogs open and the message window sits.
#include "debugwin/window_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "../scratch_folder.h"
#include "debugwin/center_dialog.h"
#include "debugwin/message_window_layout.h"

namespace tavir {
namespace {

TEST(WindowTitle, BaseTitleAndCurrentFileName) {
    char title[kTitleCapacity];
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

TEST(WindowListEntry, TheLineThatNamesTheFileAndItsExtension) {
    testing::ScratchFolder dir;
    std::FILE* list = std::fopen(dir.write("mkdebfls.txt",
                                           "DEBUG_001      (name only)\n"
                                           "DEBUG_001.TXT  Overzicht signaalgroepen\n"
                                           "DEBUG_001.TXT  second mention\n"
                                           "x.DBG")
                                     .c_str(),
                                 "r");
    ASSERT_NE(list, nullptr);
    const struct {
        const char* title;
        const char* entry;
    } cases[] = {
        {"C:\\app\\DEBUG_001.TXT", "DEBUG_001.TXT  Overzicht signaalgroepen"},  // the first, without newline
        {"C:\\app\\DEBUG_002.TXT", "C:\\app\\DEBUG_002.TXT"},                   // no line: the path
        {"C:\\app\\debug_001.txt", "C:\\app\\debug_001.txt"},                   // names compare exactly
        {"Z:/demo/x.DBG", "x.DBG"},  // the last line has no newline
    };
    for (const auto& c : cases) {
        char entry[kChildTitleCapacity];
        windowListEntry(c.title, list, entry);
        EXPECT_STREQ(entry, c.entry) << c.title;
    }
    std::fclose(list);
    char entry[kChildTitleCapacity];
    windowListEntry("C:\\app\\DEBUG_001.TXT", nullptr, entry);  // no list file
    EXPECT_STREQ(entry, "C:\\app\\DEBUG_001.TXT");
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
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(row.expected.x, row.expected.y));
    }
}

void expectPlace(const WindowPlace& p, int x, int y, int width, int height) {
    EXPECT_EQ(std::make_tuple(p.x, p.y, p.width, p.height), std::make_tuple(x, y, width, height));
}

// It starts as the lower third; then it docks at the bottom keeping its height, with frames of 4
// pixels above and below: the lower one lies below the client area.
TEST(MessageWindowLayout, StartsAsTheLowerThirdAndDocksAtTheBottomKeepingItsHeight) {
    expectPlace(initialMessageWindowPlace(484, 342), 0, 228, 484, 114);
    expectPlace(initialMessageWindowPlace(10, 2), 0, 1, 10, 0);
    expectPlace(dockedMessageWindowPlace(600, 342, 114, 106), 0, 232, 600, 114);
    expectPlace(dockedMessageWindowPlace(484, 500, 114, 106), 0, 390, 484, 114);
    expectPlace(dockedMessageWindowPlace(484, 80, 114, 106), 0, 4, 484, 80);  // cut to the client area
    expectPlace(dockedMessageWindowPlace(484, 342, 9, 0), 0, 338, 484, 9);    // an odd frame rounds up
}

}  // namespace
}  // namespace tavir
