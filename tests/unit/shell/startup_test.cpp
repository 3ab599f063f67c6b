// The start-up's portable steps: class registration with its messages, and the definitions
// with their message lines and boxes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../scratch_folder.h"
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

// Registers every class except the one that is to fail; records what happens in order.
struct RecordedRegistrar : ClassRegistrar {
    int failing = -1;  // WindowClass as int, -1: none fails
    bool failUnregisterMain = false;
    std::vector<std::string> calls;
    static const char* name(WindowClass c) {
        static const char* const names[] = {"edit", "check", "child", "message", "main"};
        return names[static_cast<int>(c)];
    }
    bool registerClass(WindowClass c) override {
        calls.push_back(std::string("+") + name(c));
        return static_cast<int>(c) != failing;
    }
    bool unregisterClass(WindowClass c) override {
        calls.push_back(std::string("-") + name(c));
        return !(failUnregisterMain && c == WindowClass::kMain);
    }
};

using namespace text;
const char* kEdit = kEditItemClassFailed;
const char* kCheck = kCheckItemClassFailed;
const char* kItem = kItemClassFailed;
const char* kChild = kChildClassFailed;
const char* kStart = kStartFailed;

struct RegistrationCase {
    int failing;
    std::vector<std::string> boxes;  // texts; the last is the start failure under "TAVIR.EXE"
    std::vector<std::string> calls;
};

TEST(ClassRegistration, EachFailureShowsItsMessagesAndUndoesWhatWasRegistered) {
    const RegistrationCase cases[] = {
        {-1, {}, {"+edit", "+check", "+child", "+message", "+main"}},
        {0, {kEdit, kItem, kChild, kStart}, {"+edit"}},
        {1, {kCheck, kItem, kChild, kStart}, {"+edit", "+check", "-edit"}},
        {2, {kChild, kStart}, {"+edit", "+check", "+child", "-edit", "-check"}},
        {3,
         {kMessageClassFailed, kStart},
         {"+edit", "+check", "+child", "+message", "-edit", "-check", "-child"}},
        {4,
         {kStart},
         {"+edit", "+check", "+child", "+message", "+main", "-message", "-edit", "-check", "-child"}},
    };
    for (const RegistrationCase& c : cases) {
        SCOPED_TRACE(c.failing);
        RecordedRegistrar registrar;
        registrar.failing = c.failing;
        RecordedBoxes boxes;
        EXPECT_EQ(registerWindowClasses(registrar, boxes), c.failing < 0 ? 0 : -1);
        EXPECT_EQ(registrar.calls, c.calls);
        ASSERT_EQ(boxes.boxes.size(), c.boxes.size());
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(boxes.boxes[i].text, c.boxes[i]);
            bool last = i + 1 == c.boxes.size();
            EXPECT_EQ(boxes.boxes[i].caption, last ? kProgramCaption : kClassCaption);
            EXPECT_EQ(boxes.boxes[i].style, kBoxOk);
        }
    }
}

TEST(ClassRegistration, ShutdownOrderStopsWhenTheMainClassStays) {
    RecordedRegistrar registrar;
    unregisterWindowClasses(registrar);
    EXPECT_EQ(registrar.calls, (std::vector<std::string>{"-main", "-message", "-edit", "-check", "-child"}));

    RecordedRegistrar stuck;
    stuck.failUnregisterMain = true;
    unregisterWindowClasses(stuck);
    EXPECT_EQ(stuck.calls, (std::vector<std::string>{"-main"}));
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

    testing::ScratchFolder folder{"tavir-startup"};
    const std::filesystem::path& dir = folder.path();
    std::unique_ptr<MacroTable> macros = std::make_unique<MacroTable>();
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    RecordedLines lines;
    RecordedBoxes boxes;
    MessageLog log;
};

TEST_F(LoadDefinitionsTest, ReadsTheMacrosThenTheHeaderWithTheirLines) {
    std::ofstream(dir / kHeaderFileName) << "#define SG02 0\n#define SG05 1\n";
    const std::string header = dir.string() + "\\" + kHeaderFileName;
    ASSERT_EQ(load(dir.string()), DefinitionsResult::kLoaded);
    EXPECT_EQ(lines.lines, (std::vector<std::string>{std::string(kMacroFileName) + kReadingMacroFile,
                                                     header + kReadingHeaderFile}));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(lookupMacro(*macros, "SG05"), 1);
    EXPECT_GT(lookupMacro(*macros, "DVWD"), 0);  // a built-in name, read before the header
}

TEST_F(LoadDefinitionsTest, AMissingHeaderEndsWithItsMessageBox) {
    const std::string directory = dir.string() + "/";
    ASSERT_EQ(load(directory), DefinitionsResult::kFailed);
    char text[2048];
    std::snprintf(text, sizeof text, kHeaderNotOpenedFormat, (directory + kHeaderFileName).c_str());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, text);
    EXPECT_EQ(boxes.boxes[0].caption, kErrorCaption);
    EXPECT_EQ(boxes.boxes[0].style, kBoxOk | kBoxIconExclamation);
}

// With the header's name a directory of 1015 characters reaches the path limit of 1024.
TEST_F(LoadDefinitionsTest, ATooLongDirectoryLeavesTheWindowWithoutDefinitions) {
    // The header path still fits, all 1024 characters of it; the file is missing, so its box follows.
    const std::string fits(1014, 'd');
    EXPECT_EQ(load(fits), DefinitionsResult::kFailed);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find(fits + "\\" + kHeaderFileName + "'"), std::string::npos);
    lines.lines.clear();
    EXPECT_EQ(load(std::string(1015, 'd')), DefinitionsResult::kHeaderPathTooLong);
    // The directory does not fit into the line and is left out of it.
    EXPECT_EQ(lines.lines.back(), std::string("fout : ") + kHeaderFileName + kHeaderPathTooLong);
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
}  // namespace tavir
