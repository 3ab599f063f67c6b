#include "definitions/value_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "definitions/define_line.h"

namespace tavir {
namespace {

TEST(ValueText, DecimalOnlyOnEveryPlatform) {
    const struct {
        const char* text;
        double asDouble;
        int32_t asInteger;
    } rows[] = {
        {"  -2.25,", -2.25, -2},
        {".5", 0.5, 0},
        {"1e2", 100.0, 1},
        {"12abc", 12.0, 12},
        {"-", 0.0, 0},
        {"0x1A", 0.0, 0},
        {"inf", 0.0, 0},
        {"nan", 0.0, 0},
        {"99999999999", 99999999999.0, INT32_MAX},
        {"-99999999999", -99999999999.0, INT32_MIN},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(textToDouble(row.text), row.asDouble) << row.text;
        EXPECT_EQ(textToInteger(row.text), row.asInteger) << row.text;
    }
    EXPECT_EQ(textToFloat("0.1"), 0.1f);
}

TEST(DefineLine, Shapes) {
    const struct {
        const char* line;
        const char* name;  // nullptr: not a define of this shape, and the line stays as it was
        const char* value;
    } rows[] = {
        {"#define\t \tA_B\t 12 /* x */\n", "A_B", "12"},
        {"#define X (3)\n", "X", "(3)"},
        {"#define KVAPDEF_H\n", nullptr, nullptr},
        {"#define X \n", nullptr, nullptr},
        {" #define X 3\n", nullptr, nullptr},
        {"#DEFINE X 3\n", nullptr, nullptr},
        {"#define X\xeb 3\n", nullptr, nullptr},
    };
    for (const auto& row : rows) {
        char line[64];
        std::snprintf(line, sizeof line, "%s", row.line);
        char* name = nullptr;
        char* value = nullptr;
        ASSERT_EQ(splitDefineLine(line, &name, &value), row.name != nullptr) << row.line;
        if (!row.name) {
            EXPECT_STREQ(line, row.line);
            continue;
        }
        EXPECT_STREQ(name, row.name);
        EXPECT_STREQ(value, row.value);
    }
}

}  // namespace
}  // namespace tavir
