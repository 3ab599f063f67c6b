#include "definitions/value_text.h"

#include <cstdlib>

namespace tavir {

namespace {

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the text is a decimal number the way every C library reads one; otherwise the
// conversion is 0.
bool startsDecimal(const char* text) {
    const char* p = text;
    while (isSpace(*p)) ++p;
    if (*p == '+' || *p == '-') ++p;
    if (*p == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
    return isDigit(*p) || (*p == '.' && isDigit(p[1]));
}

}  // namespace

double textToDouble(const char* text) {
    if (!startsDecimal(text)) return 0.0;
    return std::strtod(text, nullptr);
}

float textToFloat(const char* text) {
    if (!startsDecimal(text)) return 0.0f;
    return std::strtof(text, nullptr);
}

bool scanInteger(const char* text, int32_t* value) {
    const char* p = text;
    while (isSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!isDigit(*p)) return false;
    int64_t magnitude = 0;
    for (; isDigit(*p); ++p) {
        if (magnitude <= 2147483648LL) magnitude = magnitude * 10 + (*p - '0');
    }
    int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX) signedValue = INT32_MAX;
    if (signedValue < INT32_MIN) signedValue = INT32_MIN;
    *value = static_cast<int32_t>(signedValue);
    return true;
}

int32_t textToInteger(const char* text) {
    int32_t value = 0;
    return scanInteger(text, &value) ? value : 0;
}

}  // namespace tavir
