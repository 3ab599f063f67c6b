// The start-up's portable steps: class registration with its messages, and the definitions
// with their message lines and boxes. The lines of an ordinary start are tcp_startup's.
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
#include "shell/class_registration.h"
#include "shell/load_definitions.h"

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

}  // namespace
}  // namespace tavir
