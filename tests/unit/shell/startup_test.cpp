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

constexpr char kEdit[] = "LOG : De item edit window class kon niet worden geregistreerd.";
constexpr char kCheck[] = "LOG : De item check window class kon niet worden geregistreerd.";
constexpr char kItem[] = "LOG : De item window class kon niet worden geregistreerd.";
constexpr char kChild[] = "LOG : De child window class kon niet worden geregistreerd.";
constexpr char kMessage[] = "LOG : De message window class kon niet worden geregistreerd.";
constexpr char kStart[] = "De Kalvoor debugger kon niet worden opgestart.";

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
        {3, {kMessage, kStart}, {"+edit", "+check", "+child", "+message", "-edit", "-check", "-child"}},
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
            EXPECT_EQ(boxes.boxes[i].caption, last ? "TAVIR.EXE" : "TAVIR.DLL");
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
    std::ofstream(dir / "KVAPDEF.H") << "#define SG02 0\n#define SG05 1\n";
    std::string directory = dir.string();
    ASSERT_EQ(load(directory), DefinitionsResult::kLoaded);
    ASSERT_GE(lines.lines.size(), 2u);
    EXPECT_EQ(lines.lines[0], "macrodef.qtz : Inlezen van het macro definitie bestand.");
    EXPECT_EQ(lines.lines[1], directory + "\\KVAPDEF.H : Inlezen van het Kalvoor definitie bestand.");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(lookupMacro(*macros, "SG05"), 1);
    EXPECT_GT(lookupMacro(*macros, "DVWD"), 0);  // a built-in name, read before the header
}

TEST_F(LoadDefinitionsTest, AMissingHeaderEndsWithItsMessageBox) {
    std::string directory = dir.string() + "/";
    ASSERT_EQ(load(directory), DefinitionsResult::kFailed);
    std::string path = directory + "KVAPDEF.H";
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Het applicatie definitie bestand '" + path + "' \nkon niet worden geopend.");
    EXPECT_EQ(boxes.boxes[0].caption, "Debugger Foutmelding");
    EXPECT_EQ(boxes.boxes[0].style, kBoxOk | kBoxIconExclamation);
    EXPECT_EQ(lines.lines[1], path + " : Inlezen van het Kalvoor definitie bestand.");
}

TEST_F(LoadDefinitionsTest, ATooLongDirectoryLeavesTheWindowWithoutDefinitions) {
    struct Case {
        size_t length;
        DefinitionsResult result;
    };
    // "KVAPDEF.H" has 9 characters: a directory of 1015 reaches 1024.
    for (Case c :
         {Case{1014, DefinitionsResult::kFailed}, Case{1015, DefinitionsResult::kHeaderPathTooLong}}) {
        SCOPED_TRACE(c.length);
        lines.lines.clear();
        boxes.boxes.clear();
        std::string directory(c.length, 'd');
        EXPECT_EQ(load(directory), c.result);
        ASSERT_GE(lines.lines.size(), 2u);
        if (c.result == DefinitionsResult::kHeaderPathTooLong) {
            EXPECT_EQ(lines.lines.size(), 2u);
            // The directory does not fit into a line and is left out of it.
            EXPECT_EQ(lines.lines[1], "fout : KVAPDEF.H: Pad naar Kalvoor definitie bestand is te lang: ");
            EXPECT_TRUE(boxes.boxes.empty());
        } else {
            // The header path still fits, all 1024 characters of it; the file is missing, so its
            // box follows.
            ASSERT_EQ(boxes.boxes.size(), 1u);
            EXPECT_NE(boxes.boxes[0].text.find(directory + "\\KVAPDEF.H'"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tavir
