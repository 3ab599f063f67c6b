#pragma once
#include <cstdint>

namespace tavir {

// Reads at most 16 decimal digits from the very start of text (no sign, no blanks) into an
// unsigned 32-bit accumulator that wraps. Gives -1 when a 17th digit follows, 0 when the text
// starts with a non-digit. *end, when asked for, receives the position after the last digit read.
int32_t parseDecimal(const char* text, const char** end = nullptr);

}  // namespace tavir
