// The start-up's portable steps: class registration with its messages, and the definitions with
// their message lines and boxes (the lines of an ordinary start are tcp_startup's); and the
// debugger window's rules that need no window: menu states and the Open selection.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../support.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"
#include "resources/definitions_texts.h"
#include "resources/shell_texts.h"
#include "resources/tavir_rc.h"
#include "shell/class_registration.h"
#include "shell/load_definitions.h"
#include "shell/menu_states.h"
#include "shell/open_selection.h"

namespace tavir {
namespace {

using testing::RecordedBoxes;
using testing::RecordedLines;
using Class = WindowClass;
using namespace text;

// Registers every class except the one that is to fail, and checks that only a registered class
// is unregistered and that nothing is registered after a failure.
struct RecordedRegistrar : ClassRegistrar {
    int failing = -1;  // WindowClass as int, -1: none fails
    bool failUnregisterMain = false;
    bool failed = false;
    std::set<Class> registered;
    std::vector<Class> unregistered;
    bool registerClass(Class c) override {
        EXPECT_FALSE(failed) << "a class registered after a failure";
        failed = static_cast<int>(c) == failing;
        if (!failed) registered.insert(c);
        return !failed;
    }
    bool unregisterClass(Class c) override {
        EXPECT_EQ(registered.erase(c), 1u) << "a class unregistered that was not registered";
        unregistered.push_back(c);
        return !(failUnregisterMain && c == Class::kMain);
    }
};

// Whatever class fails, its messages are shown in order and every class registered before it is
// unregistered again.
TEST(ClassRegistration, EachFailureShowsItsMessagesAndUndoesWhatWasRegistered) {
    const std::vector<std::string> boxesOf[] = {
        {kEditItemClassFailed, kItemClassFailed, kChildClassFailed, kStartFailed},
        {kCheckItemClassFailed, kItemClassFailed, kChildClassFailed, kStartFailed},
        {kChildClassFailed, kStartFailed},
        {kMessageClassFailed, kStartFailed},
        {kStartFailed},
    };
    for (int failing = -1; failing <= static_cast<int>(Class::kMain); ++failing) {
        SCOPED_TRACE(failing);
        RecordedRegistrar registrar;
        registrar.failing = failing;
        RecordedBoxes boxes;
        EXPECT_EQ(registerWindowClasses(registrar, boxes), failing < 0 ? 0 : -1);
        EXPECT_EQ(registrar.registered.size(), failing < 0 ? 5u : 0u);
        std::vector<std::string> shown;
        for (const testing::RecordedBox& box : boxes.boxes) {
            shown.push_back(box.text);
            EXPECT_EQ(box.caption, box.text == kStartFailed ? kProgramCaption : kClassCaption);
            EXPECT_EQ(box.style, kBoxOk);
        }
        EXPECT_EQ(shown, failing < 0 ? std::vector<std::string>{} : boxesOf[failing]);
    }
}

TEST(ClassRegistration, ShutdownStartsWithTheMainClassAndStopsWhenItStays) {
    for (bool stuck : {false, true}) {
        RecordedRegistrar registrar;
        RecordedBoxes boxes;
        ASSERT_EQ(registerWindowClasses(registrar, boxes), 0);
        registrar.failUnregisterMain = stuck;
        unregisterWindowClasses(registrar);
        EXPECT_EQ(registrar.unregistered.front(), Class::kMain);
        EXPECT_EQ(registrar.registered.size(), stuck ? 4u : 0u);
    }
}

class LoadDefinitionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.sink = &lines;
        log.boxes = &boxes;
    }
    DefinitionsResult load(const std::string& directory) {
        return LoadDefinitions(*macros, *tables, log, boxes, directory.c_str());
    }

    std::unique_ptr<MacroTable> macros = std::make_unique<MacroTable>();
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    RecordedLines lines;
    RecordedBoxes boxes;
    MessageLog log;
};

// With the header's name a directory of 1015 characters reaches the path limit of 1024.
TEST_F(LoadDefinitionsTest, ATooLongDirectoryLeavesTheWindowWithoutDefinitions) {
    // The header path still fits, all 1024 characters of it; the file is missing, so its box shows.
    const std::string fits(1014, 'd');
    EXPECT_EQ(load(fits), DefinitionsResult::kFailed);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    char text[2048];
    std::snprintf(text, sizeof text, kHeaderNotOpenedFormat, (fits + "\\" + kHeaderFileName).c_str());
    EXPECT_EQ(boxes.boxes[0].text, text);
    EXPECT_EQ(boxes.boxes[0].caption, kErrorCaption);
    EXPECT_EQ(boxes.boxes[0].style, kBoxOk | kBoxIconExclamation);
    lines.lines.clear();
    EXPECT_EQ(load(std::string(1015, 'd')), DefinitionsResult::kHeaderPathTooLong);
    // The directory does not fit into the line and is left out of it.
    EXPECT_EQ(lines.lines.back(), std::string("fout : ") + kHeaderFileName + kHeaderPathTooLong);
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

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
