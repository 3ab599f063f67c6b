// The start-up's portable steps: class registration with its messages, and the definitions with
// their message lines and boxes (the lines of an ordinary start are tcp_startup's); the debugger
// window's rules that need no window: menu states and the Open selection; and the command line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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
#include "shell/command_line.h"
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

// With the header's name a directory of 1015 characters reaches the path limit of 1024.
TEST(LoadDefinitions, ATooLongDirectoryLeavesTheWindowWithoutDefinitions) {
    auto macros = std::make_unique<MacroTable>();
    auto tables = std::make_unique<ApplicationTables>();
    RecordedLines lines;
    RecordedBoxes boxes;
    MessageLog log;
    log.sink = &lines;
    log.boxes = &boxes;
    auto load = [&](const std::string& directory) {
        return LoadDefinitions(*macros, *tables, log, boxes, directory.c_str());
    };
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

const std::string kSerialBox = text::kSerialPortNotValid;
const std::string kBaudBox = text::kBaudRateNotValid;
std::string notValid(int index, const std::string& argument) {
    char box[2048];
    std::snprintf(box, sizeof box, text::kArgumentNotValid, index, argument.c_str());
    return box;
}

// What differs from the options a text without arguments leaves: "tcp", "com N", "baud N", "ip X",
// "port N", and the letters D, A, P, V of the start-tool flags that are set.
std::string changes(const LinkOptions& o) {
    const LinkOptions d;
    std::string out;
    if (o.useSerial != d.useSerial) out += " tcp";
    if (o.comPort != d.comPort) out += " com " + std::to_string(o.comPort);
    if (o.baudRate != d.baudRate) out += " baud " + std::to_string(o.baudRate);
    if (std::strcmp(o.ipAddress, d.ipAddress) != 0) out += std::string(" ip ") + o.ipAddress;
    if (o.ipPort != d.ipPort) out += " port " + std::to_string(o.ipPort);
    const std::string tools = std::string(o.openDpcom ? "D" : "") + (o.openAfname ? "A" : "") +
                              (o.openParameters ? "P" : "") + (o.openVerschillen ? "V" : "");
    if (!tools.empty()) out += " " + tools;
    return out.empty() ? out : out.substr(1);
}

struct Case {
    std::string text, changes;
    std::vector<std::string> boxes;
};

// The links a command line chooses, and its messages: arguments are reported as they come; the
// port and the speed are checked after the last one.
TEST(ParseCommandLine, LinksAndMessagesInTheirOrder) {
    const std::string longName(300, 'Q'), tooLong(5000, 'Q');
    const std::string nine = "COM1 COM1 COM1 COM1 COM1 COM1 COM1 COM1 COM1 ";
    std::vector<std::string> tenBoxes;
    for (int i = 0; i < kMaxArguments; ++i) tenBoxes.push_back(notValid(i, "X"));
    const Case cases[] = {
        {"", "", {}},
        {"com2 -B 19200 afname", "com 2 baud 19200 A", {}},
        {"-C 3 +4800", "com 3 baud 4800", {}},
        {"COM2 COM3 -B 19200 4800", "com 3 baud 4800", {}},  // the last one counts
        {"VERSCHILLEN -p AFNAME -D", "DAPV", {}},
        {"COM3   -B    19200   ", "com 3 baud 19200", {}},
        // TCP: port and speed are no longer checked.
        {"-IP 10.1.2.3 -IPP 2000 -C 9", "tcp com 9 ip 10.1.2.3 port 2000", {}},
        {"-B 1000 -IP host", "tcp baud 1000 ip HOST", {}},
        {"-IP 10.0.0.1 -IPP", "tcp ip 10.0.0.1 port 0", {}},
        {"-IPP 2000", "port 2000", {}},
        {"-IP 0123456789012345678901234", "tcp ip 0123456789012345678", {}},
        {"-B 0000000000000000000000000000019200", "baud 19200", {}},
        // Only the space separates: a tab belongs to its argument, and blanks before the digits of a
        // value are skipped.
        {"COM1\t19200", "", {notValid(0, "COM1\t19200")}},
        {"-B \t19200", "baud 19200", {}},
        {"-IP \t10.0.0.1", "tcp ip \t10.0.0.1", {}},
        {"XYZ -C 7 ABC -B 5", "", {notValid(0, "XYZ"), notValid(3, "ABC"), kSerialBox, kBaudBox}},
        {"0", "", {notValid(0, "0")}},
        {" COM2", "com 2", {notValid(0, "")}},
        {"COM3 -C", "", {kSerialBox}},
        {"2X", "", {kBaudBox}},
        {"99999999999", "", {kBaudBox}},
        // Only a-z change case: other bytes, like the CP1252 e with diaeresis, stay as typed.
        {"caf\xEB", "", {notValid(0, "CAF\xEB")}},
        {longName + " COM2", "com 2", {notValid(0, longName)}},
        {tooLong, "", {notValid(0, tooLong).substr(0, 511)}},
        // Ten arguments are looked at; a keyword in the tenth place finds no value after it.
        {nine + "COM2 COM3 -B 19200", "com 2", {}},
        {nine + "-B 19200", "", {kBaudBox}},
        {"X X X X X X X X X X X X", "", tenBoxes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("command line \"" + c.text + "\"");
        std::string text = c.text;
        LinkOptions options;
        testing::RecordedBoxes boxes;
        ParseCommandLine(text.data(), options, boxes);
        EXPECT_EQ(changes(options), c.changes);
        std::vector<std::string> shown;
        for (const testing::RecordedBox& box : boxes.boxes) {
            shown.push_back(box.text);
            EXPECT_EQ(box.caption, text::kCommandLineCaption);
            EXPECT_EQ(box.style, static_cast<unsigned>(kBoxOk));
        }
        EXPECT_EQ(shown, c.boxes);
    }
}

}  // namespace
}  // namespace tavir
