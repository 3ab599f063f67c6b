#include "definitions/value_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "definitions/define_line.h"

namespace tavir {
namespace {

TEST(ValueText, DecimalOnlyOnEveryPlatform) {
    const std::tuple<const char*, double, int32_t> rows[] = {
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
    for (auto [text, asDouble, asInteger] : rows) {
        EXPECT_EQ(textToDouble(text), asDouble) << text;
        EXPECT_EQ(textToInteger(text), asInteger) << text;
    }
    EXPECT_EQ(textToFloat("0.1"), 0.1f);
}

TEST(DefineLine, Shapes) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        // line, name and value; no name: not a define of this shape, and the line stays as it was
        {"#define\t \tA_B\t 12 /* x */\n", "A_B", "12"},
        {"#define X (3)\n", "X", "(3)"},
        {"#define KVAPDEF_H\n", nullptr, nullptr},
        {"#define X \n", nullptr, nullptr},
        {" #define X 3\n", nullptr, nullptr},
        {"#DEFINE X 3\n", nullptr, nullptr},
        {"#define X\xeb 3\n", nullptr, nullptr},
    };
    for (auto [text, expectedName, expectedValue] : rows) {
        char line[64];
        std::snprintf(line, sizeof line, "%s", text);
        char* name = nullptr;
        char* value = nullptr;
        ASSERT_EQ(splitDefineLine(line, &name, &value), expectedName != nullptr) << text;
        EXPECT_STREQ(expectedName ? name : line, expectedName ? expectedName : text);
        EXPECT_STREQ(expectedName ? value : nullptr, expectedValue);
    }
}

}  // namespace
}  // namespace tavir
