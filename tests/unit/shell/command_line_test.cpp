#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../support.h"
#include "resources/shell_texts.h"

namespace tavir {
namespace {

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

void check(const Case& c) {
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

TEST(ParseCommandLine, Links) {
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
    };
    for (const Case& c : cases) check(c);
}

TEST(ParseCommandLine, MessagesAndTheirOrder) {
    // Arguments are reported as they come; the port and the speed are checked after the last one.
    const std::string longName(300, 'Q'), tooLong(5000, 'Q');
    const std::string nine = "COM1 COM1 COM1 COM1 COM1 COM1 COM1 COM1 COM1 ";
    std::vector<std::string> tenBoxes;
    for (int i = 0; i < kMaxArguments; ++i) tenBoxes.push_back(notValid(i, "X"));
    const Case cases[] = {
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
    for (const Case& c : cases) check(c);
}

}  // namespace
}  // namespace tavir
