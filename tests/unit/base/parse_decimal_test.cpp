#include "base/parse_decimal.h"

#include <gtest/gtest.h>

namespace tavir {
namespace {

// parseDecimal is tested through its callers: the fatal defines of both macro readers and the
// debug window loader.

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
