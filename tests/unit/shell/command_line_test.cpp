#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
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

struct Case {
    std::string text;
    int32_t useSerial, comPort, baudRate;
    std::string ipAddress;
    int32_t ipPort;
    std::string tools;  // letters D, A, P, V of the start-tool flags that end up set
    std::vector<std::string> boxes;
};

const std::string kHost = LinkOptions{}.ipAddress;

void check(const Case& c) {
    SCOPED_TRACE("command line \"" + c.text + "\"");
    std::string text = c.text;
    LinkOptions options;
    testing::RecordedBoxes boxes;
    ParseCommandLine(text.data(), options, boxes);

    EXPECT_EQ(options.useSerial, c.useSerial);
    EXPECT_EQ(options.comPort, c.comPort);
    EXPECT_EQ(options.baudRate, c.baudRate);
    EXPECT_STREQ(options.ipAddress, c.ipAddress.c_str());
    EXPECT_EQ(options.ipPort, c.ipPort);
    std::string tools;
    if (options.openDpcom) tools += 'D';
    if (options.openAfname) tools += 'A';
    if (options.openParameters) tools += 'P';
    if (options.openVerschillen) tools += 'V';
    EXPECT_EQ(tools, c.tools);
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
        {"", 1, 1, 9600, kHost, 7000, "", {}},
        {"com2 -B 19200 afname", 1, 2, 19200, kHost, 7000, "A", {}},
        {"-C 3 +4800", 1, 3, 4800, kHost, 7000, "", {}},
        {"COM2 COM3 -B 19200 4800", 1, 3, 4800, kHost, 7000, "", {}},  // the last one counts
        {"VERSCHILLEN -p AFNAME -D", 1, 1, 9600, kHost, 7000, "DAPV", {}},
        {"COM3   -B    19200   ", 1, 3, 19200, kHost, 7000, "", {}},
        // TCP: port and speed are no longer checked.
        {"-IP 10.1.2.3 -IPP 2000 -C 9", 0, 9, 9600, "10.1.2.3", 2000, "", {}},
        {"-B 1000 -IP host", 0, 1, 1000, "HOST", 7000, "", {}},
        {"-IP 10.0.0.1 -IPP", 0, 1, 9600, "10.0.0.1", 0, "", {}},
        {"-IPP 2000", 1, 1, 9600, kHost, 2000, "", {}},
        {"-IP 0123456789012345678901234", 0, 1, 9600, "0123456789012345678", 7000, "", {}},
        {"-B 0000000000000000000000000000019200", 1, 1, 19200, kHost, 7000, "", {}},
    };
    for (const Case& c : cases) check(c);
}

TEST(ParseCommandLine, MessagesAndTheirOrder) {
    // Arguments are reported as they come; the port and the speed are checked after the last one.
    const std::string longName(300, 'Q');
    const Case cases[] = {
        {"XYZ -C 7 ABC -B 5",
         1,
         1,
         9600,
         kHost,
         7000,
         "",
         {notValid(0, "XYZ"), notValid(3, "ABC"), kSerialBox, kBaudBox}},
        {"0", 1, 1, 9600, kHost, 7000, "", {notValid(0, "0")}},
        {" COM2", 1, 2, 9600, kHost, 7000, "", {notValid(0, "")}},
        {"COM3 -C", 1, 1, 9600, kHost, 7000, "", {kSerialBox}},
        {"2X", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"99999999999", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        // Only a-z change case: other bytes, like the CP1252 e with diaeresis, stay as typed.
        {"caf\xEB", 1, 1, 9600, kHost, 7000, "", {notValid(0, "CAF\xEB")}},
        {longName + " COM2", 1, 2, 9600, kHost, 7000, "", {notValid(0, longName)}},
        {std::string(5000, 'Q'),
         1,
         1,
         9600,
         kHost,
         7000,
         "",
         {notValid(0, std::string(5000, 'Q')).substr(0, 511)}},
    };
    for (const Case& c : cases) check(c);
}

// Only the space separates: a tab belongs to its argument, and blanks before the digits of a value
// are skipped.
TEST(ParseCommandLine, TabsArePartOfAnArgument) {
    const Case cases[] = {
        {"COM1\t19200", 1, 1, 9600, kHost, 7000, "", {notValid(0, "COM1\t19200")}},
        {"-B \t19200", 1, 1, 19200, kHost, 7000, "", {}},
        {"-IP \t10.0.0.1", 0, 1, 9600, "\t10.0.0.1", 7000, "", {}},
    };
    for (const Case& c : cases) check(c);
}

// Ten arguments are looked at; a keyword in the tenth place finds no value after it.
TEST(ParseCommandLine, MoreThanTenArguments) {
    const std::string nine = "COM1 COM1 COM1 COM1 COM1 COM1 COM1 COM1 COM1 ";
    std::vector<std::string> tenBoxes;
    for (int i = 0; i < kMaxArguments; ++i) tenBoxes.push_back(notValid(i, "X"));
    const Case cases[] = {
        {nine + "COM2 COM3 -B 19200", 1, 2, 9600, kHost, 7000, "", {}},
        {nine + "-B 19200", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"X X X X X X X X X X X X", 1, 1, 9600, kHost, 7000, "", tenBoxes},
    };
    for (const Case& c : cases) check(c);
}

}  // namespace
}  // namespace tavir
