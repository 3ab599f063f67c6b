#include "base/parse_decimal.h"

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

}  // namespace tavir
