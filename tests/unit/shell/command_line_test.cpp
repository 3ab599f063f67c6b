#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "../support.h"

namespace tavir {
namespace {

// The message texts as the user sees them, spelled out here so that a slip in the text table shows.
const std::string kSerialBox =
    "LOG : Geen geldig seri\xEBle-poort argument. \nAlleen poortnummers 1,2,3 en 4 zijn toegestaan.\n"
    "COM1 zal gebruikt worden.";
const std::string kBaudBox = "LOG : Geen geldig baudrate argument.\n9600 baud zal gebruikt worden.";
std::string notValid(int index, const std::string& argument) {
    return "LOG : Geen geldig argument.\nArgument[" + std::to_string(index) + "]: " + argument;
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
        EXPECT_EQ(box.caption, "TAVIR");
        EXPECT_EQ(box.style, static_cast<unsigned>(kBoxOk));
    }
    EXPECT_EQ(shown, c.boxes);
}

TEST(ParseCommandLine, SerialLinkAndTools) {
    const Case cases[] = {
        {"", 1, 1, 9600, kHost, 7000, "", {}},
        {"COM3 19200", 1, 3, 19200, kHost, 7000, "", {}},
        {"-C 3 -B 19200", 1, 3, 19200, kHost, 7000, "", {}},
        {"com2 afname", 1, 2, 9600, kHost, 7000, "A", {}},
        {"4800", 1, 1, 4800, kHost, 7000, "", {}},
        {"+19200", 1, 1, 19200, kHost, 7000, "", {}},
        {"COM2 COM3 -B 19200 4800", 1, 3, 4800, kHost, 7000, "", {}},
        {"VERSCHILLEN PARAMETERS AFNAME DPCOM", 1, 1, 9600, kHost, 7000, "DAPV", {}},
        {"-v -p", 1, 1, 9600, kHost, 7000, "PV", {}},
        {"-D -a Com4", 1, 4, 9600, kHost, 7000, "DA", {}},
        {"COM3   -B    19200", 1, 3, 19200, kHost, 7000, "", {}},
        {"COM3   ", 1, 3, 9600, kHost, 7000, "", {}},
        {"-c 04", 1, 4, 9600, kHost, 7000, "", {}},
    };
    for (const Case& c : cases) check(c);
}

TEST(ParseCommandLine, TcpLinkIsNotValidated) {
    const Case cases[] = {
        {"-IP 10.1.2.3 -IPP 2000", 0, 1, 9600, "10.1.2.3", 2000, "", {}},
        {"-IP 10.1.2.3 -IPP 2000 -C 9", 0, 9, 9600, "10.1.2.3", 2000, "", {}},
        {"-C 5 -ip 127.0.0.1", 0, 5, 9600, "127.0.0.1", 7000, "", {}},
        {"-B 1000 -IP host", 0, 1, 1000, "HOST", 7000, "", {}},
        {"-IP 10.0.0.1 COM2", 0, 2, 9600, "10.0.0.1", 7000, "", {}},
        {"-IP 10.0.0.1 -IPP", 0, 1, 9600, "10.0.0.1", 0, "", {}},
        {"-IP", 0, 1, 9600, "", 7000, "", {}},
        {"-IPP 2000", 1, 1, 9600, kHost, 2000, "", {}},
    };
    for (const Case& c : cases) check(c);
}

TEST(ParseCommandLine, MessagesAndTheirOrder) {
    // Arguments are reported as they come; the port and the speed are checked after the last one.
    const std::vector<std::string> inOrder = {notValid(0, "XYZ"), notValid(3, "ABC"), kSerialBox, kBaudBox};
    const Case cases[] = {
        {"-B 1000", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"-C 5", 1, 1, 9600, kHost, 7000, "", {kSerialBox}},
        {"XYZ", 1, 1, 9600, kHost, 7000, "", {notValid(0, "XYZ")}},
        {"xyz COM2", 1, 2, 9600, kHost, 7000, "", {notValid(0, "XYZ")}},
        {"0", 1, 1, 9600, kHost, 7000, "", {notValid(0, "0")}},
        {"-5", 1, 1, 9600, kHost, 7000, "", {notValid(0, "-5")}},
        {" COM2", 1, 2, 9600, kHost, 7000, "", {notValid(0, "")}},
        {"   ", 1, 1, 9600, kHost, 7000, "", {notValid(0, "")}},
        {"-B", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"COM3 -C", 1, 1, 9600, kHost, 7000, "", {kSerialBox}},
        {"-B -5", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"2X", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"99999999999", 1, 1, 9600, kHost, 7000, "", {kBaudBox}},
        {"COM12 dpcomx", 1, 1, 9600, kHost, 7000, "", {notValid(0, "COM12"), notValid(1, "DPCOMX")}},
        {"XYZ -C 7 ABC -B 5", 1, 1, 9600, kHost, 7000, "", inOrder},
        // Only a-z change case: other bytes, like the CP1252 e with diaeresis, stay as typed.
        {"caf\xEB", 1, 1, 9600, kHost, 7000, "", {notValid(0, "CAF\xEB")}},
    };
    for (const Case& c : cases) check(c);
}

// Only the space separates: a tab belongs to its argument, and blanks before the digits of a value
// are skipped.
TEST(ParseCommandLine, TabsArePartOfAnArgument) {
    const Case cases[] = {
        {"COM1\t19200", 1, 1, 9600, kHost, 7000, "", {notValid(0, "COM1\t19200")}},
        {"\t19200", 1, 1, 19200, kHost, 7000, "", {}},
        {"-B\t19200", 1, 1, 9600, kHost, 7000, "", {notValid(0, "-B\t19200")}},
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
        {nine + "-IP 10.0.0.1", 0, 1, 9600, "", 7000, "", {}},
        {"X X X X X X X X X X X X", 1, 1, 9600, kHost, 7000, "", tenBoxes},
    };
    for (const Case& c : cases) check(c);
}

TEST(ParseCommandLine, LongArguments) {
    const std::string longName(300, 'Q');
    const std::string hugeName(5000, 'Q');
    std::string hugeBox = notValid(0, hugeName).substr(0, 511);
    const Case cases[] = {
        {"-IP 0123456789012345678901234", 0, 1, 9600, "0123456789012345678", 7000, "", {}},
        {"-IP 0123456789012345678", 0, 1, 9600, "0123456789012345678", 7000, "", {}},
        {"-B 0000000000000000000000000000019200", 1, 1, 19200, kHost, 7000, "", {}},
        {longName + " COM2", 1, 2, 9600, kHost, 7000, "", {notValid(0, longName)}},
        {hugeName, 1, 1, 9600, kHost, 7000, "", {hugeBox}},
    };
    for (const Case& c : cases) check(c);
}

TEST(ParseCommandLine, UpperCasesTheTextInPlace) {
    char text[] = "com2 -ip host.example";
    LinkOptions options;
    testing::RecordedBoxes boxes;
    ParseCommandLine(text, options, boxes);
    EXPECT_STREQ(text, "COM2");  // the first argument, cut off where the blanks were
    EXPECT_STREQ(options.ipAddress, "HOST.EXAMPLE");
}

TEST(ArgumentValue, LeadingDigitsAfterBlanksAndSign) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"19200", 19200},
        {"2X", 2},
        {"", 0},
        {"X2", 0},
        {"-5", -5},
        {"+7", 7},
        {"\t 42", 42},
        {"- 5", 0},
        {"--5", 0},
        {"0x10", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999999", INT32_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(argumentValue(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace tavir
