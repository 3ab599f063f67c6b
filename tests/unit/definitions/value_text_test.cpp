#include "definitions/value_text.h"

#include <gtest/gtest.h>

#include "definitions/define_line.h"

namespace tavir {
namespace {

TEST(ValueText, Conversions) {
    struct Case {
        const char* text;
        double asDouble;
        int32_t asInteger;
    } cases[] = {
        {"4.5", 4.5, 4},
        {"  -2.25,", -2.25, -2},
        {"+3", 3.0, 3},
        {".5", 0.5, 0},
        {"1e2", 100.0, 1},
        {"12abc", 12.0, 12},
        {"abc", 0.0, 0},
        {"", 0.0, 0},
        {"-", 0.0, 0},
        {"0x1A", 0.0, 0},  // hexadecimal is not read on any platform
        {"inf", 0.0, 0},
        {"nan", 0.0, 0},
        {"NG", 0.0, 0},
        {"99999999999", 99999999999.0, 2147483647},
        {"-99999999999", -99999999999.0, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textToDouble(c.text), c.asDouble) << c.text;
        EXPECT_EQ(textToInteger(c.text), c.asInteger) << c.text;
    }
    EXPECT_EQ(textToFloat("0.1"), 0.1f);
    EXPECT_EQ(textToFloat("0x10"), 0.0f);
}

TEST(DefineLine, Shapes) {
    struct Case {
        const char* line;
        bool isDefine;
        const char* name;
        const char* value;
        const char* lineAfter;  // the line as far as its first NUL
    } cases[] = {
        {"#define SG02 0\n", true, "SG02", "0", "#define SG02"},
        {"#define\t \tA_B\t 12 /* x */\n", true, "A_B", "12", "#define\t \tA_B"},
        {"#define X (3)\n", true, "X", "(3)", "#define X"},
        {"#define KVAPDEF_H\n", false, nullptr, nullptr, "#define KVAPDEF_H\n"},
        {"#define X \n", false, nullptr, nullptr, "#define X \n"},
        {"#defineX 3\n", false, nullptr, nullptr, "#defineX 3\n"},
        {" #define X 3\n", false, nullptr, nullptr, " #define X 3\n"},
        {"#DEFINE X 3\n", false, nullptr, nullptr, "#DEFINE X 3\n"},
        {"#define X\xeb 3\n", false, nullptr, nullptr, "#define X\xeb 3\n"},
        {"#define", false, nullptr, nullptr, "#define"},
    };
    for (const Case& c : cases) {
        char line[64];
        std::snprintf(line, sizeof line, "%s", c.line);
        char* name = nullptr;
        char* value = nullptr;
        ASSERT_EQ(splitDefineLine(line, &name, &value), c.isDefine) << c.line;
        EXPECT_STREQ(line, c.lineAfter) << c.line;
        if (!c.isDefine) continue;
        EXPECT_STREQ(name, c.name) << c.line;
        EXPECT_STREQ(value, c.value) << c.line;
    }
}

}  // namespace
}  // namespace tavir
