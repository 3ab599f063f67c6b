#pragma once
#include <cstdint>

namespace tavir {

// Reads at most 16 decimal digits from the very start of text (no sign, no blanks) into an
// unsigned 32-bit accumulator that wraps. Gives -1 when a 17th digit follows, 0 when the text
// starts with a non-digit. *end, when asked for, receives the position after the last digit read.
int32_t parseDecimal(const char* text, const char** end = nullptr);

// A number as a user types it: leading white space is skipped, one optional sign is read, then
// digits up to the first non-digit; 0 when no digit follows. Values beyond 32 bits stop at
// INT32_MAX or INT32_MIN.
int32_t decimalValue(const char* text);

}  // namespace tavir
