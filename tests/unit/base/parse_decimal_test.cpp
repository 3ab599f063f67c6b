#include "base/parse_decimal.h"

#include <gtest/gtest.h>

namespace tavir {
namespace {

TEST(ParseDecimal, Table) {
    struct Case {
        const char* text;
        int32_t value;
        int consumed;
    } cases[] = {
        {"0012ab", 12, 4},
        {"abc", 0, 0},
        {"", 0, 0},
        {" 12", 0, 0},
        {"-5", 0, 0},
        {"31", 31, 2},
        {"4294967295", -1, 10},                // wraps into the unsigned accumulator
        {"1234567890123456", 1015724736, 16},  // 16 digits, wrapped
        {"12345678901234567", -1, 16},         // a 17th digit
        {"2147483648", static_cast<int32_t>(2147483648u), 10},
    };
    for (const Case& c : cases) {
        const char* end = nullptr;
        EXPECT_EQ(parseDecimal(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.consumed) << c.text;
    }
}

// What a typed value or a number on the command line becomes.
TEST(DecimalValue, LeadingDigitsAfterBlanksAndSign) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"12abc", 12},  // letters after the number are left
        {"\t -12", -12},
        {"", 0},
        {"X2", 0},
        {"- 5", 0},
        {"2147483648", INT32_MAX},
        {"-99999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(decimalValue(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace tavir
