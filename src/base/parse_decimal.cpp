#include "base/parse_decimal.h"

#include <cstdint>

namespace tavir {

int32_t parseDecimal(const char* text, const char** end) {
    uint32_t value = 0;
    int digits = 0;
    const char* p = text;
    while (digits < 16 && *p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<uint32_t>(*p - '0');
        ++p;
        ++digits;
    }
    if (end) *end = p;
    if (digits == 16 && *p >= '0' && *p <= '9') return -1;
    return static_cast<int32_t>(value);
}

int32_t decimalValue(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate in 64 bits and stop growing just past the 32-bit range, so that any number of
    // digits ends at the nearest limit.
    constexpr int64_t kBeyond = int64_t{INT32_MAX} + 2;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value < kBeyond) value = value * 10 + (*p - '0');
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace tavir
